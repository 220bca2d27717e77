#pragma once
// One worker thread's record: the thread, its two manual-reset events and its running flag.
//
// Threads: owned and changed by the window thread only; the worker reads its events.
#include <cstdint>
#include <memory>
#include <thread>

#include "playback/ManualResetEvents.h"

namespace ov {

inline constexpr int EVENT_QUIT = 0;
inline constexpr int EVENT_RUN = 1;

struct ThreadControl {
  std::thread thread;                         // not joinable when the record describes no thread
  std::shared_ptr<ManualResetEvents> events;  // shared with the worker for its whole life
  int32_t eventCount = 0;                     // 2 after a start
  int32_t running = 0;

  bool HasThread() const { return thread.joinable(); }
};

}  // namespace ov
