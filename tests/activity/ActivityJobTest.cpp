// The analysis over small recordings built in memory: frame sizes stand for what the encoder
// saw, so a stretch of larger predicted frames is a moving scene.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <random>
#include <thread>
#include <vector>

#include "activity/Activity.h"
#include "archive/BackupFile.h"
#include "tests/archive/YskBuilder.h"

namespace ov {
namespace {

using test::kT0;

constexpr uint32_t kStepMs = 100;  // 10 frames a second
constexpr int kGop = 20;

// A channel of `seconds` seconds whose predicted frames are about `bytes` large, jittering by
// `jitter` (a share) as a noisy sensor makes them, and `factor` times larger in [from, to].
struct Scene {
  int slot = 0;
  int32_t startSecond = 0;  // after kT0
  int seconds = 600;
  uint32_t bytes = 400;
  double jitter = 0.08;
  struct Burst {
    int from, to;
    double factor;
  };
  std::vector<Burst> bursts;
  uint32_t ms0 = 0;  // where the running clock stands within the first second
};

void AddScene(test::YskBuilder& b, const Scene& s, unsigned seed) {
  auto& run = b.AddVideo(s.slot, kT0 + s.startSecond, s.ms0, s.seconds * 1000 / int(kStepMs),
                         kStepMs, kGop);
  std::mt19937 rng(seed);
  std::normal_distribution<double> noise(1.0, s.jitter);
  for (auto& f : run.frames) {
    f.f_time = kT0 + s.startSecond + int32_t((f.f_msec) / 1000);
    const int sec = f.f_time - kT0;
    double size = s.bytes * std::max(0.3, noise(rng));
    for (const auto& burst : s.bursts)
      if (sec >= burst.from && sec <= burst.to) size *= burst.factor;
    if (f.f_type == 1) size = s.bytes * 6;  // key frames: the encoder's rhythm, not the scene's
    f.size = std::max<uint32_t>(uint32_t(size), 8);
  }
}

struct Analysed {
  BackupFile file;
  OpenOutcome out;
  ActivitySnapshot snap;
};

std::unique_ptr<Analysed> Analyse(const std::vector<uint8_t>& bytes, bool playing = false) {
  auto a = std::make_unique<Analysed>();
  a->out = a->file.ReadBackupHeader(
      std::make_unique<MemoryFile>(std::make_shared<const std::vector<uint8_t>>(bytes)),
      std::make_unique<MemoryFile>(std::make_shared<const std::vector<uint8_t>>(bytes)));
  EXPECT_TRUE(a->out.accepted) << a->out.message;
  ActivityJob job(a->file.SharedRecording(), a->file.ScanReader(), {});
  job.SetPlaying(playing);
  job.Start();
  job.Wait();
  a->snap = job.Snapshot();
  return a;
}

const ChannelActivity* Slot(const ActivitySnapshot& s, int slot) {
  for (const auto& c : s.channels)
    if (c.slot == slot) return &c;
  return nullptr;
}

TEST(ActivityJob, AStillNoisyChannelHasNoEventAndOneCrossingGivesOneEventOfItsLength) {
  test::YskBuilder b;
  Scene still;
  AddScene(b, still, 1);
  Scene crossing;
  crossing.slot = 2;
  crossing.bursts = {{300, 311, 2.5}};
  AddScene(b, crossing, 2);
  const auto a = Analyse(b.Build());
  const ActivitySnapshot& s = a->snap;
  EXPECT_TRUE(s.complete);
  EXPECT_DOUBLE_EQ(s.progress, 1.0);
  // One value per position of the seek slider.
  ASSERT_TRUE(a->out.sliderMax);
  EXPECT_EQ(s.seconds, *a->out.sliderMax + 1);
  ASSERT_EQ(s.channels.size(), 2u);
  const ChannelActivity* c0 = Slot(s, 0);
  const ChannelActivity* c2 = Slot(s, 2);
  ASSERT_TRUE(c0 && c2);
  ASSERT_EQ(c0->level.size(), size_t(s.seconds));
  EXPECT_TRUE(c0->events.empty());
  for (float x : c0->level) EXPECT_TRUE(x >= 0.0f && x < 0.25f) << x;
  ASSERT_EQ(c2->events.size(), 1u);
  EXPECT_EQ(c2->events[0].fromSecond, 300);
  EXPECT_EQ(c2->events[0].toSecond, 311);
  EXPECT_GT(c2->events[0].peak, 0.5f);
  EXPECT_GT(c2->level[305], 0.5f);
  EXPECT_LT(c2->level[250], 0.25f);
}

TEST(ActivityJob, CamerasOfVeryDifferentBitRatesEachKeepTheirOwnFloor) {
  test::YskBuilder b;
  Scene low;  // a quiet camera at a few kbit/s
  low.seconds = 450;
  low.bytes = 120;
  low.bursts = {{100, 104, 4.0}};
  AddScene(b, low, 3);
  Scene high;  // a busy high-rate camera: every frame large and noisy
  high.slot = 1;
  high.seconds = 450;
  high.bytes = 9000;
  high.jitter = 0.04;
  high.bursts = {{400, 420, 1.5}};
  AddScene(b, high, 4);
  const auto a = Analyse(b.Build());
  const ChannelActivity* c0 = Slot(a->snap, 0);
  const ChannelActivity* c1 = Slot(a->snap, 1);
  ASSERT_TRUE(c0 && c1);
  ASSERT_EQ(c0->events.size(), 1u);
  EXPECT_EQ(c0->events[0].fromSecond, 100);
  EXPECT_EQ(c0->events[0].toSecond, 104);
  ASSERT_EQ(c1->events.size(), 1u);
  EXPECT_EQ(c1->events[0].fromSecond, 400);
  EXPECT_EQ(c1->events[0].toSecond, 420);
}

TEST(ActivityJob, SecondsWithoutRecordingAreNotSecondsWithoutActivity) {
  test::YskBuilder b;
  Scene whole;
  whole.seconds = 300;
  AddScene(b, whole, 5);
  Scene late;  // starts a minute in; its clock stands 700 ms into a second
  late.slot = 1;
  late.startSecond = 60;
  late.seconds = 200;
  late.ms0 = 700;
  late.bursts = {{150, 152, 3.0}};
  AddScene(b, late, 6);
  const auto a = Analyse(b.Build());
  const ChannelActivity* c1 = Slot(a->snap, 1);
  ASSERT_TRUE(c1);
  for (int s = 0; s < 60; ++s) EXPECT_EQ(c1->level[size_t(s)], kNoRecording) << s;
  for (int s = 61; s < 259; ++s) EXPECT_GE(c1->level[size_t(s)], 0.0f) << s;
  for (int s = 261; s < a->snap.seconds; ++s) EXPECT_EQ(c1->level[size_t(s)], kNoRecording) << s;
  // Seconds count by the frames' own second, as the seek slider's search does.
  ASSERT_EQ(c1->events.size(), 1u);
  EXPECT_EQ(c1->events[0].fromSecond, 150);
  EXPECT_EQ(c1->events[0].toSecond, 152);
  for (float x : Slot(a->snap, 0)->level) EXPECT_GE(x, 0.0f);
}

TEST(ActivityJob, ADamagedRunKeepsWhatCameBeforeTheDamage) {
  test::YskBuilder b;
  Scene s;
  s.seconds = 400;
  s.bursts = {{100, 105, 3.0}};
  AddScene(b, s, 7);
  Scene other;
  other.slot = 1;
  other.seconds = 400;
  AddScene(b, other, 8);
  auto& run = b.runs[0];
  run.frames[2500].sizeOverride = 0x7FFFFFF0;  // a size reaching far past the run: the run ends
  run.frames[1200].f_type = 77;                // a type no frame has: passed over
  run.frames[1300].f_time = -5;                // a second no slider reaches: passed over
  const auto a = Analyse(b.Build());
  const ChannelActivity* c0 = Slot(a->snap, 0);
  ASSERT_TRUE(c0);
  ASSERT_EQ(c0->events.size(), 1u);
  EXPECT_EQ(c0->events[0].fromSecond, 100);
  EXPECT_EQ(c0->level[200], 0.0f);
  for (int sec = 251; sec < a->snap.seconds; ++sec)
    EXPECT_EQ(c0->level[size_t(sec)], kNoRecording) << sec;
  EXPECT_GE(Slot(a->snap, 1)->level[300], 0.0f);
}

TEST(ActivityJob, FillsInWhileRunningYieldsWhilePlayingAndStopsWhenCancelled) {
  test::YskBuilder b;
  for (int slot = 0; slot < 4; ++slot) {
    Scene s;
    s.slot = slot;
    s.seconds = 1200;
    AddScene(b, s, 10 + unsigned(slot));
  }
  const auto bytes = std::make_shared<const std::vector<uint8_t>>(b.Build());
  BackupFile file;
  ASSERT_TRUE(file.ReadBackupHeader(std::make_unique<MemoryFile>(bytes),
                                    std::make_unique<MemoryFile>(bytes))
                  .accepted);
  {
    ActivityJob job(file.SharedRecording(), file.ScanReader(), {});
    job.SetPlaying(true);
    job.Start();
    uint64_t seen = 0;
    double progress = 0;
    int changes = 0;
    for (;;) {
      const uint64_t r = job.Revision();
      const ActivitySnapshot s = job.Snapshot();
      EXPECT_GE(s.revision, r);
      EXPECT_GE(s.progress, progress);
      progress = s.progress;
      if (s.revision != seen) ++changes, seen = s.revision;
      if (s.complete) break;
      if (changes > 1) job.SetPlaying(false);
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_GT(changes, 1);  // something showed before the end
  }
  {
    ActivityJob job(file.SharedRecording(), file.ScanReader(), {});
    job.Start();
    job.Cancel();
    job.Wait();
    EXPECT_FALSE(job.Snapshot().complete);
  }
  ActivityJob never(file.SharedRecording(), file.ScanReader(), {});
  never.Wait();  // not started: returns at once
  // No file at all: nothing to read, still an answer.
  ActivityJob empty(file.SharedRecording(), FrameReader(), {});
  empty.Start();
  empty.Wait();
  EXPECT_TRUE(empty.Snapshot().complete);
  for (const auto& c : empty.Snapshot().channels)
    for (float x : c.level) EXPECT_EQ(x, kNoRecording);
}

}  // namespace
}  // namespace ov
