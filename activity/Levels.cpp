#include "activity/Levels.h"

#include <algorithm>
#include <cmath>

namespace ov::activity {
namespace {
// The usual around a second: long enough that an event of a few minutes stays above it, short
// enough to follow a day's light and a camera's changing bit rate.
constexpr int32_t kWindow = 150;
// The usual is computed every this many seconds and interpolated between (cost, not accuracy).
constexpr int32_t kAnchorStep = 10;
// A steady channel's spread can be near zero; below this (in natural log units) a jitter of a
// few per cent would already read as activity.
constexpr float kMinSpread = 0.06f;
// Standing this many spreads above the usual is the start of activity, and the ramp to full.
constexpr float kZeroAt = 3.0f;
constexpr float kFullAt = 10.0f;

float Median(std::vector<float>& v) {
  const size_t mid = v.size() / 2;
  std::nth_element(v.begin(), v.begin() + long(mid), v.end());
  return v[mid];
}
}  // namespace

std::vector<uint8_t> Coverage(const std::vector<SecondTally>& t) {
  const int32_t n = int32_t(t.size());
  std::vector<uint8_t> c(t.size(), 0);
  int32_t last = -1;
  for (int32_t s = 0; s < n; ++s) {
    if (t[size_t(s)].interCount + t[size_t(s)].keyCount == 0) continue;
    if (last >= 0 && s - last - 1 <= kGapFill)
      for (int32_t g = last + 1; g < s; ++g) c[size_t(g)] = 1;
    c[size_t(s)] = 1;
    last = s;
  }
  return c;
}

std::vector<float> SizeMeasure(const std::vector<SecondTally>& t) {
  uint64_t inter = 0;
  for (const auto& x : t) inter += x.interCount;
  std::vector<float> m(t.size(), -1.0f);
  for (size_t s = 0; s < t.size(); ++s) {
    const SecondTally& x = t[s];
    if (x.interCount) m[s] = float(double(x.interBytes) / x.interCount);
    // A channel of key frames only is measured by them.
    else if (x.keyCount && inter == 0)
      m[s] = float(double(x.keyBytes) / x.keyCount);
  }
  return m;
}

std::vector<float> NormalisedLevels(const std::vector<float>& measure,
                                    const std::vector<uint8_t>& covered, float floor) {
  const int32_t n = int32_t(measure.size());
  std::vector<float> level(measure.size(), kNoRecording);
  std::vector<int32_t> at;
  std::vector<float> v;
  for (int32_t s = 0; s < n; ++s)
    if (measure[size_t(s)] >= 0.0f && (covered.empty() || covered[size_t(s)])) {
      at.push_back(s);
      v.push_back(std::log(measure[size_t(s)] + floor));
    }
  // The usual and the spread at anchors, from the measured seconds within the window.
  const int32_t anchors = n / kAnchorStep + 2;
  std::vector<float> base(size_t(anchors), 0.0f), spread(size_t(anchors), kMinSpread);
  std::vector<float> scratch;
  size_t lo = 0, hi = 0;
  for (int32_t a = 0; a < anchors; ++a) {
    const int32_t centre = a * kAnchorStep;
    while (lo < at.size() && at[lo] < centre - kWindow) ++lo;
    while (hi < at.size() && at[hi] <= centre + kWindow) ++hi;
    if (hi <= lo) {
      if (a > 0) base[size_t(a)] = base[size_t(a) - 1], spread[size_t(a)] = spread[size_t(a) - 1];
      continue;
    }
    scratch.assign(v.begin() + long(lo), v.begin() + long(hi));
    const float med = Median(scratch);
    for (auto& x : scratch) x = std::fabs(x - med);
    base[size_t(a)] = med;
    spread[size_t(a)] = std::max(kMinSpread, 1.4826f * Median(scratch));
  }
  for (size_t i = 0; i < at.size(); ++i) {
    const int32_t s = at[i];
    const int32_t a = s / kAnchorStep;
    const float f = float(s % kAnchorStep) / kAnchorStep;
    const float b = base[size_t(a)] * (1 - f) + base[size_t(a) + 1] * f;
    const float sp = spread[size_t(a)] * (1 - f) + spread[size_t(a) + 1] * f;
    const float z = (v[i] - b) / sp;
    level[size_t(s)] = std::clamp((z - kZeroAt) / (kFullAt - kZeroAt), 0.0f, 1.0f);
  }
  // Covered seconds without a measure (a key frame only, or a second left without a frame).
  float prev = 0.0f;
  for (int32_t s = 0; s < n; ++s) {
    if (!covered.empty() && !covered[size_t(s)]) continue;
    if (level[size_t(s)] < 0.0f)
      level[size_t(s)] = prev;
    else
      prev = level[size_t(s)];
  }
  return level;
}

std::vector<float> Combine(const std::vector<float>& a, const std::vector<float>& b) {
  std::vector<float> out(a);
  for (size_t s = 0; s < out.size() && s < b.size(); ++s)
    if (out[s] >= 0.0f && b[s] > out[s]) out[s] = b[s];
  return out;
}

std::vector<ActivityEvent> FindEvents(const std::vector<float>& level) {
  std::vector<ActivityEvent> events;
  const int32_t n = int32_t(level.size());
  bool open = false;
  ActivityEvent e;
  const auto close = [&] {
    if (e.peak >= kEventPeak) events.push_back(e);
    open = false;
  };
  for (int32_t s = 0; s < n; ++s) {
    const float x = level[size_t(s)];
    if (open && (x < 0.0f || (x < kEventLevel && s - e.toSecond > kEventJoin))) close();
    if (x < kEventLevel) continue;
    if (!open) {
      e = ActivityEvent{s, s, x};
      open = true;
    }
    e.toSecond = s;
    e.peak = std::max(e.peak, x);
  }
  if (open) close();
  return events;
}

}  // namespace ov::activity
