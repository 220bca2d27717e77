#pragma once
// The whole activity analysis of one file for a command of the cli, shared by activity and
// export --events.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "activity/Activity.h"
#include "archive/BackupFile.h"

namespace ov::cli {

struct ActivityRun {
  std::unique_ptr<BackupFile> file;
  ActivitySnapshot snapshot;
  int32_t startSecond = 0;  // f_time of the seek slider's second 0
};

// Opens path and analyses it to the end, with a progress line when stderr is a terminal; on a
// file that does not open, says why (after "command: ") and returns nothing.
std::optional<ActivityRun> AnalyseFile(const std::string& path, const char* command, bool useCache);
// The same over several files or a folder: the recording set they form (see cli/SetPaths.h).
std::optional<ActivityRun> AnalyseFiles(const std::vector<std::string>& paths, const char* command,
                                        bool useCache);

}  // namespace ov::cli
