#include "playback/trace/VirtualClock.h"

#include <algorithm>

namespace ov {

IClock::Ns VirtualClock::Now() const {
  std::lock_guard<std::mutex> g(m_lock);
  return m_now;
}

bool VirtualClock::Due(const Sleeper& s) const {
  return m_now >= s.deadline || s.seq->load(std::memory_order_acquire) != s.seen;
}

bool VirtualClock::QuietLocked() const {
  if (int(m_sleepers.size()) < m_participants) return false;
  return std::none_of(m_sleepers.begin(), m_sleepers.end(),
                      [&](const Sleeper* s) { return Due(*s); });
}

void VirtualClock::SleepUntil(Ns deadline, const std::atomic<uint32_t>& wakeSeq, uint32_t seen) {
  std::unique_lock<std::mutex> g(m_lock);
  const Sleeper me{deadline, &wakeSeq, seen};
  m_sleepers.push_back(&me);
  m_cv.notify_all();
  m_cv.wait(g, [&] { return Due(me) && !m_holdSleepers; });
  m_sleepers.erase(std::find(m_sleepers.begin(), m_sleepers.end(), &me));
  m_cv.notify_all();
}

void VirtualClock::Wake() {
  { std::lock_guard<std::mutex> g(m_lock); }
  m_cv.notify_all();
}

void VirtualClock::AddParticipant() {
  std::lock_guard<std::mutex> g(m_lock);
  ++m_participants;
}

void VirtualClock::RemoveParticipant() {
  {
    std::lock_guard<std::mutex> g(m_lock);
    --m_participants;
  }
  m_cv.notify_all();
}

void VirtualClock::SeekGate(const std::function<bool()>& cancelled) {
  std::unique_lock<std::mutex> g(m_lock);
  m_cv.wait(g, [&] { return !m_holdSeeks || (cancelled && cancelled()); });
}

void VirtualClock::WaitQuiet() {
  std::unique_lock<std::mutex> g(m_lock);
  m_cv.wait(g, [&] { return QuietLocked(); });
}

bool VirtualClock::AdvanceTo(Ns t, const std::function<bool()>& stop) {
  for (;;) {
    std::unique_lock<std::mutex> g(m_lock);
    m_cv.wait(g, [&] { return QuietLocked(); });
    if (stop) {
      g.unlock();
      if (stop()) return true;
      g.lock();
      if (!QuietLocked()) continue;
    }
    Ns next = kForever;
    for (const Sleeper* s : m_sleepers) next = std::min(next, s->deadline);
    if (next > t) {
      m_now = std::max(m_now, t);
      return false;
    }
    m_now = std::max(m_now, next);
    g.unlock();
    m_cv.notify_all();
  }
}

void VirtualClock::HoldWorkers() {
  std::lock_guard<std::mutex> g(m_lock);
  m_holdSleepers = true;
  m_holdSeeks = true;
}

void VirtualClock::ReleaseSeeks() {
  {
    std::lock_guard<std::mutex> g(m_lock);
    m_holdSeeks = false;
  }
  m_cv.notify_all();
}

void VirtualClock::ReleaseWorkers() {
  {
    std::lock_guard<std::mutex> g(m_lock);
    m_holdSleepers = false;
    m_holdSeeks = false;
  }
  m_cv.notify_all();
}

}  // namespace ov
