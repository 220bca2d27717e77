// The key-frame search through the engine, as the seek slider starts it: video and sound
// positions for targets at, between and outside key frames, damaged headers, and seeks that
// overlap.
#include <gtest/gtest.h>

#include "tests/playback/TestRig.h"

namespace ov::test {
namespace {

// The search the seek slider starts for `second`, from the positions the open left.
void SliderSearch(Rig& rig, int second) {
  rig.d.Do([second](PlaybackEngine& e) {
    e.State().m_SliderSecond.store(second);
    e.EstimateResume();
    e.StartSeek(SecondsToCalendar(e.StartSecond() + second));
  });
}

struct Recording {
  Fixture fx{1};
  std::vector<Fx> video = Fixture::Regular(250, 0, 40, 50);  // 10 s, key frames every 2 s
  std::vector<Fx> sound = Fixture::Sound(10, 200);
  Recording() {
    fx.Video(0, video);
    fx.Audio(0, sound);
  }
};

TEST(KeyFrameSearch, VideoLandsBeforeTheKeyFrameAtOrAfterTheTargetAndSoundOnItsSecond) {
  struct Case {
    int second;
    size_t videoIndex;  // frame index of the expected video position
  };
  // At a key frame (4 s: frame 100, reached walking back), between key frames (3 s: the next key
  // is at 4 s), and past the last key frame (9 s: the walk ends on the run's last frame).
  for (const Case c : {Case{4, 100}, Case{3, 99}, Case{0, 0}, Case{9, 249}}) {
    Recording r;
    Rig rig;
    ASSERT_TRUE(rig.Open(r.fx));
    SliderSearch(rig, c.second);
    EXPECT_EQ(rig.S().m_SeekDone.load(), 1) << c.second;
    EXPECT_EQ(rig.S().m_VideoPos[0].load(), r.fx.VideoAt(0, c.videoIndex)) << c.second;
    const uint32_t audio = rig.S().m_AudioPos[0].load();
    bool onTarget = false;
    for (size_t i = 0; i < r.sound.size(); ++i)
      onTarget |= r.fx.AudioAt(0, i) == audio && r.sound[i].time == kT0 + c.second;
    EXPECT_TRUE(onTarget) << "second " << c.second << " audio at " << audio;
  }
}

TEST(KeyFrameSearch, TheSliderAtItsLastSecondStillPositionsThePlayer) {
  Recording r;
  Rig rig;
  ASSERT_TRUE(rig.Open(r.fx));
  // The resume estimate at the last second points at every run's end: before the mend the sound
  // phase looped for ever there and the video counted as not found.
  SliderSearch(rig, rig.d.File().Recording().m_Index.m_TotalSeconds);
  EXPECT_EQ(rig.S().m_SeekDone.load(), 1);
  EXPECT_EQ(rig.S().m_AudioPos[0].load(), rig.d.File().Recording().m_AudioLast[0]);
}

TEST(KeyFrameSearch, IFrameOnlyPassesOverStartCodesOfNonKeyFrames) {
  Fixture fx(1);
  auto v = Fixture::Regular(100, 0, 40, 50);
  v[0].type = 0;  // the run opens with a frame that is not a key frame...
  fx.Video(0, v);
  auto bytes = fx.Build();
  (*bytes)[fx.VideoAt(0, 0) + 20 + 4] = 0x67;  // ...although its payload begins like one
  for (bool iFrameOnly : {true, false}) {
    Rig rig;
    ASSERT_TRUE(rig.d.OpenSources(Fixture::Source(bytes), Fixture::Source(bytes)).accepted);
    rig.d.Do([&](PlaybackEngine& e) { e.SetIFrameOnly(iFrameOnly); });
    SliderSearch(rig, 0);  // scans from the run's start for the recording's start second (2 s)
    ASSERT_EQ(rig.S().m_SeekDone.load(), 1);
    // Found at frame 0, the forward walk stops before the key frame at 2 s; found at the key
    // frame itself, it stays there.
    EXPECT_EQ(rig.S().m_VideoPos[0].load(), fx.VideoAt(0, iFrameOnly ? 50 : 49)) << iFrameOnly;
  }
}

TEST(KeyFrameSearch, DamagedHeadersNeverHangTheSearchOrTheLoop) {
  for (int damage = 0; damage < 4; ++damage) {
    Fixture fx(1);
    auto v = Fixture::Regular(250, 0, 40, 25);
    auto s = Fixture::Sound(10, 200);
    for (size_t i = 30; i < v.size(); i += 37) {
      if (damage == 0) v[i].info = 0xFFFFFF00;       // steps back before the run, or wraps
      if (damage == 1) v[i].sizeField = 0x7FFFFFF0;  // steps far past the run
      if (damage == 2) v[i].info = 0, v[i].sizeField = 0;
      if (damage == 3) v[i].info = 3;  // lands inside a payload
    }
    for (size_t i = 3; i < s.size(); i += 11) s[i].info = 0xFFFFFFF0;
    fx.Video(0, v);
    fx.Audio(0, s);
    Rig rig;
    ASSERT_TRUE(rig.Open(fx));
    const BackupFile& f = rig.d.File();
    for (int second : {1, 5, 8, 9}) {
      SliderSearch(rig, second);
      if (rig.S().m_SeekDone.load() != 1) continue;
      // Wherever damaged sizes lead, every position holds a whole header inside its run.
      const uint64_t vp = rig.S().m_VideoPos[0].load(), ap = rig.S().m_AudioPos[0].load();
      EXPECT_TRUE(vp >= f.Recording().VideoRunStart(0) && vp + 20 <= f.Recording().VideoRunEnd(0))
          << damage << "/" << second;
      EXPECT_TRUE(ap >= f.Recording().AudioRunStart(0) && ap + 20 <= f.Recording().AudioRunEnd(0))
          << damage << "/" << second;
    }
    rig.Do(&PlaybackEngine::OnPlay);
    EXPECT_TRUE(rig.d.RunToEnd(60000)) << damage;
    rig.Do(&PlaybackEngine::OnPlay);
    rig.Do(&PlaybackEngine::OnRew);
    EXPECT_TRUE(rig.d.RunToEnd(60000)) << damage;
  }
}

TEST(KeyFrameSearch, OfTwoQuickSeeksTheSecondOneWins) {
  Recording r;
  Rig alone;
  ASSERT_TRUE(alone.Open(r.fx));
  SliderSearch(alone, 7);
  const auto want = alone.VideoPos();

  Rig rig;
  ASSERT_TRUE(rig.Open(r.fx));
  // Held at its gate, the first search is cancelled by the second's start.
  rig.d.Do([](PlaybackEngine& e) {
    e.State().m_SliderSecond.store(2);
    e.EstimateResume();
    e.StartSeek(SecondsToCalendar(e.StartSecond() + 2));
    e.State().m_SliderSecond.store(7);
    e.EstimateResume();
    e.StartSeek(SecondsToCalendar(e.StartSecond() + 7));
  });
  EXPECT_EQ(rig.VideoPos(), want);
  // Free-running: the first may be anywhere in its search when the second starts.
  for (int i = 0; i < 20; ++i) {
    auto& e = rig.E();
    e.State().m_SliderSecond.store(2);
    e.EstimateResume();
    e.StartSeek(SecondsToCalendar(e.StartSecond() + 2));
    e.State().m_SliderSecond.store(7);
    e.EstimateResume();
    e.StartSeek(SecondsToCalendar(e.StartSecond() + 7));
    e.WaitForSeek();
    EXPECT_EQ(rig.VideoPos(), want);
    EXPECT_EQ(rig.S().m_SeekDone.load(), 1);
  }
}

}  // namespace
}  // namespace ov::test
