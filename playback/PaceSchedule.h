#pragma once
// Pacing against an absolute schedule: a frame with merge key k is due at
// base instant + (k - base key) / speed, so short waits that are skipped and the time spent
// presenting never add up to drift.
#include <chrono>
#include <cstdint>

namespace ov {

class PaceSchedule {
 public:
  using Ns = std::chrono::nanoseconds;
  // Waits shorter than this are not slept: the next due time absorbs them.
  static constexpr Ns kMinSleep = std::chrono::milliseconds(2);
  // Falling further behind than this re-bases the schedule instead of rushing to catch up.
  static constexpr Ns kMaxLateness = std::chrono::milliseconds(200);

  bool Valid() const { return m_valid; }
  int32_t Speed() const { return m_speed; }
  void Invalidate() { m_valid = false; }
  // Key `key` is due at `now`, playing at `speed` (nonzero; negative plays keys downwards).
  void Start(uint32_t key, Ns now, int32_t speed);
  // Keeps the media position reached at `now` and goes on at a new speed from there.
  void Rebase(Ns now, int32_t speed);
  Ns DueOf(uint32_t key) const;

  struct Plan {
    bool sleep = false;  // sleep until `until`
    Ns until{0};
    bool rebased = false;  // too late: the schedule now starts at this key
  };
  // What to do to wait for key at `now`; waits shorter than `ahead` are not slept.
  Plan PlanWait(uint32_t key, Ns now, Ns ahead = kMinSleep);

 private:
  bool m_valid = false;
  int32_t m_speed = 1;
  Ns m_baseInstant{0};
  int64_t m_baseMediaNs = 0;  // media time (merge key in ns) due at m_baseInstant
};

}  // namespace ov
