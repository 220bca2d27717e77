// Transport commands: the rew and ff state steps with their texts, the jump limits, the seek
// slider after the end, sound, layouts, and the thread records.
#include <gtest/gtest.h>

#include "playback/SteadyClock.h"
#include "tests/playback/TestRig.h"

namespace ov::test {
namespace {

Fixture Minutes(int channels, int seconds) {
  Fixture fx(channels);
  fx.Video(0, Fixture::Regular(seconds, 0, 1000, 1));  // one key frame a second
  fx.Audio(0, Fixture::Sound(seconds, 500));
  return fx;
}

TEST(Transport, RewAndFFStepThroughTheirStatesAndSpeedTexts) {
  Fixture fx = Minutes(1, 30);
  Rig rig;
  ASSERT_TRUE(rig.Open(fx));
  rig.Do(&PlaybackEngine::OnRew);  // ignored while stopped
  EXPECT_EQ(rig.S().m_PlayState.load(), TransportState::Paused);
  rig.Do(&PlaybackEngine::OnPlay);
  rig.d.Wait(20000);
  const std::vector<std::pair<int, int>> rew{{22, 1},  {28, 2},  {29, 4}, {30, 8},
                                             {35, 16}, {38, 32}, {22, 1}};
  for (const auto& [state, speed] : rew) {
    rig.Do(&PlaybackEngine::OnRew);
    EXPECT_EQ(StateNumber(rig.S().m_PlayState.load()), state);
    EXPECT_EQ(rig.S().m_Speed.load(), -speed);
    EXPECT_EQ(rig.LastText(ctl::kSpeed), "( Rew " + std::to_string(speed) + "X )");
  }
  const std::vector<std::pair<int, int>> ff{{23, 2}, {31, 4}, {32, 8}, {33, 16}, {36, 32}, {23, 2}};
  for (const auto& [state, speed] : ff) {
    rig.Do(&PlaybackEngine::OnFF);
    EXPECT_EQ(StateNumber(rig.S().m_PlayState.load()), state);
    EXPECT_EQ(rig.S().m_Speed.load(), speed);
    EXPECT_EQ(rig.LastText(ctl::kSpeed), "( FF " + std::to_string(speed) + "X )");
  }
  rig.Do(&PlaybackEngine::OnPlay);  // pause from fast forward
  EXPECT_EQ(rig.S().m_PlayState.load(), TransportState::Paused);
  EXPECT_EQ(rig.LastText(ctl::kSpeed), "");
}

TEST(Transport, JumpsNeedAMinuteOfRoom) {
  Fixture fx = Minutes(1, 150);
  Rig rig;
  ASSERT_TRUE(rig.Open(fx));
  rig.Do(&PlaybackEngine::OnPlay);
  const int32_t total = rig.d.File().Recording().m_Index.m_TotalSeconds;
  ASSERT_EQ(total, 149);
  auto jump = [&](int from, int seconds) {
    rig.S().m_SliderSecond.store(from);
    rig.d.Do([seconds](PlaybackEngine& e) { e.Jump(seconds); });
    return rig.S().m_SliderSecond.load();
  };
  constexpr int kJump = PlaybackEngine::kJumpSeconds;
  EXPECT_EQ(jump(58, -kJump), 58);
  EXPECT_EQ(jump(59, -kJump), 0);
  EXPECT_EQ(jump(total - 58, kJump), total - 58);
  EXPECT_EQ(jump(total - 59, kJump), total);
  EXPECT_EQ(rig.S().m_SeekDone.load(), 1);
}

TEST(Transport, ResumeEstimateOfARecordingUnderTwoSecondsStartsAtTheRunStart) {
  Fixture fx(1);
  fx.Video(0, Fixture::Regular(25, 0, 40, 24));
  fx.Audio(0, Fixture::Sound(1, 100));
  Rig rig;
  ASSERT_TRUE(rig.Open(fx));
  ASSERT_EQ(rig.d.File().Recording().m_Index.m_TotalSeconds, 0);
  for (int slider : {0, 1}) {  // 0/0 and 1/0 once gave offsets from a NaN or an infinity
    rig.S().m_SliderSecond.store(slider);
    rig.E().EstimateResume();
    EXPECT_EQ(rig.E().VideoResume()[0], rig.d.File().Recording().m_VideoFirst[0]);
    EXPECT_EQ(rig.E().AudioResume()[0], rig.d.File().Recording().m_AudioFirst[0]);
  }
}

TEST(Transport, DraggingTheSliderBackAfterTheEndResumesFromThere) {
  Fixture fx = Minutes(1, 10);
  Rig rig;
  ASSERT_TRUE(rig.Open(fx));
  rig.Do(&PlaybackEngine::OnPlay);
  ASSERT_TRUE(rig.d.RunToEnd());
  ASSERT_EQ(rig.S().m_AtEnd.load(), 1);
  rig.Seek(3);
  EXPECT_EQ(rig.S().m_AtEnd.load(), 0);
  EXPECT_EQ(rig.S().m_SliderSecond.load(), 3);
  rig.Do(&PlaybackEngine::OnPlay);
  // Not restarted from the beginning: on with the picture after second 3's (one a second).
  EXPECT_EQ(rig.S().m_SliderSecond.load(), 4);
  EXPECT_EQ(rig.S().m_PlayState.load(), TransportState::Playing);
}

TEST(Transport, SoundSwitchVolumeAndLayouts) {
  Fixture fx = Minutes(4, 5);
  Rig rig;
  ASSERT_TRUE(rig.Open(fx));
  rig.Do(&PlaybackEngine::OnSound);                      // mute
  rig.d.Do([](PlaybackEngine& e) { e.SetVolume(12); });  // stored only
  rig.Do(&PlaybackEngine::OnSound);                      // sound on again, at the new volume
  std::vector<int32_t> volumes;
  for (const auto& e : rig.d.Log().Snapshot())
    if (e.fromDecoder && e.dispid == dispid::SetVolume) volumes.push_back(e.ints[0]);
  EXPECT_EQ(volumes, (std::vector<int32_t>{0, 12}));

  rig.Mark();
  for (int n : {9, 16, 4, 1}) rig.d.Do([n](PlaybackEngine& e) { e.ShowPanes(n); });
  std::vector<int32_t> panes;
  for (const auto& e : rig.d.Log().Snapshot())
    if (e.fromDecoder && e.dispid == dispid::SetLayout) panes.push_back(e.ints[1]);
  EXPECT_EQ(panes, (std::vector<int32_t>{4, 1}));  // 9 and 16 panes need 8 and 16 channels
}

TEST(Threads, StopsWithoutThreadsDoNothingAndShutdownJoinsASleepingLoop) {
  BackupFile file;
  SteadyClock clock;
  EventLog log{clock};
  RecordingView view(log);
  RecordingDecoder dec(log);
  CQuelmar_Ctrl_Player wrapper(&dec);
  {
    PlaybackEngine e(file, view, wrapper, clock);
    e.StopSeekThread();
    e.StopPlaybackThread();
    EXPECT_FALSE(e.PlaybackThreadStarted());
  }
  Fixture fx(1);
  fx.Video(0, {{kT0, 0, 64, 1}, {kT0 + 3600, 3600000, 64, 1}});  // an hour between two frames
  auto bytes = fx.Build();
  PlaybackEngine e(file, view, wrapper, clock);
  for (int open = 0; open < 2; ++open) {
    ASSERT_TRUE(
        e.OpenSources("a.ysk", bytes->size(), Fixture::Source(bytes), Fixture::Source(bytes))
            .accepted);
    EXPECT_TRUE(e.PlaybackThreadStarted());
  }
  e.OnPlay();
  e.WaitForSeek();
  std::this_thread::sleep_for(std::chrono::milliseconds(20));  // the loop waits for the hour
  const auto t0 = std::chrono::steady_clock::now();
  e.Shutdown();
  e.Shutdown();
  EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(500));
}

}  // namespace
}  // namespace ov::test
