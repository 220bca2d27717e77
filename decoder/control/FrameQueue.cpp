#include "decoder/control/FrameQueue.h"

#include <algorithm>

namespace ov {
namespace {
// Reverse play hands over earlier times than the last: the span counts either way.
std::chrono::milliseconds RecordingTime(const EncodedFrame& f) {
  return std::chrono::milliseconds(int64_t(f.fTime) * 1000 + f.msec);
}
}  // namespace

FrameQueue::FrameQueue(size_t maxFrames, size_t maxBytes, std::chrono::milliseconds maxAge)
    : m_maxFrames(std::max<size_t>(1, maxFrames)),
      m_maxBytes(maxBytes),
      m_maxAge(maxAge),
      m_ring(m_maxFrames),
      m_queuedAt(m_maxFrames) {}

bool FrameQueue::FullLocked(const EncodedFrame& frame,
                            std::chrono::steady_clock::time_point now) const {
  if (m_count >= m_maxFrames || m_bytes + frame.payloadSize > m_maxBytes) return true;
  // Frames decoded on the way to a landing picture come in a burst: they do not make the queue
  // "behind real time", and neither does a shown frame queued behind them.
  if (m_count == 0 || !frame.show) return false;
  for (size_t i = 0; i < m_count; ++i)
    if (!m_ring[(m_head + i) % m_ring.size()].show) return false;
  return now - m_queuedAt[m_head] > m_maxAge &&
         std::chrono::abs(RecordingTime(frame) - RecordingTime(m_ring[m_head])) > m_maxAge;
}

bool FrameQueue::PushLocked(EncodedFrame& frame, bool full,
                            std::chrono::steady_clock::time_point now) {
  if (frame.key) {
    if (full) ClearLocked();
    m_waitKey = false;
  } else if (m_waitKey || full) {
    m_waitKey = true;
    ++m_dropped;
    return false;
  }
  if (frame.payloadSize > m_maxBytes) {  // would never fit: treat like a full queue
    m_waitKey = true;
    ++m_dropped;
    return false;
  }
  m_bytes += frame.payloadSize;
  if (!frame.show) ++m_hidden;
  m_queuedAt[(m_head + m_count) % m_ring.size()] = now;
  At(m_count) = std::move(frame);
  ++m_count;
  m_maxSizeSeen = std::max(m_maxSizeSeen, m_count);
  return true;
}

bool FrameQueue::Push(EncodedFrame frame) {
  bool wake = false;
  const auto now = std::chrono::steady_clock::now();
  {
    std::unique_lock lock(m_mutex);
    if (m_stopped) return false;
    if (m_hidden > 0) {
      lock.unlock();
      return PushWaiting(std::move(frame), kRoomWait);
    }
    if (!PushLocked(frame, FullLocked(frame, now), now)) return false;
    wake = m_waiting;
  }
  if (wake) m_cv.notify_one();
  return true;
}

bool FrameQueue::PushWaiting(EncodedFrame frame, std::chrono::milliseconds bound) {
  bool wake = false;
  {
    std::unique_lock lock(m_mutex);
    ++m_pushWaiting;
    m_room.wait_for(lock, bound, [&] {
      return m_stopped || m_waitKey || !FullLocked(frame, std::chrono::steady_clock::now());
    });
    --m_pushWaiting;
    if (m_stopped) return false;
    const auto now = std::chrono::steady_clock::now();
    if (!PushLocked(frame, FullLocked(frame, now), now)) return false;
    wake = m_waiting;
  }
  if (wake) m_cv.notify_one();
  return true;
}

void FrameQueue::RoomLocked() {
  if (m_pushWaiting > 0) m_room.notify_all();
}

std::optional<EncodedFrame> FrameQueue::Pop(std::chrono::milliseconds timeout) {
  std::unique_lock lock(m_mutex);
  m_waiting = true;
  m_cv.wait_for(lock, timeout, [this] { return m_stopped || m_woken || m_count > 0; });
  m_waiting = false;
  return TakeLocked(true);
}

std::optional<EncodedFrame> FrameQueue::Pop() {
  std::unique_lock lock(m_mutex);
  m_waiting = true;
  m_cv.wait(lock, [this] { return m_stopped || m_woken || m_count > 0; });
  m_waiting = false;
  return TakeLocked(true);
}

void FrameQueue::Wake() {
  {
    std::lock_guard lock(m_mutex);
    m_woken = true;
  }
  m_cv.notify_one();
}

std::optional<EncodedFrame> FrameQueue::TryPop() {
  std::lock_guard lock(m_mutex);
  return TakeLocked(false);
}

std::optional<EncodedFrame> FrameQueue::TakeLocked(bool honourWake) {
  if (honourWake && m_woken) {
    m_woken = false;
    return std::nullopt;
  }
  if (m_stopped || m_count == 0) return std::nullopt;
  EncodedFrame f = std::move(At(0));
  m_bytes -= f.payloadSize;
  m_head = (m_head + 1) % m_ring.size();
  --m_count;
  if (!f.show) HiddenTakenLocked();
  RoomLocked();
  return f;
}

void FrameQueue::PopFrontLocked() {
  EncodedFrame& f = At(0);
  m_bytes -= f.payloadSize;
  const bool hidden = !f.show;
  f = EncodedFrame();  // gives the payload buffer back now
  m_head = (m_head + 1) % m_ring.size();
  --m_count;
  if (hidden) HiddenTakenLocked();
}

void FrameQueue::HiddenTakenLocked() {
  if (--m_hidden > 0) return;
  // The pictures queued behind a landing run could not be decoded before it: their wait starts
  // now. Counted from their hand-over, a run that took the decoder (or the worker it shares with
  // other channels) past the age bound would drop them, and the picture would hold to the next
  // key frame.
  const auto now = std::chrono::steady_clock::now();
  for (size_t i = 0; i < m_count; ++i) m_queuedAt[(m_head + i) % m_ring.size()] = now;
}

void FrameQueue::Clear() {
  std::lock_guard lock(m_mutex);
  ClearLocked();
  m_waitKey = true;
}

void FrameQueue::DropToNextKey() {
  std::lock_guard lock(m_mutex);
  while (m_count > 0 && !At(0).key) {
    PopFrontLocked();
    ++m_dropped;
  }
  if (m_count == 0) m_waitKey = true;
}

void FrameQueue::Stop() {
  {
    std::lock_guard lock(m_mutex);
    m_stopped = true;
    ClearLocked();
  }
  m_cv.notify_all();
  m_room.notify_all();
}

void FrameQueue::ClearLocked() {
  m_dropped += m_count;
  while (m_count > 0) PopFrontLocked();
  m_head = 0;
  m_bytes = 0;
  RoomLocked();
}

bool FrameQueue::Stopped() const {
  std::lock_guard lock(m_mutex);
  return m_stopped;
}

size_t FrameQueue::Size() const {
  std::lock_guard lock(m_mutex);
  return m_count;
}
size_t FrameQueue::Bytes() const {
  std::lock_guard lock(m_mutex);
  return m_bytes;
}
uint64_t FrameQueue::Dropped() const {
  std::lock_guard lock(m_mutex);
  return m_dropped;
}
size_t FrameQueue::MaxSizeSeen() const {
  std::lock_guard lock(m_mutex);
  return m_maxSizeSeen;
}

}  // namespace ov
