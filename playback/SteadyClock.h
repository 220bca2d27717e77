#pragma once
// The program's clock: std::chrono::steady_clock, sleeping on a condition variable so a wake
// sequence change ends a sleep at once.
#include <condition_variable>
#include <mutex>

#include "playback/Clock.h"

namespace ov {

class SteadyClock final : public IClock {
 public:
  Ns Now() const override;
  void SleepUntil(Ns deadline, const std::atomic<uint32_t>& wakeSeq, uint32_t seen) override;
  void Wake() override;
  void Breathe() override;
  // Under one display refresh (16.7 ms at 60 Hz): a picture handed over this much early shows at
  // most one refresh before its time.
  Ns PaceAhead() const override { return std::chrono::milliseconds(10); }

 private:
  std::mutex m_lock;
  std::condition_variable m_cv;
};

}  // namespace ov
