#pragma once
// Shared pieces of the window tests: a decoder control that records its calls, sample files and
// waiting with the event loop running.
#include <QApplication>
#include <QElapsedTimer>
#include <QWidget>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "archive/YskFormat.h"
#include "decoder/DecoderDispatch.h"

namespace ov::test {

class RecordingControl final : public IDecoderControl {
 public:
  explicit RecordingControl(QWidget* parent) : m_widget(new QWidget(parent)) {}
  ~RecordingControl() override { delete m_widget; }
  void* Widget() override { return m_widget; }
  int32_t Invoke(int32_t dispid, std::span<const DispArg> args) override {
    std::string line = std::to_string(dispid);
    for (const auto& a : args) {
      if (a.kind == DispArg::Kind::Text)
        line += " '" + a.text + "'";
      else if (a.kind == DispArg::Kind::Int)
        line += " " + std::to_string(a.i);
      else if (a.kind == DispArg::Kind::IntRef && a.ref)
        *a.ref = activeAnswer;
    }
    auto intAt = [&](size_t i, int32_t fallback) {
      return i < args.size() && args[i].kind == DispArg::Kind::Int ? args[i].i : fallback;
    };
    std::lock_guard<std::mutex> g(m_lock);
    // As a real control answers: the picture a pane shows is the last one handed over to show.
    if (dispid == dispid::ShownFrame) {
      const int32_t ch = intAt(0, -1);
      return ch >= 0 && ch < 16 ? int32_t(m_shown[size_t(ch)]) : 0;
    }
    if (dispid == dispid::SubmitFrame) {
      ++m_frames;
      const int32_t ch = intAt(6, -2);
      if (ch >= 0 && ch < 16 && intAt(3, 0) == 0 && intAt(7, 1) != 0)
        m_shown[size_t(ch)] = uint32_t(intAt(8, 0));
    } else {
      m_calls.push_back(line);
    }
    return 0;
  }
  std::vector<std::string> Calls() {
    std::lock_guard<std::mutex> g(m_lock);
    return m_calls;
  }
  void ClearCalls() {
    std::lock_guard<std::mutex> g(m_lock);
    m_calls.clear();
  }
  int Frames() {
    std::lock_guard<std::mutex> g(m_lock);
    return m_frames;
  }
  int32_t activeAnswer = 0;

 private:
  QWidget* m_widget;
  std::mutex m_lock;
  std::vector<std::string> m_calls;
  int m_frames = 0;
  std::array<uint32_t, 16> m_shown{};
};

// The control the last window created (the window is made through a plain function pointer).
inline RecordingControl* g_lastControl = nullptr;
inline IDecoderControl* CreateRecordingControl(void* parent, IDecoderEvents*) {
  g_lastControl = new RecordingControl(static_cast<QWidget*>(parent));
  return g_lastControl;
}
inline void DestroyRecordingControl(IDecoderControl* c) {
  if (c == g_lastControl) g_lastControl = nullptr;
  delete c;
}

inline std::filesystem::path TestDir(const std::string& name) {
  const char* base = std::getenv("OV_TEST_TMP");
  auto dir = std::filesystem::path(base ? base : "/tmp") / name;
  std::filesystem::create_directories(dir);
  return dir;
}

// Runs the sample maker; returns false when it failed.
inline bool MakeSample(const std::filesystem::path& out, const std::string& args) {
  if (std::filesystem::exists(out)) return true;
  std::string cmd = std::string(OV_CLI_PATH) + " make-sample '" + out.string() + "' " + args +
                    " > /dev/null 2>&1";
  return std::system(cmd.c_str()) == 0 && std::filesystem::exists(out);
}

// Pumps events until pred holds or timeout_ms passes.
inline bool WaitUntil(const std::function<bool()>& pred, int timeout_ms) {
  QElapsedTimer t;
  t.start();
  while (!pred()) {
    if (t.elapsed() > timeout_ms) return false;
    QApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return true;
}

// Writes a header (2037 bytes) followed by filler up to size bytes.
inline void WriteHeaderFile(const std::filesystem::path& path, const YskHeader& h, size_t size) {
  std::vector<uint8_t> bytes(std::max(size, kYskHeaderSize), 0);
  EncodeHeader(h, std::span<uint8_t, kYskHeaderSize>(bytes.data(), kYskHeaderSize));
  bytes.resize(size);
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

}  // namespace ov::test
