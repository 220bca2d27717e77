// Where a resume, a move and a step land: the decode-only frames from the key frame, then exactly
// the picture the command names. On the virtual clock, over files with chosen key-frame intervals.
#include <gtest/gtest.h>

#include "playback/GoToTime.h"
#include "tests/playback/TestRig.h"

namespace ov {
namespace {
using test::Fixture;
using test::kT0;
using test::Rig;

constexpr int kStepMs = 40;  // 25 pictures a second

struct Handed {
  int index;  // the picture's number from the recording's start
  bool show;
  uint32_t tag;
};

// Video frames of channel 0 handed over since the rig's mark, in order.
std::vector<Handed> Video(const Rig& rig) {
  std::vector<Handed> v;
  for (const auto& e : rig.d.Log().Snapshot()) {
    if (!e.fromDecoder || e.dispid != dispid::SubmitFrame || e.ints.size() < 8) continue;
    if (e.ints[5] != 0 || e.ints[2] != 0) continue;
    const int index = ((e.ints[0] - kT0) * 1000 + e.ints[1]) / kStepMs;
    v.push_back({index, e.ints[6] != 0, uint32_t(e.ints[7])});
  }
  return v;
}

int LastShown(const Rig& rig) {
  int last = -1;
  for (const Handed& h : Video(rig))
    if (h.show) last = h.index;
  return last;
}

// The decode-only frames run from the key frame before the landing picture up to it; nothing is
// shown before the landing picture.
void ExpectLanding(const std::vector<Handed>& v, int picture, int gop) {
  ASSERT_FALSE(v.empty());
  size_t first = 0;
  while (first < v.size() && !v[first].show) ++first;
  ASSERT_LT(first, v.size());
  EXPECT_EQ(v[first].index, picture);
  const int key = picture / gop * gop;
  EXPECT_EQ(int(first), picture - key) << "decode-only frames";
  for (size_t i = 0; i < first; ++i) EXPECT_EQ(v[i].index, key + int(i));
}

// Plays from the start for ms, pauses and returns the picture held.
int PlayAndPause(Rig& rig, int64_t ms) {
  rig.Do(&PlaybackEngine::OnPlay);
  rig.d.Wait(ms);
  rig.Do(&PlaybackEngine::OnPlay);
  return LastShown(rig);
}

Fixture OneCamera(int seconds, int gop) {
  Fixture fx(1);
  fx.Video(0, Fixture::Regular(seconds * 25, 0, kStepMs, gop));
  return fx;
}

TEST(Landing, ResumeGoesOnWithThePictureAfterTheHeldOneWhateverTheKeyFrameInterval) {
  for (int gop : {25, 100, 1500}) {  // a key frame every 1 s, 4 s, 60 s
    SCOPED_TRACE(gop);
    Fixture fx = OneCamera(12, gop);
    Rig rig;
    ASSERT_TRUE(rig.Open(fx));
    const int held = PlayAndPause(rig, 2640);
    ASSERT_GT(held, 50);
    rig.Mark();
    rig.d.Wait(1000);
    EXPECT_TRUE(Video(rig).empty()) << "nothing is handed over while paused";
    rig.Do(&PlaybackEngine::OnPlay);
    rig.d.Wait(200);
    ExpectLanding(Video(rig), held + 1, gop);
  }
}

TEST(Landing, SoundGoesOnWithTheSoundFrameThePictureAfterThePauseFallsIn) {
  Fixture fx = OneCamera(12, 100);
  fx.Audio(0, Fixture::Sound(12, 200, 1600));  // 200 ms frames of 8 kHz companded sound
  Rig rig;
  ASSERT_TRUE(rig.Open(fx));
  const int held = PlayAndPause(rig, 2640);
  rig.Mark();
  rig.Do(&PlaybackEngine::OnPlay);
  rig.d.Wait(400);
  const auto frames = rig.Frames();
  const auto sound =
      std::find_if(frames.begin(), frames.end(), [](const test::Shown& s) { return s.audio == 1; });
  ASSERT_NE(sound, frames.end());
  // The picture after the held one lies in the sound frame that starts at or before it.
  const int pictureMs = (held + 1) * kStepMs;
  EXPECT_EQ((sound->time - kT0) * 1000 + sound->ms, pictureMs / 200 * 200);
}

TEST(Landing, JumpsAndSeeksLandOnTheFirstPictureOfTheTargetSecondPlayingOrPaused) {
  Fixture fx = OneCamera(40, 100);
  Rig rig;
  ASSERT_TRUE(rig.Open(fx));
  rig.Do(&PlaybackEngine::OnPlay);
  rig.d.Wait(500);
  rig.Mark();
  rig.Seek(6);
  rig.d.Wait(100);
  ExpectLanding(Video(rig), 6 * 25, 100);
  EXPECT_EQ(rig.S().m_SliderSecond.load(), 6);

  rig.Do(&PlaybackEngine::OnPlay);  // pause
  rig.Mark();
  rig.Seek(11);  // paused: the move shows its picture and stays paused
  rig.d.Wait(1000);
  const auto v = Video(rig);
  ExpectLanding(v, 11 * 25, 100);
  EXPECT_EQ(std::count_if(v.begin(), v.end(), [](const Handed& h) { return h.show; }), 1);
  EXPECT_EQ(rig.S().m_PlayState.load(), TransportState::Paused);
  EXPECT_EQ(rig.LastText(ctl::kOsd), "2024-03-01 12:00:11");

  rig.Mark();
  rig.d.Do([](PlaybackEngine& e) {
    e.Jump(PlaybackEngine::kJumpSeconds);
  });  // fewer than 59 s left: refused
  rig.d.Do([](PlaybackEngine& e) { e.MoveTo(3); });
  rig.d.Wait(100);
  ExpectLanding(Video(rig), 3 * 25, 100);
  rig.Mark();
  rig.Do(&PlaybackEngine::OnPlay);  // Play goes on from the moved-to picture
  rig.d.Wait(100);
  ExpectLanding(Video(rig), 3 * 25 + 1, 100);
}

TEST(Landing, AfterAPausedMoveResumeAndStepGoOnFromTheLandingEvenBeforeItIsDecoded) {
  // The decoder may still be busy with a paused move's landing when Play or a step comes; the
  // pane then still holds the picture from before the move, which is no longer the place.
  Fixture fx = OneCamera(40, 100);
  for (bool step : {false, true}) {
    SCOPED_TRACE(step);
    Rig rig;
    ASSERT_TRUE(rig.Open(fx));
    ASSERT_GT(PlayAndPause(rig, 1000), 0);
    rig.d.Decoder().HoldPictures(true);
    rig.Seek(11);
    rig.d.Wait(500);
    rig.Mark();
    if (step) {
      rig.d.Do([](PlaybackEngine& e) { e.StepFrame(); });
      rig.d.Wait(100);
      ExpectLanding(Video(rig), 11 * 25 + 1, 100);
      continue;
    }
    rig.d.Decoder().HoldPictures(false);
    rig.Do(&PlaybackEngine::OnPlay);
    rig.d.Wait(100);
    ExpectLanding(Video(rig), 11 * 25 + 1, 100);
    // A pause in play goes on from what the panes hold: pictures handed over after it are flushed.
    rig.d.Wait(300);
    rig.d.Decoder().HoldPictures(true);
    const int held = LastShown(rig);
    rig.d.Wait(200);
    rig.Do(&PlaybackEngine::OnPlay);
    ASSERT_GT(LastShown(rig), held);
    rig.Mark();
    rig.Do(&PlaybackEngine::OnPlay);
    rig.d.Wait(100);
    ExpectLanding(Video(rig), held + 1, 100);
  }
}

TEST(Landing, StepsBackAcrossAKeyFrameAndForwardAgain) {
  Fixture fx = OneCamera(4, 25);
  Rig rig;
  ASSERT_TRUE(rig.Open(fx));
  ASSERT_EQ(PlayAndPause(rig, 1060), 26);
  bool ok = false;
  auto step = [&](bool back) {
    rig.Mark();
    rig.d.Do([&](PlaybackEngine& e) { ok = back ? e.StepBack() : e.StepFrame(); });
    return Video(rig);
  };
  auto v = step(true);  // 25 is a key frame: it alone
  ASSERT_TRUE(ok);
  ASSERT_EQ(v.size(), 1u);
  EXPECT_EQ(v[0].index, 25);
  EXPECT_EQ(v[0].tag, fx.VideoAt(0, 25));
  v = step(true);  // 24: decoded from key frame 0
  ASSERT_TRUE(ok);
  ExpectLanding(v, 24, 25);
  EXPECT_EQ(v.size(), 25u);
  EXPECT_EQ(rig.LastText(ctl::kOsd), "2024-03-01 12:00:00");
  EXPECT_EQ(rig.LastText(ctl::kTotalTime).rfind("00 : 00 : 00", 0), 0u);
  v = step(false);  // forward from its own step: only the next picture
  ASSERT_EQ(v.size(), 1u);
  EXPECT_EQ(v[0].index, 25);
  EXPECT_EQ(rig.LastText(ctl::kOsd), "2024-03-01 12:00:01");
  EXPECT_EQ(rig.S().m_SliderSecond.load(), 1);
  rig.Mark();
  rig.Do(&PlaybackEngine::OnPlay);
  rig.d.Wait(100);
  ExpectLanding(Video(rig), 26, 25);

  rig.Do(&PlaybackEngine::OnPlay);
  rig.d.Do([](PlaybackEngine& e) { e.MoveTo(0); });
  v = step(true);  // nothing before the first picture
  EXPECT_FALSE(ok);
  EXPECT_TRUE(v.empty());
}

TEST(Landing, AStepOverADamagedLinkHandsNothingAndNoStepWhilePlaying) {
  Fixture fx(1);
  auto frames = Fixture::Regular(100, 0, kStepMs, 25);
  frames[26].info = 0xFFFFFF00;  // its link back points before the start of the file
  fx.Video(0, frames);
  Rig rig;
  ASSERT_TRUE(rig.Open(fx));
  ASSERT_EQ(PlayAndPause(rig, 1060), 26);
  bool ok = true;
  rig.Mark();
  rig.d.Do([&](PlaybackEngine& e) { ok = e.StepBack(); });
  EXPECT_FALSE(ok);
  // Forward decodes from the key frame before 27, a chain through the same damaged link.
  rig.d.Do([&](PlaybackEngine& e) { ok = e.StepFrame(); });
  EXPECT_FALSE(ok);
  EXPECT_TRUE(Video(rig).empty());
  EXPECT_EQ(rig.LastText(ctl::kOsd), "<none>") << "the texts stay on the picture held";

  rig.Do(&PlaybackEngine::OnPlay);
  rig.d.Wait(500);
  rig.d.Do([&](PlaybackEngine& e) { ok = e.StepFrame(); });
  EXPECT_FALSE(ok) << "a step only while paused";
}

TEST(Landing, ReversePlayPassesAFrameWithoutAPicture) {
  Fixture fx(1);
  auto frames = Fixture::Regular(250, 0, kStepMs, 25);
  frames[100].size = 0;  // a key frame with no payload
  fx.Video(0, frames);
  Rig rig;
  ASSERT_TRUE(rig.Open(fx));
  rig.Do(&PlaybackEngine::OnPlay);
  rig.d.Wait(8000);
  rig.Mark();
  rig.Do(&PlaybackEngine::OnRew);
  rig.d.Wait(8000);
  const auto shown = rig.Frames();
  ASSERT_GT(shown.size(), 4u);
  for (const auto& s : shown) EXPECT_GT(s.size, 0) << "at " << s.time << "." << s.ms;
}

TEST(Landing, FastForwardOutOfRewindGoesOnAfterThePictureShown) {
  Fixture fx = OneCamera(20, 25);
  Rig rig;
  ASSERT_TRUE(rig.Open(fx));
  rig.Do(&PlaybackEngine::OnPlay);
  rig.d.Wait(9500);
  rig.Do(&PlaybackEngine::OnRew);
  rig.d.Wait(2300);
  const int held = LastShown(rig);
  ASSERT_EQ(held % 25, 0);  // reverse play shows key frames
  rig.Mark();
  rig.Do(&PlaybackEngine::OnFF);
  rig.d.Wait(100);
  ExpectLanding(Video(rig), held + 1, 25);
}

TEST(Landing, GoToTimeReadsRecordingTimesAndElapsedTimes) {
  EXPECT_EQ(ParseGoToTime("2024-03-01 12:01:30", kT0), 90);
  EXPECT_EQ(ParseGoToTime("  1:02:03 ", kT0), 3723);
  EXPECT_EQ(ParseGoToTime("2:05", kT0), 125);
  EXPECT_EQ(ParseGoToTime("75", kT0), 75);
  EXPECT_EQ(ParseGoToTime("2024-02-28 00:00:00", kT0),
            -216000);  // before the start: the caller refuses
  for (const char* bad : {"", "1:5", "1:60", "1::00", "2024-02-30 00:00:00", "12:00 pm", "-5",
                          "1:00:00:00", "99999999999999"})
    EXPECT_FALSE(ParseGoToTime(bad, kT0)) << bad;
}

}  // namespace
}  // namespace ov
