#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <thread>

#include "activity/Activity.h"
#include "activity/KeyFramePicture.h"
#include "activity/Levels.h"
#include "activity/ResultsCache.h"
#include "archive/FrameWalk.h"

namespace ov {
namespace {
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// Longer than any recording the time index accepts (it refuses above 25 hours).
constexpr int32_t kMaxSeconds = 26 * 3600;
// Frames each channel walks before the next channel's turn: the strips fill in side by side.
constexpr int kFramesPerTurn = 2048;
// How often a running analysis shows what it has (the window redraws from it).
constexpr auto kPublishEvery = 200ms;
// Sub-1 KiB predicted frames are a still scene's jitter: rises smaller than this count for little.
constexpr float kSizeFloor = 256.0f;
// Share of the whole analysis the size pass stands for in the progress.
constexpr double kSizeShare = 0.15;

// Key frames compared in one go: the first is compared with the last of the block before, so
// blocks need nothing from each other and any worker can take any block.
constexpr size_t kKeysPerBlock = 64;
// Brightness steps (of 255) a region must change by before it can count at all.
constexpr float kGridFloor = 2.0f;

struct KeyRef {
  uint64_t pos = 0;
  uint32_t size = 0;
  int32_t second = 0;
};

struct Channel {
  int slot = 0;
  uint64_t begin = 0, end = 0;
  std::unique_ptr<FrameWalker> walk;
  bool walked = false;
  std::vector<activity::SecondTally> tally;
  std::vector<KeyRef> keys;
  // Guarded by the job's work mutex once the key frame pass runs.
  std::vector<float> keyMeasure;  // per second, negative where no comparison covers it
  size_t blocksLeft = 0;
};

struct Block {
  size_t channel = 0;
  size_t first = 0, end = 0;  // key frames [first, end) of the channel
};
}  // namespace

struct ActivityJob::Impl {
  std::shared_ptr<const OpenRecording> rec;
  FrameReader reader;
  Options options;
  std::thread worker;
  std::atomic<bool> cancel{false};
  std::atomic<bool> playing{false};
  std::atomic<uint64_t> revision{0};

  mutable std::mutex mu;
  std::condition_variable doneCv;
  bool done = false;          // guarded by mu
  ActivitySnapshot snapshot;  // guarded by mu

  // Worker-only state; during the key frame pass, keyMeasure and blocksLeft of the channels are
  // guarded by workMu.
  std::mutex workMu;
  std::vector<Block> blocks;
  std::atomic<size_t> nextBlock{0};
  std::atomic<size_t> keysDone{0};
  std::atomic<int> workersLeft{0};
  size_t keysTotal = 0;
  int32_t startSecond = 0;
  int32_t seconds = 0;
  std::vector<Channel> channels;
  Clock::time_point lastPublish{};

