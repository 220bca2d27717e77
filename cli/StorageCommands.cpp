// storage-scan and make-chv: the recorder storage tools on the command line.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <nlohmann/json.hpp>
#include <string>

#include "cli/Commands.h"
#include "cli/HelpFormat.h"
#include "cli/TextOut.h"
#include "tools/ChannelFileBuilder.h"
#include "tools/StorageScan.h"

namespace ov::cli {
namespace {

struct ScanArgs {
  std::string dir;
  bool json = false;
};

struct BuildArgs {
  std::string dir;
  std::string entry;
  bool json = false;
  bool progress = false;
  bool noProgress = false;
};

int RunScan(const ScanArgs& a) {
  std::error_code ec;
  if (!a.dir.empty() && !std::filesystem::is_directory(a.dir, ec)) {
    std::cerr << "storage-scan: not a folder: " << TerminalText(a.dir) << "\n";
    return 1;
  }
  std::vector<std::string> unreadable;
  const auto entries =
      tools::StorageEntriesInListOrder(tools::NormalizeStoragePath(a.dir), &unreadable);
  if (a.json) {
    std::cout << JsonText(nlohmann::json(entries), 2) << "\n";
  } else {
    for (const auto& e : entries) std::cout << TerminalText(e) << "\n";
  }
  for (const auto& u : unreadable) std::cerr << "storage-scan: " << TerminalText(u) << "\n";
  return unreadable.empty() ? 0 : 1;
}

void PrintProgress(uint64_t done, uint64_t total) {
  const double mib = 1024.0 * 1024.0;
  const int percent = total ? static_cast<int>(done * 100 / total) : 100;
  std::fprintf(stderr, "\rmake-chv: %3d%% (%.1f of %.1f MiB)", percent, double(done) / mib,
               double(total) / mib);
  std::fflush(stderr);
}

nlohmann::json ToJson(const tools::ChannelBuildResult& r) {
  nlohmann::json j;
  j["recordingName"] = r.recordingName;
  j["sequenceNumbers"] = r.sequenceNumbers;
  j["filesRead"] = r.filesRead;
  j["filesMissing"] = r.filesMissing;
  nlohmann::json unreadable = nlohmann::json::array();
  for (const auto& u : r.unreadable)
    unreadable.push_back({{"path", u.path.string()}, {"reason", u.reason}});
  j["unreadable"] = unreadable;
  j["announcedChannels"] = r.announcedChannels;
  j["bytesRead"] = r.bytesRead;
  nlohmann::json channels = nlohmann::json::array();
  for (const auto& c : r.channels) {
    channels.push_back({{"path", c.path.string()},
                        {"created", c.created},
                        {"writeError", c.writeError},
                        {"frames", c.frames},
                        {"payloadBytes", c.payloadBytes},
                        {"fileBytes", c.fileBytes}});
  }
  j["channels"] = channels;
  const auto& s = r.skipped;
  j["skipped"] = {{"channelOutOfRange", s.channelOutOfRange},
                  {"payloadTooLarge", s.payloadTooLarge},
                  {"badTime", s.badTime},
                  {"truncated", s.truncated},
                  {"noOutputFile", s.noOutputFile},
                  {"writeFailed", s.writeFailed},
                  {"total", s.Total()}};
  return j;
}

void PrintText(const tools::ChannelBuildResult& r) {
  std::printf("recording %s: %d .yrx file(s) read, %d missing\n",
              TerminalText(r.recordingName).c_str(), r.filesRead, r.filesMissing);
  if (r.outputStarted && r.announcedChannels != static_cast<int>(r.channels.size())) {
    std::printf("first record announces %d channels; %zu channel file(s) made\n",
                r.announcedChannels, r.channels.size());
  }
  for (const auto& c : r.channels) {
    if (!c.created) {
      std::printf("%s: could not be created\n", TerminalText(c.path.string()).c_str());
      continue;
    }
    std::printf("%s: %llu frames, %llu payload bytes, %llu bytes%s\n",
                TerminalText(c.path.string()).c_str(), static_cast<unsigned long long>(c.frames),
                static_cast<unsigned long long>(c.payloadBytes),
                static_cast<unsigned long long>(c.fileBytes),
                c.writeError ? " (write failed: incomplete)" : "");
  }
  const auto& s = r.skipped;
  if (s.Total() > 0) {
    std::printf(
        "skipped %llu record(s): %llu channel out of range, %llu payload over 131072 bytes, "
        "%llu with a bad time, %llu truncated, %llu without a channel file, %llu write failed\n",
        static_cast<unsigned long long>(s.Total()),
        static_cast<unsigned long long>(s.channelOutOfRange),
        static_cast<unsigned long long>(s.payloadTooLarge),
        static_cast<unsigned long long>(s.badTime), static_cast<unsigned long long>(s.truncated),
        static_cast<unsigned long long>(s.noOutputFile),
        static_cast<unsigned long long>(s.writeFailed));
  }
}

int RunBuild(const BuildArgs& a) {
  std::string entry = a.entry;
  while (!entry.empty() && entry.back() == '/') entry.pop_back();
  if (entry.empty()) {
    std::cerr << "make-chv: no recording entry given\n";
    return 1;
  }
  const std::string recording = tools::RecordingPathFor(tools::NormalizeStoragePath(a.dir), entry);
  std::error_code ec;
  if (!std::filesystem::is_directory(recording, ec)) {
    std::cerr << "make-chv: not a folder: " << TerminalText(recording) << "\n";
    return 1;
  }
  const bool showProgress = !a.noProgress && (a.progress || isatty(STDERR_FILENO));
  tools::ChannelBuildOptions options;
  if (showProgress) options.progress = PrintProgress;
  tools::ChannelFileBuilder builder(options);
  const tools::ChannelBuildResult r = builder.Build(recording);
  if (showProgress) std::fputc('\n', stderr);

  if (a.json) {
    std::cout << JsonText(ToJson(r), 2) << "\n";
  } else {
    PrintText(r);
  }
  // Every input left out is named; what could be read is still in the channel files.
  for (const auto& u : r.unreadable)
    std::cerr << "make-chv: " << TerminalText(u.path.string()) << ": " << u.reason << "\n";
  if (r.filesRead == 0) {
    std::cerr << "make-chv: no readable .yrx file for " << TerminalText(r.recordingName) << " in "
              << TerminalText(recording) << "\n";
    return 1;
  }
  if (!r.unreadable.empty()) {
    std::cerr << "make-chv: " << r.unreadable.size()
              << " input file(s) left out; the channel files are incomplete\n";
    return 1;
  }
  for (const auto& c : r.channels) {
    if (!c.created || c.writeError) {
      std::cerr << "make-chv: " << TerminalText(c.path.string()) << " is missing or incomplete\n";
      return 1;
    }
  }
  uint64_t written = 0;
  for (const auto& c : r.channels) written += c.frames;
  if (written == 0 && r.skipped.Total() > 0) {
    std::cerr << "make-chv: every record was skipped; nothing written\n";
    return 1;
  }
  if (r.skipped.Total() > 0) std::cerr << "make-chv: some records were skipped\n";
  return 0;
}

}  // namespace

void RegisterStorageTools(CLI::App& app, int& exitCode) {
  auto scanArgs = std::make_shared<ScanArgs>();
  auto* scan = app.add_subcommand(
      "storage-scan", "List the recording folders of a storage folder, in the combo box's order");
  scan->add_option("dir", scanArgs->dir, "Storage folder")->required();
  scan->add_flag("--json", scanArgs->json, "Print a JSON array");
  SetGnuHelp(*scan, "ostravue-cli storage-scan /media/recorder --json");
  scan->callback([scanArgs, &exitCode] { exitCode = RunScan(*scanArgs); });

  auto buildArgs = std::make_shared<BuildArgs>();
  auto* build = app.add_subcommand(
      "make-chv", "Build one .chv file per channel from a recording folder's .yrx files");
  build->add_option("dir", buildArgs->dir, "Storage folder")->required();
  build->add_option("entry", buildArgs->entry, "Recording entry as storage-scan prints it")
      ->required();
  build->add_flag("--json", buildArgs->json, "Print the result as JSON");
  build->add_flag("--progress", buildArgs->progress, "Show progress even when not on a terminal");
  build->add_flag("--no-progress", buildArgs->noProgress, "Never show progress");
  SetGnuHelp(*build, "ostravue-cli make-chv /media/recorder QL01/20240301");
  build->callback([buildArgs, &exitCode] { exitCode = RunBuild(*buildArgs); });
}

}  // namespace ov::cli
