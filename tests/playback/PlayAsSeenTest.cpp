// What a viewer sees around the transport commands, on the virtual clock: no first frames lost to
// a clear, a pause that holds picture and texts, reverse play that moves the place, forward play
// to the last frame of each run, and frames of any sensible size.
#include <gtest/gtest.h>

#include "playback/PlaybackLoop.h"
#include "tests/playback/TestRig.h"

namespace ov::test {
namespace {

int64_t KeyOf(const Shown& s) { return int64_t(s.time - kT0) * 1000 + s.ms; }

// The first key frame handed over: the decoder starts there after a clear.
Shown FirstKey(const std::vector<Shown>& shown) {
  for (const auto& s : shown)
    if (s.audio == 0 && s.type == 1) return s;
  return Shown{-1, -1, -1, -1, -1, -1, -1};
}

// Decoder calls in order: 'C' for a clear (or the reset submit), 'F' for a frame.
std::string ClearsAndFrames(const Rig& rig) {
  std::string s;
  for (const auto& e : rig.d.Log().Snapshot()) {
    if (!e.fromDecoder) continue;
    if (e.dispid == dispid::ClearDecoder) s += 'C';
    if (e.dispid == dispid::SubmitFrame && !e.ints.empty() && e.ints.back() < 0) s += 'C';
    if (e.dispid == dispid::SubmitFrame && !e.ints.empty() && e.ints.back() >= 0) s += 'F';
  }
  return s;
}

Fixture TwentySeconds() {
  Fixture fx(1);
  fx.Video(0, Fixture::Regular(500, 0, 40, 25));  // a key frame every second
  fx.Audio(0, Fixture::Sound(20, 200));
  return fx;
}

TEST(PlayAsSeen, ClearsComeBeforeTheFirstFramesOfEveryStart) {
  Fixture fx = TwentySeconds();
  Rig rig;
  ASSERT_TRUE(rig.Open(fx));
  rig.Do(&PlaybackEngine::OnPlay);
  rig.d.Wait(2500);
  auto shown = rig.Frames();
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(KeyOf(shown[0]), 0);  // frame 0 of the recording
  std::string calls = ClearsAndFrames(rig);
  EXPECT_EQ(calls.find('C', calls.find('F')), std::string::npos) << calls;

  // Pause, then resume, rewind out of forward play and forward out of rewind: each clears once,
  // before its frames, and the decoder starts on the key frame of the target second.
  rig.Do(&PlaybackEngine::OnPlay);
  rig.Mark();
  rig.Do(&PlaybackEngine::OnPlay);
  rig.d.Wait(500);
  calls = ClearsAndFrames(rig);
  EXPECT_EQ(calls.rfind('C'), 0u) << calls;
  EXPECT_EQ(KeyOf(FirstKey(rig.Frames())), 2000);
  for (auto cmd : {&PlaybackEngine::OnRew, &PlaybackEngine::OnFF}) {
    rig.Mark();
    rig.Do(cmd);
    rig.d.Wait(1500);
    calls = ClearsAndFrames(rig);
    EXPECT_EQ(calls.rfind('C'), 0u) << calls;
    EXPECT_NE(calls.find('F'), std::string::npos) << calls;
  }
}

TEST(PlayAsSeen, PauseHoldsThePictureAndTheTextsAtEverySpeed) {
  Fixture fx = TwentySeconds();
  for (int ffPresses : {0, 1}) {
    Rig rig;
    ASSERT_TRUE(rig.Open(fx));
    rig.Do(&PlaybackEngine::OnPlay);
    for (int i = 0; i < ffPresses; ++i) rig.Do(&PlaybackEngine::OnFF);
    rig.d.Wait(3300);
    const std::string osd = rig.LastText(ctl::kOsd);
    const std::string elapsed = rig.LastText(ctl::kTotalTime);
    rig.Do(&PlaybackEngine::OnPlay);  // pause
    rig.Mark();
    rig.d.Wait(1500);
    EXPECT_EQ(ClearsAndFrames(rig), "") << "ff " << ffPresses;  // the pictures stay
    EXPECT_TRUE(rig.Texts(ctl::kOsd).empty()) << "ff " << ffPresses;
    EXPECT_TRUE(rig.Texts(ctl::kTotalTime).empty()) << "ff " << ffPresses;
    EXPECT_NE(osd, "<none>");
    EXPECT_NE(elapsed.rfind("00 : 00 : 00", 0), 0u) << elapsed;
    // Play goes on from the paused second.
    CalendarTime paused = rig.S().m_CurrentTime.Load();
    paused.millisecond = 0;
    rig.Do(&PlaybackEngine::OnPlay);
    rig.d.Wait(200);
    const Shown key = FirstKey(rig.Frames());
    EXPECT_EQ(key.time, int32_t(CalendarToSeconds(paused)));
    EXPECT_EQ(key.ms, 0);
  }
}

TEST(PlayAsSeen, ReversePlayMovesTheThumbAndTheResumePoint) {
  Fixture fx = TwentySeconds();
  Rig rig;
  ASSERT_TRUE(rig.Open(fx));
  rig.Do(&PlaybackEngine::OnPlay);
  rig.d.Wait(12500);
  rig.Do(&PlaybackEngine::OnRew);
  rig.Do(&PlaybackEngine::OnRew);  // 2X
  rig.d.Wait(2600);
  const auto back = rig.Frames();
  ASSERT_FALSE(back.empty());
  const int32_t pictureSecond = back.back().time - kT0;
  EXPECT_LT(pictureSecond, 10);
  EXPECT_LE(std::abs(rig.S().m_SliderSecond.load() - pictureSecond), 1);

  // Pause then Play resumes at the picture, not where reverse play began.
  rig.Do(&PlaybackEngine::OnPlay);
  rig.Mark();
  rig.Do(&PlaybackEngine::OnPlay);
  rig.d.Wait(100);
  EXPECT_EQ(FirstKey(rig.Frames()).time - kT0, pictureSecond);

  // FF out of rewind continues from the picture's second as well.
  rig.Do(&PlaybackEngine::OnRew);
  rig.d.Wait(2100);
  const int32_t rewSecond = rig.Frames().back().time - kT0;
  rig.Mark();
  rig.Do(&PlaybackEngine::OnFF);
  rig.d.Wait(100);
  EXPECT_LE(std::abs(FirstKey(rig.Frames()).time - kT0 - rewSecond), 1);
}

TEST(PlayAsSeen, ForwardPlayShowsEveryFrameUpToTheRunsEndWhereThumbAndTimeStay) {
  Fixture fx(2);
  fx.Video(0, Fixture::Regular(60, 0, 40, 25));  // last key frame at 2 s, then 9 more frames
  fx.Video(1, Fixture::Regular(40, 0, 40, 25));  // last key frame at 1 s, then 14 more
  Rig rig;
  ASSERT_TRUE(rig.Open(fx));
  rig.Do(&PlaybackEngine::OnPlay);
  ASSERT_TRUE(rig.d.RunToEnd());
  int per[2] = {};
  for (const auto& s : rig.Frames()) ++per[s.ch];
  EXPECT_EQ(per[0], 60);
  EXPECT_EQ(per[1], 40);
  EXPECT_EQ(rig.S().m_PlayState.load(), TransportState::Paused);
  // The last picture is of second 2: its time and the thumb stay there.
  EXPECT_EQ(rig.LastText(ctl::kTotalTime).rfind("00 : 00 : 02", 0), 0u);
  int thumb = -1;
  for (const auto& e : rig.d.Log().Snapshot())
    if (!e.fromDecoder && e.view == ViewOp::SeekPos && !e.ints.empty()) thumb = e.ints[0];
  EXPECT_EQ(thumb, 2);
  // The last pictures stay up after the end.
  EXPECT_EQ(ClearsAndFrames(rig).back(), 'F');
}

TEST(PlayAsSeen, BigFramesPlayUpToTheCeilingAndTheFirstSkipIsReportedOnce) {
  Fixture fx(1);
  auto v = Fixture::Regular(8, 0, 200, 4);
  v[1].size = 166000;  // a large D1 key frame
  v[2].size = kMaxFrameBytes;
  v[3].size = kMaxFrameBytes + 1;  // skipped
  v[5].size = kMaxFrameBytes + 1;  // skipped, not reported again
  fx.Video(0, v);
  Rig rig;
  ASSERT_TRUE(rig.Open(fx));
  rig.Do(&PlaybackEngine::OnPlay);
  ASSERT_TRUE(rig.d.RunToEnd());
  std::vector<int32_t> sizes;
  for (const auto& s : rig.Frames()) sizes.push_back(s.size);
  EXPECT_EQ(sizes, (std::vector<int32_t>{64, 166000, int32_t(kMaxFrameBytes), 64, 64, 64}));
  int reports = 0;
  for (const auto& [t, text] : rig.Texts(ctl::kSpeed))
    reports += text.find("too large") != std::string::npos;
  EXPECT_EQ(reports, 1);

  // A size field that runs past the end of its run ends the channel there.
  Fixture cut(1);
  auto w = Fixture::Regular(6, 0, 200, 3);
  w[4].sizeField = 1u << 20;
  cut.Video(0, w);
  Rig rig2;
  ASSERT_TRUE(rig2.Open(cut));
  rig2.Do(&PlaybackEngine::OnPlay);
  ASSERT_TRUE(rig2.d.RunToEnd(60000));
  EXPECT_EQ(rig2.Frames().size(), 4u);
}

}  // namespace
}  // namespace ov::test

