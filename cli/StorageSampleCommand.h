#pragma once
// make-sample's storage mode: instead of a backup file, a recorder storage folder of ".yrx"
// files whose video payloads come from the sample encoder.
#include <CLI/CLI.hpp>
#include <string>

#include "cli/sample/SampleWriter.h"

namespace ov::cli {

struct StorageSampleArgs {
  bool storage = false;  // --storage: write a storage folder at make-sample's out
  std::string qlFolder = "QL01";
  std::string recording;  // empty: the start date as YYYYMMDD
  int yrxFiles = 3;
};

// Adds --storage, --ql, --recording and --yrx-files to make-sample.
void AddStorageSampleOptions(CLI::App& cmd, StorageSampleArgs& args);

// Writes the storage folder dir from make-sample's resolved options (channel count, video
// parameters, duration, start time) and prints what it wrote. Returns the exit status.
int RunStorageSample(const std::string& dir, const sample::SampleOptions& options,
                     const StorageSampleArgs& args);

}  // namespace ov::cli
