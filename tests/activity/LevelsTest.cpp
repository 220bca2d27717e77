// The arithmetic of levels and events, without files or threads.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "activity/Levels.h"

namespace ov::activity {
namespace {

std::vector<ActivityEvent> EventsOf(const std::vector<float>& level) { return FindEvents(level); }

TEST(Levels, EventsJoinShortPausesButNeverGapsInTheRecordingAndNeedAPeak) {
  // Active 2..4, a pause of two seconds, active 7..8: one event.
  std::vector<float> l(20, 0.0f);
  for (int s : {2, 3, 4, 7, 8}) l[size_t(s)] = 0.9f;
  auto e = EventsOf(l);
  ASSERT_EQ(e.size(), 1u);
  EXPECT_EQ(e[0].fromSecond, 2);
  EXPECT_EQ(e[0].toSecond, 8);
  EXPECT_FLOAT_EQ(e[0].peak, 0.9f);
  // A pause of three seconds: two events.
  l.assign(20, 0.0f);
  for (int s : {2, 3, 7, 8}) l[size_t(s)] = 0.9f;
  EXPECT_EQ(EventsOf(l).size(), 2u);
  // A second without recording ends an event at once.
  l.assign(20, 0.0f);
  for (int s : {2, 3, 5, 6}) l[size_t(s)] = 0.9f;
  l[4] = kNoRecording;
  e = EventsOf(l);
  ASSERT_EQ(e.size(), 2u);
  EXPECT_EQ(e[0].toSecond, 3);
  EXPECT_EQ(e[1].fromSecond, 5);
  // A stretch that only grazes the threshold is no event; one at the very end still is.
  l.assign(20, 0.0f);
  l[3] = l[4] = kEventLevel + 0.01f;
  l[19] = 1.0f;
  e = EventsOf(l);
  ASSERT_EQ(e.size(), 1u);
  EXPECT_EQ(e[0].fromSecond, 19);
}

TEST(Levels, SlowDriftAndSteadyNoiseAreNoActivityButASuddenRiseIs) {
  std::mt19937 rng(3);
  std::normal_distribution<float> jitter(1.0f, 0.05f);
  const int n = 3600;
  std::vector<float> m(static_cast<size_t>(n));
  for (int s = 0; s < n; ++s)  // the scene brightens: three times the bytes over the hour
    m[size_t(s)] = 2000.0f * std::pow(3.0f, float(s) / n) * jitter(rng);
  for (int s = 1800; s < 1806; ++s) m[size_t(s)] *= 2.0f;
  const std::vector<uint8_t> covered(size_t(n), 1);
  const auto level = NormalisedLevels(m, covered, 256.0f);
  const auto e = FindEvents(level);
  ASSERT_EQ(e.size(), 1u);
  EXPECT_EQ(e[0].fromSecond, 1800);
  EXPECT_EQ(e[0].toSecond, 1805);
}

TEST(Levels, CoverageBridgesShortGapsOnlyAndKeyFramesAloneMeasureOnlyAKeyFrameChannel) {
  std::vector<SecondTally> t(12);
  for (int s : {0, 1, 3, 4, 9}) t[size_t(s)].interCount = 1, t[size_t(s)].interBytes = 100;
  t[4].keyCount = 1, t[4].keyBytes = 5000;
  const auto c = Coverage(t);
  EXPECT_EQ(c, (std::vector<uint8_t>{1, 1, 1, 1, 1, 0, 0, 0, 0, 1, 0, 0}));
  const auto m = SizeMeasure(t);
  EXPECT_FLOAT_EQ(m[4], 100.0f);  // the key frame is the encoder's rhythm, not the scene's
  EXPECT_LT(m[2], 0.0f);
  std::vector<SecondTally> keysOnly(3);
  for (auto& x : keysOnly) x.keyCount = 1, x.keyBytes = 4000;
  EXPECT_FLOAT_EQ(SizeMeasure(keysOnly)[1], 4000.0f);
}

}  // namespace
}  // namespace ov::activity
