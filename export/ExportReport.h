#pragma once
// The text an export appends to export-report.txt: one record per export, one item per line.
// Every name from the file or the command line (paths, camera names) is escaped, so no name can
// forge a line of the record.
#include <cstdint>
#include <string>
#include <vector>

#include "export/ClipPlan.h"

namespace ov::exporter {

struct ClipReport {
  std::string fileName;  // inside outDir
  std::string camera;
  int channel = 0;  // 1..16
  int32_t firstSecond = 0, lastSecond = 0;
  uint64_t frames = 0;
  bool withSound = false;
  double soundSeconds = 0;
  int64_t durationMs = 0;
  std::vector<Gap> gaps;
  std::string sha256;
};

struct SourceReport {
  std::string path;  // absolute
  uint64_t size = 0;
  std::string sha256;    // of the bytes read, through the descriptor the clips came from
  std::string changed;   // what changed at the path while the export ran; empty when nothing
  int channelCount = 0;  // the recorder's, from the header
  std::string checksumName;
  // A recording set: every file the clips may come from, in time order (path, size, SHA-256).
  // The offsets in the gaps below count through the set as one file.
  struct SetFile {
    std::string path;
    uint64_t size = 0;
    std::string sha256;
  };
  std::vector<SetFile> setFiles;
};

std::string ReportText(const SourceReport& source, const std::vector<ClipReport>& clips);
// One line (without its indent) for a gap or a remark of a clip.
std::string GapText(const Gap& g);

}  // namespace ov::exporter
