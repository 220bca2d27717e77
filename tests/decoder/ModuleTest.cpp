// The module as the program loads it: its exports by name, and the calls of the first
// configuration on a control with the product's own sound output.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QWidget>
#include <array>

#include "decoder/Quelmar_Ctrl_Player.h"
#include "ov/Version.h"
#include "tests/decoder/ControlTestSupport.h"
#include "tests/decoder/FrameArgs.h"

namespace ov::test {
namespace {

class RecordingDispatch : public IDecoderDispatch {
 public:
  int32_t Invoke(int32_t dispid, std::span<const DispArg> args) override {
    calls.push_back({dispid, std::vector<DispArg>(args.begin(), args.end())});
    return 7;
  }
  std::vector<std::pair<int32_t, std::vector<DispArg>>> calls;
};

TEST(QuelmarWrapper, PassesBuffersAndTextsAsTheyAre) {
  RecordingDispatch d;
  CQuelmar_Ctrl_Player p(&d);
  const std::array<uint8_t, 3> buf{1, 2, 3};
  p.SubmitFrame(test::Frame(buf.data(), 5, 6, 0, 3, 1, 9));
  p.SetPaneTitle(2, "CH-3");
  p.SubmitFrame(FrameCall::Reset());
  ASSERT_EQ(d.calls.size(), 3u);
  const auto& frame = d.calls[0].second;
  ASSERT_EQ(frame.size(), 9u);  // with "show" (1) and the tag (0) last
  EXPECT_EQ(frame[7].i, 1);
  EXPECT_EQ(frame[0].kind, DispArg::Kind::Bytes);
  EXPECT_EQ(frame[0].data, buf.data());
  EXPECT_EQ(frame[0].size, 3u);
  EXPECT_EQ(frame[6].i, 9);
  EXPECT_EQ(d.calls[1].second[1].text, "CH-3");
  EXPECT_EQ(d.calls[2].second[0].size, 0u);
  CQuelmar_Ctrl_Player none;
  EXPECT_EQ(none.CurrentAudioChannel(), 0);  // a missing control is inert
}

TEST(Module, ExportsCreateAControlThatTakesTheFirstConfiguration) {
  App();
  const std::string path = std::string(OV_BIN_DIR) + "/libCQL_Ctrl_Player.so";
  void* lib = dlopen(path.c_str(), RTLD_NOW);
  ASSERT_NE(lib, nullptr) << dlerror();
  auto reg = reinterpret_cast<OvDllRegisterServerFn>(dlsym(lib, OV_DECODER_REGISTER_SYMBOL));
  auto create = reinterpret_cast<OvCreateControlFn>(dlsym(lib, OV_DECODER_CREATE_SYMBOL));
  auto destroy = reinterpret_cast<OvDestroyControlFn>(dlsym(lib, OV_DECODER_DESTROY_SYMBOL));
  ASSERT_TRUE(reg && create && destroy);
  EXPECT_EQ(reg(), 0);
  QWidget host;
  IDecoderControl* c = create(&host, nullptr);
  ASSERT_NE(c, nullptr);
  auto* w = static_cast<QWidget*>(c->Widget());
  EXPECT_EQ(w->parentWidget(), &host);
  CQuelmar_Ctrl_Player p(c);
  p.SetOwnerWindow(1);
  for (int i = 0; i < 16; ++i) p.SetPaneTitle(i, "CH-" + std::to_string(i + 1));
  p.SetProductText("Ostravue");
  p.SetVersionText("                  Ver " OV_VERSION);
  p.SetVolume(0);
  for (int i : {3, 2, 1, 0, 4}) p.SetStartOption(i, 0);
  p.SetMode(0, 0);
  p.SetMode(3, 0);
  const int32_t active = p.QueryActive();
  EXPECT_EQ(active, 0);
  EXPECT_EQ(p.CurrentAudioChannel(), 0);
  const std::array<uint8_t, 1600> silence{};
  p.SubmitFrame(
      test::Frame(silence.data(), 0, 0, 1, 1600, 0, 0));  // sound with or without a device
  p.Deactivate();
  destroy(c);
  EXPECT_TRUE(host.children().isEmpty());
  dlclose(lib);
}

}  // namespace
}  // namespace ov::test
