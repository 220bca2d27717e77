#pragma once
// A small set of manual-reset events sharing one lock, with a wait for any of them.
//
// Threads: any thread may set, reset and wait.
#include <array>
#include <condition_variable>
#include <mutex>

namespace ov {

class ManualResetEvents {
 public:
  static constexpr int kSlots = 4;
  void Set(int slot);
  void Reset(int slot);
  bool IsSet(int slot) const;
  // Blocks until one of the first count events is signalled and returns the lowest such index
  // (so slot 0 wins when several are signalled); -1 when count is out of range.
  int WaitAny(int count) const;

 private:
  mutable std::mutex m_lock;
  mutable std::condition_variable m_cv;
  std::array<bool, kSlots> m_signalled{};
};

}  // namespace ov
