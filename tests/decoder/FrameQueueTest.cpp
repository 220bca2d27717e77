// The bounded queue keeps whole reference chains and a flat size whatever the arrival rate.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "decoder/control/DecodeGate.h"
#include "decoder/control/FrameQueue.h"
#include "decoder/control/PaneLayout.h"
#include "decoder/control/VideoCoding.h"

namespace ov {
namespace {

using namespace std::chrono_literals;

EncodedFrame Frame(bool key, int id, size_t bytes = 10) {
  EncodedFrame f;
  f.key = key;
  f.msec = id;
  f.data.assign(bytes, 0);
  f.payloadSize = bytes;
  return f;
}

std::vector<int> Drain(FrameQueue& q) {
  std::vector<int> ids;
  while (q.Size() > 0) ids.push_back(q.Pop(0ms)->msec);
  return ids;
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

TEST(DecodeGate, NeverLetsMoreThanItsSlotsRunAtOnce) {
  DecodeGate gate(2);
  std::atomic<int> running{0}, most{0}, done{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 8; ++t)
    threads.emplace_back([&] {
      for (int i = 0; i < 200; ++i) {
        DecodeGate::Hold hold(gate);
        const int now = ++running;
        int seen = most.load();
        while (now > seen && !most.compare_exchange_weak(seen, now)) {
        }
        std::this_thread::yield();
        --running;
        ++done;
      }
    });
  for (auto& t : threads) t.join();
  EXPECT_EQ(done.load(), 1600);
  EXPECT_LE(most.load(), 2);
  EXPECT_EQ(most.load() > 0, true);
}

}  // namespace
}  // namespace ov
