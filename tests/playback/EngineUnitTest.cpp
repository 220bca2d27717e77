// The small pure parts: the pacing schedule, the status texts, the state tables and the events.
#include <gtest/gtest.h>

#include <thread>

#include "playback/ManualResetEvents.h"
#include "playback/PaceSchedule.h"
#include "playback/StatusText.h"
#include "playback/TransportRules.h"
#include "playback/trace/Crc32.h"

namespace ov {
namespace {
using std::chrono::milliseconds;
using Ns = PaceSchedule::Ns;

// Traces record payload checksums; a change of algorithm would silently change every trace.
TEST(Crc32, MatchesTheStandardCheckValueAndChains) {
  const uint8_t digits[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
  EXPECT_EQ(Crc32(digits, sizeof digits), 0xCBF43926u);
  EXPECT_EQ(Crc32(digits + 4, 5, Crc32(digits, 4)), 0xCBF43926u);
  EXPECT_EQ(Crc32(nullptr, 0, 0x1234u), 0x1234u);
  EXPECT_EQ(Crc32(digits, 0), 0u);
}

TEST(PaceSchedule, DueTimesFollowTheKeysAtEverySpeed) {
  PaceSchedule s;
  s.Start(1000, Ns(0), 4);
  EXPECT_EQ(s.DueOf(1040), Ns(milliseconds(10)));
  s.Rebase(Ns(milliseconds(10)), 1);  // at key 1040: the rest goes at 1X
  EXPECT_EQ(s.DueOf(1080), Ns(milliseconds(50)));
  s.Start(5000, Ns(0), -2);  // reverse: lower keys come later
  EXPECT_EQ(s.DueOf(4000), Ns(milliseconds(500)));
}

TEST(PaceSchedule, ShortWaitsAreNotSleptAndLateFramesRebase) {
  PaceSchedule s;
  s.Start(0, Ns(0), 1);
  EXPECT_FALSE(s.PlanWait(1, Ns(0)).sleep);  // under 2 ms
  // A longer stretch handed over at once: frames due within it go without a sleep.
  EXPECT_FALSE(s.PlanWait(9, Ns(0), milliseconds(10)).sleep);
  EXPECT_TRUE(s.PlanWait(11, Ns(0), milliseconds(10)).sleep);
  auto p = s.PlanWait(40, Ns(milliseconds(1)));
  EXPECT_TRUE(p.sleep);
  EXPECT_EQ(p.until, Ns(milliseconds(40)));
  // 150 ms late: no sleep, schedule kept, so the next frames catch up.
  EXPECT_FALSE(s.PlanWait(80, Ns(milliseconds(230))).rebased);
  // 250 ms late: the schedule starts over at this frame instead of rushing.
  EXPECT_TRUE(s.PlanWait(120, Ns(milliseconds(370))).rebased);
  EXPECT_EQ(s.DueOf(160), Ns(milliseconds(410)));
}

TEST(StatusText, SixDateFormatsAndTheTimeLine) {
  CalendarTime t{};
  t.year = 2024, t.month = 3, t.day = 7, t.hour = 9, t.minute = 5, t.second = 1;
  const char* want[] = {"2024-03-07 09:05:01", "03-07-2024 09:05:01", "07-03-2024 09:05:01",
                        "2024/03/07 09:05:01", "03/07/2024 09:05:01", "07/03/2024 09:05:01"};
  for (int f = 1; f <= 6; ++f) EXPECT_EQ(FormatDateTime(t, f), want[f - 1]);
  EXPECT_EQ(FormatDateTime(t, 9), want[0]);
  CalendarTime total{};
  total.hour = 1, total.minute = 2, total.second = 3;
  EXPECT_EQ(FormatElapsedTotal(360000 + 61, total), "100 : 01 : 01 / 01 : 02 : 03");
}

TEST(TransportRules, RewAndFFStepUpAndWrapAround) {
  auto speeds = [](TransportState s, StateStep (*next)(TransportState)) {
    std::vector<int32_t> out;
    for (int i = 0; i < 7; ++i) {
      s = next(s).state;
      out.push_back(SpeedOfState(s));
    }
    return out;
  };
  EXPECT_EQ(speeds(TransportState::Playing, NextRewState),
            (std::vector<int32_t>{-1, -2, -4, -8, -16, -32, -1}));
  EXPECT_EQ(speeds(TransportState::Playing, NextFFState),
            (std::vector<int32_t>{2, 4, 8, 16, 32, 2, 4}));
  EXPECT_EQ(SpeedOfState(TransportState::Paused), 0);
  EXPECT_FALSE(IsFFState(TransportState::Playing));
  EXPECT_STREQ(NextFFState(TransportState::FF16X).toolTip, "FF");
  EXPECT_EQ(NextRewState(TransportState::Rew16X).toolTip, nullptr);
}

TEST(ManualResetEvents, WaitAnyReportsTheLowestSignalledEvent) {
  ManualResetEvents ev;
  ev.Set(1);
  EXPECT_EQ(ev.WaitAny(2), 1);
  ev.Set(0);
  EXPECT_EQ(ev.WaitAny(2), 0);  // quitting wins over running
  ev.Reset(0);
  ev.Reset(1);
  std::thread t([&] {
    std::this_thread::sleep_for(milliseconds(5));
    ev.Set(1);
  });
  EXPECT_EQ(ev.WaitAny(2), 1);
  t.join();
  EXPECT_EQ(ev.WaitAny(0), -1);
}

}  // namespace
}  // namespace ov