namespace ov::test {
namespace {

TEST(PlayAsSeen, ARejectedOpenLeavesNothingOfTheFileBefore) {
  Fixture fx(2);
  fx.Video(0, Fixture::Regular(50, 0, 40, 25));
  Rig rig;
  ASSERT_TRUE(rig.Open(fx));
  rig.Do(&PlaybackEngine::OnPlay);
  rig.d.Wait(1500);
  rig.d.Decoder().SetActive(1);  // pictures are up
  rig.Mark();
  rig.d.Do([](PlaybackEngine& e) {
    e.OpenSources("short.ysk", 100, Fixture::Source(std::make_shared<std::vector<uint8_t>>(100)),
                  Fixture::Source(std::make_shared<std::vector<uint8_t>>(100)));
  });
  bool filled = true, blanked = false;
  int thumb = -1;
  std::vector<std::string> titles;
  for (const auto& e : rig.d.Log().Snapshot()) {
    if (!e.fromDecoder && e.view == ViewOp::TrackFilled && !e.ints.empty()) filled = e.ints[0] != 0;
    if (!e.fromDecoder && e.view == ViewOp::SeekPos && !e.ints.empty()) thumb = e.ints[0];
    if (e.fromDecoder && e.dispid == dispid::Deactivate) blanked = true;
    if (e.fromDecoder && e.dispid == dispid::SetPaneTitle) titles.push_back(e.text);
  }
  EXPECT_FALSE(filled);
  EXPECT_EQ(thumb, 0);
  EXPECT_TRUE(blanked);
  ASSERT_EQ(titles.size(), 16u);
  EXPECT_EQ(titles.front(), "CH-1");
  EXPECT_EQ(rig.S().m_FileChosen.load(), 0);
  rig.Do(&PlaybackEngine::OnPlay);  // nothing to play
  EXPECT_EQ(rig.S().m_PlayState.load(), TransportState::Paused);
}

}  // namespace
}  // namespace ov::test
