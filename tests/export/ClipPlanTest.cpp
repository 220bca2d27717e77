// Which frames a clip takes, on files built in memory: the key frame before the range, gaps,
// a damaged frame size, sound beside the video.
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace ov::exporter
