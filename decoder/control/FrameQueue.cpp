#include "decoder/control/FrameQueue.h"

#include <algorithm>

namespace ov {

FrameQueue::FrameQueue(size_t maxFrames, size_t maxBytes)
    : m_maxFrames(std::max<size_t>(1, maxFrames)), m_maxBytes(maxBytes) {}

bool FrameQueue::Push(EncodedFrame frame) {
  {
    std::lock_guard lock(m_mutex);
    if (m_stopped) return false;
    const bool full = m_frames.size() >= m_maxFrames || m_bytes + frame.data.size() > m_maxBytes;
    if (frame.key) {
      if (full) ClearLocked();
      m_waitKey = false;
    } else if (m_waitKey || full) {
      m_waitKey = true;
      ++m_dropped;
      return false;
    }
    if (frame.data.size() > m_maxBytes) {  // would never fit: treat like a full queue
      m_waitKey = true;
      ++m_dropped;
      return false;
    }
    m_bytes += frame.data.size();
    m_frames.push_back(std::move(frame));
    m_maxSizeSeen = std::max(m_maxSizeSeen, m_frames.size());
  }
  m_cv.notify_one();
  return true;
}

std::optional<EncodedFrame> FrameQueue::Pop(std::chrono::milliseconds timeout) {
  std::unique_lock lock(m_mutex);
  m_cv.wait_for(lock, timeout, [this] { return m_stopped || m_woken || !m_frames.empty(); });
  return TakeLocked(true);
}

std::optional<EncodedFrame> FrameQueue::Pop() {
  std::unique_lock lock(m_mutex);
  m_cv.wait(lock, [this] { return m_stopped || m_woken || !m_frames.empty(); });
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
  if (m_stopped || m_frames.empty()) return std::nullopt;
  EncodedFrame f = std::move(m_frames.front());
  m_frames.pop_front();
  m_bytes -= f.data.size();
  return f;
}

void FrameQueue::Clear() {
  std::lock_guard lock(m_mutex);
  ClearLocked();
  m_waitKey = true;
}

void FrameQueue::DropToNextKey() {
  std::lock_guard lock(m_mutex);
  while (!m_frames.empty() && !m_frames.front().key) {
    m_bytes -= m_frames.front().data.size();
    m_frames.pop_front();
    ++m_dropped;
  }
  if (m_frames.empty()) m_waitKey = true;
}

void FrameQueue::Stop() {
  {
    std::lock_guard lock(m_mutex);
    m_stopped = true;
    ClearLocked();
  }
  m_cv.notify_all();
}

void FrameQueue::ClearLocked() {
  m_dropped += m_frames.size();
  m_frames.clear();
  m_bytes = 0;
}

bool FrameQueue::Stopped() const {
  std::lock_guard lock(m_mutex);
  return m_stopped;
}

size_t FrameQueue::Size() const {
  std::lock_guard lock(m_mutex);
  return m_frames.size();
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
