// Sets of backup files: which files join, which are left out and why, and the set read back as
// one recording.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "archive/BackupFile.h"
#include "archive/FrameWalk.h"
#include "archive/RecorderIdentity.h"
#include "archive/RecordingSet.h"
#include "tests/archive/YskBuilder.h"

namespace ov {
namespace {

namespace fs = std::filesystem;
using test::kT0;
using test::YskBuilder;

fs::path FreshDir(const std::string& name) {
  const char* env = std::getenv("OV_TEST_TMP");
  const fs::path dir = fs::path(env ? env : "/tmp") / "recording-set" / name;
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir;
}

void WriteBytes(const fs::path& p, const std::vector<uint8_t>& bytes) {
  std::ofstream(p, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// Two channels, 50 frames 40 ms apart (2 s) from wall second t0 and clock value ms0, sound on
// channel 1.
std::vector<uint8_t> Piece(int32_t t0, uint32_t ms0, uint8_t channels = 2) {
  YskBuilder b;
  b.header.channelCount = channels;
  b.AddVideo(0, t0, ms0, 50, 40, 25);
  b.AddVideo(1, t0, ms0 + 20, 50, 40, 25);
  b.AddAudio(0, t0, 10);
  return b.Build();
}

std::vector<std::string> Names(const RecordingSetPlan& plan) {
  std::vector<std::string> names;
  for (const auto& m : plan.members) names.push_back(fs::path(m.path).filename().string());
  return names;
}

std::string ReasonOf(const RecordingSetPlan& plan, const std::string& name) {
  for (const auto& m : plan.misfits)
    if (fs::path(m.path).filename() == name) return m.reason;
  return "(not listed)";
}

TEST(RecorderIdentity, LayoutAndNamesTellRecordersApart) {
  YskBuilder a, b;
  EXPECT_EQ(RecorderIdentity(a.header), RecorderIdentity(b.header));
  b.header.video[15].name = "left over";  // beyond the channel count: not part of the layout
  EXPECT_EQ(RecorderIdentity(a.header), RecorderIdentity(b.header));
  b.header.video[1].name = "Gate";
  EXPECT_NE(RecorderIdentity(a.header), RecorderIdentity(b.header));
  YskBuilder c;
  c.header.videoCoding = 1;
  EXPECT_NE(RecorderIdentity(a.header), RecorderIdentity(c.header));
  // A separator inside a name cannot make two layouts look alike.
  YskBuilder d, e;
  d.header.channelCount = e.header.channelCount = 2;
  d.header.video[0].name = "A|B";
  d.header.video[1].name = "C";
  e.header.video[0].name = "A";
  e.header.video[1].name = "B|C";
  EXPECT_NE(RecorderIdentity(d.header), RecorderIdentity(e.header));

  // Read back, the names come out as they went in.
  const auto back = ParseRecorderIdentity(RecorderIdentity(d.header));
  ASSERT_TRUE(back);
  EXPECT_EQ(*back, (RecorderLayout{2, 2, {"A|B", "C"}}));
  EXPECT_EQ(ParseRecorderIdentity(RecorderIdentity(3, 1, {"", "x\\", "|"}))->names,
            (std::vector<std::string>{"", "x\\", "|"}));
  EXPECT_EQ(*ParseRecorderIdentity("0ch/coding2/"), (RecorderLayout{0, 2, {}}));
  for (const char* bad : {"", "4 ch, coding 2: A|B", "4ch/coding/A", "0ch/coding2/x"})
    EXPECT_FALSE(ParseRecorderIdentity(bad)) << bad;
}

TEST(RecordingSet, OrdersByTimeAndListsEveryFileLeftOut) {
  const fs::path dir = FreshDir("misfits");
  WriteBytes(dir / "c.ysk", Piece(kT0 + 2, 3000));        // follows a.ysk
  WriteBytes(dir / "a.ysk", Piece(kT0, 1000));            // the first
  WriteBytes(dir / "b.ysk", Piece(kT0 + 1, 2000));        // overlaps a.ysk
  WriteBytes(dir / "d.ysk", Piece(kT0 + 4, 5000, 4));     // another layout
  WriteBytes(dir / "e.ysk", Piece(kT0 + 30, 31000));      // after a pause
  WriteBytes(dir / "f.ysk", Piece(kT0 + 60, 7));          // the clock was reset
  WriteBytes(dir / "g.ysk", std::vector<uint8_t>(3000));  // damaged: no channel at all
  WriteBytes(dir / "notes.txt", {1, 2, 3});               // not a backup file: not picked up
  fs::create_directories(dir / "sub");
  WriteBytes(dir / "sub" / "h.ysk", Piece(kT0 + 40, 41000));  // subfolders are not read

  const RecordingSetPlan plan = PlanRecordingSet({dir.string()});
  EXPECT_EQ(Names(plan), (std::vector<std::string>{"a.ysk", "c.ysk", "e.ysk"}));
  EXPECT_EQ(plan.misfits.size(), 4u);
  EXPECT_NE(ReasonOf(plan, "b.ysk").find("overlap a.ysk"), std::string::npos);
  EXPECT_NE(ReasonOf(plan, "d.ysk").find("another recorder (4 channels"), std::string::npos);
  EXPECT_NE(ReasonOf(plan, "f.ysk").find("clock"), std::string::npos);
  EXPECT_NE(ReasonOf(plan, "g.ysk").find("C100"), std::string::npos);
  // The pause between c.ysk and e.ysk is known by its clock values.
  ASSERT_EQ(plan.gaps.size(), 1u);
  EXPECT_EQ(plan.gaps[0].toKey, 31000u);
}

TEST(RecordingSet, AFileEndsWithItsLastFrameNotItsLastKeyFrame) {
  // a.ysk's last key frame is at 1.0 s, its last frame at 1.96 s: a file from 1.5 s overlaps it,
  // and one from 2.0 s follows it with no pause.
  const fs::path dir = FreshDir("last-frame");
  WriteBytes(dir / "a.ysk", Piece(kT0, 1000));
  WriteBytes(dir / "b.ysk", Piece(kT0 + 1, 2500));
  WriteBytes(dir / "c.ysk", Piece(kT0 + 2, 3000));
  const RecordingSetPlan plan = PlanRecordingSet({dir.string()});
  EXPECT_EQ(Names(plan), (std::vector<std::string>{"a.ysk", "c.ysk"}));
  EXPECT_NE(ReasonOf(plan, "b.ysk").find("overlap a.ysk"), std::string::npos);
  EXPECT_TRUE(plan.gaps.empty());
  EXPECT_EQ(plan.members[0].lastKey, 1000u + 20 + 49 * 40);  // channel 2's last frame
}

TEST(RecordingSet, TheSameFileTwiceAndMissingPathsAreListed) {
  const fs::path dir = FreshDir("twice");
  WriteBytes(dir / "a.ysk", Piece(kT0, 1000));
  fs::create_symlink(dir / "a.ysk", dir / "link.ysk");
  const RecordingSetPlan plan = PlanRecordingSet(
      {(dir / "a.ysk").string(), (dir / "link.ysk").string(), (dir / "gone.ysk").string()});
  EXPECT_EQ(Names(plan), (std::vector<std::string>{"a.ysk"}));
  EXPECT_NE(ReasonOf(plan, "link.ysk").find("same file as a.ysk"), std::string::npos);
  EXPECT_NE(ReasonOf(plan, "gone.ysk"), "(not listed)");
}

TEST(RecordingSet, ReadsAsOneRecordingWithEveryFrameOnce) {
  const fs::path dir = FreshDir("one");
  WriteBytes(dir / "1.ysk", Piece(kT0, 1000));
  WriteBytes(dir / "2.ysk", Piece(kT0 + 2, 3000));
  WriteBytes(dir / "3.ysk", Piece(kT0 + 4, 5000));
  const RecordingSetPlan plan = PlanRecordingSet({dir.string()});
  ASSERT_EQ(plan.members.size(), 3u);
  BackupFile file;
  const OpenOutcome out = file.ReadRecordingSet(plan);
  ASSERT_TRUE(out.accepted) << out.message << out.refusal;
  const OpenRecording& rec = file.Recording();
  EXPECT_EQ(rec.m_Index.m_TotalSeconds, 5);  // 1000 .. 6960 ms on the running clock
  EXPECT_TRUE(rec.m_Gaps.empty());
  for (int slot : {0, 1}) {
    FrameWalker walk(*file.ScanReader().Source(), rec.VideoRunStart(slot), rec.VideoRunEnd(slot));
    std::vector<uint32_t> keys;
    for (WalkStep s = walk.Next(); s.kind != WalkStep::Kind::End; s = walk.Next()) {
      ASSERT_EQ(s.kind, WalkStep::Kind::Frame);
      keys.push_back(s.h.f_msec);
    }
    ASSERT_EQ(keys.size(), 150u);
    for (size_t i = 0; i < keys.size(); ++i) EXPECT_EQ(keys[i], 1000 + slot * 20 + i * 40);
  }
}

TEST(RecordingSet, DamagedTailEndsAtTheLastWholeFrame) {
  const fs::path dir = FreshDir("tail");
  // The last frame of the run claims more bytes than the run holds: the set keeps the whole
  // frames only, so the next file's frames are not read as that frame's remainder.
  YskBuilder b;
  b.header.channelCount = 1;
  b.AddVideo(0, kT0, 1000, 50, 40, 25).frames.back().sizeOverride = 5000;
  WriteBytes(dir / "1.ysk", b.Build());
  WriteBytes(dir / "2.ysk", Piece(kT0 + 2, 3000, 1));
  const RecordingSetPlan plan = PlanRecordingSet({dir.string()});
  ASSERT_EQ(plan.members.size(), 2u);
  BackupFile file;
  ASSERT_TRUE(file.ReadRecordingSet(plan).accepted);
  const OpenRecording& rec = file.Recording();
  FrameWalker walk(*file.ScanReader().Source(), rec.VideoRunStart(0), rec.VideoRunEnd(0));
  int frames = 0;
  uint32_t last = 0;
  for (WalkStep s = walk.Next(); s.kind != WalkStep::Kind::End; s = walk.Next()) {
    ASSERT_EQ(s.kind, WalkStep::Kind::Frame);
    EXPECT_GT(s.h.f_msec, last);
    last = s.h.f_msec;
    ++frames;
  }
  EXPECT_EQ(frames, 49 + 50);
}

TEST(RecordingSet, AMemberChangedSinceItWasReadIsNotOpened) {
  const fs::path dir = FreshDir("changed");
  WriteBytes(dir / "1.ysk", Piece(kT0, 1000));
  WriteBytes(dir / "2.ysk", Piece(kT0 + 2, 3000));
  const RecordingSetPlan plan = PlanRecordingSet({dir.string()});
  ASSERT_EQ(plan.members.size(), 2u);
  std::ofstream(dir / "2.ysk", std::ios::app) << "more";
  BackupFile file;
  const OpenOutcome out = file.ReadRecordingSet(plan);
  EXPECT_FALSE(out.accepted);
  EXPECT_NE(out.refusal.find("changed"), std::string::npos);
}

TEST(RecordingSet, ManyFilesStayBounded) {
  // More files than a set takes: the rest are listed, not opened all at once.
  const fs::path dir = FreshDir("many");
  const size_t count = kMaxSetFiles + 3;
  for (size_t i = 0; i < count; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "%04zu.ysk", i);
    WriteBytes(dir / name, Piece(kT0 + int32_t(i) * 2, 1000 + uint32_t(i) * 2000, 1));
  }
  const RecordingSetPlan plan = PlanRecordingSet({dir.string()});
  EXPECT_EQ(plan.members.size(), kMaxSetFiles);
  ASSERT_EQ(plan.misfits.size(), 3u);
  EXPECT_NE(plan.misfits[0].reason.find("at most"), std::string::npos);
}

}  // namespace
}  // namespace ov
