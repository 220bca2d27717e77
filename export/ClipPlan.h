#pragma once
// Which frames of one channel a clip takes: the video frames from the key frame at or before the
// range's first frame up to the last frame before its end, and the sound frames that fall beside
// them. The runs are walked as playback walks them (archive/FrameWalk.h), so a clip holds what the
// player shows, and whatever the walk passed over is listed with its reason. Only frame headers
// are read here; payloads are read while the clip is written.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "archive/BackupFile.h"
#include "archive/FrameWalk.h"

namespace ov::exporter {

struct FrameRef {
  uint64_t offset = 0;  // absolute offset of the frame header
  YskFrameHeader h{};
  int64_t ptsMs = 0;  // position in the clip
  bool IsKey() const { return h.f_type == 1; }
};

// Why a clip has a gap, or a remark on its frames.
enum class GapCause : uint8_t {
  NoFrames,       // more than two seconds between two video frames
  Passed,         // the walk passed over bytes (skip says why)
  DamagedHeader,  // a video frame of unknown type (kept as a delta frame) or stamped with a
                  // second far from its neighbours' (kept in its place), as playback shows it
  SoundSkipped,   // sound frames with damaged headers or far-off time stamps, left out
  ClockJump,      // the millisecond clock jumped (bytes: by how many ms); the second clock times it
};

struct Gap {
  GapCause cause = GapCause::NoFrames;
  WalkSkip skip = WalkSkip::None;  // for Passed
  int32_t fromSecond = 0;          // f_time of the video frame before the gap
  int32_t toSecond = 0;            // f_time of the one after it (fromSecond when none follows)
  int64_t lengthMs = 0;            // time between those frames in the clip; 0 when none follows
  uint64_t offset = 0;             // where in the file
  uint64_t bytes = 0;              // bytes passed over (Passed), frames (DamagedHeader,
                                   // SoundSkipped) or the clock's jump in ms (ClockJump)
  uint32_t type = 0;               // f_type of a damaged header
  int32_t stamped = 0;             // the second a damaged header names
};

struct ClipPlan {
  int slot = 0;
  std::string camera;
  std::vector<FrameRef> video;
  std::vector<FrameRef> audio;
  int64_t lastDurationMs = 0;  // the last video frame shows this long
  std::vector<Gap> gaps;       // in the order of the file
  uint64_t payloadBytes = 0;   // what the clip copies, for progress
  int64_t DurationMs() const { return video.empty() ? 0 : video.back().ptsMs + lastDurationMs; }
};

// How many frame references one export may hold (40 bytes each, so 320 MiB at most): sixteen
// channels at 30 frames a second with their sound for well over three hours. Only a damaged
// file, or a range of days, comes near it.
inline constexpr uint64_t kMaxPlannedFrames = 8u << 20;
// How far a step of the millisecond clock may stray from the second clock's before it counts as
// a jump of the clock: far beyond the rounding of seconds, far below a damaged value's reach.
inline constexpr int64_t kClockJumpMs = 10'000;
// A sound frame stamped this far beyond the clip's end is taken as a jump of the sound clock, not
// as the sound after the clip: it is left out and the walk goes on.
inline constexpr int64_t kSoundJumpMs = 60'000;

enum class PlanStatus { Ok, NoVideo, OutsideRange, TooManyFrames, Cancelled };

struct PlanLimits {
  const std::atomic<bool>* cancel = nullptr;  // checked every few hundred steps
  uint64_t* frameBudget = nullptr;            // frames the plan may still take; shared by clips
};

// Plans slot's clip for the seconds [from, to) of the file's clock (f_time).
PlanStatus PlanClip(const BackupFile& file, int slot, int32_t from, int32_t to, ClipPlan& out,
                    const PlanLimits& limits = {});

// The search for a picture's frames in one video run [begin, end): the frame walk playback and
// export take (holes, damaged sizes and the run's end met as they meet them), keeping only the
// frames since the last key frame, and no frame more than kResyncReach after it (no group of
// pictures is that long). Bounded in time as well; cancel ends it.
struct PictureSearch {
  enum class End { Found, NotFound, TimedOut, Cancelled };
  End end = End::NotFound;
  // From the last key frame before the first frame isTarget accepts, up to that frame.
  std::vector<FrameRef> frames;
};
PictureSearch FindPictureFrames(IFileSource& src, uint64_t begin, uint64_t end,
                                const std::function<bool(const FrameRef&)>& isTarget,
                                std::chrono::milliseconds timeLimit = std::chrono::seconds(30),
                                const std::atomic<bool>* cancel = nullptr);

// The same for slot's video run, without a time limit. Empty when no key frame comes before such
// a frame.
std::vector<FrameRef> FramesForPicture(const BackupFile& file, int slot,
                                       const std::function<bool(const FrameRef&)>& isTarget);

// Milliseconds into its second of the first frame, told by where the clip's second first changes;
// 0 when the clip never crosses a second.
int64_t FirstFramePhaseMs(const std::vector<FrameRef>& video);

}  // namespace ov::exporter
