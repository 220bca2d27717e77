#pragma once
// The queue between the playback thread, which writes whole sound frames as their time comes,
// and the sound device, which pulls samples at its own period. It holds up to two seconds and
// keeps at most kMaxQueued when the device reads. After a clear (a move, a pause, the start) it
// puts kLeadIn of silence before the first sound: frames arrive whole every 200 ms, and that
// much head start lets the next one come a little late without the device running dry. It never
// makes up silence between frames: an empty ring answers "nothing yet" and the device waits.
//
// The volume is applied as samples leave, so a change of volume is heard as soon as the device
// has played what it already took.
//
// It also remembers when each sample was meant to be heard, so the sound clock (samples the
// device has taken) can tell how late the sound runs.
//
// Threads: Push, Clear and SetGain from any thread; the device reads on its own thread.
#include <QIODevice>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

namespace ov {

class SampleRing : public QIODevice {
 public:
  using TimePoint = std::chrono::steady_clock::time_point;
  static constexpr size_t kCapacity = 16000;  // 2 s at 8 kHz: room for any server's period
  static constexpr size_t kLeadIn = 400;      // 50 ms of silence before the first sound
  // A device that fell behind (it started late, or its thread stalled) would keep sound this
  // much late for good: beyond it the oldest samples are skipped, down to one frame's worth.
  static constexpr size_t kMaxQueued = 4800;
  static constexpr size_t kKeepOnSkip = 1600;

  SampleRing();
  // Queues samples meant to be heard from `due` on (one sample per 1/8000 s after it).
  void Push(std::span<const int16_t> samples, TimePoint due);
  // Forgets everything queued; the next samples start after a new lead-in.
  void Clear();
  size_t Queued() const;
  // Linear gain for the samples handed out from now on.
  void SetGain(float gain) { m_gain.store(gain, std::memory_order_relaxed); }
  // The device starts again: its reads count from 0 (queued samples stay).
  void RestartCount();
  // When the sample with this index in the stream handed to the device (counted from the first
  // read) was meant to be heard; empty when that is no longer (or not yet) known.
  std::optional<TimePoint> DueTimeOfPulled(uint64_t index) const;

  bool isSequential() const override { return true; }
  qint64 bytesAvailable() const override;

 protected:
  qint64 readData(char* data, qint64 maxlen) override;
  qint64 writeData(const char*, qint64) override { return -1; }

 private:
  void Append(int16_t v);

  struct Mark {
    uint64_t at;      // first sample (pushed index, or pulled index for m_pulls)
    uint64_t pushed;  // for m_pulls: the pushed index it came from
    TimePoint due;    // for m_pushes
  };
  mutable std::mutex m_mutex;
  std::vector<int16_t> m_ring;
  size_t m_head = 0;
  size_t m_count = 0;
  bool m_fresh = true;    // nothing pushed since the last clear
  uint64_t m_pushed = 0;  // samples ever pushed
  uint64_t m_pulled = 0;  // samples ever handed to the device
  std::deque<Mark> m_pushes;
  std::deque<Mark> m_pulls;
  std::atomic<float> m_gain{1.0f};
};

}  // namespace ov
