// The playback loop over fixture files on the virtual clock: merge order, pacing and texts, the
// frame size limit, I-Frame Only, sound, the end of the recording and reverse play.
#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>

#include "archive/HeaderReader.h"
#include "tests/playback/TestRig.h"

namespace ov::test {
namespace {

int64_t KeyOf(const Shown& s) { return int64_t(s.time - kT0) * 1000 + s.ms; }

// A source that notes the offset of every read made through it.
struct Counting final : IFileSource {
  Counting(std::unique_ptr<IFileSource> s, std::shared_ptr<std::vector<uint64_t>> log,
           std::shared_ptr<std::mutex> m)
      : src(std::move(s)), reads(std::move(log)), mutex(std::move(m)) {}
  uint64_t Size() const override { return src->Size(); }
  size_t ReadAt(uint64_t o, void* b, size_t n) override {
    std::lock_guard lock(*mutex);
    reads->push_back(o);
    return src->ReadAt(o, b, n);
  }
  std::unique_ptr<IFileSource> src;
  std::shared_ptr<std::vector<uint64_t>> reads;
  std::shared_ptr<std::mutex> mutex;
};

// Opens the recording for the rig with the playback's reads logged.
template <typename Bytes>
bool OpenCounting(Rig& rig, const Bytes& bytes, std::shared_ptr<std::vector<uint64_t>> reads,
                  std::shared_ptr<std::mutex> mutex) {
  return rig.d
      .OpenSources(
          std::make_unique<Counting>(Fixture::Source(bytes), std::move(reads), std::move(mutex)),
          Fixture::Source(bytes))
      .accepted;
}

TEST(PlaybackLoop, MergesChannelsAndSoundByKeyAndShowsEachFrameOnTime) {
  Fixture fx(2);
  // Forward play ends at each channel's last key frame: let the runs end on one.
  fx.Video(0, Fixture::Regular(51, 0, 40, 25));
  auto late = Fixture::Regular(51, 20, 40, 25);  // channel 1 runs 20 ms behind channel 0
  for (auto& f : late) f.time = kT0 + int32_t(f.msec / 1000);
  fx.Video(1, late);
  fx.Audio(0, Fixture::Sound(2, 200));
  Rig rig;
  ASSERT_TRUE(rig.Open(fx));
  rig.Do(&PlaybackEngine::OnPlay);
  ASSERT_TRUE(rig.d.RunToEnd());
  const auto shown = rig.Frames();
  ASSERT_EQ(shown.size(), 51u + 51u + 10u);  // the frame held back at the end is shown too
  for (size_t i = 1; i < shown.size(); ++i) {
    EXPECT_LE(KeyOf(shown[i - 1]), KeyOf(shown[i])) << "frame " << i;
    // On the virtual clock every frame appears exactly when its key says.
    if (i + 1 < shown.size()) {
      EXPECT_EQ(shown[i].t, KeyOf(shown[i])) << "frame " << i;
    }
  }
  EXPECT_EQ(rig.S().m_PlayState.load(), TransportState::Paused);
  EXPECT_EQ(rig.S().m_AtEnd.load(), 1);
}

TEST(PlaybackLoop, WaitsAndSecondTextsAroundASecondBoundary) {
  Fixture fx(1);
  fx.Video(0, {{kT0, 1900, 64, 1}, {kT0 + 1, 2100, 64, 1}, {kT0 + 1, 2140, 64, 1}});
  Rig rig;
  ASSERT_TRUE(rig.Open(fx));
  rig.Do(&PlaybackEngine::OnPlay);
  rig.d.Wait(1000);
  const auto shown = rig.Frames();
  ASSERT_GE(shown.size(), 2u);
  EXPECT_EQ(shown[0].t, 0);
  EXPECT_EQ(shown[1].t, 200);  // 100 ms to the end of second 1, then 100 ms into second 2
  // The date line changes with the first picture of a second, and stays after the end.
  const auto osd = rig.Texts(ctl::kOsd);
  ASSERT_GE(osd.size(), 2u);
  EXPECT_EQ(osd[osd.size() - 2], (std::pair<int64_t, std::string>{0, "2024-03-01 12:00:00"}));
  EXPECT_EQ(osd.back(), (std::pair<int64_t, std::string>{200, "2024-03-01 12:00:01"}));
}

TEST(PlaybackLoop, FastForwardKeepsTheChosenSpeedOverManyShortGaps) {
  Fixture fx(1);
  fx.Video(0, Fixture::Regular(1000, 0, 40, 25));  // 40 s of frames 40 ms apart
  Rig rig;
  ASSERT_TRUE(rig.Open(fx));
  rig.Do(&PlaybackEngine::OnPlay);
  for (int i = 0; i < 5; ++i) rig.Do(&PlaybackEngine::OnFF);  // 2X, 4X, 8X, 16X, 32X
  ASSERT_EQ(rig.S().m_Speed.load(), 32);
  rig.Mark();
  rig.d.Wait(1000);
  const auto shown = rig.Frames();
  ASSERT_FALSE(shown.empty());
  // One second at 32X covers 32 s of recording, although every single wait (1.25 ms) is too short
  // to sleep.
  const int64_t covered = KeyOf(shown.back()) - KeyOf(shown.front());
  EXPECT_NEAR(double(covered), 32000.0, 200.0);
}

TEST(PlaybackLoop, FrameSizeLimitIFrameOnlyAndSoundOutsidePlay) {
  Fixture fx(1);
  auto v = Fixture::Regular(7, 0, 200, 3);
  v[1].size = 131072;  // the largest frame that fits a slot as first made
  v[2].size = 131073;  // grows the slot
  fx.Video(0, v);
  fx.Audio(0, Fixture::Sound(2, 250));
  // The offsets the playback reads from, to tell whether sound payloads are read.
  auto reads = std::make_shared<std::vector<uint64_t>>();
  auto readsMutex = std::make_shared<std::mutex>();
  const auto bytes = fx.Build();
  Rig rig;
  ASSERT_TRUE(OpenCounting(rig, bytes, reads, readsMutex));
  rig.Mark();
  const auto soundPayloadReads = [&] {
    std::lock_guard lock(*readsMutex);
    int n = 0;
    for (uint64_t o : *reads)
      for (size_t i = 0; i < 2; ++i) n += o == fx.AudioAt(0, i) + kYskFrameHeaderSize;
    reads->clear();
    return n;
  };
  rig.Do(&PlaybackEngine::OnPlay);
  ASSERT_TRUE(rig.d.RunToEnd());
  EXPECT_EQ(soundPayloadReads(), 2);
  std::vector<int32_t> sizes;
  for (const auto& s : rig.Frames())
    if (!s.audio) sizes.push_back(s.size);
  EXPECT_EQ(sizes, (std::vector<int32_t>{64, 131072, 131073, 64, 64, 64, 64}));

  // I-Frame Only: every frame is still read and paced, only key frames reach the decoder.
  rig.d.Do([](PlaybackEngine& e) { e.SetIFrameOnly(true); });
  rig.Mark();
  rig.Do(&PlaybackEngine::OnPlay);
  ASSERT_TRUE(rig.d.RunToEnd());
  std::vector<std::pair<int64_t, int32_t>> keys;
  for (const auto& s : rig.Frames())
    if (!s.audio) keys.emplace_back(s.t, s.type);
  EXPECT_EQ(keys, (std::vector<std::pair<int64_t, int32_t>>{{0, 1}, {600, 1}, {1200, 1}}));

  // At 2X (state 23) sound is not handed over, so its frames are passed unread and no volume is
  // set for them; the pictures are all shown.
  rig.d.Do([](PlaybackEngine& e) { e.SetIFrameOnly(false); });
  rig.Do(&PlaybackEngine::OnPlay);
  rig.Do(&PlaybackEngine::OnFF);
  rig.Mark();
  soundPayloadReads();
  ASSERT_TRUE(rig.d.RunToEnd());
  for (const auto& s : rig.Frames()) EXPECT_EQ(s.audio, 0);
  // At most the frame read while Play still held (before the mark) meets the new speed.
  EXPECT_LE(rig.Count(dispid::SetVolume), 1);
  EXPECT_EQ(soundPayloadReads(), 0);
}

// 40 minutes of one camera with sound at 8 bytes a millisecond: fast forward or rewind over most
// of it leaves the sound further off than a search walks (16 MiB).
constexpr int kLongSeconds = 2400;
Fixture LongWithSound() {
  Fixture fx(1);
  fx.Video(0, Fixture::Regular(kLongSeconds * 2, 0, 500, 2));
  fx.Audio(0, Fixture::Sound(kLongSeconds, 125, 1000));
  return fx;
}

// Pause and Play, then three seconds of it: the keys of the pictures and of the sound handed over.
struct Heard {
  std::vector<int64_t> pictures, sounds;
};
Heard PauseAndPlayThreeSeconds(Rig& rig) {
  rig.Do(&PlaybackEngine::OnPlay);
  rig.Do(&PlaybackEngine::OnPlay);
  rig.Mark();
  rig.d.Wait(3000);
  Heard h;
  for (const auto& f : rig.Frames()) (f.audio ? h.sounds : h.pictures).push_back(KeyOf(f));
  return h;
}

TEST(PlaybackLoop, FastForwardReadsNoSoundAndPlayAfterItHearsThePicturesMoment) {
  Fixture fx = LongWithSound();
  const auto bytes = fx.Build();
  const uint64_t soundFrom = fx.AudioAt(0, 0);
  const uint64_t soundTo = fx.AudioAt(0, size_t(kLongSeconds) * 8 - 1) + kYskFrameHeaderSize + 1000;
  auto reads = std::make_shared<std::vector<uint64_t>>();
  auto readsMutex = std::make_shared<std::mutex>();
  const auto soundReads = [&] {
    std::lock_guard lock(*readsMutex);
    const auto n = std::count_if(reads->begin(), reads->end(),
                                 [&](uint64_t o) { return o >= soundFrom && o < soundTo; });
    reads->clear();
    return n;
  };
  Rig rig;
  ASSERT_TRUE(OpenCounting(rig, bytes, reads, readsMutex));
  rig.Do(&PlaybackEngine::OnPlay);
  rig.d.Wait(1000);
  EXPECT_GT(soundReads(), 0);                                 // 1X reads its sound
  for (int i = 0; i < 5; ++i) rig.Do(&PlaybackEngine::OnFF);  // 2X ... 32X
  ASSERT_EQ(rig.S().m_Speed.load(), 32);
  rig.Mark();
  soundReads();
  rig.d.Wait(65000);  // some 35 minutes of recording
  EXPECT_EQ(soundReads(), 0);
  const auto ff = rig.Frames();
  ASSERT_FALSE(ff.empty());
  EXPECT_GT(KeyOf(ff.back()), 1800 * 1000);
  for (const auto& f : ff) EXPECT_EQ(f.audio, 0);

  // Pause and Play: the sound comes back with the picture, neither long past nor long after it.
  const auto [pictures, sounds] = PauseAndPlayThreeSeconds(rig);
  ASSERT_FALSE(pictures.empty());
  ASSERT_GE(sounds.size(), 16u);  // about 3 seconds of it
  EXPECT_TRUE(std::is_sorted(sounds.begin(), sounds.end()));
  EXPECT_NEAR(double(sounds.front()), double(pictures.front()), 500.0);
  EXPECT_NEAR(double(sounds.back()), double(pictures.back()), 500.0);
  // Found again where the pictures are, not by walking on from where fast forward left it (the
  // landing second's sound before the picture is passed on its headers, as after any move).
  EXPECT_LE(soundReads(), int64_t(sounds.size()) + 16);
}

TEST(PlaybackLoop, PlayAfterALongRewindHearsThePicturesMoment) {
  // Reverse play leaves the sound where the rewind began: before the mend the search walked back
  // from there, stopped 16 MiB short, and Play stayed silent until the pictures caught up.
  Fixture fx = LongWithSound();
  Rig rig;
  ASSERT_TRUE(rig.Open(fx));
  rig.Seek(2300);
  rig.Do(&PlaybackEngine::OnPlay);
  rig.d.Wait(1000);
  for (int i = 0; i < 6; ++i) rig.Do(&PlaybackEngine::OnRew);  // 1X ... 32X
  ASSERT_EQ(rig.S().m_Speed.load(), -32);
  rig.Mark();
  rig.d.Wait(65000);
  const auto back = rig.Frames();
  ASSERT_FALSE(back.empty());
  EXPECT_LT(KeyOf(back.back()), 500 * 1000);
  const auto [pictures, sounds] = PauseAndPlayThreeSeconds(rig);
  ASSERT_FALSE(pictures.empty());
  ASSERT_GE(sounds.size(), 16u);
  EXPECT_NEAR(double(sounds.front()), double(pictures.front()), 500.0);
}

TEST(PlaybackLoop, ASingleKeyFrameIsShownAndPlayStartsOverAfterTheEnd) {
  Fixture fx(1);
  fx.Video(0, {{kT0, 1000, 64, 1}});
  Rig rig;
  ASSERT_TRUE(rig.Open(fx));
  for (int round = 0; round < 2; ++round) {
    rig.Mark();
    rig.Do(&PlaybackEngine::OnPlay);
    ASSERT_TRUE(rig.d.RunToEnd());
    ASSERT_EQ(rig.Frames().size(), 1u) << "round " << round;
    EXPECT_EQ(rig.S().m_AtEnd.load(), 1);
    EXPECT_EQ(rig.S().m_PlayState.load(), TransportState::Paused);
  }
}

TEST(PlaybackLoop, ReversePlaysKeyFramesDownwardsAndEnds) {
  Fixture fx(2);
  fx.Video(0, Fixture::Regular(126, 0, 40, 25));  // key frames at 0, 1, 2, 3, 4, 5 s
  auto ch1 = Fixture::Regular(76, 2000, 40, 25);  // channel 1 starts at 2 s
  for (auto& f : ch1) f.time = kT0 + int32_t(f.msec / 1000);
  fx.Video(1, ch1);
  Rig rig;
  ASSERT_TRUE(rig.Open(fx));
  rig.Do(&PlaybackEngine::OnPlay);
  rig.d.Wait(3500);
  rig.Mark();
  rig.Do(&PlaybackEngine::OnRew);
  ASSERT_TRUE(rig.d.RunToEnd(60000));  // before the mend a run's first frame repeated for ever
  std::vector<std::pair<int32_t, int64_t>> shown;
  for (const auto& s : rig.Frames()) shown.emplace_back(s.ch, KeyOf(s));
  // The search walks both channels back onto the key frame of second 3; from there each steps
  // from key frame to key frame, and channel 1 drops out after its first frame.
  const std::vector<std::pair<int32_t, int64_t>> want{{0, 3000}, {1, 3000}, {0, 2000},
                                                      {1, 2000}, {0, 1000}, {0, 0}};
  EXPECT_EQ(shown, want);
  EXPECT_EQ(rig.S().m_AtEnd.load(), 1);
}

TEST(PlaybackLoop, ATruncatedPayloadEndsItsChannel) {
  Fixture fx(1);
  fx.Video(0, Fixture::Regular(10, 0, 40, 3, 200));  // the last frame is a key frame
  Rig rig;
  ASSERT_TRUE(rig.Open(fx, 100));  // the last payload is cut in half
  rig.Do(&PlaybackEngine::OnPlay);
  ASSERT_TRUE(rig.d.RunToEnd(10000));
  const auto shown = rig.Frames();
  EXPECT_EQ(shown.size(), 9u);
  for (const auto& s : shown) EXPECT_EQ(s.size, 200);
}

// Frames with no payload hand nothing over. A hole of zero bytes reads as such frames, 20 bytes
// apart: a long one ends its channel at once, and the other channels play on.
TEST(PlaybackLoop, EmptyFramesAreNotShownAndALongZeroHoleEndsItsChannel) {
  Fixture fx(2);
  auto v = Fixture::Regular(50, 0, 40, 10);
  v[12].size = v[13].size = 0;
  const std::vector<Fx> hole((kEmptyFrameReach / kYskFrameHeaderSize) + 10,
                             Fx{0, 0, 0, 0, 0, 0xFFFFFFFF});  // 20 zero bytes each
  v.insert(v.begin() + 35, hole.begin(), hole.end());
  fx.Video(0, v);
  fx.Video(1, Fixture::Regular(50, 20, 40, 10));
  Rig rig;
  ASSERT_TRUE(rig.Open(fx));
  rig.Do(&PlaybackEngine::OnPlay);
  ASSERT_TRUE(rig.d.RunToEnd(10000));
  const auto shown = rig.Frames();
  int perChannel[2] = {0, 0};
  for (const auto& s : shown) {
    EXPECT_EQ(s.size, 64) << "channel " << s.ch << " at " << s.t;
    ++perChannel[s.ch];
  }
  EXPECT_EQ(perChannel[0], 35 - 2);  // frames after the hole are not reached
  EXPECT_EQ(perChannel[1], 50);
  EXPECT_EQ(rig.S().m_AtEnd.load(), 1);
}

TEST(PlaybackLoop, ASeekDuringALongWaitShowsTheNewPositionAtOnce) {
  Fixture fx(1);
  auto v = Fixture::Regular(3, 0, 40, 1);
  auto tail = Fixture::Regular(120, 0, 1000, 1);
  for (auto& f : tail) f.msec += 60000, f.time += 60;  // one frame a second from 60 s on
  v.insert(v.end(), tail.begin(), tail.end());
  fx.Video(0, v);
  Rig rig;
  ASSERT_TRUE(rig.Open(fx));
  rig.Do(&PlaybackEngine::OnPlay);
  rig.d.Wait(500);  // the loop now waits for the frame at 60 s
  rig.Mark();
  rig.Seek(100);
  rig.d.Wait(50);
  const auto shown = rig.Frames();
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown[0].t, 0);
  EXPECT_GE(shown[0].time, kT0 + 99);
}

}  // namespace
}  // namespace ov::test

