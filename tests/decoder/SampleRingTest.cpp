// The sound queue between the playback thread and the device: a short lead-in after a clear, no
// silence made up while frames are on their way, the volume applied on the way out, and the time
// each played sample was due. Also
// pictures held back by the sound's latency.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <thread>
#include <vector>

#include "decoder/control/PictureBoard.h"
#include "decoder/control/SampleRing.h"

namespace ov::test {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

std::vector<int16_t> Frame(int16_t value, size_t n = 1600) {
  return std::vector<int16_t>(n, value);
}

// Reads as a device with a large period would: as much as it may, in one go.
std::vector<int16_t> Pull(SampleRing& ring, size_t samples) {
  std::vector<int16_t> out(samples);
  const qint64 got = ring.read(reinterpret_cast<char*>(out.data()), qint64(samples * 2));
  out.resize(got > 0 ? size_t(got) / 2 : 0);
  return out;
}

TEST(SampleRing, StartsAfterAShortLeadInAndNeverPadsBetweenFrames) {
  SampleRing ring;
  const auto t0 = Clock::now();
  constexpr size_t kLead = SampleRing::kLeadIn;
  ring.Push(Frame(1), t0);
  // The first frame plays at once, behind the lead-in's silence only.
  auto got = Pull(ring, 8192);
  ASSERT_EQ(got.size(), kLead + 1600);
  EXPECT_EQ(got.front(), 0);
  EXPECT_EQ(got[kLead - 1], 0);
  EXPECT_EQ(got[kLead], 1);
  EXPECT_EQ(ring.DueTimeOfPulled(kLead), t0);
  // Dry: nothing (the device waits); the next frame follows with no silence in between.
  EXPECT_TRUE(Pull(ring, 160).empty());
  ring.Push(Frame(2), t0 + 200ms);
  got = Pull(ring, 8192);
  ASSERT_EQ(got.size(), 1600u);
  EXPECT_EQ(got.front(), 2);
  // A clear forgets what is queued, and the sound after it starts with a new lead-in.
  ring.Push(Frame(3), t0 + 400ms);
  ring.Clear();
  EXPECT_EQ(ring.Queued(), 0u);
  ring.Push(Frame(5, 800), t0 + 800ms);
  got = Pull(ring, 8192);
  ASSERT_EQ(got.size(), kLead + 800);
  EXPECT_EQ(got.front(), 0);
  EXPECT_EQ(got.back(), 5);
}

TEST(SampleRing, GainActsOnSamplesAlreadyQueued) {
  SampleRing ring;
  const auto t0 = Clock::now();
  ring.Push(Frame(1000), t0);
  ring.Push(Frame(1000), t0 + 200ms);
  ASSERT_EQ(Pull(ring, SampleRing::kLeadIn + 800).size(), SampleRing::kLeadIn + 800);
  ring.SetGain(0.5f);  // queued at full level, played at half from now on
  auto got = Pull(ring, 800);
  ASSERT_EQ(got.size(), 800u);
  EXPECT_EQ(got.front(), 500);
  ring.SetGain(0.0f);  // mute
  got = Pull(ring, 8192);
  ASSERT_EQ(got.size(), 1600u);
  EXPECT_TRUE(std::all_of(got.begin(), got.end(), [](int16_t v) { return v == 0; }));
  ring.SetGain(1.0f);
  ring.Push(Frame(-7), t0 + 400ms);
  EXPECT_EQ(Pull(ring, 10).front(), -7);
}

TEST(SampleRing, ADeviceThatFellBehindSkipsToTheNewestFrame) {
  SampleRing ring;
  const auto t0 = Clock::now();
  for (int i = 0; i < 5; ++i) ring.Push(Frame(int16_t(i + 1)), t0 + i * 200ms);  // 1 s queued
  const auto got = Pull(ring, 160);
  ASSERT_EQ(got.size(), 160u);
  EXPECT_EQ(ring.Queued(), SampleRing::kKeepOnSkip - 160);
  EXPECT_EQ(got.front(), 5);  // the newest frame stays
  EXPECT_EQ(ring.DueTimeOfPulled(0), t0 + 800ms);
}

TEST(SampleRing, KnowsWhenEachPlayedSampleWasDue) {
  SampleRing ring;
  const auto t0 = Clock::now();
  constexpr size_t kLead = SampleRing::kLeadIn;
  const auto lead = std::chrono::nanoseconds(int64_t(kLead) * 125000);
  ring.Push(Frame(1), t0);
  ring.Push(Frame(2), t0 + 200ms);
  ASSERT_EQ(Pull(ring, 1000).size(), 1000u);
  ASSERT_EQ(Pull(ring, 3000).size(), kLead + 2200);
  // The lead-in counts as due just before the sound it delays.
  EXPECT_EQ(ring.DueTimeOfPulled(0), t0 - lead);
  EXPECT_EQ(ring.DueTimeOfPulled(kLead), t0);
  EXPECT_EQ(ring.DueTimeOfPulled(kLead + 800), t0 + 100ms);  // 800 samples into the first frame
  EXPECT_EQ(ring.DueTimeOfPulled(kLead + 1600), t0 + 200ms);
  EXPECT_EQ(ring.DueTimeOfPulled(kLead + 2400), t0 + 300ms);     // across the second read
  EXPECT_FALSE(ring.DueTimeOfPulled(kLead + 3200).has_value());  // not handed out yet
  // Samples dropped by a clear do not shift the times of those after it.
  ring.Push(Frame(3), t0 + 400ms);
  ring.Clear();
  ring.Push(Frame(4), t0 + 1000ms);
  ring.Push(Frame(5), t0 + 1200ms);
  ASSERT_EQ(Pull(ring, 8192).size(), kLead + 3200);
  EXPECT_EQ(ring.DueTimeOfPulled(kLead + 3200 + kLead), t0 + 1000ms);
}

TEST(PictureBoard, HeldBackPicturesComeUpInOrderWhenDue) {
  PictureBoard board;
  std::chrono::milliseconds delay{0};
  board.SetDelaySource([&] { return delay; });
  QImage a(4, 4, QImage::Format_RGB32), b(4, 4, QImage::Format_RGB32);
  a.fill(Qt::red);
  b.fill(Qt::blue);
  ASSERT_TRUE(board.Present(0, 0, a, Clock::now()));
  EXPECT_EQ(board.TakeDirty(), 1u);  // no delay: at once
  delay = 40ms;
  ASSERT_TRUE(board.Present(0, 0, b, Clock::now()));
  EXPECT_EQ(board.TakeDirty(), 0u);
  EXPECT_EQ(board.Get(0).image.pixel(0, 0), QColor(Qt::red).rgb());
  ASSERT_TRUE(board.NextDue().has_value());
  std::this_thread::sleep_until(*board.NextDue() + 1ms);
  EXPECT_EQ(board.TakeDirty(), 1u);
  EXPECT_EQ(board.Get(0).image.pixel(0, 0), QColor(Qt::blue).rgb());
  EXPECT_FALSE(board.NextDue().has_value());
  // A clear drops what is held back; the picture up stays.
  ASSERT_TRUE(board.Present(0, 0, a, Clock::now()));
  board.Advance(0, 1);
  EXPECT_FALSE(board.NextDue().has_value());
  EXPECT_EQ(board.Get(0).image.pixel(0, 0), QColor(Qt::blue).rgb());
}

}  // namespace
}  // namespace ov::test
