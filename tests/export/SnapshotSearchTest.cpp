// The search for a snapshot's frames over holes of zero bytes: bounded in reads (so in time)
// and in the frames it keeps, on a run built in memory with a hole only a source pretends to hold.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>

#include "archive/HeaderReader.h"
#include "export/Snapshot.h"
#include "tests/archive/YskBuilder.h"

namespace ov::exporter {
namespace {

using test::kT0;

// Holes are whole 20-byte empty frames (zero bytes read as frame headers); this one is just
// under 1 GiB.
constexpr uint64_t kGiB = (uint64_t(1) << 30) - 4;

// A built file with `hole` zero bytes inserted before frame `at` of its one video run; no byte of
// the hole is stored. Counts its reads.
class HoleSource final : public IFileSource {
 public:
  HoleSource(std::vector<uint8_t> bytes, uint64_t split, uint64_t hole)
      : m_bytes(std::move(bytes)), m_split(split), m_hole(hole) {}
  uint64_t Size() const override { return m_bytes.size() + m_hole; }
  size_t ReadAt(uint64_t offset, void* buffer, size_t n) override {
    ++reads;
    auto* out = static_cast<uint8_t*>(buffer);
    size_t done = 0;
    for (; done < n && offset + done < Size(); ++done) {
      const uint64_t at = offset + done;
      out[done] = at < m_split ? m_bytes[at] : at < m_split + m_hole ? 0 : m_bytes[at - m_hole];
    }
    return done;
  }
  uint64_t reads = 0;

 private:
  std::vector<uint8_t> m_bytes;
  uint64_t m_split, m_hole;
};

struct HoledRun {
  test::YskBuilder b;
  std::unique_ptr<HoleSource> src;
  uint64_t begin = 0, end = 0, hole = 0, split = 0;
  // 100 frames of 40 ms, a key frame every 25; the hole goes before frame 60.
  explicit HoledRun(uint64_t holeBytes) : hole(holeBytes) {
    b.AddVideo(0, kT0, 1000, 100, 40, 25);
    std::vector<uint8_t> bytes = b.Build();
    const YskHeader h =
        DecodeHeader(std::span<const uint8_t, kYskHeaderSize>(bytes.data(), kYskHeaderSize));
    // Run offsets count from the end of the header.
    begin = kDataStartKind0 + uint64_t(h.video[0].startOffset);
    end = kDataStartKind0 + uint64_t(h.video[0].endOffset) + hole;
    split = b.FrameOffset(0, 60);
    src = std::make_unique<HoleSource>(std::move(bytes), split, hole);
  }
  // Where frame i lies with the hole in place.
  uint64_t Frame(size_t i) const {
    const uint64_t at = b.FrameOffset(0, i);
    return at >= split ? at + hole : at;
  }
  PictureSearch Find(size_t target, std::chrono::milliseconds limit = std::chrono::seconds(30),
                     const std::atomic<bool>* cancel = nullptr) {
    const uint64_t want = Frame(target);
    return FindPictureFrames(
        *src, begin, end, [&](const FrameRef& f) { return f.offset == want; }, limit, cancel);
  }
};

TEST(SnapshotSearch, ASmallHoleIsPassedAndAHugeOneEndsTheChannelAfterABoundedRead) {
  {
    HoledRun small(64000);  // 3200 empty frames
    const PictureSearch s = small.Find(62);
    ASSERT_EQ(s.end, PictureSearch::End::Found);
    // From key frame 50 to frame 62; the empty frames between are no part of the picture.
    ASSERT_EQ(s.frames.size(), 13u);
    EXPECT_EQ(s.frames.front().offset, small.Frame(50));
    EXPECT_EQ(s.frames.back().offset, small.Frame(62));
    EXPECT_TRUE(std::all_of(s.frames.begin(), s.frames.end(),
                            [](const FrameRef& f) { return f.h.f_size > 0; }));
  }
  {
    HoledRun huge(kGiB);  // 53 million empty frames
    const PictureSearch before = huge.Find(40);
    EXPECT_EQ(before.end, PictureSearch::End::Found);
    const uint64_t readsBefore = huge.src->reads;
    const PictureSearch after = huge.Find(75);
    EXPECT_EQ(after.end, PictureSearch::End::NotFound);
    EXPECT_TRUE(after.frames.empty());
    // One page per read: the frames up to the hole and kEmptyFrameReach of it, no more.
    const uint64_t reads = huge.src->reads - readsBefore;
    EXPECT_LE(reads, kEmptyFrameReach / 4096 + 16) << reads;
  }
}

TEST(SnapshotSearch, CancelAndTheTimeLimitEndTheSearch) {
  HoledRun run(900000);
  std::atomic<bool> cancel{true};
  EXPECT_EQ(run.Find(70, std::chrono::seconds(30), &cancel).end, PictureSearch::End::Cancelled);
  EXPECT_EQ(run.Find(70, std::chrono::milliseconds(-1)).end, PictureSearch::End::TimedOut);
  cancel = false;
  EXPECT_EQ(run.Find(70, std::chrono::seconds(30), &cancel).end, PictureSearch::End::Found);
}

TEST(SnapshotSearch, DamageEndsTheRunAndFramesNeedTheirKeyFrame) {
  HoledRun run(0);
  EXPECT_EQ(run.Find(10).frames.size(), 11u);  // key frame 0 .. frame 10
  {
    // A frame whose size reaches past the run ends the run there.
    test::YskBuilder b;
    auto& r = b.AddVideo(0, kT0, 1000, 50, 40, 25);
    r.frames[30].sizeOverride = 0x7FFFFFF0;
    std::vector<uint8_t> bytes = b.Build();
    const YskHeader h =
        DecodeHeader(std::span<const uint8_t, kYskHeaderSize>(bytes.data(), kYskHeaderSize));
    MemoryFile src(std::make_shared<const std::vector<uint8_t>>(bytes));
    const uint64_t target = b.FrameOffset(0, 40);
    const PictureSearch s = FindPictureFrames(
        src, kDataStartKind0 + h.video[0].startOffset, kDataStartKind0 + h.video[0].endOffset,
        [&](const FrameRef& f) { return f.offset == target; });
    EXPECT_EQ(s.end, PictureSearch::End::NotFound);
  }
  // A target before the first key frame has no picture.
  test::YskBuilder b;
  auto& r = b.AddVideo(0, kT0, 1000, 50, 40, 25);
  r.frames[0].f_type = 0;
  r.frames[0].prefix.clear();
  std::vector<uint8_t> bytes = b.Build();
  const YskHeader h =
      DecodeHeader(std::span<const uint8_t, kYskHeaderSize>(bytes.data(), kYskHeaderSize));
  MemoryFile src(std::make_shared<const std::vector<uint8_t>>(bytes));
  const uint64_t target = b.FrameOffset(0, 5);
  EXPECT_EQ(FindPictureFrames(src, kDataStartKind0 + h.video[0].startOffset,
                              kDataStartKind0 + h.video[0].endOffset,
                              [&](const FrameRef& f) { return f.offset == target; })
                .end,
            PictureSearch::End::NotFound);
}

}  // namespace
}  // namespace ov::exporter
