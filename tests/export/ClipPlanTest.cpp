// Which frames a clip takes, on files built in memory: the key frame before the range, gaps,
// damage read past as playback reads past it, sound beside the video, and the plan's limits.
#include <gtest/gtest.h>

#include <atomic>

#include "archive/BackupFile.h"
#include "export/ClipPlan.h"
#include "tests/archive/YskBuilder.h"

namespace ov::exporter {
namespace {

using test::kT0;

struct Built {
  test::YskBuilder b;
  BackupFile file;
  void Open() {
    auto bytes = b.BuildShared();
    ASSERT_TRUE(file.ReadBackupHeader(std::make_unique<MemoryFile>(bytes),
                                      std::make_unique<MemoryFile>(bytes))
                    .accepted);
  }
};

// 100 frames 40 ms apart, a key frame every 30 (every 1.2 s); frames from 70 on lie 5 s later.
void AddGappedVideo(test::YskBuilder& b) {
  auto& run = b.AddVideo(0, kT0, 1000, 100, 40, 30);
  for (size_t i = 70; i < run.frames.size(); ++i) {
    run.frames[i].f_msec += 5000;
    run.frames[i].f_time += 5;
  }
}

TEST(ClipPlan, StartsAtTheKeyFrameBeforeTheRangeAndListsGaps) {
  Built t;
  AddGappedVideo(t.b);
  t.b.AddAudio(0, kT0, 60);
  t.Open();
  ClipPlan plan;
  ASSERT_EQ(PlanClip(t.file, 0, kT0 + 2, kT0 + 8, plan), PlanStatus::Ok);
  // Second 2 begins at frame 50; the key frame before it is frame 30.
  EXPECT_EQ(plan.video.front().offset, t.b.FrameOffset(0, 30));
  EXPECT_EQ(plan.video.front().ptsMs, 0);
  // Frames 70..74 lie in second 7; frame 75 opens second 8 and stays out.
  ASSERT_EQ(plan.video.back().offset, t.b.FrameOffset(0, 74));
  ASSERT_EQ(plan.gaps.size(), 1u);
  EXPECT_EQ(plan.gaps[0].lengthMs, 5040);
  EXPECT_EQ(plan.gaps[0].fromSecond, kT0 + 2);
  EXPECT_EQ(plan.gaps[0].toSecond, kT0 + 7);
  EXPECT_EQ(plan.DurationMs(), plan.video.back().ptsMs + 40);
  // The sound lies inside the clip's time, in order.
  ASSERT_FALSE(plan.audio.empty());
  for (size_t i = 0; i < plan.audio.size(); ++i) {
    EXPECT_GE(plan.audio[i].ptsMs, 0);
    EXPECT_LT(plan.audio[i].ptsMs, plan.DurationMs());
    if (i > 0) {
      EXPECT_GT(plan.audio[i].ptsMs, plan.audio[i - 1].ptsMs);
    }
  }
}

TEST(ClipPlan, RangesWithoutFramesAndDamagedRuns) {
  Built t;
  auto& run = t.b.AddVideo(0, kT0, 1000, 100, 40, 25);
  run.frames[60].sizeOverride = 0x7FFFFFFF;  // past the run's end: nothing after it is trusted
  t.Open();
  ClipPlan plan;
  EXPECT_EQ(PlanClip(t.file, 0, kT0 + 50, kT0 + 60, plan), PlanStatus::OutsideRange);
  EXPECT_EQ(PlanClip(t.file, 0, kT0 + 2, kT0 + 1, plan), PlanStatus::OutsideRange);
  EXPECT_EQ(PlanClip(t.file, 3, kT0, kT0 + 1, plan), PlanStatus::NoVideo);
  for (int slot : {-1, 16, 1000}) {  // outside the header: no record is read
    EXPECT_EQ(PlanClip(t.file, slot, kT0, kT0 + 1, plan), PlanStatus::NoVideo) << slot;
    EXPECT_EQ(plan.camera, "");
  }
  ASSERT_EQ(PlanClip(t.file, 0, kT0, kT0 + 10, plan), PlanStatus::Ok);
  EXPECT_EQ(plan.video.size(), 60u);
  // A picture needs its key frame: frame 55 comes with frames 50..55.
  const auto frames = FramesForPicture(
      t.file, 0, [&](const FrameRef& f) { return f.offset == t.b.FrameOffset(0, 55); });
  ASSERT_EQ(frames.size(), 6u);
  EXPECT_EQ(frames.front().offset, t.b.FrameOffset(0, 50));
}

size_t CountGaps(const ClipPlan& plan, GapCause cause) {
  size_t n = 0;
  for (const Gap& g : plan.gaps) n += g.cause == cause;
  return n;
}

TEST(ClipPlan, ReadsPastDamageAsPlaybackDoesAndListsIt) {
  Built t;
  auto& run = t.b.AddVideo(0, kT0, 1000, 200, 40, 25);
  run.frames[100].f_type = 9;         // second 4: a damaged header, the frame itself intact
  run.frames[10].f_time += 100'000;   // seconds stamped far off, before and inside the range:
  run.frames[120].f_time += 100'000;  // neither starts nor ends the clip
  // Ten empty frames after frame 150 (second 6): passed, the clip goes on after them.
  std::vector<test::FrameSpec> zeros(10);
  for (auto& z : zeros) z.size = 0, z.infoOverride = 0;
  run.frames.insert(run.frames.begin() + 151, zeros.begin(), zeros.end());
  t.Open();
  ClipPlan plan;
  ASSERT_EQ(PlanClip(t.file, 0, kT0 + 2, kT0 + 8, plan), PlanStatus::Ok);
  EXPECT_EQ(plan.video.size(), 150u);  // frames 50..199: nothing lost at the damage
  EXPECT_EQ(plan.video.back().h.f_time, kT0 + 7);
  ASSERT_EQ(CountGaps(plan, GapCause::DamagedHeader), 2u);
  ASSERT_EQ(CountGaps(plan, GapCause::Passed), 1u);
  EXPECT_EQ(plan.video[70].h.f_time, kT0 + 4);  // frame 120, in its place
  for (const Gap& g : plan.gaps) {
    if (g.cause == GapCause::DamagedHeader && g.type == 0) {
      EXPECT_EQ(g.offset, t.b.FrameOffset(0, 120));
      EXPECT_EQ(g.stamped, kT0 + 4 + 100'000);
    } else if (g.cause == GapCause::DamagedHeader) {
      EXPECT_EQ(g.offset, t.b.FrameOffset(0, 100));
      EXPECT_EQ(g.type, 9u);
      EXPECT_EQ(g.toSecond, kT0 + 4);
    } else {
      EXPECT_EQ(g.skip, WalkSkip::EmptyFrames);
      EXPECT_EQ(g.offset, t.b.FrameOffset(0, 151));
      EXPECT_EQ(g.bytes, 200u);
    }
  }
}

TEST(ClipPlan, AHoleOfZerosEndsTheChannelWithoutFramesOf1970) {
  Built t;
  auto& run = t.b.AddVideo(0, kT0, 1000, 200, 40, 25);
  std::vector<test::FrameSpec> zeros(kEmptyFrameReach / kYskFrameHeaderSize + 10);
  for (auto& z : zeros) z.size = 0, z.infoOverride = 0;
  run.frames.insert(run.frames.begin() + 100, zeros.begin(), zeros.end());
  t.Open();
  ClipPlan plan;
  ASSERT_EQ(PlanClip(t.file, 0, kT0, kT0 + 8, plan), PlanStatus::Ok);
  ASSERT_EQ(plan.video.size(), 100u);  // playback stops at the hole, and so does the clip
  EXPECT_EQ(plan.video.back().h.f_time, kT0 + 3);
  EXPECT_EQ(plan.DurationMs(), 4000);
  ASSERT_EQ(plan.gaps.size(), 1u);
  EXPECT_EQ(plan.gaps[0].skip, WalkSkip::Hole);
  EXPECT_EQ(plan.gaps[0].offset, t.b.FrameOffset(0, 100));
  EXPECT_EQ(plan.gaps[0].fromSecond, kT0 + 3);
}

TEST(ClipPlan, JumpsOfEitherClockNeitherStretchTheClipNorEndItsSound) {
  Built t;
  auto& video = t.b.AddVideo(0, kT0, 1000, 100, 40, 25);
  video.frames[60].f_msec += 2'000'000'000u;  // the millisecond clock, for one frame
  auto& sound = t.b.AddAudio(0, kT0, 20);     // a sound frame every 200 ms
  sound.frames[10].f_time += 1'000'000;       // eleven days ahead
  t.Open();
  ClipPlan plan;
  ASSERT_EQ(PlanClip(t.file, 0, kT0, kT0 + 4, plan), PlanStatus::Ok);
  ASSERT_EQ(plan.video.size(), 100u);
  EXPECT_EQ(plan.DurationMs(), 4000);                   // the jump is timed by the clock's own step
  EXPECT_EQ(CountGaps(plan, GapCause::ClockJump), 2u);  // there and back
  ASSERT_EQ(plan.audio.size(), 19u);                    // all but the stray frame
  EXPECT_LT(plan.audio.back().ptsMs, plan.DurationMs());
  ASSERT_EQ(CountGaps(plan, GapCause::SoundSkipped), 1u);

  // The recorder's wall clock set an hour ahead: the seconds after it are what they say.
  Built dst;
  auto& run = dst.b.AddVideo(0, kT0, 1000, 100, 40, 25);
  for (size_t i = 50; i < run.frames.size(); ++i) run.frames[i].f_time += 3600;
  dst.Open();
  ASSERT_EQ(PlanClip(dst.file, 0, kT0, kT0 + 10, plan), PlanStatus::Ok);
  EXPECT_EQ(plan.video.size(), 50u);
  EXPECT_EQ(CountGaps(plan, GapCause::DamagedHeader), 0u);
}

TEST(ClipPlan, PlanningStopsAtItsFrameBudgetAndWhenCancelled) {
  Built t;
  t.b.AddVideo(0, kT0, 1000, 3000, 40, 25);
  t.Open();
  ClipPlan plan;
  uint64_t budget = 100;
  EXPECT_EQ(PlanClip(t.file, 0, kT0, kT0 + 100, plan, {nullptr, &budget}),
            PlanStatus::TooManyFrames);
  EXPECT_EQ(budget, 0u);
  budget = 10'000;
  ASSERT_EQ(PlanClip(t.file, 0, kT0, kT0 + 100, plan, {nullptr, &budget}), PlanStatus::Ok);
  EXPECT_EQ(budget, 10'000u - 2500u);  // the budget is shared by the export's clips
  const std::atomic<bool> cancel{true};
  EXPECT_EQ(PlanClip(t.file, 0, kT0, kT0 + 100, plan, {&cancel, nullptr}), PlanStatus::Cancelled);
}

}  // namespace
}  // namespace ov::exporter
