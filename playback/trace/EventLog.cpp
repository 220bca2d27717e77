#include "playback/trace/EventLog.h"

namespace ov {

void EventLog::Append(LoggedEvent e) {
  e.t = m_clock.Now();
  std::lock_guard<std::mutex> g(m_lock);
  m_events.push_back(std::move(e));
}

std::vector<LoggedEvent> EventLog::Snapshot() const {
  std::lock_guard<std::mutex> g(m_lock);
  return m_events;
}

void EventLog::Clear() {
  std::lock_guard<std::mutex> g(m_lock);
  m_events.clear();
}

}  // namespace ov
