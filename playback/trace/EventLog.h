#pragma once
// A time-stamped log of everything the engine does to the decoder and the window, filled by the
// recording decoder and the recording view (tests, the trace command, benchmarks).
//
// Threads: Append from any thread; the log keeps the order in which calls arrived.
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "playback/Clock.h"

namespace ov {

enum class ViewOp {
  Text,
  SeekPos,
  SeekRange,
  TrackFilled,
  Reset,
  Bitmaps,
  Searching,
  ToolTip,
  Invalidate
};

struct LoggedEvent {
  IClock::Ns t{0};
  bool fromDecoder = false;
  int32_t dispid = 0;          // decoder calls
  ViewOp view = ViewOp::Text;  // view calls
  std::vector<int32_t> ints;   // integer arguments in order (for SubmitFrame without the buffer)
  std::string text;            // text argument
  bool hasBytes = false;
  uint32_t crc = 0;  // CRC-32 of the byte argument
  size_t bytes = 0;
};

class EventLog {
 public:
  explicit EventLog(const IClock& clock) : m_clock(clock) {}
  void Append(LoggedEvent e);
  std::vector<LoggedEvent> Snapshot() const;
  void Clear();

 private:
  const IClock& m_clock;
  mutable std::mutex m_lock;
  std::vector<LoggedEvent> m_events;
};

}  // namespace ov
