#include "decoder/control/SampleRing.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace ov {
namespace {
constexpr size_t kMaxMarks = 256;  // a few seconds of frames and reads
constexpr int64_t kSampleNs = 1000000000 / 8000;
}  // namespace

// Unbuffered: a read-ahead buffer of QIODevice would keep samples a clear cannot reach.
SampleRing::SampleRing() : m_ring(kCapacity) { open(QIODevice::ReadOnly | QIODevice::Unbuffered); }

void SampleRing::Append(int16_t v) {
  if (m_count == m_ring.size()) {  // the device stalled: drop the oldest
    m_head = (m_head + 1) % m_ring.size();
    --m_count;
  }
  m_ring[(m_head + m_count) % m_ring.size()] = v;
  ++m_count;
}

void SampleRing::Push(std::span<const int16_t> s, TimePoint due) {
  if (s.empty()) return;
  {
    std::lock_guard lock(m_mutex);
    if (m_fresh) {
      // The lead-in counts as sound due just before the first samples, so the latency read off
      // the device includes it and pictures wait for the sound it delays.
      m_fresh = false;
      m_pushes.push_back(
          {m_pushed, 0, due - std::chrono::nanoseconds(int64_t(kLeadIn) * kSampleNs)});
      for (size_t i = 0; i < kLeadIn; ++i) Append(0);
      m_pushed += kLeadIn;
    }
    m_pushes.push_back({m_pushed, 0, due});
    while (m_pushes.size() > kMaxMarks) m_pushes.pop_front();
    for (int16_t v : s) Append(v);
    m_pushed += s.size();
  }
  // Wakes a device that went idle on an empty ring.
  emit readyRead();
}

void SampleRing::Clear() {
  std::lock_guard lock(m_mutex);
  m_head = m_count = 0;
  m_fresh = true;
}

void SampleRing::RestartCount() {
  std::lock_guard lock(m_mutex);
  m_pulled = 0;
  m_pulls.clear();
}

size_t SampleRing::Queued() const {
  std::lock_guard lock(m_mutex);
  return m_count;
}

qint64 SampleRing::bytesAvailable() const {
  std::lock_guard lock(m_mutex);
  return static_cast<qint64>(m_count * sizeof(int16_t)) + QIODevice::bytesAvailable();
}

qint64 SampleRing::readData(char* data, qint64 maxlen) {
  const size_t want = static_cast<size_t>(std::max<qint64>(0, maxlen)) / sizeof(int16_t);
  const float gain = m_gain.load(std::memory_order_relaxed);
  std::lock_guard lock(m_mutex);
  if (m_count > kMaxQueued) {
    const size_t skip = m_count - kKeepOnSkip;
    m_head = (m_head + skip) % m_ring.size();
    m_count -= skip;
  }
  const size_t n = std::min(want, m_count);
  if (n == 0) return 0;
  m_pulls.push_back({m_pulled, m_pushed - m_count, {}});
  if (m_pulls.size() > kMaxMarks) m_pulls.pop_front();
  for (size_t i = 0; i < n; ++i) {
    int16_t v = m_ring[(m_head + i) % m_ring.size()];
    if (gain < 1.0f) v = static_cast<int16_t>(std::lround(v * gain));
    std::memcpy(data + i * sizeof(int16_t), &v, sizeof v);
  }
  m_head = (m_head + n) % m_ring.size();
  m_count -= n;
  m_pulled += n;
  return static_cast<qint64>(n * sizeof(int16_t));
}

std::optional<SampleRing::TimePoint> SampleRing::DueTimeOfPulled(uint64_t index) const {
  std::lock_guard lock(m_mutex);
  if (index >= m_pulled) return std::nullopt;
  auto pull = std::upper_bound(m_pulls.begin(), m_pulls.end(), index,
                               [](uint64_t i, const Mark& m) { return i < m.at; });
  if (pull == m_pulls.begin()) return std::nullopt;
  --pull;
  const uint64_t pushed = pull->pushed + (index - pull->at);
  auto push = std::upper_bound(m_pushes.begin(), m_pushes.end(), pushed,
                               [](uint64_t i, const Mark& m) { return i < m.at; });
  if (push == m_pushes.begin()) return std::nullopt;
  --push;
  return push->due + std::chrono::nanoseconds(int64_t(pushed - push->at) * kSampleNs);
}

}  // namespace ov