namespace ov::test {
namespace {

TEST(PlaybackLoop, SoundStaysWithVideoWhenTheRecorderClockStartsLate) {
  // The recorder's running clock stands at an hour when the recording starts; sound carries only
  // wall-clock seconds. Both must still play side by side from the first second.
  Fixture fx(1);
  auto video = Fixture::Regular(51, 3600000, 40, 25);
  for (auto& f : video) f.time = kT0 + int32_t((f.msec - 3600000) / 1000);
  fx.Video(0, video);
  fx.Audio(0, Fixture::Sound(2, 200));
  Rig rig;
  ASSERT_TRUE(rig.Open(fx));
  rig.Do(&PlaybackEngine::OnPlay);
  ASSERT_TRUE(rig.d.RunToEnd());
  const auto shown = rig.Frames();
  int64_t firstSound = -1;
  for (const auto& f : shown)
    if (f.audio == 1) {
      firstSound = f.t;
      break;
    }
  EXPECT_GE(firstSound, 0);
  EXPECT_LT(firstSound, 200);  // not after the video, nor an hour away
  for (const auto& [t, text] : rig.Texts(ctl::kTotalTime))
    EXPECT_EQ(text.rfind("00 : 00 : 0", 0), 0u) << text << " at " << t;
}

}  // namespace
}  // namespace ov::test

