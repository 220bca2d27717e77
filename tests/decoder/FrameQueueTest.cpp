// The bounded queue keeps whole reference chains and a flat size whatever the arrival rate.
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "decoder/control/DecodePool.h"
#include "decoder/control/FrameQueue.h"
#include "decoder/control/PacketPool.h"
#include "decoder/control/PaneLayout.h"
#include "decoder/control/VideoCoding.h"

namespace ov {
namespace {

using namespace std::chrono_literals;

EncodedFrame Frame(bool key, int id, size_t bytes = 10) {
  EncodedFrame f;
  f.key = key;
  f.msec = id;
  f.payloadSize = bytes;
  return f;
}

std::vector<int> Drain(FrameQueue& q) {
  std::vector<int> ids;
  while (q.Size() > 0) ids.push_back(q.Pop(0ms)->msec);
  return ids;
}

TEST(FrameQueue, ALandingRunIsNeverDroppedTheSubmitterWaitsForRoom) {
  FrameQueue q(4, 1u << 20, 1ms);
  std::atomic<bool> done{false};
  std::vector<int> got;
  std::thread decoder([&] {
    while (!done.load() || q.Size() > 0) {
      if (auto f = q.Pop(5ms)) {
        got.push_back(f->msec);
        std::this_thread::sleep_for(2ms);  // slower than the submitter
      }
    }
  });
  for (int i = 0; i < 30; ++i) {
    EncodedFrame f = Frame(i == 0, i);
    f.show = false;  // the decode-only run from the key frame ...
    EXPECT_TRUE(q.PushWaiting(std::move(f), 2000ms));
  }
  EXPECT_TRUE(q.Push(Frame(false, 30)));  // ... and the picture it lands on, behind them
  done.store(true);
  decoder.join();
  ASSERT_EQ(got.size(), 31u);
  for (int i = 0; i < 31; ++i) EXPECT_EQ(got[size_t(i)], i);
  EXPECT_EQ(q.Dropped(), 0u);
}

TEST(FrameQueue, DropsUntilTheFirstKeyFrame) {
  FrameQueue q(8);
  EXPECT_FALSE(q.Push(Frame(false, 1)));
  EXPECT_TRUE(q.Push(Frame(true, 2)));
  EXPECT_TRUE(q.Push(Frame(false, 3)));
  EXPECT_EQ(Drain(q), (std::vector<int>{2, 3}));
}

TEST(FrameQueue, FullQueueDropsTheRestOfTheRunThenTakesTheNextKeyFrame) {
  FrameQueue q(3);
  q.Push(Frame(true, 1));
  q.Push(Frame(false, 2));
  q.Push(Frame(false, 3));
  EXPECT_FALSE(q.Push(Frame(false, 4)));  // full
  EXPECT_EQ(q.Pop(0ms)->msec, 1);
  EXPECT_FALSE(q.Push(Frame(false, 5)));  // room again, but 4 is missing: its run is broken
  EXPECT_EQ(Drain(q), (std::vector<int>{2, 3}));
  EXPECT_TRUE(q.Push(Frame(true, 6)));
  EXPECT_TRUE(q.Push(Frame(false, 7)));
  EXPECT_EQ(Drain(q), (std::vector<int>{6, 7}));
  EXPECT_EQ(q.Dropped(), 2u);
}

TEST(FrameQueue, KeyFrameAtAFullQueueReplacesTheBacklog) {
  FrameQueue q(2);
  q.Push(Frame(true, 1));
  q.Push(Frame(false, 2));
  EXPECT_TRUE(q.Push(Frame(true, 3)));
  EXPECT_EQ(Drain(q), (std::vector<int>{3}));
}

TEST(FrameQueue, ByteLimitBoundsMemory) {
  FrameQueue q(100, 1000);
  EXPECT_TRUE(q.Push(Frame(true, 1, 600)));
  EXPECT_FALSE(q.Push(Frame(false, 2, 600)));
  EXPECT_FALSE(q.Push(Frame(true, 3, 2000)));  // can never fit
  EXPECT_LE(q.Bytes(), 1000u);
}

TEST(FrameQueue, ClearAndErrorRecovery) {
  FrameQueue q(8);
  q.Push(Frame(true, 1));
  q.Push(Frame(false, 2));
  q.Push(Frame(true, 3));
  q.Push(Frame(false, 4));
  q.DropToNextKey();  // nothing to drop: 1 is a key frame
  EXPECT_EQ(q.Pop(0ms)->msec, 1);
  q.DropToNextKey();  // after a decode error of 1: skip 2
  EXPECT_EQ(Drain(q), (std::vector<int>{3, 4}));
  q.DropToNextKey();  // empty: wait for a key frame
  EXPECT_FALSE(q.Push(Frame(false, 5)));
  q.Push(Frame(true, 6));
  q.Clear();
  EXPECT_EQ(q.Size(), 0u);
  EXPECT_FALSE(q.Push(Frame(false, 7)));
  q.Stop();
  EXPECT_FALSE(q.Pop(0ms).has_value());
  EXPECT_FALSE(q.Push(Frame(true, 8)));
}

TEST(FrameQueue, ABacklogOlderThanTheBoundDropsToTheNextKeyFrame) {
  FrameQueue q(4, 1000, 30ms);
  // Frames (their msec 20 apart) taken as they come flow through the ring in order, however
  // often it wraps.
  q.Push(Frame(true, 0));
  for (int i = 1; i < 10; ++i) {
    EXPECT_TRUE(q.Push(Frame(false, i * 20)));
    EXPECT_EQ(q.Pop(0ms)->msec, (i - 1) * 20);
  }
  std::this_thread::sleep_for(40ms);        // frame 180 has waited too long, but only
  EXPECT_TRUE(q.Push(Frame(false, 200)));   // 20 ms of recording are queued: not behind yet
  EXPECT_FALSE(q.Push(Frame(false, 220)));  // 40 ms: the decoder fell behind real time
  EXPECT_FALSE(q.Push(Frame(false, 240)));  // the rest of the run goes too
  EXPECT_TRUE(q.Push(Frame(true, 260)));    // and the key frame replaces the stale backlog
  EXPECT_TRUE(q.Push(Frame(false, 280)));
  EXPECT_EQ(Drain(q), (std::vector<int>{260, 280}));
  // Frames sent faster than real time (a burst of one instant) wait within the count bound.
  q.Push(Frame(true, 300));
  q.Push(Frame(false, 300));
  std::this_thread::sleep_for(40ms);
  EXPECT_TRUE(q.Push(Frame(false, 301)));
}

TEST(FrameQueue, PicturesQueuedBehindALandingRunAreNotTakenForABacklog) {
  // A resume after a paused move: the decode-only run from the key frame, then the pictures of
  // 1X play queued behind it while the decoder is still busy with the run (here: for longer than
  // the age bound). Once the run is decoded the pictures are due, not late: none may be dropped,
  // which would hold the picture up to the next key frame.
  FrameQueue q(25, 1u << 20, 30ms);
  for (int i = 0; i < 5; ++i) {
    EncodedFrame f = Frame(i == 0, i * 40);
    f.show = false;
    ASSERT_TRUE(q.PushWaiting(std::move(f), 100ms));
  }
  EXPECT_TRUE(q.Push(Frame(false, 200)));
  EXPECT_TRUE(q.Push(Frame(false, 240)));
  std::this_thread::sleep_for(40ms);  // the worker decodes the run (or another channel's)
  for (int i = 0; i < 5; ++i) EXPECT_FALSE(q.Pop(0ms)->show);
  EXPECT_TRUE(q.Push(Frame(false, 280)));
  EXPECT_TRUE(q.Push(Frame(false, 320)));
  EXPECT_EQ(Drain(q), (std::vector<int>{200, 240, 280, 320}));
  EXPECT_EQ(q.Dropped(), 0u);
  // The same after a run cut short by a decode error: its pictures start their wait afresh too.
  for (int i = 0; i < 3; ++i) {
    EncodedFrame f = Frame(i == 0, 400 + i * 40);
    f.show = false;
    ASSERT_TRUE(q.PushWaiting(std::move(f), 100ms));
  }
  EXPECT_TRUE(q.Push(Frame(true, 520)));
  EXPECT_TRUE(q.Push(Frame(false, 560)));
  std::this_thread::sleep_for(40ms);
  EXPECT_FALSE(q.Pop(0ms)->show);
  q.DropToNextKey();  // the run's key frame did not decode
  EXPECT_TRUE(q.Push(Frame(false, 600)));
  EXPECT_TRUE(q.Push(Frame(false, 640)));
  EXPECT_EQ(Drain(q), (std::vector<int>{520, 560, 600, 640}));
  // Pictures that fell behind with no run before them still go to the next key frame.
  std::this_thread::sleep_for(40ms);
  EXPECT_TRUE(q.Push(Frame(false, 680)));
  std::this_thread::sleep_for(40ms);
  EXPECT_FALSE(q.Push(Frame(false, 720)));
}

TEST(PacketPool, CopiesPayloadWithZeroPaddingAndReusesBuffers) {
  PacketPool pool;
  for (size_t size : {size_t(1), size_t(4000), size_t(70000), PacketPool::kMaxPooled + 1}) {
    std::vector<uint8_t> src(size);
    for (size_t i = 0; i < size; ++i) src[i] = uint8_t(i * 31 + 7);
    PacketBuffer b = pool.Copy(src.data(), size);
    ASSERT_TRUE(b) << size;
    EXPECT_TRUE(std::equal(src.begin(), src.end(), b.data())) << size;
    // The decoder's bitstream reader may read past the payload: that tail must be zero.
    for (size_t i = 0; i < 64; ++i) ASSERT_EQ(b.data()[size + i], 0) << size;
  }
  EXPECT_FALSE(pool.Copy(nullptr, 0));
  // Once a buffer comes back, the next payload of its size class gets it again.
  std::vector<uint8_t> a(12000, 0xAB);
  const uint8_t* first = nullptr;
  {
    PacketBuffer b = pool.Copy(a.data(), 9000);
    first = b.data();
  }
  PacketBuffer again = pool.Copy(a.data(), 12000);
  EXPECT_EQ(again.data(), first);
  // A buffer outlives its pool while something (a queued frame, the decoder) still holds it.
  auto shortLived = std::make_unique<PacketPool>();
  PacketBuffer kept = shortLived->Copy(a.data(), 9000);
  shortLived.reset();
  EXPECT_EQ(kept.data()[8999], 0xAB);
}

TEST(FrameQueue, WakeEndsAWaitWithoutLosingFrames) {
  FrameQueue q(8);
  std::optional<EncodedFrame> got = Frame(true, 99);
  std::thread waiter([&] { got = q.Pop(); });  // blocks: nothing queued
  std::this_thread::sleep_for(20ms);
  q.Wake();
  waiter.join();
  EXPECT_FALSE(got.has_value());
  // A wake that comes while frames are taken without waiting is kept for the next wait.
  q.Push(Frame(true, 1));
  q.Push(Frame(false, 2));
  q.Wake();
  EXPECT_EQ(q.TryPop()->msec, 1);
  EXPECT_FALSE(q.Pop().has_value());
  EXPECT_EQ(q.Pop()->msec, 2);
  EXPECT_FALSE(q.TryPop().has_value());
  std::thread stopper([&] {
    std::this_thread::sleep_for(20ms);
    q.Stop();
  });
  EXPECT_FALSE(q.Pop().has_value());
  stopper.join();
}

TEST(VideoCoding, RecognisesKeyFrameStartCodes) {
  auto detect = [](std::vector<uint8_t> v) { return DetectCoding(v); };
  EXPECT_EQ(detect({0, 0, 0, 1, 0x67, 0x42}), VideoCoding::H264);
  EXPECT_EQ(detect({0, 0, 1, 0x67, 0x42}), VideoCoding::H264);
  EXPECT_EQ(detect({0, 0, 0, 1, 0x65}), VideoCoding::Unknown);  // IDR slice without its SPS
  EXPECT_EQ(detect({0, 0, 1, 0xB0, 0x01}), VideoCoding::Mpeg4);
  EXPECT_EQ(detect({0, 0, 1, 0x00, 0x00}), VideoCoding::Mpeg4);
  EXPECT_EQ(detect({0, 0, 1, 0xB6}), VideoCoding::Unknown);
  EXPECT_EQ(detect({0, 0, 1}), VideoCoding::Unknown);
  EXPECT_EQ(detect({}), VideoCoding::Unknown);
}

TEST(PaneLayout, GridsTileTheAreaAndPicturesKeepTheirAspect) {
  const QSize area(704, 576);
  for (int n : {1, 4, 9, 16}) {
    int covered = 0;
    for (int i = 0; i < n; ++i) {
      const QRect r = pane::PaneRect(area, n, i);
      covered += r.width() * r.height();
      EXPECT_EQ(pane::PaneAt(area, n, r.center()), i);
    }
    EXPECT_EQ(covered, 704 * 576) << n;
    EXPECT_TRUE(pane::PaneRect(area, n, n).isNull());
  }
  EXPECT_EQ(pane::PaneRect(area, 4, 3), QRect(352, 288, 352, 288));
  EXPECT_EQ(pane::PaneAt(area, 4, QPoint(704, 0)), -1);
  EXPECT_EQ(pane::NormaliseCount(0), 1);
  EXPECT_EQ(pane::NormaliseCount(6), 9);
  EXPECT_EQ(pane::NormaliseCount(64), 16);
  EXPECT_EQ(pane::FitSize(QSize(400, 100), 2.0), QSize(200, 100));
  EXPECT_EQ(pane::FitSize(QSize(100, 400), 2.0), QSize(100, 50));
  EXPECT_TRUE(pane::FitSize(QSize(0, 10), 1.0).isEmpty());
}

// A job that counts its runs and how many jobs ran at once; each run can be held until released.
struct CountingJob : DecodePool::Job {
  std::atomic<int>* running = nullptr;
  std::atomic<int>* most = nullptr;
  std::atomic<int> runs{0};
  int left = 0;  // runs still wanted: each asks for one more
  DecodePool* pool = nullptr;
  std::function<void()> during;
  void Work() override {
    const int now = ++*running;
    int seen = most->load();
    while (now > seen && !most->compare_exchange_weak(seen, now)) {
    }
    if (during) during();
    std::this_thread::yield();
    --*running;
    ++runs;
    if (--left > 0) pool->Ready(*this);
  }
};

TEST(DecodePool, RunsEveryJobAsOftenAsAskedAndNeverMoreAtOnceThanItsWorkers) {
  DecodePool pool(2);
  EXPECT_EQ(pool.Workers(), 2u);
  std::atomic<int> running{0}, most{0};
  std::vector<std::unique_ptr<CountingJob>> jobs;
  for (int i = 0; i < 8; ++i) {
    auto j = std::make_unique<CountingJob>();
    j->running = &running;
    j->most = &most;
    j->left = 200;
    j->pool = &pool;
    jobs.push_back(std::move(j));
  }
  // Asked for from several threads at once, and again by themselves while running.
  std::vector<std::thread> askers;
  for (int t = 0; t < 4; ++t)
    askers.emplace_back([&, t] {
      for (int i = t; i < 8; i += 4) pool.Ready(*jobs[size_t(i)], i % 2 == 0);
    });
  for (auto& t : askers) t.join();
  for (auto& j : jobs) {
    for (int i = 0; i < 2000 && j->runs.load() < 200; ++i) std::this_thread::sleep_for(1ms);
    EXPECT_EQ(j->runs.load(), 200);
  }
  EXPECT_LE(most.load(), 2);
  EXPECT_GT(most.load(), 0);
  for (auto& j : jobs) pool.Remove(*j);
}

TEST(DecodePool, ShownJobsGoBeforeHiddenOnesAndAJobAskedForWhileRunningRunsAgain) {
  DecodePool pool(1);
  std::atomic<int> running{0}, most{0};
  std::mutex m;
  std::condition_variable cv;
  bool release = false, started = false;
  std::vector<char> order;
  CountingJob blocker, hidden, shown1, shown2;
  for (CountingJob* j : {&blocker, &hidden, &shown1, &shown2}) {
    j->running = &running;
    j->most = &most;
    j->pool = &pool;
  }
  blocker.during = [&] {
    std::unique_lock lock(m);
    order.push_back('b');
    started = true;
    cv.notify_all();
    cv.wait(lock, [&] { return release; });
  };
  hidden.during = [&] {
    std::lock_guard lock(m);
    order.push_back('h');
  };
  shown1.during = [&] {
    std::lock_guard lock(m);
    order.push_back('s');
  };
  shown2.during = [&] {
    std::lock_guard lock(m);
    order.push_back('t');
  };
  pool.Ready(blocker);
  {
    std::unique_lock lock(m);
    cv.wait(lock, [&] { return started; });
  }
  pool.Ready(hidden, false);
  pool.Ready(shown1);
  pool.Ready(blocker);  // running: it runs once more, after the others queued before
  pool.Ready(shown2);
  pool.Ready(shown1);  // already queued: once is enough
  {
    std::lock_guard lock(m);
    release = true;
  }
  cv.notify_all();
  for (int i = 0; i < 2000 && blocker.runs.load() < 2; ++i) std::this_thread::sleep_for(1ms);
  for (CountingJob* j : {&blocker, &hidden, &shown1, &shown2}) pool.Remove(*j);
  // Shown jobs keep their order among themselves; the hidden one waits for them, and the job
  // asked for again while it ran goes behind the shown ones (it was shown too).
  EXPECT_EQ(order, (std::vector<char>{'b', 's', 't', 'b', 'h'}));
}

TEST(DecodePool, RemoveWaitsForARunningJobAndTakesAQueuedOneOff) {
  DecodePool pool(1);
  std::atomic<int> running{0}, most{0};
  std::atomic<bool> inside{false}, finished{false};
  CountingJob slow, queued;
  for (CountingJob* j : {&slow, &queued}) {
    j->running = &running;
    j->most = &most;
    j->pool = &pool;
  }
  slow.during = [&] {
    inside = true;
    std::this_thread::sleep_for(50ms);
    finished = true;
  };
  pool.Ready(slow);
  while (!inside) std::this_thread::yield();
  pool.Ready(queued);
  pool.Remove(queued);  // still queued behind the slow one: never runs
  pool.Remove(slow);
  EXPECT_TRUE(finished.load());
  std::this_thread::sleep_for(20ms);
  EXPECT_EQ(queued.runs.load(), 0);
}

}  // namespace
}  // namespace ov
