#pragma once
// Activity of every camera over one recording: a level per second and the intervals where
// something moved. The analysis fills it in while it runs; readers take copies.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "archive/OpenRecording.h"

namespace ov {

// A level below zero marks a second in which the channel has no recording.
inline constexpr float kNoRecording = -1.0f;

// An interval where something moved, in the seek slider's seconds (both ends included).
struct ActivityEvent {
  int32_t fromSecond = 0;
  int32_t toSecond = 0;
  float peak = 0.0f;  // the highest level inside, 0..1
};

struct ChannelActivity {
  int32_t slot = 0;          // the channel's place in the header; channel number = slot + 1
  std::vector<float> level;  // one per second of the recording: 0..1, or kNoRecording
  std::vector<ActivityEvent> events;
  bool refined = false;  // the decoded key frames are in, not just the frame sizes
};

// What the analysis knows so far. Channels with video only, in slot order.
struct ActivitySnapshot {
  int32_t seconds = 0;  // the recording's length, as the seek slider counts it
  std::vector<ChannelActivity> channels;
  double progress = 0.0;  // 0..1 over the whole analysis
  bool complete = false;
  bool fromCache = false;
  uint64_t revision = 0;  // grows whenever anything above changed
};

// The analysis of one opened recording, run on a thread of its own.
//
// Threads: constructed, started and destroyed by one thread (the window thread or a command of
// the cli); Snapshot, Revision and SetPlaying may be called from any thread. The destructor
// cancels and joins.
class ActivityJob {
 public:
  struct Options {
    std::string filePath;  // identifies the file for the cache (path, size, mtime, inode)
    std::string cacheDir;  // the results cache; empty = none. Never the recording's folder.
  };
  ActivityJob(std::shared_ptr<const OpenRecording> rec, FrameReader reader, Options options);
  ~ActivityJob();
  ActivityJob(const ActivityJob&) = delete;
  ActivityJob& operator=(const ActivityJob&) = delete;

  void Start();
  void Cancel();
  // Blocks until the analysis is complete or cancelled (for the cli and tests).
  void Wait();
  ActivitySnapshot Snapshot() const;
  uint64_t Revision() const;
  // While playback runs, the analysis yields the cores to it.
  void SetPlaying(bool playing);

 private:
  struct Impl;
  std::unique_ptr<Impl> m_impl;
};

// The user's cache folder for activity results ($XDG_CACHE_HOME/ostravue/activity, or
// ~/.cache/ostravue/activity); empty when neither is known.
std::string DefaultActivityCacheDir();

}  // namespace ov
