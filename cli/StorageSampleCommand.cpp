#include "cli/StorageSampleCommand.h"

#include <iostream>
#include <memory>
#include <stdexcept>

namespace ov::cli {

void AddStorageSampleOptions(CLI::App& cmd, StorageSampleArgs& a) {
  cmd.add_option("--ql", a.options.qlFolder, "QL folder name")->capture_default_str();
  cmd.add_option("--recording", a.options.recordingName, "8-character recording folder name")
      ->capture_default_str();
  cmd.add_option("--channels", a.options.channelCount, "channels, 1..16")->capture_default_str();
  cmd.add_option("--frames", a.options.framesPerChannel, "frames per channel")
      ->capture_default_str();
  cmd.add_option("--files", a.options.fileCount, ".yrx files (sequence numbers 1..N)")
      ->capture_default_str();
  cmd.add_option("--fps", a.options.fps, "frames per second")->capture_default_str();
  cmd.add_option("--payloads", a.payloads, "payload kind")
      ->check(CLI::IsMember({"synthetic"}))
      ->capture_default_str();
}

int RunStorageSample(const StorageSampleArgs& a) {
  try {
    const StorageSampleResult r =
        WriteStorageSample(a.dir, a.options, SyntheticStoragePayloads(a.options.fps));
    std::cout << r.recordingPath.string() << ": " << r.files.size() << " .yrx file(s), "
              << r.records << " records, " << r.payloadBytes << " payload bytes\n";
    return 0;
  } catch (const std::exception& e) {
    std::cerr << "make-storage-sample: " << e.what() << "\n";
    return 1;
  }
}

void RegisterStorageSample(CLI::App& app, int& exitCode) {
  auto args = std::make_shared<StorageSampleArgs>();
  auto* cmd = app.add_subcommand("make-storage-sample",
                                 "Write a recorder storage folder of .yrx files for tests");
  cmd->add_option("DIR", args->dir, "storage folder to write into")->required();
  AddStorageSampleOptions(*cmd, *args);
  cmd->callback([args, &exitCode] { exitCode = RunStorageSample(*args); });
}

}  // namespace ov::cli
