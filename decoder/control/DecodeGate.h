#pragma once
// Lets at most as many channels decode at once as there are cores, in the order they asked.
//
// Sixteen decoding threads all runnable at once would take the window thread's share of the CPU
// (its paints then arrive late and bunched); first come, first served keeps every channel moving
// when decoding falls behind.
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace ov {

class DecodeGate {
 public:
  explicit DecodeGate(unsigned slots);
  // Process-wide gate sized to the machine.
  static DecodeGate& Shared();

  void Acquire();
  void Release();

  class Hold {
   public:
    explicit Hold(DecodeGate& g) : m_gate(g) { m_gate.Acquire(); }
    ~Hold() { m_gate.Release(); }
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;

   private:
    DecodeGate& m_gate;
  };

 private:
  const uint64_t m_slots;
  std::mutex m_mutex;
  std::condition_variable m_cv;
  uint64_t m_nextTicket = 0;
  uint64_t m_released = 0;
};

}  // namespace ov
