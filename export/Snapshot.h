#pragma once
// One channel's picture as a PNG at its recorded size, decoded from the key frame before it, with
// the source file, the camera and the picture's date-time in PNG text chunks.
//
// Threads: runs on the caller's thread; no shared state.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "archive/BackupFile.h"
#include "export/ClipPlan.h"

namespace ov::exporter {

struct SnapshotTarget {
  std::optional<int32_t> second;        // the first frame of this second (f_time) ...
  std::optional<uint64_t> frameOffset;  // ... or the frame whose header lies here
};

struct SnapshotOutcome {
  bool ok = false;
  std::string error;
  int width = 0, height = 0;
  int32_t second = 0;  // f_time of the picture
};

// slot is 0..15. Writes beside outPath first (under a short temporary name, so any legal outPath
// works), then renames; an existing outPath is refused. cancel, when given, may be set from any
// thread to end the search early.
SnapshotOutcome TakeSnapshot(const BackupFile& file, const std::string& sourcePath, int slot,
                             const SnapshotTarget& target, const std::string& outPath,
                             const std::atomic<bool>* cancel = nullptr);

// The search for a picture's frames in one video run [begin, end), bounded as playback is: frames
// are read through a page-sized window; frames without payload are passed, and a run of them
// longer than kEmptyFrameReach (a hole) ends the channel; a frame over kMaxFrameBytes, past the
// run or of another type ends it too; frames more than kResyncReach after their key frame are let
// go (no group of pictures is that long). The time is bounded as well, and cancel ends it.
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

// "<camera>_<YYYY-mm-dd_HH-MM-SS>.png" for the slot's camera and second.
std::string SnapshotName(const BackupFile& file, int slot, int32_t second);

}  // namespace ov::exporter
