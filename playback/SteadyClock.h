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

 private:
  std::mutex m_lock;
  std::condition_variable m_cv;
};

}  // namespace ov
