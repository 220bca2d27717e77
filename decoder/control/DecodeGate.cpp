#include "decoder/control/DecodeGate.h"

#include <algorithm>
#include <thread>

namespace ov {

DecodeGate::DecodeGate(unsigned slots) : m_slots(std::max(1u, slots)) {}

DecodeGate& DecodeGate::Shared() {
  static DecodeGate gate(std::max(1u, std::thread::hardware_concurrency()));
  return gate;
}

void DecodeGate::Acquire() {
  std::unique_lock lock(m_mutex);
  const uint64_t ticket = m_nextTicket++;
  // Tickets are served in order: ticket t may run once all but m_slots earlier ones are done.
  m_cv.wait(lock, [&] { return ticket < m_released + m_slots; });
}

void DecodeGate::Release() {
  {
    std::lock_guard lock(m_mutex);
    ++m_released;
  }
  m_cv.notify_all();
}

}  // namespace ov
