#pragma once
// A clock whose time moves only when a driver says so, for tests and the trace command.
//
// The driver (one thread) advances time only at instants when every registered worker sleeps on
// the clock with nothing left to do before its deadline, so a run is the same on every machine
// and runs as fast as the machine allows. While the driver runs a command it can hold sleeping
// workers asleep and keep new seek threads at their gate, and then release them one kind at a time.
#include <condition_variable>
#include <functional>
#include <mutex>
#include <vector>

#include "playback/Clock.h"

namespace ov {

class VirtualClock final : public IClock {
 public:
  Ns Now() const override;
  void SleepUntil(Ns deadline, const std::atomic<uint32_t>& wakeSeq, uint32_t seen) override;
  void Wake() override;
  void Breathe() override {}
  void AddParticipant() override;
  void RemoveParticipant() override;
  void SeekGate(const std::function<bool()>& cancelled) override;

  // Driver side. Runs the workers until virtual time t; stops early (returning true) at the first
  // quiet instant at which stop() holds.
  bool AdvanceTo(Ns t, const std::function<bool()>& stop = {});
  bool AdvanceBy(Ns d, const std::function<bool()>& stop = {}) {
    return AdvanceTo(Now() + d, stop);
  }
  // Blocks until every registered worker sleeps with nothing due.
  void WaitQuiet();
  // Holds sleeping workers asleep (wakes are deferred) and closes the seek gate.
  void HoldWorkers();
  void ReleaseSeeks();
  void ReleaseWorkers();

 private:
  struct Sleeper {
    Ns deadline;
    const std::atomic<uint32_t>* seq;
    uint32_t seen;
  };
  bool Due(const Sleeper& s) const;
  bool QuietLocked() const;

  mutable std::mutex m_lock;
  std::condition_variable m_cv;
  Ns m_now{0};
  int m_participants = 0;
  bool m_holdSleepers = false;
  bool m_holdSeeks = false;
  std::vector<const Sleeper*> m_sleepers;
};

}  // namespace ov
