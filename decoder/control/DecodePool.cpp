#include "decoder/control/DecodePool.h"

#include <pthread.h>
#include <sched.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <system_error>

namespace ov {

DecodePool::DecodePool(unsigned workers) {
  m_threads.reserve(std::max(1u, workers));
  for (unsigned i = 0; i < std::max(1u, workers); ++i) {
    try {
      m_threads.emplace_back([this] { Run(); });
    } catch (const std::system_error&) {
      if (m_threads.empty()) throw;  // fewer workers still decode everything, only more slowly
      break;
    }
    // Named, so a profile tells the decoding from the rest of the process.
    char name[16];
    std::snprintf(name, sizeof name, "ov-decode-%u", i % 100u);
    pthread_setname_np(m_threads.back().native_handle(), name);
  }
}

DecodePool::~DecodePool() {
  {
    std::lock_guard lock(m_mutex);
    m_stop = true;
    for (Idle* w : m_idle) {
      w->go = true;
      w->cv.notify_one();
    }
    m_idle.clear();
  }
  for (auto& t : m_threads) t.join();
}

std::shared_ptr<DecodePool> DecodePool::Shared() {
  static std::mutex mutex;
  static std::weak_ptr<DecodePool> shared;
  std::lock_guard lock(mutex);
  if (auto p = shared.lock()) return p;
  // OV_DECODE_SLOTS overrides the number of cores, to measure what the bound wins or costs.
  const char* v = std::getenv("OV_DECODE_SLOTS");
  const long n = v ? std::strtol(v, nullptr, 10) : 0;
  auto p = std::make_shared<DecodePool>(
      n > 0 && n <= 64 ? unsigned(n) : std::max(1u, std::thread::hardware_concurrency()));
  shared = p;
  return p;
}

void DecodePool::QueueLocked(Job& job) {
  const bool shown = job.m_shown;
  auto at = m_queue.end();
  if (shown)
    at = std::find_if(m_queue.begin(), m_queue.end(), [](const Queued& q) { return !q.shown; });
  m_queue.insert(at, {&job, shown});
  job.m_state = Job::State::Queued;
}

void DecodePool::Ready(Job& job, bool shown) {
  std::lock_guard lock(m_mutex);
  job.m_shown = shown;
  switch (job.m_state) {
    case Job::State::Idle:
      QueueLocked(job);
      break;
    case Job::State::Running:
      job.m_state = Job::State::RunningAgain;  // queued again by its worker when this run ends
      return;
    case Job::State::Queued:
    case Job::State::RunningAgain:
      return;
  }
  // A busy worker takes what is queued next; another is sent for only when more is queued than
  // the busy ones take in a few milliseconds. The frames of one hand-over then cost one wake-up,
  // and a backlog still gets every core.
  const size_t busy = m_threads.size() - m_idle.size();
  if (m_idle.empty() || m_queue.size() <= kQueuedPerWorker * busy) return;
  Idle* w = m_idle.back();
  m_idle.pop_back();
  w->go = true;
  w->cv.notify_one();
}

void DecodePool::Remove(Job& job) {
  std::unique_lock lock(m_mutex);
  for (;;) {
    if (job.m_state == Job::State::Queued) {
      m_queue.erase(std::find_if(m_queue.begin(), m_queue.end(),
                                 [&](const Queued& q) { return q.job == &job; }));
      job.m_state = Job::State::Idle;
    }
    if (job.m_state == Job::State::Idle) return;
    ++m_removing;
    m_done.wait(lock);
    --m_removing;
  }
}

void DecodePool::Run() {
  // Decoding is throughput work: a worker that wakes does not preempt the window or playback
  // thread (which it would, as a thread that mostly sleeps), so neither is switched out for it.
  sched_param batch{};
  pthread_setschedparam(pthread_self(), SCHED_BATCH, &batch);
  Idle self;
  std::unique_lock lock(m_mutex);
  for (;;) {
    if (m_stop) return;
    if (m_queue.empty()) {
      self.go = false;
      m_idle.push_back(&self);
      self.cv.wait(lock, [&] { return self.go; });  // whoever sets go has taken it off m_idle
      continue;
    }
    Job* job = m_queue.front().job;
    m_queue.pop_front();
    job->m_state = Job::State::Running;
    lock.unlock();
    job->Work();
    lock.lock();
    // Asked for again while it ran: behind the others, so one busy channel cannot hold a worker.
    if (job->m_state == Job::State::RunningAgain)
      QueueLocked(*job);
    else
      job->m_state = Job::State::Idle;
    if (m_removing > 0) m_done.notify_all();
  }
}

}  // namespace ov