  void Run();
  void SizePass();
  void KeyPass();
  void KeyWorker(int index);
  double Progress() const;
  void Publish(double progress, bool complete);
  ActivitySnapshot Snapshot() const {
    std::lock_guard lock(mu);
    return snapshot;
  }
  // Yields the cores while playback runs: the work since `since` is followed by three times as
  // long asleep, so the analysis takes at most a quarter of one core.
  void Breathe(Clock::time_point since);
  double SizeProgress() const;
};

ActivityJob::ActivityJob(std::shared_ptr<const OpenRecording> rec, FrameReader reader,
                         Options options)
    : m_impl(std::make_unique<Impl>()) {
  m_impl->rec = std::move(rec);
  m_impl->reader = std::move(reader);
  m_impl->options = std::move(options);
}

ActivityJob::~ActivityJob() {
  Cancel();
  if (m_impl->worker.joinable()) m_impl->worker.join();
}

void ActivityJob::Start() {
  if (m_impl->worker.joinable()) return;
  m_impl->worker = std::thread([impl = m_impl.get()] { impl->Run(); });
}

void ActivityJob::Cancel() { m_impl->cancel.store(true, std::memory_order_release); }

void ActivityJob::Wait() {
  std::unique_lock lock(m_impl->mu);
  if (!m_impl->worker.joinable()) return;  // never started: nothing to wait for
  m_impl->doneCv.wait(lock, [&] { return m_impl->done; });
}

ActivitySnapshot ActivityJob::Snapshot() const {
  std::lock_guard lock(m_impl->mu);
  return m_impl->snapshot;
}

uint64_t ActivityJob::Revision() const { return m_impl->revision.load(std::memory_order_acquire); }

void ActivityJob::SetPlaying(bool playing) {
  m_impl->playing.store(playing, std::memory_order_release);
}

void ActivityJob::Impl::Breathe(Clock::time_point since) {
  if (!playing.load(std::memory_order_acquire)) return;
  const auto worked = Clock::now() - since;
  auto rest = std::clamp<Clock::duration>(worked * 3, 2ms, 100ms);
  while (rest > 0ms && !cancel.load(std::memory_order_acquire)) {
    const auto step = std::min<Clock::duration>(rest, 20ms);
    std::this_thread::sleep_for(step);
    rest -= step;
  }
}

double ActivityJob::Impl::SizeProgress() const {
  uint64_t total = 0, walked = 0;
  for (const Channel& c : channels) {
    const uint64_t len = c.end > c.begin ? c.end - c.begin : 0;
    total += len;
    if (c.walked)
      walked += len;
    else if (c.walk)
      walked += std::min(len, c.walk->Position() - c.begin);
  }
  return total ? double(walked) / double(total) : 1.0;
}

void ActivityJob::Impl::Publish(double progress, bool complete) {
  ActivitySnapshot s;
  s.seconds = seconds;
  s.progress = std::clamp(progress, 0.0, 1.0);
  s.complete = complete;
  for (const Channel& c : channels) {
    ChannelActivity a;
    a.slot = c.slot;
    const auto covered = activity::Coverage(c.tally);
    a.level = activity::NormalisedLevels(activity::SizeMeasure(c.tally), covered, kSizeFloor);
    std::vector<float> keyMeasure;
    {
      std::lock_guard lock(workMu);
      keyMeasure = c.keyMeasure;
      a.refined = !c.keys.empty() && c.blocksLeft == 0 && !blocks.empty();
    }
    if (!keyMeasure.empty()) {
      std::vector<uint8_t> measured(covered);
      for (size_t sec = 0; sec < measured.size(); ++sec)
        measured[sec] = measured[sec] && keyMeasure[sec] >= 0.0f;
      a.level =
          activity::Combine(a.level, activity::NormalisedLevels(keyMeasure, measured, kGridFloor));
    }
    a.events = activity::FindEvents(a.level);
    s.channels.push_back(std::move(a));
  }
  {
    std::lock_guard lock(mu);
    s.revision = snapshot.revision + 1;
    snapshot = std::move(s);
    revision.store(snapshot.revision, std::memory_order_release);
  }
  lastPublish = Clock::now();
}

void ActivityJob::Impl::SizePass() {
  IFileSource* file = reader.Source();
  for (Channel& c : channels) {
    if (file && c.end > c.begin)
      c.walk = std::make_unique<FrameWalker>(*file, c.begin, c.end);
    else
      c.walked = true;
  }
  for (bool more = true; more;) {
    more = false;
    for (Channel& c : channels) {
      if (c.walked) continue;
      if (cancel.load(std::memory_order_acquire)) return;
      const auto since = Clock::now();
      for (int i = 0; i < kFramesPerTurn; ++i) {
        const WalkStep st = c.walk->Next();
        if (st.kind == WalkStep::Kind::End) {
          c.walked = true;
          break;
        }
        if (st.kind != WalkStep::Kind::Frame || st.h.f_type > 1) continue;
        const int64_t sec = int64_t(st.h.f_time) - startSecond;
        if (sec < 0 || sec >= seconds) continue;
        activity::SecondTally& t = c.tally[size_t(sec)];
        if (st.h.f_type == 1) {
          t.keyBytes += st.h.f_size;
          ++t.keyCount;
          c.keys.push_back({st.pos, st.h.f_size, int32_t(sec)});
        } else {
          t.interBytes += st.h.f_size;
          ++t.interCount;
        }
      }
      more = more || !c.walked;
      Breathe(since);
    }
    if (Clock::now() - lastPublish >= kPublishEvery) Publish(SizeProgress() * kSizeShare, false);
  }
}

double ActivityJob::Impl::Progress() const {
  if (keysTotal == 0) return kSizeShare;
  return kSizeShare +
         (1.0 - kSizeShare) * double(keysDone.load(std::memory_order_relaxed)) / double(keysTotal);
}

void ActivityJob::Impl::KeyWorker(int index) {
  const uint8_t coding = rec->m_Header.videoCoding;
  std::vector<std::unique_ptr<activity::KeyFrameDecoder>> decoders(channels.size());
  std::vector<uint8_t> payload;
  std::vector<std::pair<int32_t, float>> found;
  for (;;) {
    // While playback runs only one worker goes on, and that one gently.
    while (index > 0 && playing.load(std::memory_order_acquire) &&
           !cancel.load(std::memory_order_acquire))
      std::this_thread::sleep_for(50ms);
    if (cancel.load(std::memory_order_acquire)) return;
    const size_t b = nextBlock.fetch_add(1, std::memory_order_relaxed);
    if (b >= blocks.size()) return;
    const Block& block = blocks[b];
    Channel& c = channels[block.channel];
    auto& dec = decoders[block.channel];
    if (!dec) dec = std::make_unique<activity::KeyFrameDecoder>(coding);
    found.clear();
    std::optional<activity::Grid> prev;
    int32_t prevSecond = 0;
    auto since = Clock::now();
    for (size_t k = block.first > 0 ? block.first - 1 : 0; k < block.end; ++k) {
      if (cancel.load(std::memory_order_acquire)) return;
      const KeyRef& key = c.keys[k];
      payload.resize(key.size);
      std::optional<activity::Grid> grid;
      if (reader.Bytes(key.pos + kYskFrameHeaderSize, payload.data(), key.size) == key.size)
        grid = dec->Decode(payload);
      if (k >= block.first) keysDone.fetch_add(1, std::memory_order_relaxed);
      if (!grid) continue;  // damaged: the next good one is compared with the last good one
      if (prev && k >= block.first) {
        const float change = activity::GridChange(*prev, *grid);
        // The change happened between the two pictures: in the earlier one's second and those
        // after it, up to the later one's (which starts with the later picture).
        for (int32_t sec = prevSecond; sec <= std::max(prevSecond, key.second - 1); ++sec)
          found.emplace_back(sec, change);
      }
      prev = grid;
      prevSecond = key.second;
      if (Clock::now() - since > 20ms) {
        Breathe(since);
        since = Clock::now();
      }
    }
    std::lock_guard lock(workMu);
    if (c.keyMeasure.empty()) c.keyMeasure.assign(size_t(seconds), -1.0f);
    for (const auto& [sec, change] : found)
      c.keyMeasure[size_t(sec)] = std::max(c.keyMeasure[size_t(sec)], change);
    --c.blocksLeft;
  }
}

void ActivityJob::Impl::KeyPass() {
  if (!reader.IsOpen()) return;
  // Block by block in time, all channels side by side: every strip sharpens from the left.
  size_t most = 0;
  for (const Channel& c : channels) {
    most = std::max(most, c.keys.size());
    keysTotal += c.keys.size();
  }
  for (size_t first = 0; first < most; first += kKeysPerBlock)
    for (size_t i = 0; i < channels.size(); ++i) {
      Channel& c = channels[i];
      if (first >= c.keys.size()) continue;
      blocks.push_back({i, first, std::min(first + kKeysPerBlock, c.keys.size())});
      ++c.blocksLeft;
    }
  if (blocks.empty()) return;
  const int workers = int(std::clamp(std::thread::hardware_concurrency(), 1u, 4u));
  std::vector<std::thread> pool;
  workersLeft.store(workers);
  for (int w = 0; w < workers; ++w)
    pool.emplace_back([this, w] {
      KeyWorker(w);
      workersLeft.fetch_sub(1, std::memory_order_acq_rel);
    });
  while (workersLeft.load(std::memory_order_acquire) > 0) {
    std::this_thread::sleep_for(50ms);
    if (Clock::now() - lastPublish >= kPublishEvery) Publish(Progress(), false);
  }
  for (auto& t : pool) t.join();
}

void ActivityJob::Impl::Run() {
  const OpenRecording& r = *rec;
  startSecond = r.m_Index.m_StartInfo[0].f_time;
  seconds = std::clamp<int32_t>(r.m_Index.m_TotalSeconds, -1, kMaxSeconds - 1) + 1;
  for (int n = 0; n < kSlots; ++n) {
    if (!r.m_HasVideo[size_t(n)]) continue;
    Channel c;
    c.slot = n;
    c.begin = r.VideoRunStart(n);
    c.end = r.VideoRunEnd(n);
    c.tally.assign(size_t(seconds), {});
    channels.push_back(std::move(c));
  }
  // A finished analysis of this very file shows at once.
  activity::CacheKey key;
  std::optional<FileIdentity> identity;
  if (!options.cacheDir.empty() && !options.filePath.empty())
    identity = IdentityOfPath(options.filePath);
  if (identity) {
    key.identity = *identity;
    key.seconds = seconds;
    for (const Channel& c : channels) key.slots.push_back(c.slot);
    if (auto cached = activity::LoadCache(options.cacheDir, key)) {
      std::lock_guard lock(mu);
      cached->revision = snapshot.revision + 1;
      snapshot = std::move(*cached);
      revision.store(snapshot.revision, std::memory_order_release);
      done = true;
      doneCv.notify_all();
      return;
    }
  }
  Publish(0.0, false);
  SizePass();
  if (!cancel.load(std::memory_order_acquire)) {
    Publish(kSizeShare, false);
    KeyPass();
  }
  const bool cancelled = cancel.load(std::memory_order_acquire);
  if (!cancelled) {
    Publish(1.0, true);
    // Only what was read from the file as it still is now is kept.
    if (identity && IdentityOfPath(options.filePath) == identity)
      activity::StoreCache(options.cacheDir, options.filePath, Snapshot(), key);
  }
  std::lock_guard lock(mu);
  done = true;
  doneCv.notify_all();
}

std::string DefaultActivityCacheDir() {
  if (const char* xdg = std::getenv("XDG_CACHE_HOME"); xdg && *xdg == '/')
    return std::string(xdg) + "/ostravue/activity";
  if (const char* home = std::getenv("HOME"); home && *home == '/')
    return std::string(home) + "/.cache/ostravue/activity";
  return {};
}

}  // namespace ov
