#pragma once
// How late sound is heard against the moment it was due: the latest reading, and a smoothed one
// that pictures are held back by. Both sound outputs read their device the same way once they know
// which sample is heard now. Written by one sound thread, read from any.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <optional>

namespace ov {

class LagMeter {
 public:
  using TimePoint = std::chrono::steady_clock::time_point;

  explicit LagMeter(double firstGuessMs) : m_smoothedMs(firstGuessMs) {}

  // The sample heard now was due at `due` (nothing: no longer or not yet known).
  void Heard(std::optional<TimePoint> due) {
    if (!due) return;
    const double late =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - *due).count();
    if (late < 0 || late > 2000) return;  // a reading across a clear or a stall
    m_latestMs.store(late);
    const double old = m_smoothedMs.load();
    m_smoothedMs.store(m_fresh ? late : old + kSmoothing * (late - old));
    m_fresh = false;
    ++m_readings;
  }
  // The sound goes out another way now (a new connection to the sound server): the old readings
  // say nothing about it, so the pictures wait `firstGuessMs` again until the first new one.
  // Called under the same lock, or on the same thread, as Heard.
  void Restart(double firstGuessMs) {
    m_smoothedMs.store(firstGuessMs);
    m_latestMs.store(-1.0);
    m_fresh = true;
  }
  double SmoothedMs() const { return m_smoothedMs.load(); }
  double LatestMs() const { return m_latestMs.load(); }
  // With OV_AV_STATS: the figure the desktop check reads.
  void Report() const {
    if (m_readings > 0)
      std::fprintf(stderr, "CQL_Ctrl_Player: sound latency %.0f ms over %d readings\n",
                   m_smoothedMs.load(), m_readings);
  }

 private:
  static constexpr double kSmoothing = 0.05;
  std::atomic<double> m_smoothedMs;
  std::atomic<double> m_latestMs{-1.0};
  int m_readings = 0;   // the sound thread's own, as is the flag
  bool m_fresh = true;  // the next reading replaces the guess
};

}  // namespace ov
