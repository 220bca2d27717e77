// Only the selected channel's sound reaches the sink, at the set volume, which the sink applies.
#include <gtest/gtest.h>

#include <QTest>
#include <array>
#include <cmath>

#include "cli/sample/SampleAudio.h"
#include "decoder/control/DecoderControl.h"
#include "decoder/control/G711Table.h"
#include "decoder/control/PaneView.h"
#include "decoder/control/SoundOutput.h"
#include "tests/decoder/ControlTestSupport.h"
#include "tests/decoder/FrameArgs.h"

namespace ov::test {
namespace {

std::array<uint8_t, sample::kAudioFrameBytes> Tone(int channel, uint64_t frame) {
  std::array<uint8_t, sample::kAudioFrameBytes> a{};
  sample::MakeAudioPayload(channel, frame * sample::kAudioFrameBytes, a);
  return a;
}

double Rms(std::span<const int16_t> s) {
  double sum = 0;
  for (int16_t v : s) sum += double(v) * v;
  return s.empty() ? 0 : std::sqrt(sum / double(s.size()));
}

// Frequency from the count of rising zero crossings.
double Frequency(std::span<const int16_t> s) {
  int crossings = 0;
  for (size_t i = 1; i < s.size(); ++i) crossings += s[i - 1] < 0 && s[i] >= 0;
  return crossings * double(kSoundRate) / double(s.size());
}

TEST(G711, DecodesKnownCodes) {
  const auto mu = g711::DecodeTable(g711::Law::MuLaw);
  const auto a = g711::DecodeTable(g711::Law::ALaw);
  ASSERT_TRUE(mu && a);
  EXPECT_EQ((*mu)[0xFF], 0);
  EXPECT_EQ((*mu)[0x00], -32124);
  EXPECT_EQ((*mu)[0x80], 32124);
  EXPECT_EQ((*a)[0xD5], 8);
  EXPECT_EQ((*a)[0x55], -8);
  EXPECT_EQ((*a)[0xAA], 32256);
  EXPECT_EQ((*a)[0x2A], -32256);
  // Agrees with the sample writer's own mu-law table on every code, and both laws are odd
  // functions of the sign bit.
  for (int b = 0; b < 256; ++b) {
    EXPECT_EQ((*mu)[size_t(b)], sample::MuLawToLinear(uint8_t(b))) << b;
    EXPECT_EQ((*mu)[size_t(b)], -(*mu)[size_t(b ^ 0x80)]) << b;
    EXPECT_EQ((*a)[size_t(b)], -(*a)[size_t(b ^ 0x80)]) << b;
  }
}

TEST(SoundOutput, GainIsSilentAtZeroFullAtFifteenAndRisesEveryStep) {
  EXPECT_EQ(SoundOutput::Gain(0), 0.0f);
  EXPECT_EQ(SoundOutput::Gain(15), 1.0f);
  EXPECT_EQ(SoundOutput::Gain(-3), 0.0f);
  EXPECT_EQ(SoundOutput::Gain(99), 1.0f);
  for (int v = 1; v < 15; ++v) EXPECT_LT(SoundOutput::Gain(v), SoundOutput::Gain(v + 1));
  EXPECT_NEAR(SoundOutput::Gain(13) / SoundOutput::Gain(15), std::pow(10.0, -6.0 / 20.0), 1e-4);
  EXPECT_EQ(ParseSoundFormat("alaw"), SoundFormat::ALaw);
  EXPECT_EQ(ParseSoundFormat("pcm16"), SoundFormat::Pcm16);
  EXPECT_EQ(ParseSoundFormat("other"), SoundFormat::MuLaw);
}

TEST(SoundOutput, Pcm16PassesSamplesThrough) {
  auto sink = std::make_unique<CaptureSink>();
  CaptureSink* cap = sink.get();
  SoundOutput out(std::move(sink), SoundFormat::Pcm16);
  out.SetVolume(15);
  const std::array<uint8_t, 5> bytes{0x34, 0x12, 0xFF, 0xFF, 0x01};  // odd tail byte ignored
  out.Submit(0, bytes);
  EXPECT_EQ(cap->Take(), (std::vector<int16_t>{0x1234, -1}));
}

// A decoder control whose sound goes to a capture sink, driven through the wrapper.
class SoundThroughControl : public ::testing::Test {
 protected:
  QApplication& app = App();  // made before the control creates its widgets
  std::unique_ptr<CaptureSink> owned = std::make_unique<CaptureSink>();
  CaptureSink* cap = owned.get();
  DecoderControl control{nullptr, nullptr, std::move(owned)};
  CQuelmar_Ctrl_Player player{&control};
};

TEST_F(SoundThroughControl, SelectedChannelPlaysAtVolumeOthersStaySilent) {
  player.SetLayout(4);
  control.View()->resize(704, 576);
  control.View()->show();
  QTest::mouseClick(control.View(), Qt::LeftButton, {}, control.View()->ChannelRect(2).center());
  ASSERT_EQ(player.CurrentAudioChannel(), 2);

  auto play = [&](int volume) {
    player.SetVolume(volume);
    for (uint64_t j = 0; j < 5; ++j)
      for (int ch = 0; ch < 4; ++ch) {
        const auto a = Tone(ch, j);
        player.SubmitFrame(
            test::Frame(a.data(), 1709294400, int32_t(j * 200), 1, int32_t(a.size()), 0, ch));
      }
    return cap->Take();
  };
  const std::vector<int16_t> full = play(15);
  ASSERT_EQ(full.size(), 5u * sample::kAudioFrameBytes);  // channel 2's frames only
  EXPECT_NEAR(Frequency(full), sample::AudioToneHz(2), 15.0);
  const std::vector<int16_t> half = play(13);
  EXPECT_NEAR(Rms(half) / Rms(full), SoundOutput::Gain(13), 0.02);
  const std::vector<int16_t> muted = play(0);
  EXPECT_EQ(Rms(muted), 0.0);
  // The volume reaches the sink the moment it is set, not with the next frame, so sound already
  // queued follows it.
  player.SetVolume(15);
  EXPECT_EQ(cap->gain.load(), 1.0f);
  player.SetVolume(0);
  EXPECT_EQ(cap->gain.load(), 0.0f);
  // The sound of a video frame's channel never leaks into the sound path.
  const auto a = Tone(2, 0);
  player.SetVolume(15);
  player.SubmitFrame(test::Frame(a.data(), 0, 0, 0, int32_t(a.size()), 0, 2));
  EXPECT_TRUE(cap->Take().empty());
}

TEST_F(SoundThroughControl, PauseStopsTheSoundUntilTheNextClear) {
  player.SetVolume(15);
  auto submit = [&](uint64_t j) {
    const auto a = Tone(0, j);
    player.SubmitFrame(
        test::Frame(a.data(), 1709294400, int32_t(j * 200), 1, int32_t(a.size()), 0, 0));
    return cap->Take().size();
  };
  EXPECT_EQ(submit(0), sample::kAudioFrameBytes);
  player.SetMode(3, 0);  // what the window passes at an open: no pause
  EXPECT_EQ(cap->holds, 0);
  player.SetMode(3, 1);
  EXPECT_EQ(cap->holds, 1);
  // A frame the playback thread hands over just after the pause must not start the sound again.
  EXPECT_EQ(submit(1), 0u);
  player.ClearDecoder();  // playback goes on
  EXPECT_EQ(submit(2), sample::kAudioFrameBytes);
}

}  // namespace
}  // namespace ov::test
