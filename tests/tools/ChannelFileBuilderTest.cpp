#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <climits>
#include <thread>

#include "archive/Calendar.h"
#include "tests/tools/ToolsFixture.h"
#include "tools/ChannelFileBuilder.h"

namespace ov::tools {
namespace {

using test::ChvFrame;
using test::Payload;
using test::ReadChv;
using test::YrxFrame;

YrxFrame Frame(int channel, int serial, size_t size = 100, int channelCount = 4) {
  YrxFrame f;
  f.channel = channel;
  f.channelCount = channelCount;
  f.type = serial == 0 ? 1 : 0;
  f.time.second = static_cast<uint16_t>(serial % 60);
  f.time.millisecond = static_cast<uint16_t>(serial * 40 % 1000);
  f.payload = Payload(size, channel, serial);
  return f;
}

TEST(SequenceNumbers, ReadAfterTheFirstUnderscoreAndOrderedNumerically) {
  EXPECT_EQ(SequenceNumberOf("20240301_3.yrx"), 3);
  EXPECT_EQ(SequenceNumberOf("20240301_12abc.yrx"), 12);
  EXPECT_EQ(SequenceNumberOf("a_b_7.yrx"), 0);  // "b_7" has no leading digits
  EXPECT_EQ(SequenceNumberOf("5.yrx"), 5);      // no '_': the whole name
  EXPECT_EQ(SequenceNumberOf("x_-4.yrx"), 0);
  EXPECT_EQ(SequenceNumberOf("x_99999999999999.yrx"), INT32_MAX);
  EXPECT_LT(CompareInt(INT32_MIN, 1), 0);  // a difference would overflow here
  EXPECT_GT(CompareInt(INT32_MAX, -1), 0);
  EXPECT_EQ(CompareInt(7, 7), 0);
}

class BuilderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    rec_ = test::ScratchDir(::testing::UnitTest::GetInstance()->current_test_info()->name()) /
           "QL01" / "20240301";
    test::MakeDirs(rec_);
  }
  std::filesystem::path Yrx(int k) const {
    return rec_ / ("20240301_" + std::to_string(k) + ".yrx");
  }
  std::filesystem::path Chv(int j) const {
    char name[32];
    std::snprintf(name, sizeof name, "20240301_%02d.chv", j);
    return rec_ / "Ch" / name;
  }
  ChannelBuildResult Build(ChannelBuildOptions options = {}) {
    ChannelFileBuilder b(std::move(options));
    return b.Build(rec_.string());
  }
  std::filesystem::path rec_;
};

TEST_F(BuilderTest, FilesAreReadInNumericOrderAndFramesGoToTheirChannelFile) {
  test::WriteYrx(Yrx(10), {Frame(3, 30)});
  test::WriteYrx(Yrx(2), {Frame(0, 20), Frame(3, 21)});
  test::WriteYrx(Yrx(1), {Frame(3, 10), Frame(1, 11), Frame(3, 12)});
  test::MakeDirs(rec_ / "folder_0.yrx");  // folders are not frame files

  const ChannelBuildResult r = Build();
  EXPECT_EQ(r.sequenceNumbers, (std::vector<int32_t>{1, 2, 10}));
  EXPECT_EQ(r.recordingName, "20240301");
  EXPECT_EQ(r.filesRead, 3);
  ASSERT_EQ(r.channels.size(), 4u);
  EXPECT_EQ(r.skipped.Total(), 0u);

  const std::vector<ChvFrame> ch3 = ReadChv(Chv(3));
  ASSERT_EQ(ch3.size(), 4u);  // the last record of every file written exactly once
  const int serials[] = {10, 12, 21, 30};
  for (size_t i = 0; i < ch3.size(); ++i) {
    EXPECT_EQ(ch3[i].payload, Payload(100, 3, serials[i])) << i;
  }
  EXPECT_EQ(ReadChv(Chv(0)).size(), 1u);
  EXPECT_EQ(ReadChv(Chv(1)).size(), 1u);
  EXPECT_TRUE(ReadChv(Chv(2)).empty());
  EXPECT_EQ(r.channels[3].frames, 4u);
  EXPECT_EQ(r.channels[3].fileBytes, 4u * 120u);
}

