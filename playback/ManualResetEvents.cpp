#include "playback/ManualResetEvents.h"

namespace ov {

void ManualResetEvents::Set(int slot) {
  if (slot < 0 || slot >= kSlots) return;
  {
    std::lock_guard<std::mutex> g(m_lock);
    m_signalled[slot] = true;
  }
  m_cv.notify_all();
}

void ManualResetEvents::Reset(int slot) {
  if (slot < 0 || slot >= kSlots) return;
  std::lock_guard<std::mutex> g(m_lock);
  m_signalled[slot] = false;
}

bool ManualResetEvents::IsSet(int slot) const {
  if (slot < 0 || slot >= kSlots) return false;
  std::lock_guard<std::mutex> g(m_lock);
  return m_signalled[slot];
}

int ManualResetEvents::WaitAny(int count) const {
  if (count <= 0 || count > kSlots) return -1;
  std::unique_lock<std::mutex> g(m_lock);
  int found = -1;
  m_cv.wait(g, [&] {
    for (int i = 0; i < count; ++i) {
      if (m_signalled[i]) {
        found = i;
        return true;
      }
    }
    return false;
  });
  return found;
}

}  // namespace ov