namespace ov::test {
namespace {

// Counts the reads made through it.
class CountingFile final : public IFileSource {
 public:
  CountingFile(std::shared_ptr<std::vector<uint8_t>> bytes, std::atomic<int>& reads)
      : m_file(std::move(bytes)), m_reads(reads) {}
  uint64_t Size() const override { return m_file.Size(); }
  size_t ReadAt(uint64_t offset, void* buffer, size_t n) override {
    m_reads.fetch_add(1);
    return m_file.ReadAt(offset, buffer, n);
  }

 private:
  MemoryFile m_file;
  std::atomic<int>& m_reads;
};

TEST(PlaybackLoop, ReadsOnlyTheChannelThatMovedAndStillMergesInOrder) {
  // Sixteen channels of video and sound spread over each frame interval, as a recorder writes them.
  Fixture fx(16);
  for (int n = 0; n < 16; ++n) {
    auto v = Fixture::Regular(101, uint32_t(n * 3), 40, 25);
    for (auto& f : v) f.time = kT0 + int32_t(f.msec / 1000);
    fx.Video(n, v);
    fx.Audio(n, Fixture::Sound(4, 200));
  }
  auto bytes = fx.Build();
  std::atomic<int> reads{0};
  Rig rig;
  ASSERT_TRUE(
      rig.d.OpenSources(std::make_unique<CountingFile>(bytes, reads), Fixture::Source(bytes))
          .accepted);
  rig.Mark();
  rig.Do(&PlaybackEngine::OnPlay);
  rig.d.Wait(1000);
  const int before = reads.load();
  const size_t shownBefore = rig.Frames().size();
  rig.d.Wait(2000);
  const int frames = int(rig.Frames().size() - shownBefore);
  ASSERT_GT(frames, 16 * 40);
  // One read per frame: its payload together with the header that follows it.
  EXPECT_LE(reads.load() - before, frames + 2);
  // A jump re-reads every channel once and goes on in key order from the new place.
  rig.Mark();
  rig.Seek(3);
  rig.d.Wait(500);
  const auto shown = rig.Frames();
  ASSERT_GT(shown.size(), 16u * 10u);
  EXPECT_GE(shown[0].time, kT0 + 3);
  for (size_t i = 1; i < shown.size(); ++i) ASSERT_LE(KeyOf(shown[i - 1]), KeyOf(shown[i])) << i;
}

// An open that is rejected closes the file before it; the loop must not keep it open.
TEST(PlaybackLoop, LetsGoOfAFileTheNextOpenClosed) {
  Fixture fx(1);
  fx.Video(0, Fixture::Regular(100, 0, 40, 25));
  Rig rig;
  auto bytes = fx.Build();
  ASSERT_TRUE(rig.d.OpenSources(Fixture::Source(bytes), Fixture::Source(bytes)).accepted);
  rig.Do(&PlaybackEngine::OnPlay);
  rig.d.Wait(1000);
  ASSERT_FALSE(rig.Frames().empty());
  auto bad = std::make_shared<std::vector<uint8_t>>(3000, uint8_t{0});
  (*bad)[2] = 7;  // no known layout
  EXPECT_FALSE(rig.d.OpenSources(Fixture::Source(bad), Fixture::Source(bad)).accepted);
  rig.d.Wait(100);
  EXPECT_EQ(bytes.use_count(), 1);
}

}  // namespace
}  // namespace ov::test
