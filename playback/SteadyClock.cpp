#include "playback/SteadyClock.h"

#include <thread>

namespace ov {

IClock::Ns SteadyClock::Now() const {
  return std::chrono::duration_cast<Ns>(std::chrono::steady_clock::now().time_since_epoch());
}

void SteadyClock::SleepUntil(Ns deadline, const std::atomic<uint32_t>& wakeSeq, uint32_t seen) {
  std::unique_lock<std::mutex> g(m_lock);
  auto woken = [&] { return wakeSeq.load(std::memory_order_acquire) != seen; };
  if (deadline == kForever) {
    m_cv.wait(g, woken);
    return;
  }
  const std::chrono::steady_clock::time_point until{
      std::chrono::duration_cast<std::chrono::steady_clock::duration>(deadline)};
  m_cv.wait_until(g, until, woken);
}

void SteadyClock::Wake() {
  // Taking the lock orders the caller's change before a sleeper's next look at it.
  { std::lock_guard<std::mutex> g(m_lock); }
  m_cv.notify_all();
}

void SteadyClock::Breathe() { std::this_thread::sleep_for(std::chrono::milliseconds(1)); }

}  // namespace ov
