// The explanation of a refused file: the check that failed, with the values and the place found.
#include <gtest/gtest.h>

#include "archive/BackupFile.h"
#include "tests/archive/YskBuilder.h"

namespace ov::test {
namespace {

OpenOutcome Open(BackupFile& f, std::vector<uint8_t> b) {
  auto shared = std::make_shared<const std::vector<uint8_t>>(std::move(b));
  return f.ReadBackupHeader(std::make_unique<MemoryFile>(shared),
                            std::make_unique<MemoryFile>(shared));
}

YskBuilder OneChannel() {
  YskBuilder y;
  y.header.channelCount = 1;
  y.AddVideo(0, kT0, 1000, 50, 40, 25);
  return y;
}

// The reason must name what was found, so a helpdesk can tell one damage from another.
void ExpectReason(const OpenOutcome& o, int code, const std::vector<std::string>& parts) {
  EXPECT_FALSE(o.accepted);
  EXPECT_EQ(o.code, code);
  ASSERT_TRUE(o.problem.Known()) << code;
  ASSERT_NE(o.problem.next, nullptr);
  const std::string why = ReasonText(o.problem);
  EXPECT_EQ(why.find('%'), std::string::npos) << why;  // every placeholder filled
  for (const auto& p : parts) EXPECT_NE(why.find(p), std::string::npos) << why << " / " << p;
}

TEST(OpenProblem, HeaderChecksNameTheFieldAndItsValue) {
  BackupFile f;
  {
    std::vector<uint8_t> b(2037, 0);
    ExpectReason(Open(f, b), 1001, {"2037 bytes"});
    b.resize(3000);
    b[2] = 1;
    ExpectReason(Open(f, b), 1002, {"layout 1", "3000 bytes"});
  }
  {
    auto b = OneChannel().Build();
    b[2] = 3;
    ExpectReason(Open(f, b), 1003, {"holds 3"});
  }
  {  // A layout 2 file whose copy at the end names an unknown layout: the copy's offset is given.
    auto y = OneChannel();
    y.header.kind = 2;
    auto b = y.Build();
    b[b.size() - kYskTailSize + 2] = 7;
    ExpectReason(Open(f, b), 1003,
                 {"offset " + std::to_string(b.size() - kYskTailSize), "layout 7"});
  }
  {
    auto y = OneChannel();
    y.header.video[5].channelNo = 0x85;
    // Record 5 begins at 21 + 5 * 63; its channel number is its byte 50.
    ExpectReason(Open(f, y.Build()), 1004, {"channel 6", "byte 386", "133"});
    y.header.video[5].channelNo = 5;
    y.header.channelCount = 17;
    ExpectReason(Open(f, y.Build()), 1005, {"17 channels", "byte 3"});
  }
  {
    auto y = OneChannel();
    y.header.videoMask = 0xFFFF0000u;
    ExpectReason(Open(f, y.Build(true)), 1006, {"0xFFFF0000", "bytes 13 to 16"});
  }
}

TEST(OpenProblem, TimeIndexFailuresSayWhichFrames) {
  BackupFile f;
  {  // A frame type the format does not know, before the first key frame.
    YskBuilder y;
    y.header.channelCount = 2;
    y.AddVideo(0, kT0, 1000, 10, 40, 5);
    auto& run = y.AddVideo(1, kT0, 1000, 10, 40, 0);
    run.frames[2].f_type = 5;
    const auto b = y.Build();
    ExpectReason(Open(f, b), 1007,
                 {"Channel 2", "byte " + std::to_string(y.FrameOffset(1, 2)), "type 5"});
  }
  {
    YskBuilder y;
    y.header.channelCount = 1;
    y.AddVideo(0, kT0, 3000, 10, 40, 0);
    ExpectReason(Open(f, y.Build()), 1007, {"No video channel has a key frame"});
  }
  {  // The only key frame lacks its start code: the end scan finds nothing.
    YskBuilder y;
    y.header.channelCount = 1;
    auto& run = y.AddVideo(0, kT0, 3000, 10, 40, 10);
    run.frames[0].prefix.clear();
    ExpectReason(Open(f, y.Build()), 1007, {"near the end", "channel 1", "3000 ms"});
  }
  {
    YskBuilder y;
    y.header.channelCount = 1;
    auto& run = y.AddVideo(0, kT0, 9000, 2, 40, 1);
    run.frames[1].f_msec = 1000;
    ExpectReason(Open(f, y.Build()), 1007, {"at 1000 ms", "at 9000 ms", "lies before"});
  }
  {  // Exactly 26 hours is one second too long.
    YskBuilder y;
    y.header.channelCount = 1;
    auto& run = y.AddVideo(0, kT0, 1000, 2, 40, 1);
    run.frames[1].f_msec = 1000 + 26u * 3600000u - 1000;
    run.frames[1].f_time = kT0 + 86400;
    ExpectReason(Open(f, y.Build()), 1007, {"26 h 0 min", "shorter than 26 hours"});
  }
  {  // An accepted file carries no problem.
    EXPECT_FALSE(Open(f, OneChannel().Build()).problem.Known());
  }
}

TEST(OpenProblem, FillInInsertsEachValueOnce) {
  EXPECT_EQ(FillIn("%2 before %1", {"a", "b"}), "b before a");
  // A value that looks like a placeholder is not expanded again; unknown ones stay.
  EXPECT_EQ(FillIn("%1 and %3", {"%2", "x"}), "%2 and %3");
  EXPECT_EQ(FillIn("100% sure, %", {}), "100% sure, %");
  for (const char* t : AllOpenProblemTexts()) EXPECT_NE(t, nullptr);
}

TEST(OpenProblem, IgnoredCapitalNameIsMissingNotMisnamed) {
  const PreOpenResult pre = CheckBeforeOpen("/nonexistent/CAM01.YSK");
  EXPECT_EQ(pre.status, PreOpenStatus::Ignored);
  EXPECT_EQ(IgnoredReason("/nonexistent/CAM01.YSK", pre), "not found");
  EXPECT_EQ(IgnoredReason("/nonexistent/cam01.avi", CheckBeforeOpen("/nonexistent/cam01.avi")),
            "the name has no \".ysk\"");
}

}  // namespace
}  // namespace ov::test
