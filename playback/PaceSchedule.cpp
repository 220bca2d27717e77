#include "playback/PaceSchedule.h"

#include <cstdlib>

namespace ov {
namespace {
constexpr int64_t kNsPerMs = 1000000;
}

void PaceSchedule::Start(uint32_t key, Ns now, int32_t speed) {
  m_valid = true;
  m_speed = speed == 0 ? 1 : speed;
  m_baseInstant = now;
  m_baseMediaNs = int64_t(key) * kNsPerMs;
}

void PaceSchedule::Rebase(Ns now, int32_t speed) {
  if (!m_valid) return;
  const int64_t elapsed = (now - m_baseInstant).count();
  m_baseMediaNs += (m_speed > 0 ? 1 : -1) * elapsed * std::abs(int64_t(m_speed));
  m_baseInstant = now;
  m_speed = speed == 0 ? m_speed : speed;
}

PaceSchedule::Ns PaceSchedule::DueOf(uint32_t key) const {
  const int64_t media = int64_t(key) * kNsPerMs - m_baseMediaNs;
  const int64_t offset = (m_speed > 0 ? media : -media) / std::abs(int64_t(m_speed));
  return m_baseInstant + Ns(offset);
}

PaceSchedule::Plan PaceSchedule::PlanWait(uint32_t key, Ns now, Ns ahead) {
  Plan p;
  const Ns due = DueOf(key);
  if (now - due > kMaxLateness) {
    Start(key, now, m_speed);
    p.rebased = true;
    return p;
  }
  if (due - now < ahead) return p;
  p.sleep = true;
  p.until = due;
  return p;
}

}  // namespace ov
