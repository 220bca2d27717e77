// The frame walk shared by playback's rules and the export: what it yields and what it passes
// over, on runs built in memory with damage of each kind.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "archive/FrameWalk.h"
#include "tests/archive/YskBuilder.h"

namespace ov {
namespace {

using test::kT0;
using Kind = WalkStep::Kind;

void AddEmpty(test::RunSpec& run, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    test::FrameSpec z;  // twenty zero bytes: what a hole reads as
    z.size = 0;
    z.infoOverride = 0;
    run.frames.push_back(z);
  }
}

struct Walked {
  std::vector<WalkStep> steps;
  std::vector<WalkStep> Of(Kind k) const {
    std::vector<WalkStep> out;
    for (const auto& s : steps)
      if (s.kind == k) out.push_back(s);
    return out;
  }
};

Walked WalkAll(const std::vector<uint8_t>& bytes, uint64_t begin, uint64_t end) {
  MemoryFile file(std::make_shared<const std::vector<uint8_t>>(bytes));
  FrameWalker walk(file, begin, end);
  Walked w;
  for (int guard = 0; guard < 1000; ++guard) {
    w.steps.push_back(walk.Next());
    if (w.steps.back().kind == Kind::End) break;
  }
  EXPECT_EQ(walk.Next().kind, Kind::End);  // and stays there
  return w;
}

TEST(FrameWalk, PassesEmptyFramesAndOversizedFramesAndEndsAtAHole) {
  test::YskBuilder b;
  auto& run = b.AddVideo(0, kT0, 1000, 6, 40, 3);
  std::vector<test::FrameSpec> frames = run.frames;
  run.frames.assign(frames.begin(), frames.begin() + 2);
  AddEmpty(run, 3);                 // a few empty frames: passed, the walk goes on
  run.frames.push_back(frames[2]);  // index 5
  test::FrameSpec big = frames[3];  // larger than playback plays: passed
  big.size = kMaxFrameBytes + 1;
  run.frames.push_back(big);                                  // index 6
  run.frames.push_back(frames[4]);                            // index 7
  AddEmpty(run, kEmptyFrameReach / kYskFrameHeaderSize + 2);  // a hole: the run ends
  run.frames.push_back(frames[5]);                            // never reached
  const auto bytes = b.Build();
  const uint64_t begin = b.FrameOffset(0, 0);
  const uint64_t end = b.FrameOffset(0, run.frames.size() - 1) + 20 + frames[5].size;

  const Walked w = WalkAll(bytes, begin, end);
  const auto got = w.Of(Kind::Frame);
  ASSERT_EQ(got.size(), 4u);
  EXPECT_EQ(got[0].pos, b.FrameOffset(0, 0));
  EXPECT_EQ(got[1].pos, b.FrameOffset(0, 1));
  EXPECT_EQ(got[2].pos, b.FrameOffset(0, 5));
  EXPECT_EQ(got[3].pos, b.FrameOffset(0, 7));
  const auto skips = w.Of(Kind::Skip);
  ASSERT_EQ(skips.size(), 3u);
  EXPECT_EQ(skips[0].skip, WalkSkip::EmptyFrames);
  EXPECT_EQ(skips[0].pos, b.FrameOffset(0, 2));
  EXPECT_EQ(skips[0].next, b.FrameOffset(0, 5));
  EXPECT_EQ(skips[1].skip, WalkSkip::Oversized);
  EXPECT_EQ(skips[1].next, b.FrameOffset(0, 7));
  EXPECT_EQ(skips[2].skip, WalkSkip::Hole);
  EXPECT_EQ(skips[2].next, end);
  EXPECT_TRUE(EndsRun(skips[2].skip));
}

TEST(FrameWalk, ARunEndsAtADamagedSizeAtTheFileEndAndAtTrailingEmptyFrames) {
  test::YskBuilder b;
  auto& run = b.AddVideo(0, kT0, 1000, 10, 40, 5);
  run.frames[4].sizeOverride = 0x7FFFFFFF;
  auto bytes = b.Build();
  const uint64_t begin = b.FrameOffset(0, 0);
  const uint64_t end = b.FrameOffset(0, 9) + 20 + run.frames[9].size;
  Walked w = WalkAll(bytes, begin, end);
  EXPECT_EQ(w.Of(Kind::Frame).size(), 4u);
  ASSERT_EQ(w.Of(Kind::Skip).size(), 1u);
  EXPECT_EQ(w.Of(Kind::Skip)[0].skip, WalkSkip::PastRunEnd);

  // The file cut inside frame 7's payload while the header still names the whole run.
  run.frames[4].sizeOverride = -1;
  bytes = b.Build();
  bytes.resize(b.FrameOffset(0, 7) + 30);
  w = WalkAll(bytes, begin, end);
  EXPECT_EQ(w.Of(Kind::Frame).size(), 7u);
  ASSERT_EQ(w.Of(Kind::Skip).size(), 1u);
  EXPECT_EQ(w.Of(Kind::Skip)[0].skip, WalkSkip::CutShort);

  // Empty frames up to the run's end, within reach: passed, then the run is over.
  bytes.resize(b.FrameOffset(0, 7));
  bytes.resize(bytes.size() + 400, 0);
  w = WalkAll(bytes, begin, b.FrameOffset(0, 7) + 400);
  EXPECT_EQ(w.Of(Kind::Frame).size(), 7u);
  ASSERT_EQ(w.Of(Kind::Skip).size(), 1u);
  EXPECT_EQ(w.Of(Kind::Skip)[0].skip, WalkSkip::EmptyFrames);
}

}  // namespace
}  // namespace ov