TEST_F(BuilderTest, HeadersCarryTimeTypeSizeAndThePreviousPayloadSize) {
  YrxFrame a = Frame(0, 0, 300);
  a.time = CalendarTime{2024, 3, 1, 12, 34, 56, 789};
  YrxFrame b = Frame(0, 1, 50);
  b.type = 0;
  test::WriteYrx(Yrx(1), {a, Frame(1, 5, 70), b});
  test::WriteYrx(Yrx(2), {Frame(0, 2, 10)});
  Build();
  const auto ch0 = ReadChv(Chv(0));
  ASSERT_EQ(ch0.size(), 3u);
  EXPECT_EQ(ch0[0].header.f_time, CalendarToSeconds(a.time));
  EXPECT_EQ(ch0[0].header.f_msec, 789u);
  EXPECT_EQ(ch0[0].header.f_type, 1u);
  EXPECT_EQ(ch0[1].header.f_type, 0u);
  EXPECT_EQ(ch0[0].header.f_size, 300u);
  // f_info chains the channel file, across .yrx files, ignoring other channels' frames.
  EXPECT_EQ(ch0[0].header.f_info, 0u);
  EXPECT_EQ(ch0[1].header.f_info, 300u);
  EXPECT_EQ(ch0[2].header.f_info, 50u);
}

TEST_F(BuilderTest, ChannelCountComesFromTheFirstRecordOfTheLowestFile) {
  test::WriteYrx(Yrx(5), {Frame(0, 0, 10, 2), Frame(1, 1, 10, 9), Frame(5, 2, 10, 9)});
  test::WriteYrx(Yrx(7), {Frame(6, 3, 10, 9)});
  const ChannelBuildResult r = Build();
  EXPECT_EQ(r.announcedChannels, 2);
  EXPECT_EQ(r.channels.size(), 2u);
  EXPECT_FALSE(std::filesystem::exists(Chv(2)));
  EXPECT_EQ(r.skipped.channelOutOfRange, 2u);
  EXPECT_EQ(ReadChv(Chv(1)).size(), 1u);
}

TEST_F(BuilderTest, BadRecordsAreSkippedAndTheRestIsKept) {
  YrxFrame huge = Frame(1, 1, kMaxPayload + 1);
  YrxFrame farYear = Frame(2, 7);
  farYear.time.year = 65535;  // beyond what the seconds conversion can hold
  YrxFrame feb30 = Frame(2, 8);
  feb30.time.month = 2;
  feb30.time.day = 30;
  test::WriteYrx(Yrx(1), {Frame(0, 0, 10, 40), Frame(-1, 9), huge, Frame(16, 9), Frame(15, 2),
                          Frame(1, 3, kMaxPayload), farYear, feb30});
  // File 2 ends inside a payload; file 3 ends inside a header.
  auto cut = test::RecordBytes(Frame(0, 4));
  auto two = test::RecordBytes(Frame(2, 5));
  two.insert(two.end(), cut.begin(), cut.end() - 1);
  test::WriteBytes(Yrx(2), two);
  auto three = test::RecordBytes(Frame(2, 6));
  three.insert(three.end(), cut.begin(), cut.begin() + 50);
  test::WriteBytes(Yrx(3), three);

  const ChannelBuildResult r = Build();
  EXPECT_EQ(r.announcedChannels, 40);
  EXPECT_EQ(r.channels.size(), 16u);  // capped at the output table
  EXPECT_EQ(r.skipped.channelOutOfRange, 2u);
  EXPECT_EQ(r.skipped.payloadTooLarge, 1u);
  EXPECT_EQ(r.skipped.badTime, 2u);
  EXPECT_EQ(r.skipped.truncated, 2u);
  EXPECT_EQ(ReadChv(Chv(0)).size(), 1u);  // the cut record left nothing behind
  const auto ch1 = ReadChv(Chv(1));
  ASSERT_EQ(ch1.size(), 1u);
  EXPECT_EQ(ch1[0].payload.size(), kMaxPayload);
  EXPECT_EQ(ch1[0].header.f_info, 0u);  // the skipped frame is not part of the chain
  EXPECT_EQ(ReadChv(Chv(2)).size(), 2u);
  EXPECT_EQ(ReadChv(Chv(15)).size(), 1u);
}

