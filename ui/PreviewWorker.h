#pragma once
// Preview pictures for the activity timeline: the key frame at or before a channel's second,
// found by the key-frame search and decoded small on a thread of its own, and kept in a cache.
// Only the newest request matters: a pointer moving over the strips supersedes the older ones,
// and a search under way for one of them is abandoned.
//
// Threads: constructed, asked and destroyed on the window thread; ready is called on the worker
// thread (the owner posts it on). The destructor cancels and joins.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

#include "archive/OpenRecording.h"
#include "export/PreviewPicture.h"
#include "playback/SteadyClock.h"

namespace ov {

class PreviewWorker {
 public:
  using Picture = std::shared_ptr<const exporter::PreviewPicture>;
  // picture is null when the second has no picture to show.
  using Ready = std::function<void(int slot, int32_t second, Picture picture)>;
  static constexpr int kWidth = 176;  // a quarter of the recorder's picture across
  static constexpr int kHeight = 144;

  PreviewWorker(std::shared_ptr<const OpenRecording> rec, FrameReader reader, int32_t startSecond,
                Ready ready);
  ~PreviewWorker();
  PreviewWorker(const PreviewWorker&) = delete;
  PreviewWorker& operator=(const PreviewWorker&) = delete;

  // The cached picture of slot at second (the slider's seconds), if it was decoded before.
  std::optional<Picture> Cached(int slot, int32_t second) const;
  // Asks for slot's picture at second; ready follows unless a newer request comes first.
  void Request(int slot, int32_t second);

 private:
  using Key = std::pair<int, int32_t>;
  void Run();
  // The header offset of the key frame to show, 0 when none.
  uint32_t FindKeyFrame(int slot, int32_t second, uint64_t generation);
  void Store(const Key& key, uint32_t keyFrame, Picture picture);

  std::shared_ptr<const OpenRecording> m_rec;
  FrameReader m_reader;
  int32_t m_startSecond = 0;
  Ready m_ready;
  // The program's clock, but a preview's search never pauses between chunks: it is short (from
  // an estimate of where the second lies), runs only while a person points at a strip, and its
  // answer is awaited.
  class UnpausedClock final : public IClock {
   public:
    Ns Now() const override { return m_clock.Now(); }
    void SleepUntil(Ns deadline, const std::atomic<uint32_t>& wakeSeq, uint32_t seen) override {
      m_clock.SleepUntil(deadline, wakeSeq, seen);
    }
    void Wake() override { m_clock.Wake(); }
    void Breathe() override {}

   private:
    SteadyClock m_clock;
  };
  UnpausedClock m_clock;

  mutable std::mutex m_lock;
  std::condition_variable m_wake;
  bool m_stop = false;           // guarded by m_lock
  std::optional<Key> m_pending;  // guarded by m_lock
  std::atomic<uint64_t> m_generation{0};
  std::map<Key, uint32_t> m_keyFrameOf;  // guarded by m_lock; 0 = no picture
  // Decoded pictures by key-frame offset, least recently used first; guarded by m_lock.
  std::list<std::pair<uint32_t, Picture>> m_pictures;
  std::thread m_thread;  // last: started once everything above exists
};

}  // namespace ov
