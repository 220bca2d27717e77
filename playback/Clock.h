#pragma once
// The time source of the worker threads: the steady clock in the program, a virtual clock in the
// tests and the trace driver.
//
// Threads: every member may be called from any thread.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>

namespace ov {

class IClock {
 public:
  using Ns = std::chrono::nanoseconds;
  static constexpr Ns kForever = Ns::max();

  virtual ~IClock() = default;
  virtual Ns Now() const = 0;
  // Blocks until Now() >= deadline or until wakeSeq differs from seen (a Wake() after the change
  // ends the wait). Spurious early returns are allowed; callers loop.
  virtual void SleepUntil(Ns deadline, const std::atomic<uint32_t>& wakeSeq, uint32_t seen) = 0;
  // Ends every SleepUntil whose wake sequence has changed. Call after changing a wake sequence.
  virtual void Wake() = 0;
  // The short pause a long scan takes between chunks so it does not starve the disk.
  virtual void Breathe() = 0;
  // Frames falling due within this much of now are handed over without a sleep: the next due
  // time absorbs the wait. The real clock takes a longer stretch so that the frames of one stretch
  // go out together (one wake-up of the playback thread instead of one per frame).
  virtual Ns PaceAhead() const { return std::chrono::milliseconds(2); }
  // A worker about to sleep on this clock is registered before its thread starts and removed when
  // it ends, so a virtual clock knows when every worker is waiting.
  virtual void AddParticipant() {}
  virtual void RemoveParticipant() {}
  // Called by a seek thread before it starts its work: a virtual clock may hold it there until
  // released or until cancelled() holds (checked again after every Wake()).
  virtual void SeekGate(const std::function<bool()>& cancelled) { (void)cancelled; }
};

}  // namespace ov