TEST_F(BuilderTest, ChannelFileThatCannotBeCreatedDoesNotStopTheOthers) {
  test::MakeDirs(Chv(1));  // a folder where the file should go
  test::WriteYrx(Yrx(1), {Frame(0, 0, 10, 3), Frame(1, 1), Frame(2, 2), Frame(1, 3)});
  const ChannelBuildResult r = Build();
  ASSERT_EQ(r.channels.size(), 3u);
  EXPECT_FALSE(r.channels[1].created);
  EXPECT_EQ(r.skipped.noOutputFile, 2u);
  EXPECT_EQ(ReadChv(Chv(0)).size(), 1u);
  EXPECT_EQ(ReadChv(Chv(2)).size(), 1u);
}

TEST_F(BuilderTest, MissingAndOddlyNamedFilesAreSkipped) {
  test::WriteYrx(rec_ / "other_1.yrx", {Frame(0, 0)});      // looked for as 20240301_1.yrx
  test::WriteYrx(rec_ / "20240301_02.yrx", {Frame(0, 1)});  // looked for as 20240301_2.yrx
  EXPECT_FALSE(Build().outputStarted);
  test::WriteYrx(Yrx(2), {Frame(0, 2)});
  test::WriteYrx(rec_ / "20240301_3.YRX", {Frame(0, 3)});  // other letter case: still found
  const ChannelBuildResult r = Build();
  EXPECT_EQ(r.sequenceNumbers, (std::vector<int32_t>{1, 2, 3}));  // 02 and 2: one file, once
  EXPECT_EQ(r.filesRead, 2);
  EXPECT_EQ(r.filesMissing, 1);
  const auto ch0 = ReadChv(Chv(0));
  ASSERT_EQ(ch0.size(), 2u);
  EXPECT_EQ(ch0[0].payload, Payload(100, 0, 2));
  EXPECT_EQ(ch0[1].payload, Payload(100, 0, 3));
}

TEST_F(BuilderTest, EmptyFolderDoesNothing) {
  const ChannelBuildResult r = Build();
  EXPECT_FALSE(r.outputStarted);
  EXPECT_FALSE(std::filesystem::exists(rec_ / "Ch"));
}

TEST_F(BuilderTest, PipesAndDevicesAreRefusedNotWaitedOn) {
  ASSERT_EQ(mkfifo(Yrx(1).c_str(), 0600), 0);            // no writer ever comes
  std::filesystem::create_symlink("/dev/zero", Yrx(2));  // would never end
  test::WriteYrx(Yrx(3), {Frame(0, 0, 100), Frame(1, 1, 100)});
  const ChannelBuildResult r = Build();
  EXPECT_EQ(r.filesRead, 1);
  EXPECT_EQ(r.filesMissing, 2);
  ASSERT_EQ(r.unreadable.size(), 2u);
  EXPECT_EQ(r.unreadable[0].path, Yrx(1));
  EXPECT_EQ(r.unreadable[0].reason, "not a regular file");
  EXPECT_EQ(r.unreadable[1].reason, "not a regular file");
  EXPECT_EQ(ReadChv(Chv(0)).size(), 1u);
}

TEST_F(BuilderTest, ProgressReachesTheTotalAndCancelStops) {
  test::WriteYrx(Yrx(1), {Frame(0, 0, 1000), Frame(1, 1, 1000)});
  test::WriteYrx(Yrx(2), {Frame(0, 2, 1000)});
  std::vector<std::pair<uint64_t, uint64_t>> calls;
  ChannelBuildOptions o;
  o.progress = [&](uint64_t done, uint64_t total) { calls.emplace_back(done, total); };
  Build(o);
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.front().first, 0u);
  EXPECT_EQ(calls.back().first, 3u * 1096u);
  EXPECT_EQ(calls.back().second, 3u * 1096u);
  for (size_t i = 1; i < calls.size(); ++i) EXPECT_GE(calls[i].first, calls[i - 1].first);

  std::atomic<bool> cancel{true};
  ChannelBuildOptions c;
  c.cancel = &cancel;
  const ChannelBuildResult r = Build(c);
  EXPECT_TRUE(r.cancelled);
  EXPECT_EQ(r.bytesRead, 0u);
}

}  // namespace
}  // namespace ov::tools
