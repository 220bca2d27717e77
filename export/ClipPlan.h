#pragma once
// Which frames of one channel a clip takes: the video frames from the key frame at or before the
// range's first frame up to the last frame before its end, and the sound frames that fall beside
// them. Only frame headers are read here; payloads are read while the clip is written.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "archive/BackupFile.h"

namespace ov::exporter {

struct FrameRef {
  uint64_t offset = 0;  // absolute offset of the frame header
  YskFrameHeader h{};
  int64_t ptsMs = 0;  // position in the clip
};

struct Gap {
  int32_t fromSecond = 0;  // f_time of the frame before the gap
  int32_t toSecond = 0;    // f_time of the frame after it
  int64_t lengthMs = 0;
};

struct ClipPlan {
  int slot = 0;
  std::string camera;
  std::vector<FrameRef> video;
  std::vector<FrameRef> audio;
  int64_t lastDurationMs = 0;  // the last video frame shows this long
  std::vector<Gap> gaps;       // gaps of more than two seconds between video frames
  uint64_t payloadBytes = 0;   // what the clip copies, for progress
  int64_t DurationMs() const { return video.empty() ? 0 : video.back().ptsMs + lastDurationMs; }
};

// Largest payload a clip copies; a bigger f_size is taken as damage and ends the run there.
inline constexpr uint32_t kMaxClipPayload = 8u << 20;

enum class PlanStatus { Ok, NoVideo, OutsideRange };

// Plans slot's clip for the seconds [from, to) of the file's clock (f_time).
PlanStatus PlanClip(const BackupFile& file, int slot, int32_t from, int32_t to, ClipPlan& out);

// The frames a decoder needs for one picture: from the last key frame before the first frame
// that isTarget accepts, up to that frame. Empty when no key frame comes before such a frame.
std::vector<FrameRef> FramesForPicture(const BackupFile& file, int slot,
                                       const std::function<bool(const FrameRef&)>& isTarget);

// Milliseconds into its second of the first frame, told by where the clip's second first changes;
// 0 when the clip never crosses a second.
int64_t FirstFramePhaseMs(const std::vector<FrameRef>& video);

}  // namespace ov::exporter
