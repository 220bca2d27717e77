#pragma once
// A few worker threads (as many as there are cores) that decode for every channel, instead of a
// thread per channel.
//
// Sixteen channels at 25 pictures a second each woke their own thread for every frame (and then
// often waited again for a core). Here a frame queued while a worker is busy costs no wake-up at
// all: the busy worker takes the channel next. At most as many channels decode at once as there
// are workers, so the decoders cannot take the window thread's share of the CPU; channels whose
// picture is on screen go before those decoding only to keep their references, and otherwise
// channels are served in the order they asked.
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace ov {

class DecodePool {
 public:
  class Job {
   public:
    virtual ~Job() = default;
    // On a worker: do a bounded share of the work; call Ready() again if some is left.
    virtual void Work() = 0;

   private:
    friend class DecodePool;
    enum class State { Idle, Queued, Running, RunningAgain } m_state = State::Idle;
    bool m_shown = true;
  };

  // Throws std::system_error when not even one worker can start.
  explicit DecodePool(unsigned workers);
  ~DecodePool();
  DecodePool(const DecodePool&) = delete;
  DecodePool& operator=(const DecodePool&) = delete;

  // The process-wide pool sized to the machine (OV_DECODE_SLOTS overrides the number of
  // workers); it lives while someone holds it, so a process without decoders has no workers.
  static std::shared_ptr<DecodePool> Shared();

  // Any thread: job has work; a worker runs it soon (again, if it is running now). shown: the
  // job's picture is on screen; it then waits behind other shown jobs only.
  void Ready(Job& job, bool shown = true);
  // Any thread but a worker: job is taken off the queue, and a run in progress is waited for.
  void Remove(Job& job);
  unsigned Workers() const { return unsigned(m_threads.size()); }
  // Jobs queued per busy worker before an idle one is sent for (a frame takes about a millisecond).
  static constexpr size_t kQueuedPerWorker = 6;

 private:
  // Each worker sleeps on its own condition, so a job queued wakes exactly one idle worker, and
  // none while every worker is busy.
  struct Idle {
    std::condition_variable cv;
    bool go = false;
  };
  struct Queued {
    Job* job;
    bool shown;
  };
  void Run();
  void QueueLocked(Job& job);

  std::mutex m_mutex;
  std::condition_variable m_done;  // Remove waits here for a running job
  int m_removing = 0;
  std::deque<Queued> m_queue;
  std::vector<Idle*> m_idle;  // the last to fall idle is sent for first (its caches are warm)
  bool m_stop = false;
  std::vector<std::thread> m_threads;
};

}  // namespace ov
