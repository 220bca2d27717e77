#pragma once
// The commands that read a recording (info, trace, export, activity) take one file, several files
// or a folder. One file goes the one-file way, so its output stays as it always was; anything else
// is a recording set.
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "archive/RecordingSet.h"

namespace ov::cli {

// True when the paths name a set: several paths, or a folder.
bool NamesSet(const std::vector<std::string>& paths);

// Plans the set and tells stderr which files were left out and why ("COMMAND: NAME: not in the
// set: REASON"), and when no file forms a recording.
RecordingSetPlan PlanSetFor(const char* command, const std::vector<std::string>& paths);

// The members, the files left out and the pauses between members, for a command's JSON output.
nlohmann::json SetJson(const RecordingSetPlan& plan);

}  // namespace ov::cli
