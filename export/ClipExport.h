#pragma once
// Export of a time range of a backup file: one clip per chosen channel, a checksum file and a
// record appended to the report beside them. Everything is written under temporary names first
// and claimed only when the whole export succeeded (export/OutputFolder.h), so a failure or a
// cancel leaves no partial file under a final name and never touches a file that was there
// before.
//
// Threads: RunExport runs on the caller's thread (the command line's, or a worker of the window);
// progress is called on that thread; cancel may be set from any thread.
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "archive/RecordingSet.h"
#include "export/ClipMuxer.h"
#include "export/ClipPlan.h"
#include "export/DigestAhead.h"
#include "export/ExportReport.h"

namespace ov::exporter {

struct ExportRequest {
  std::string source;
  std::string from, to;       // "YYYY-MM-DD HH:MM:SS" or seconds from the recording's start
  std::vector<int> channels;  // 1..16 (channel n is video slot n - 1)
  bool all = false;           // every channel with video
  std::string outDir = ".";
  ContainerFormat format = ContainerFormat::Mp4;
  SoundFormat sound = SoundFormat::MuLaw;
  // Where whole-source digests are remembered (export/HashCache.h); empty: none kept.
  std::string hashCache;
  // Set: the clips come from this recording set (source then names its first file); every file
  // of the set is hashed and listed.
  std::shared_ptr<const RecordingSetPlan> set;
  // A digest of the source already being taken (one file only): the export waits for it instead
  // of reading the whole source again, when it is of the file the export opened.
  std::shared_ptr<DigestAhead> ahead;
};

struct ExportOutcome {
  bool ok = false;
  bool cancelled = false;
  std::string error;  // for the user, when !ok
  // Set (with ok) when the file at the source's path changed while the export ran: the clips and
  // hashes are of the file as it was opened, which the path no longer names.
  std::string sourceChanged;
  std::vector<ClipReport> clips;
  std::string checksumPath, reportPath;
};

struct ExportProgress {
  int clip = 0, clips = 0;  // clip being written (0-based) of how many
  std::string camera;
  uint64_t doneBytes = 0, totalBytes = 0;
};
using ProgressFn = std::function<void(const ExportProgress&)>;

ExportOutcome RunExport(const ExportRequest& request, const ProgressFn& progress,
                        const std::atomic<bool>& cancel);

}  // namespace ov::exporter
