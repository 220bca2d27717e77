// ostravue-cli activity: how much moved on every camera in every second of a recording, and the
// intervals where something did.
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>
#include <vector>

#include "activity/Activity.h"
#include "archive/BackupFile.h"
#include "cli/ActivityRun.h"
#include "cli/Commands.h"
#include "cli/HelpFormat.h"
#include "cli/SetPaths.h"
#include "cli/TextOut.h"
#include "export/ClipNames.h"

namespace ov::cli {

std::optional<ActivityRun> AnalyseFile(const std::string& path, const char* command,
                                       bool useCache) {
  return AnalyseFiles({path}, command, useCache);
}

std::optional<ActivityRun> AnalyseFiles(const std::vector<std::string>& paths, const char* command,
                                        bool useCache) {
  ActivityRun run;
  run.file = std::make_unique<BackupFile>();
  const bool set = NamesSet(paths);
  const RecordingSetPlan plan = set ? PlanSetFor(command, paths) : RecordingSetPlan{};
  if (set && plan.Empty()) return std::nullopt;
  const std::string path = set ? plan.members.front().path : paths.front();
  const OpenOutcome opened =
      set ? run.file->ReadRecordingSet(plan) : run.file->ReadBackupHeader(path);
  if (!opened.accepted) {
    std::cerr << command << ": " << TerminalText(path) << ": "
              << (!opened.message.empty()  ? opened.message
                  : opened.refusal.empty() ? std::string("file not opened")
                                           : opened.refusal)
              << "\n";
    return std::nullopt;
  }
  ActivityJob::Options o;
  o.filePath = path;
  // The cache knows files by their path: a set (named after its first file) is not cached.
  if (useCache && !set) o.cacheDir = DefaultActivityCacheDir();
  ActivityJob job(run.file->SharedRecording(), run.file->ScanReader(), o);
  job.Start();
  const bool terminal = ::isatty(STDERR_FILENO) == 1;
  if (terminal) {
    for (;;) {
      const ActivitySnapshot s = job.Snapshot();
      std::fprintf(stderr, "\r%s: %3d%%", command, int(s.progress * 100));
      std::fflush(stderr);
      if (s.complete) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    std::fprintf(stderr, "\n");
  }
  job.Wait();
  run.snapshot = job.Snapshot();
  run.startSecond = run.file->Recording().m_Index.m_StartInfo[0].f_time;
  return run;
}

namespace {
using nlohmann::json;

struct ActivityArgs {
  std::vector<std::string> files;
  std::vector<int> channels;
  bool json = false, csv = false, noCache = false;
};

// Levels to three places: finer steps say nothing and only lengthen the output.
double Rounded(float x) { return std::round(double(x) * 1000.0) / 1000.0; }

bool Chosen(const ActivityArgs& a, int slot) {
  if (a.channels.empty()) return true;
  for (int c : a.channels)
    if (c == slot + 1) return true;
  return false;
}

int RunActivity(const ActivityArgs& a) {
  auto run = AnalyseFiles(a.files, "activity", !a.noCache);
  // A set is named as it was given: the folder, or its first file.
  const std::string& name = a.files.front();
  if (!run) return 1;
  const ActivitySnapshot& s = run->snapshot;
  const OpenRecording& rec = run->file->Recording();
  for (int c : a.channels) {
    bool found = false;
    for (const auto& ch : s.channels) found = found || ch.slot + 1 == c;
    if (!found) {
      std::cerr << "activity: channel " << c << " has no video in this file\n";
      return 1;
    }
  }
  const auto stamp = [&](int32_t second) {
    return exporter::DisplayStamp(AddSeconds(run->startSecond, second));
  };
  if (a.csv) {
    std::string line = "second,time";
    for (const auto& ch : s.channels)
      if (Chosen(a, ch.slot)) line += ",channel " + std::to_string(ch.slot + 1);
    std::printf("%s\n", line.c_str());
    for (int32_t sec = 0; sec < s.seconds; ++sec) {
      line = std::to_string(sec) + "," + stamp(sec);
      for (const auto& ch : s.channels) {
        if (!Chosen(a, ch.slot)) continue;
        const float x = ch.level[size_t(sec)];
        char v[16] = "";
        if (x >= 0.0f) std::snprintf(v, sizeof v, "%.3f", double(x));
        line += ",";
        line += v;
      }
      std::printf("%s\n", line.c_str());
    }
    return 0;
  }
  if (a.json) {
    json channels = json::array();
    for (const auto& ch : s.channels) {
      if (!Chosen(a, ch.slot)) continue;
      json levels = json::array();
      for (float x : ch.level) levels.push_back(x >= 0.0f ? json(Rounded(x)) : json(nullptr));
      json events = json::array();
      for (const auto& e : ch.events)
        events.push_back({{"fromSecond", e.fromSecond},
                          {"toSecond", e.toSecond},
                          {"from", stamp(e.fromSecond)},
                          {"to", stamp(e.toSecond)},
                          {"peak", Rounded(e.peak)}});
      channels.push_back({{"channel", ch.slot + 1},
                          {"name", rec.m_Header.video[size_t(ch.slot)].name},
                          {"activity", levels},
                          {"events", events}});
    }
    const json j{
        {"file", name}, {"start", stamp(0)}, {"seconds", s.seconds}, {"channels", channels}};
    std::cout << JsonText(j) << "\n";
    return 0;
  }
  std::printf("%s: %d s from %s\n", TerminalText(name).c_str(), s.seconds, stamp(0).c_str());
  for (const auto& ch : s.channels) {
    if (!Chosen(a, ch.slot)) continue;
    std::printf("channel %d (%s): %zu event%s\n", ch.slot + 1,
                TerminalText(rec.m_Header.video[size_t(ch.slot)].name).c_str(), ch.events.size(),
                ch.events.size() == 1 ? "" : "s");
    for (const auto& e : ch.events)
      std::printf("  %s .. %s  (%d..%d s, peak %.2f)\n", stamp(e.fromSecond).c_str(),
                  stamp(e.toSecond).c_str(), e.fromSecond, e.toSecond, double(e.peak));
  }
  return 0;
}

}  // namespace

void RegisterActivity(CLI::App& app, int& exitCode) {
  auto a = std::make_shared<ActivityArgs>();
  auto* cmd = app.add_subcommand(
      "activity", "Analyse every camera's activity per second and list the events found");
  cmd->add_option("file", a->files,
                  "Backup file; several files or a folder are analysed as one recording set")
      ->required();
  cmd->add_option("--channel", a->channels, "Channel 1..16 (repeatable; all when none)")
      ->check(CLI::Range(1, 16))
      ->type_name("n");
  auto* js = cmd->add_flag("--json", a->json, "One JSON document");
  auto* csv = cmd->add_flag("--csv", a->csv, "One line per second, a column per channel");
  js->excludes(csv);
  cmd->add_flag("--no-cache", a->noCache, "Neither read nor write the results cache");
  SetGnuHelp(*cmd, "ostravue-cli activity rec.ysk --channel 1 --json");
  cmd->callback([a, &exitCode] { exitCode = RunActivity(*a); });
}

}  // namespace ov::cli
