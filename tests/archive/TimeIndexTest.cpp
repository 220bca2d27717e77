// The time index: first and last usable frames, sort orders, the length rules, damaged runs.
#include <gtest/gtest.h>

#include "archive/BackupFile.h"
#include "tests/archive/YskBuilder.h"

namespace ov::test {
namespace {

OpenOutcome Open(BackupFile& f, const std::vector<uint8_t>& bytes) {
  auto b = std::make_shared<const std::vector<uint8_t>>(bytes);
  return f.ReadBackupHeader(std::make_unique<MemoryFile>(b), std::make_unique<MemoryFile>(b));
}

TEST(TimeIndex, FirstKeyFrameAfterLeadingNonKeyFrames) {
  YskBuilder y;
  y.header.channelCount = 1;
  auto& run = y.AddVideo(0, kT0, 5000, 40, 40, 0);
  run.frames[3].f_type = 1;
  run.frames[3].prefix = KeyPrefix(2);
  run.frames[30].f_type = 1;
  run.frames[30].prefix = KeyPrefix(2);
  BackupFile f;
  ASSERT_TRUE(Open(f, y.Build()).accepted);
  EXPECT_EQ(f.Recording().m_Index.m_StartInfo[0].f_msec, 5000u + 3 * 40);
  EXPECT_EQ(f.Recording().m_Index.m_StartInfo[0].slot, 0);
  EXPECT_EQ(f.Recording().m_Index.m_StartInfo[1].f_time, INT32_MAX);  // empty slots sort last
  EXPECT_EQ(f.Recording().m_VideoLast[0], y.FrameOffset(0, 30));
  EXPECT_EQ(f.Recording().m_VideoPos[0],
            y.FrameOffset(0, 30));  // the end scan leaves the cursor there
  EXPECT_EQ(f.Recording().m_Index.m_StartMsec, 5120);
}

TEST(TimeIndex, NonKeyOnlyChannelDoesNotBorrowTheNextRunsKeyFrame) {
  YskBuilder y;
  y.header.channelCount = 2;
  y.AddVideo(0, kT0, 1000, 10, 40, 0);  // no key frame at all
  y.AddVideo(1, kT0, 1000, 10, 40, 5);  // starts right at slot 0's range end
  BackupFile f;
  ASSERT_TRUE(Open(f, y.Build()).accepted);
  for (const auto& e : f.Recording().m_Index.m_StartInfo) EXPECT_NE(e.slot, 0);
  EXPECT_EQ(f.Recording().m_VideoLast[0], 0u);
  EXPECT_EQ(f.Recording().m_Index.m_StartInfo[0].slot, 1);
}

TEST(TimeIndex, UnknownFrameTypeFailsWithC1007) {
  YskBuilder y;
  y.header.channelCount = 1;
  auto& run = y.AddVideo(0, kT0, 1000, 10, 40, 0);
  run.frames[2].f_type = 5;
  BackupFile f;
  EXPECT_EQ(Open(f, y.Build()).code, 1007);
}

TEST(TimeIndex, FalseStartCodesAndImplausibleDatesArePassedOver) {
  YskBuilder y;
  y.header.channelCount = 1;
  auto& run = y.AddVideo(0, kT0, 1000, 60, 40, 25);
  // A start code inside a non-key payload: the "header" 20 bytes before it is payload filler.
  run.frames[55].prefix = {0x55, 0x55, 0x55, 0, 0, 0, 1, 0x67};
  // The last real key frame carries a date two years off: the scan goes back to frame 25.
  run.frames[50].f_time = kT0 + 2 * 366 * 86400;
  BackupFile f;
  ASSERT_TRUE(Open(f, y.Build()).accepted);
  EXPECT_EQ(f.Recording().m_VideoLast[0], y.FrameOffset(0, 25));
  EXPECT_EQ(f.Recording().m_Index.m_EndInfo[0].f_msec, 2000u);
}

TEST(TimeIndex, Mpeg4RecordingFindsItsLastKeyFrame) {
  for (uint8_t coding : {0, 1}) {
    YskBuilder y;
    y.header.channelCount = 1;
    y.header.videoCoding = coding;
    y.AddVideo(0, kT0, 1000, 60, 40, 25, coding);
    BackupFile f;
    const auto o = Open(f, y.Build());
    ASSERT_TRUE(o.accepted);
    EXPECT_EQ(f.Recording().m_VideoLast[0], y.FrameOffset(0, 50));
    EXPECT_EQ(o.totalTimeText, "00 : 00 : 00 / 00 : 00 : 03");
  }
}

TEST(TimeIndex, LengthRules) {
  auto withEnds = [](uint32_t startMs, uint32_t endMs, int32_t endTime) {
    YskBuilder y;
    y.header.channelCount = 1;
    auto& run = y.AddVideo(0, kT0, startMs, 2, 40, 1);
    run.frames[1].f_msec = endMs;
    run.frames[1].f_time = endTime;
    BackupFile f;
    auto o = Open(f, y.Build());
    return std::make_pair(o, f.Recording().m_Index);
  };
  auto [a, ia] = withEnds(1000, 60999, kT0 + 59);
  ASSERT_TRUE(a.accepted);
  EXPECT_EQ(a.totalTimeText, "00 : 00 : 00 / 00 : 01 : 00");
  EXPECT_EQ(ia.m_TotalSeconds, 59);
  EXPECT_EQ(*a.sliderMax, 59);
  auto [b, ib] = withEnds(1000, 1000, kT0);
  EXPECT_EQ(b.totalTimeText, "00 : 00 : 00 / 00 : 00 : 01");
  EXPECT_EQ(ib.m_TotalSeconds, 0);
  // 25 h 59 min 59 s plays; 26 hours does not.
  const uint32_t h26 = 26u * 3600000u;
  auto [c, ic] = withEnds(1000, 1000 + h26 - 2000, kT0 + 86400);
  EXPECT_TRUE(c.accepted) << c.message;
  EXPECT_EQ(c.totalTimeText, "00 : 00 : 00 / 25 : 59 : 59");
  auto [d, id] = withEnds(1000, 1000 + h26 - 1000, kT0 + 86400);
  EXPECT_EQ(d.code, 1007);
  EXPECT_EQ(*d.sliderMax, int32_t((h26 - 1000) / 1000));  // the range was set before the test
}

TEST(TimeIndex, NoKeyFrameAnywhereFailsOnceTheStartIsLate) {
  YskBuilder y;
  y.header.channelCount = 1;
  y.AddVideo(0, kT0, 3000, 10, 40, 0);
  BackupFile f;
  EXPECT_EQ(Open(f, y.Build()).code, 1007);
}

TEST(TimeIndex, DamagedSizesNeverLoopOrReadOutside) {
  YskBuilder y;
  y.header.channelCount = 2;
  auto& r0 = y.AddVideo(0, kT0, 1000, 10, 40, 0);
  r0.frames[1].sizeOverride = 0xFFFFFFF0u;  // would wrap a 32-bit position back into the run
  y.AddVideo(1, kT0, 1000, 10, 40, 5);
  auto& a = y.AddAudio(2, kT0, 5);
  a.frames[0].sizeOverride = 0xFFFFFFECu;  // 20 + size wraps to 0 in 32 bits
  a.frames[0].f_time = 0;                  // implausible, so the walk must step on
  BackupFile f;
  const auto o = Open(f, y.Build());
  ASSERT_TRUE(o.accepted) << o.message;
  EXPECT_EQ(f.Recording().m_Index.m_StartInfo[0].slot, 1);
}

TEST(TimeIndex, RunsPastTheFileEndAreBounded) {
  YskBuilder y;
  y.header.channelCount = 1;
  y.AddVideo(0, kT0, 1000, 30, 40, 10);
  auto bytes = y.Build();
  bytes.resize(bytes.size() - 500);  // truncated: the header still claims the whole run
  BackupFile f;
  const auto o = Open(f, bytes);
  ASSERT_TRUE(o.accepted);
  EXPECT_EQ(f.Recording().m_VideoLast[0], y.FrameOffset(0, 20));
}

TEST(TimeIndex, BrokenFrameChainFallsBackToTheByteScan) {
  YskBuilder y;
  y.header.channelCount = 1;
  auto& run = y.AddVideo(0, kT0, 1000, 60, 40, 25);
  run.frames[57].infoOverride = 12345;  // the chain from the end breaks here
  auto& a = y.AddAudio(1, kT0, 10);
  a.frames[9].sizeOverride = 1000;  // the last sound frame no longer ends its run exactly
  BackupFile f;
  ASSERT_TRUE(Open(f, y.Build()).accepted);
  EXPECT_EQ(f.Recording().m_VideoLast[0], y.FrameOffset(0, 50));
  EXPECT_EQ(f.Recording().m_AudioLast[1], y.FrameOffset(1, 9));
}

TEST(SortOrders, KeysAndTies) {
  ChannelTimeInfo a{kT0, 500, 0, 0, 1, 0, 0}, b{kT0, 300, 0, 0, 1, 1, 0};
  EXPECT_TRUE(CompareStartKey(b, a));  // same f_time: by f_msec alone
  EXPECT_TRUE(CompareEndKey(a, b));
  // Different dates, same time of day: the date takes no part, the smaller f_msec goes first.
  ChannelTimeInfo c{kT0 + 86400, 100, 0, 0, 1, 2, 0};
  EXPECT_TRUE(CompareStartKey(c, a));
  EXPECT_EQ(StartEndKey(ChannelTimeInfo::EmptyStart()), 2159130647u);
  EXPECT_EQ(StartEndKey(ChannelTimeInfo::EmptyEnd()), 1001u);
  EXPECT_TRUE(CompareMsecAscending(b, a));
  EXPECT_TRUE(CompareMsecDescending(a, b));
}

TEST(Calendar, ParseDateTimeTakesTheWholeTextInRange) {
  const auto t = ParseDateTime("2024-02-29 23:59:58");
  ASSERT_TRUE(t.has_value());
  EXPECT_EQ(CalendarToSeconds(*t), 1709251198);
  for (const char* bad : {"2024-02-29 23:59:58x", "2024-13-01 00:00:00", "1969-12-31 23:59:59",
                          "2038-01-01 00:00:00", "2024-01-01 24:00:00", "2024-01-01", ""})
    EXPECT_FALSE(ParseDateTime(bad).has_value()) << bad;
}

TEST(Calendar, ADayTheMonthDoesNotHaveIsRefusedWithTheReason) {
  std::string why;
  EXPECT_FALSE(ParseDateTime("2024-02-30 12:00:00", &why));
  EXPECT_EQ(why, "there is no day 30 in 2024-02: it has 29 days");
  EXPECT_FALSE(ParseDateTime("2023-02-29 00:00:00", &why));
  EXPECT_EQ(why, "there is no day 29 in 2023-02: it has 28 days");
  EXPECT_FALSE(ParseDateTime("2100-02-29 00:00:00", &why));  // not a leap year; 2000 was
  EXPECT_FALSE(ParseDateTime("2024-04-31 00:00:00", &why));
  EXPECT_FALSE(ParseDateTime("2024-04-00 00:00:00", &why));
  EXPECT_TRUE(ParseDateTime("2000-02-29 00:00:00"));
  EXPECT_TRUE(ParseDateTime("2024-12-31 23:59:59"));
  EXPECT_FALSE(ParseDateTime("2024-13-01 00:00:00", &why));
  EXPECT_EQ(why, "there is no month 13");
  EXPECT_FALSE(ParseDateTime("2024-01-01 12:60:00", &why));
  EXPECT_EQ(why, "the time of day runs from 00:00:00 to 23:59:59");
  EXPECT_FALSE(ParseDateTime("noon", &why));
  EXPECT_EQ(why, "not \"YYYY-MM-DD HH:MM:SS\"");
}

TEST(Calendar, Conversions) {
  auto t = SecondsToCalendar(0);
  EXPECT_EQ(t, (CalendarTime{1970, 1, 1, 0, 0, 0, 0}));
  t = SecondsToCalendar(INT32_MAX);
  EXPECT_EQ(t, (CalendarTime{2038, 1, 19, 3, 14, 7, 0}));
  t = SecondsToCalendar(-1);
  EXPECT_EQ(t, (CalendarTime{1969, 12, 31, 23, 59, 59, 0}));
  t = SecondsToCalendar(INT32_MIN);
  EXPECT_EQ(t, (CalendarTime{1901, 12, 13, 20, 45, 52, 0}));
  // Leap days: 2000 is a leap year, 2100 (out of range here) and 1900 are not.
  t = SecondsToCalendar(951782400);  // 2000-02-29
  EXPECT_EQ(t.month, 2);
  EXPECT_EQ(t.day, 29);
  EXPECT_EQ(SecondsToCalendar(951782400 + 86400).month, 3);
  EXPECT_EQ(SecondsToCalendar(1709164800).day, 29);  // 2024-02-29
  for (int32_t s : {0, 1, -1, 951782400, 1709294399, INT32_MAX, INT32_MIN})
    EXPECT_EQ(CalendarToSeconds(SecondsToCalendar(s)), s);
  CalendarTime msTime = SecondsToCalendar(-5);
  msTime.millisecond = 999;  // truncation toward zero: -4.001 s gives -4
  EXPECT_EQ(CalendarToSeconds(msTime), -4);
  CalendarTime far{65535, 12, 31, 23, 59, 59, 999};  // any 16-bit year converts without overflow
  EXPECT_EQ(CalendarToSeconds(far), CalendarToSeconds(far));
}

TEST(Calendar, WeekdaysAndTheWrapAtBothEndsOfTheSecondsCount) {
  using std::chrono::Friday, std::chrono::Thursday, std::chrono::Tuesday, std::chrono::Wednesday;
  EXPECT_EQ(Weekday(SecondsToCalendar(0)), Thursday);
  EXPECT_EQ(Weekday(SecondsToCalendar(-1)), Wednesday);
  EXPECT_EQ(Weekday(SecondsToCalendar(INT32_MAX)), Tuesday);
  EXPECT_EQ(Weekday(SecondsToCalendar(INT32_MIN)), Friday);
  EXPECT_EQ(Weekday(CalendarTime{2024, 2, 29}), Thursday);
  EXPECT_EQ(Weekday(CalendarTime{2024, 3, 1}), Friday);

  // One second past either end of the 32-bit count comes back at the other end.
  EXPECT_EQ(CalendarToSeconds({2038, 1, 19, 3, 14, 8, 0}), INT32_MIN);
  EXPECT_EQ(CalendarToSeconds({1901, 12, 13, 20, 45, 51, 0}), INT32_MAX);
  EXPECT_EQ(AddSeconds(INT32_MAX, 1), INT32_MIN);
  EXPECT_EQ(AddSeconds(INT32_MIN, -1), INT32_MAX);
  EXPECT_EQ(AddSeconds(0, int64_t{1} << 32), 0);

  // Years beyond chrono's range and months beyond December still follow the calendar, which
  // repeats every 400 years (146097 days).
  const uint32_t cycle = 146097u * 86400u;
  EXPECT_EQ(uint32_t(CalendarToSeconds({65535, 3, 1, 0, 0, 0, 0})),
            uint32_t(CalendarToSeconds({2335, 3, 1, 0, 0, 0, 0})) + 158u * cycle);
  EXPECT_EQ(Weekday(CalendarTime{65535, 3, 1}), Weekday(CalendarTime{2335, 3, 1}));
  EXPECT_EQ(CalendarToSeconds({2023, 13, 1, 0, 0, 0, 0}),
            CalendarToSeconds({2024, 1, 1, 0, 0, 0, 0}));
  EXPECT_EQ(CalendarToSeconds({2024, 0, 31, 0, 0, 0, 0}),
            CalendarToSeconds({2023, 12, 31, 0, 0, 0, 0}));
  EXPECT_EQ(CalendarToSeconds({2024, 2, 30, 0, 0, 0, 0}),
            CalendarToSeconds({2024, 3, 1, 0, 0, 0, 0}));
  EXPECT_EQ(CalendarToSeconds({0, 0, 1, 0, 0, 0, 0}), CalendarToSeconds({0, 0, 1, 0, 0, 0, 0}));
  EXPECT_EQ(DaysInMonth(2000, 2), 29);
  EXPECT_EQ(DaysInMonth(1900, 2), 28);
  EXPECT_EQ(DaysInMonth(2023, 12), 31);
}

TEST(Plausibility, WithinAYearOfTheReference) {
  const CalendarTime ref = SecondsToCalendar(kT0);
  YskFrameHeader h{};
  h.f_time = kT0 + 300 * 86400;
  EXPECT_TRUE(IsPlausibleFrame(h, ref));
  h.f_time = kT0 - 366 * 86400;
  EXPECT_TRUE(IsPlausibleFrame(h, ref));  // 2023 is within one year
  h.f_time = kT0 + 2 * 366 * 86400;
  EXPECT_FALSE(IsPlausibleFrame(h, ref));
}

}  // namespace
}  // namespace ov::test
