// A stand-in decoder control module for the start-up and window tests. Every call is appended as
// one line to the file named by OV_FAKE_DECODER_LOG; unloading the module writes "unload".
// OV_FAKE_REGISTER_RESULT sets what the registration entry point returns.
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>

#include "decoder/DecoderDispatch.h"

namespace {

std::mutex g_logLock;

void Log(const std::string& line) {
  const char* path = std::getenv("OV_FAKE_DECODER_LOG");
  if (path == nullptr || *path == 0) return;
  std::lock_guard<std::mutex> g(g_logLock);
  if (FILE* f = std::fopen(path, "a")) {
    std::fprintf(f, "%s\n", line.c_str());
    std::fclose(f);
  }
}

class FakeControl final : public ov::IDecoderControl {
 public:
  explicit FakeControl(QWidget* parent) : m_widget(new QWidget(parent)) {
    m_widget->setObjectName(QStringLiteral("FakeDecoderWidget"));
  }
  ~FakeControl() override { delete m_widget; }
  void* Widget() override { return m_widget; }
  int32_t Invoke(int32_t dispid, std::span<const ov::DispArg> args) override {
    std::string line = "invoke " + std::to_string(dispid);
    for (const auto& a : args) {
      switch (a.kind) {
        case ov::DispArg::Kind::Int:
          line += " " + std::to_string(a.i);
          break;
        case ov::DispArg::Kind::Text:
          line += " '" + a.text + "'";
          break;
        case ov::DispArg::Kind::Bytes:
          line += " bytes:" + std::to_string(a.size);
          break;
        case ov::DispArg::Kind::IntRef:
          if (a.ref) *a.ref = 0;
          line += " ref";
          break;
      }
    }
    // Frames arrive by the hundred; one line per call would swamp the log.
    if (dispid != ov::dispid::SubmitFrame) Log(line);
    return 0;
  }

 private:
  QWidget* m_widget;
};

struct UnloadMark {
  ~UnloadMark() { Log("unload"); }
} g_unloadMark;

}  // namespace

extern "C" {
#ifndef OV_FAKE_NO_REGISTER
__attribute__((visibility("default"))) int32_t DllRegisterServer() {
  Log("register");
  const char* r = std::getenv("OV_FAKE_REGISTER_RESULT");
  return r ? std::atoi(r) : 0;
}
#endif
__attribute__((visibility("default"))) ov::IDecoderControl* CQL_CreateControl(void* parent,
                                                                              ov::IDecoderEvents*) {
  Log("create");
  return new FakeControl(static_cast<QWidget*>(parent));
}
__attribute__((visibility("default"))) void CQL_DestroyControl(ov::IDecoderControl* control) {
  Log("destroy");
  delete control;
}
}
