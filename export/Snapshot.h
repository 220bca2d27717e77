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
#include "picture/PictureSettings.h"

namespace ov::exporter {

struct SnapshotTarget {
  std::optional<int32_t> second;        // the first frame of this second (f_time) ...
  std::optional<uint64_t> frameOffset;  // ... or the frame whose header lies here
};

// What a saved view changes in the recorded picture. Deinterlacing and the adjustments apply to the
// whole picture first, then the region is cut out at the recorded pixel density (no scaling).
struct SnapshotView {
  bool view = false;  // a saved view: its region and settings are written into the PNG's text
  std::optional<zoom::PixelRect> pixels;  // the region in recorded pixels; must lie inside ...
  std::optional<zoom::Region> region;     // ... or as a pane's zoom (fractions of the picture)
  PictureAdjust adjust;
  Deinterlace deinterlace = Deinterlace::Off;
};

struct SnapshotOutcome {
  bool ok = false;
  std::string error;
  int width = 0, height = 0;
  int32_t second = 0;      // f_time of the picture
  zoom::PixelRect region;  // the part of the recorded picture written
};

// slot is 0..15. Writes beside outPath first (under a short temporary name, so any legal outPath
// works), then renames; an existing outPath is refused. cancel, when given, may be set from any
// thread to end the search early.
SnapshotOutcome TakeSnapshot(const BackupFile& file, const std::string& sourcePath, int slot,
                             const SnapshotTarget& target, const std::string& outPath,
                             const std::atomic<bool>* cancel = nullptr,
                             const SnapshotView& view = {});

// "<camera>_<YYYY-mm-dd_HH-MM-SS>.png" for the slot's camera and second; a view adds "_view".
std::string SnapshotName(const BackupFile& file, int slot, int32_t second, bool view = false);

// "x,y,w,h" in recorded pixels, as the command line takes it; nullopt (and why) when malformed.
std::optional<zoom::PixelRect> ParseRegion(const std::string& text, std::string* why = nullptr);

}  // namespace ov::exporter
