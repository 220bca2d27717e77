#pragma once
// Writes synthetic backup files (".ysk") with real H.264 or MPEG-4 video and mu-law sound, plus a
// JSON manifest of every frame written (the ground truth for tests). The same options give the
// same bytes.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "archive/YskFormat.h"
#include "cli/sample/VideoEncoder.h"

namespace ov::sample {

struct SampleOptions {
  int channelCount = 4;                        // header channelCount, 1..16
  std::optional<std::vector<int>> videoSlots;  // recorded video slots; unset = 0..channelCount-1
  std::optional<std::vector<int>> audioSlots;  // recorded sound slots; unset = the video slots
  std::vector<std::string> names;  // per slot; missing ones are "Camera N" (N = slot + 1)
  VideoParams video;               // coding, size, fps, gop, preset
  int64_t durationMs = 60000;
  int32_t startTime = 1709294400;  // 2024-03-01 12:00:00, f_time of the first frame
  uint32_t startMsec = 1000;       // the running clock's value at the first frame
  int32_t offsetMsPerSlot = 0;     // slot n's frames are stamped n x this many ms later
  int kind = 0;                    // header layout 0, 1 or 2
  // Long mode: when nonzero, encode one group of pictures per channel and write it again and again
  // with fresh time stamps until the file is about this large; durationMs is then ignored.
  uint64_t longTargetBytes = 0;
  // One part of the recording only: the frames from partFromMs up to partToMs (0 = the end), cut
  // at the key frames at or after those times so each part starts with a key frame. The parts of
  // one recording hold exactly its frames, as a recorder splitting its export would write them.
  int64_t partFromMs = 0;
  int64_t partToMs = 0;
};

struct SampleResult {
  uint64_t fileSize = 0;
  uint64_t videoFrames = 0;
  uint64_t audioFrames = 0;
  int64_t durationMs = 0;
  uint32_t largestPayload = 0;  // above kMaxPayload the player skips the frame
};

// Throws std::invalid_argument for bad options and std::runtime_error for encoder or I/O errors;
// then no file is left behind. manifestPath may be empty.
SampleResult WriteSample(const SampleOptions& options, const std::string& path,
                         const std::string& manifestPath);

// Checks options, fills in the defaults (slots, names) and returns the completed copy.
SampleOptions ResolveSampleOptions(const SampleOptions& options);

// Encodes frames firstFrame .. firstFrame + count - 1 of one channel, handing each finished frame
// to sink in order. For writers of other containers (e.g. storage folders).
void EncodeChannelVideo(const VideoParams& params, int channel, uint32_t firstFrame, uint32_t count,
                        const std::function<void(const EncodedFrame&)>& sink);

// Time stamps of the samples: video frame k of a slot and sound frame j of a slot.
YskFrameHeader SampleVideoTimes(const SampleOptions& options, int slot, uint64_t k);
YskFrameHeader SampleAudioTimes(const SampleOptions& options, int slot, uint64_t j);

}  // namespace ov::sample
