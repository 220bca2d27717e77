#pragma once
// The storage-folder mode of the sample maker: a recorder storage folder of ".yrx" files.
#include <CLI/CLI.hpp>
#include <string>

#include "cli/StorageSampleWriter.h"

namespace ov::cli {

struct StorageSampleArgs {
  std::string dir;  // the storage folder to write into
  StorageSampleOptions options;
  std::string payloads = "synthetic";  // "synthetic", or a coding the sample encoder offers
};

// Adds the storage sample's options (all but the folder) to cmd.
void AddStorageSampleOptions(CLI::App& cmd, StorageSampleArgs& args);
// Writes the folder and prints what it wrote; returns the exit status.
int RunStorageSample(const StorageSampleArgs& args);
// Registers "make-storage-sample DIR".
void RegisterStorageSample(CLI::App& app, int& exitCode);

}  // namespace ov::cli
