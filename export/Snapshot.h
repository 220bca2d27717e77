#pragma once
// One channel's picture as a PNG at its recorded size, decoded from the key frame before it, with
// the source file, the camera and the picture's date-time in PNG text chunks.
//
// Threads: runs on the caller's thread; no shared state.
#include <atomic>
#include <cstdint>
#include <optional>
#include <string>

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

// "<camera>_<YYYY-mm-dd_HH-MM-SS>.png" for the slot's camera and second.
std::string SnapshotName(const BackupFile& file, int slot, int32_t second);

}  // namespace ov::exporter
