// A backup file written by make-sample, its frames handed over in playback order: every pane ends
// on its channel's last frame and the selected channel's tone is heard. With OV_DECODER_SCREENSHOT
// set, the control's picture is also saved there.
#include <gtest/gtest.h>

#include <QDir>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <nlohmann/json.hpp>

#include "cli/sample/SampleAudio.h"
#include "decoder/control/DecoderControl.h"
#include "decoder/control/PaneView.h"
#include "ov/Version.h"
#include "tests/decoder/ControlTestSupport.h"
#include "tests/decoder/FrameArgs.h"

namespace ov::test {
namespace {

struct FileFrame {
  uint64_t offset;
  int channel;
  bool audio;
  int32_t fTime;
  uint32_t msec;
  uint32_t size;
  uint32_t type;
  int64_t frame;
  int64_t key;  // merge key, as the playback loop orders frames
};

TEST(SampleFile, FourChannelFilePlaysIntoItsPanes) {
  App();
  const char* tmpEnv = std::getenv("OV_TEST_TMP");
  const std::string dir = std::string(tmpEnv ? tmpEnv : "/tmp") + "/decoder";
  QDir().mkpath(QString::fromStdString(dir));
  const std::string file = dir + "/four.ysk", manifest = dir + "/four.json";
  const std::string cmd = std::string(OV_CLI_PATH) + " make-sample " + file +
                          " --channels 4 --duration 3 --size 704x576 --names Gate,Yard,Hall,Dock"
                          " --manifest " +
                          manifest + " > /dev/null";
  ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;

  std::ifstream mf(manifest);
  const nlohmann::json m = nlohmann::json::parse(mf);
  const int64_t startTime = m.at("startTime");
  std::vector<FileFrame> frames;
  for (const auto& j : m.at("frames")) {
    FileFrame f{j.at("offset"),
                j.at("channel"),
                j.at("audio"),
                j.at("f_time"),
                j.at("f_msec"),
                j.at("f_size"),
                j.at("f_type"),
                j.value("frame", int64_t{-1}),
                0};
    f.key = f.audio ? (f.fTime - startTime) * 1000 + f.msec : f.msec;
    frames.push_back(f);
  }
  std::stable_sort(frames.begin(), frames.end(),
                   [](const FileFrame& a, const FileFrame& b) { return a.key < b.key; });
  std::ifstream in(file, std::ios::binary);
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});

  auto sink = std::make_unique<CaptureSink>();
  CaptureSink* cap = sink.get();
  DecoderControl control(nullptr, nullptr, std::move(sink));
  CQuelmar_Ctrl_Player player(&control);
  PaneView* view = control.View();
  view->resize(704, 576);
  view->show();
  player.SetProductText("Ostravue");
  player.SetVersionText("                  Ver " OV_VERSION);
  player.SetLayout(4);
  const char* names[] = {"Gate", "Yard", "Hall", "Dock"};
  for (int i = 0; i < 4; ++i) player.SetPaneTitle(i, names[i]);
  player.SetVolume(15);

  std::array<int64_t, 4> last{-1, -1, -1, -1};
  for (const FileFrame& f : frames) {
    ASSERT_LE(f.offset + 20 + f.size, bytes.size());
    if (!f.audio) WaitFor([&] { return control.QueuedFrames(f.channel) < 2; });
    player.SubmitFrame(test::Frame(bytes.data() + f.offset + 20, f.fTime, int32_t(f.msec % 1000),
                                   f.audio ? 1 : 0, int32_t(f.size), int32_t(f.type), f.channel));
    if (!f.audio) last[f.channel] = f.frame;
  }
  const double aspect = 704.0 / 576.0;
  for (int ch = 0; ch < 4; ++ch) {
    EXPECT_TRUE(WaitFor([&] {
      const auto s = ReadPane(Grab(view), view->ChannelRect(ch), aspect);
      return s && s->channel == ch && s->frame == uint32_t(last[ch]);
    })) << "channel "
        << ch;
  }
  // Channel 0 is selected at start: only its sound frames arrive, as its tone.
  const std::vector<int16_t> sound = cap->Take();
  const auto audioFrames0 = std::count_if(
      frames.begin(), frames.end(), [](const FileFrame& f) { return f.audio && f.channel == 0; });
  EXPECT_EQ(sound.size(), size_t(audioFrames0) * sample::kAudioFrameBytes);
  int crossings = 0;
  for (size_t i = 1; i < sound.size(); ++i) crossings += sound[i - 1] < 0 && sound[i] >= 0;
  EXPECT_NEAR(crossings * 8000.0 / double(sound.size()), sample::AudioToneHz(0), 15.0);

  if (const char* shot = std::getenv("OV_DECODER_SCREENSHOT")) Grab(view).save(shot);
}

}  // namespace
}  // namespace ov::test
