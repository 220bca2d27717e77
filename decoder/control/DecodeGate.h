#pragma once
// Lets at most as many channels decode at once as there are cores, in the order they asked;
// channels whose picture is on screen go before those decoding only to keep their references.
//
// Sixteen decoding threads all runnable at once would take the window thread's share of the CPU
// (its paints then arrive late and bunched); first come, first served keeps every channel moving
// when decoding falls behind.
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>

namespace ov {

class DecodeGate {
 public:
  explicit DecodeGate(unsigned slots);
  // Process-wide gate sized to the machine.
  static DecodeGate& Shared();

  // shown: the caller's picture is on screen; it waits behind other shown ones only.
  void Acquire(bool shown = true);
  void Release();

  class Hold {
   public:
    explicit Hold(DecodeGate& g, bool shown = true) : m_gate(g) { m_gate.Acquire(shown); }
    ~Hold() { m_gate.Release(); }
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;

   private:
    DecodeGate& m_gate;
  };

 private:
  // Each waiter sleeps on its own condition, so a release wakes exactly the thread it hands its
  // slot to (waking all waiters on every frame would cost more than the gate saves).
  struct Waiter {
    std::condition_variable cv;
    bool granted = false;
    bool shown = true;
  };
  const uint64_t m_slots;
  std::mutex m_mutex;
  uint64_t m_running = 0;
  std::deque<Waiter*> m_waiters;
};

}  // namespace ov
