#include "decoder/control/DecodeGate.h"

#include <algorithm>
#include <cstdlib>
#include <thread>

namespace ov {

DecodeGate::DecodeGate(unsigned slots) : m_slots(std::max(1u, slots)) {}

DecodeGate& DecodeGate::Shared() {
  // OV_DECODE_SLOTS overrides the number of cores, to measure what the gate wins or costs.
  static DecodeGate gate([] {
    const char* v = std::getenv("OV_DECODE_SLOTS");
    const long n = v ? std::strtol(v, nullptr, 10) : 0;
    return n > 0 && n <= 64 ? unsigned(n) : std::max(1u, std::thread::hardware_concurrency());
  }());
  return gate;
}

void DecodeGate::Acquire(bool shown) {
  std::unique_lock lock(m_mutex);
  if (m_waiters.empty() && m_running < m_slots) {
    ++m_running;
    return;
  }
  Waiter w;
  w.shown = shown;
  auto at = m_waiters.end();
  if (shown)
    at =
        std::find_if(m_waiters.begin(), m_waiters.end(), [](const Waiter* o) { return !o->shown; });
  m_waiters.insert(at, &w);
  w.cv.wait(lock, [&] { return w.granted; });
}

void DecodeGate::Release() {
  std::lock_guard lock(m_mutex);
  if (m_waiters.empty()) {
    --m_running;
    return;
  }
  Waiter* next = m_waiters.front();  // the slot passes straight to the longest waiter
  m_waiters.pop_front();
  next->granted = true;
  next->cv.notify_one();
}

}  // namespace ov
