// ostravue-cli export: clips of a time range, copied without re-encoding, with checksums and a
// report beside them.
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <utility>
#include <vector>

#include "archive/BackupFile.h"
#include "cli/ActivityRun.h"
#include "cli/Commands.h"
#include "cli/HelpFormat.h"
#include "cli/SetPaths.h"
#include "cli/TextOut.h"
#include "export/ClipExport.h"
#include "export/ClipNames.h"
#include "export/HashCache.h"
#include "export/Snapshot.h"

extern "C" {
#include <libavutil/log.h>
}

namespace ov::cli {
namespace {

std::atomic<bool> g_interrupted{false};
std::atomic<int> g_signal{0};  // the first signal that ended the export
extern "C" void OnInterrupt(int signo) {
  int none = 0;
  g_signal.compare_exchange_strong(none, signo);
  g_interrupted.store(true);
}

// Ctrl-C, a closed terminal, a stop request and a reader that went away all end the export at the
// next frame, so its temporary files are removed on the way out. A second Ctrl-C, hang-up or stop
// request acts as if no handler were there; a write to a closed pipe only fails from then on.
void CatchEndingSignals() {
  static_assert(std::atomic<int>::is_always_lock_free && std::atomic<bool>::is_always_lock_free);
  for (int signo : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) {
    struct sigaction sa {};
    sa.sa_handler = OnInterrupt;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = signo == SIGPIPE ? 0 : SA_RESETHAND;
    sigaction(signo, &sa, nullptr);
  }
}

// The exit status of a command that a signal ended: 128 + its number, as the shell reports a
// process the signal killed.
int SignalStatus() { return 128 + g_signal.load(); }

// Clips written, but the source's path named another file (or a changed one) by the end.
constexpr int kExitSourceChanged = 3;

struct ExportArgs {
  std::vector<std::string> files;
  std::string from, to, out = ".", format = "mp4";
  std::vector<int> channels;
  bool all = false;
  bool events = false;  // a clip per event the activity analysis finds instead of --from/--to
  int pad = 0;          // seconds added before and after each event
  bool noHashCache = false;
  bool json = false;
};

int RunExportCommand(const ExportArgs& a);

// One export per event of the channel, each with its clip, hashes and report record.
int RunEventExport(const ExportArgs& a) {
  if (a.channels.size() != 1 || a.all) {
    std::fprintf(stderr, "export: --events takes exactly one --channel\n");
    return cli::kExitUsage;
  }
  auto run = AnalyseFiles(a.files, "export", true);
  if (!run) return 1;
  const int slot = a.channels[0] - 1;
  const ChannelActivity* ch = nullptr;
  for (const auto& c : run->snapshot.channels)
    if (c.slot == slot) ch = &c;
  if (!ch) {
    std::fprintf(stderr, "export: channel %d has no video in this file\n", slot + 1);
    return 1;
  }
  if (ch->events.empty()) {
    std::fprintf(stderr, "export: channel %d has no events\n", slot + 1);
    return 0;
  }
  // Events closer than twice the padding would overlap once padded: they go into one clip.
  std::vector<std::pair<int32_t, int32_t>> spans;
  for (const auto& e : ch->events) {
    const int32_t from = std::max(0, e.fromSecond - a.pad);
    const int32_t to = std::min(run->snapshot.seconds, e.toSecond + 1 + a.pad);  // exclusive
    if (!spans.empty() && from <= spans.back().second)
      spans.back().second = std::max(spans.back().second, to);
    else
      spans.emplace_back(from, to);
  }
  for (const auto& [from, to] : spans) {
    ExportArgs one = a;
    one.events = false;
    one.from = std::to_string(from);
    one.to = std::to_string(to);
    if (const int rc = RunExportCommand(one); rc != 0) return rc;
    if (g_interrupted.load()) return SignalStatus();
  }
  return 0;
}

int RunExportCommand(const ExportArgs& a) {
  if (a.events) return RunEventExport(a);
  if (a.from.empty() || a.to.empty()) {
    std::fprintf(stderr, "export: %s is required\n", a.from.empty() ? "--from" : "--to");
    return cli::kExitUsage;
  }
  exporter::ExportRequest r;
  if (NamesSet(a.files)) {
    auto plan = std::make_shared<RecordingSetPlan>(PlanSetFor("export", a.files));
    if (plan->Empty()) return 1;
    r.source = plan->members.front().path;
    r.set = std::move(plan);
  } else {
    r.source = a.files.front();
  }
  r.from = a.from;
  r.to = a.to;
  r.channels = a.channels;
  r.all = a.all;
  r.outDir = a.out;
  r.format = a.format == "mkv" ? exporter::ContainerFormat::Mkv : exporter::ContainerFormat::Mp4;
  r.sound = exporter::SoundFormatFromEnvironment();
  if (!a.noHashCache) r.hashCache = exporter::DefaultHashCacheFile();
  av_log_set_level(AV_LOG_ERROR);  // the encoders' statistics are no news to the user

  CatchEndingSignals();

  const bool terminal = ::isatty(STDERR_FILENO) == 1;
  auto last = std::chrono::steady_clock::now();
  const auto progress = [&](const exporter::ExportProgress& p) {
    if (!terminal) return;
    const auto now = std::chrono::steady_clock::now();
    if (now - last < std::chrono::milliseconds(200) && p.doneBytes < p.totalBytes) return;
    last = now;
    const int percent = p.totalBytes ? int(p.doneBytes * 100 / p.totalBytes) : 100;
    std::fprintf(stderr, "\rexport: clip %d of %d (%s) %3d%%", p.clip + 1, p.clips,
                 TerminalText(p.camera).c_str(), percent);
    std::fflush(stderr);
  };
  const exporter::ExportOutcome out = exporter::RunExport(r, progress, g_interrupted);
  if (terminal) std::fprintf(stderr, "\n");
  if (!out.ok) {
    // After a hang-up or a closed pipe nobody may read this; the write then only fails.
    std::fprintf(stderr, "export: %s\n", TerminalText(out.error).c_str());
    return g_signal.load() != 0 ? SignalStatus() : (out.cancelled ? 130 : 1);
  }
  if (a.json) {
    nlohmann::json clips = nlohmann::json::array();
    for (const auto& c : out.clips)
      clips.push_back({{"file", c.fileName},
                       {"frames", c.frames},
                       {"durationMs", c.durationMs},
                       {"soundSeconds", c.soundSeconds}});
    const nlohmann::json j{{"clips", clips},
                           {"checksums", out.checksumPath},
                           {"report", out.reportPath},
                           {"sourceChanged", !out.sourceChanged.empty()}};
    std::cout << JsonText(j) << "\n" << std::flush;
  } else {
    for (const auto& c : out.clips)
      std::printf("%s: %llu frames, %.3f s, sound %.3f s\n", TerminalText(c.fileName).c_str(),
                  static_cast<unsigned long long>(c.frames), double(c.durationMs) / 1000.0,
                  c.soundSeconds);
    std::printf("%s\n%s\n", TerminalText(out.checksumPath).c_str(),
                TerminalText(out.reportPath).c_str());
  }
  if (!out.sourceChanged.empty()) {
    // The clips are sound, but the path no longer names what they were cut from.
    std::fprintf(stderr, "export: %s changed while the export ran: %s\n",
                 TerminalText(r.source).c_str(), out.sourceChanged.c_str());
    return kExitSourceChanged;
  }
  return 0;
}

struct SnapshotArgs {
  std::string file, at, out;
  int channel = 0;
  std::string region;
  PictureAdjust adjust;
  std::string deinterlace = "off";
  bool viewAsked = false;
  bool json = false;
};

int RunSnapshotCommand(const SnapshotArgs& a) {
  BackupFile file;
  const OpenOutcome opened = file.ReadBackupHeader(a.file);
  if (!opened.accepted) {
    std::fprintf(stderr, "snapshot: cannot open %s%s%s\n", a.file.c_str(),
                 opened.message.empty() ? "" : ": ", opened.message.c_str());
    return 1;
  }
  std::string why;
  const auto second =
      exporter::ParseTimeArg(a.at, file.Recording().m_Index.m_StartInfo[0].f_time, &why);
  if (!second) {
    std::fprintf(stderr, "snapshot: --at %s\n", why.c_str());
    return 1;
  }
  exporter::SnapshotView view;
  view.view = a.viewAsked;
  if (!a.region.empty()) {
    view.pixels = exporter::ParseRegion(a.region, &why);
    if (!view.pixels) {
      std::fprintf(stderr, "snapshot: --region %s\n", why.c_str());
      return 1;
    }
  }
  view.adjust = a.adjust;
  view.deinterlace = a.deinterlace == "on"     ? Deinterlace::On
                     : a.deinterlace == "auto" ? Deinterlace::Auto
                                               : Deinterlace::Off;
  av_log_set_level(AV_LOG_ERROR);
  exporter::SnapshotTarget target;
  target.second = *second;
  const auto out =
      exporter::TakeSnapshot(file, a.file, a.channel - 1, target, a.out, nullptr, view);
  if (!out.ok) {
    std::fprintf(stderr, "snapshot: %s\n", out.error.c_str());
    return 1;
  }
  if (a.json) {
    const nlohmann::json j{{"file", a.out},
                           {"width", out.width},
                           {"height", out.height},
                           {"time", exporter::DisplayStamp(out.second)}};
    std::cout << JsonText(j) << "\n" << std::flush;
  } else {
    std::printf("%s: %dx%d, %s\n", a.out.c_str(), out.width, out.height,
                exporter::DisplayStamp(out.second).c_str());
  }
  return 0;
}

}  // namespace

void RegisterSnapshot(CLI::App& app, int& exitCode) {
  auto a = std::make_shared<SnapshotArgs>();
  auto* cmd = app.add_subcommand("snapshot", "Save one channel's picture at a time as PNG");
  cmd->add_option("file", a->file, "Backup file")->required();
  cmd->add_option("--channel", a->channel, "Channel 1..16")
      ->required()
      ->check(CLI::Range(1, 16))
      ->type_name("n");
  cmd->add_option("--at", a->at, "\"YYYY-MM-DD HH:MM:SS\" or seconds from the start")
      ->required()
      ->type_name("time");
  cmd->add_option("out", a->out, "PNG file to write")->required();
  // Any of these makes a saved view: the PNG's text says which region and settings made it.
  const auto view = [a](CLI::Option* o) {
    o->each([a](const std::string&) { a->viewAsked = true; });
  };
  view(cmd->add_option("--region", a->region,
                       "Only x,y,w,h (recorded pixels): the PNG is w x h pixels of that part"));
  view(cmd->add_option("--brightness", a->adjust.brightness, "-100..100 (0: as recorded)")
           ->check(CLI::Range(-100, 100)));
  view(cmd->add_option("--contrast", a->adjust.contrast, "Percent, 0..300 (100: as recorded)")
           ->check(CLI::Range(0, 300)));
  view(cmd->add_option("--gamma", a->adjust.gamma, "Percent, 10..1000 (100: as recorded)")
           ->check(CLI::Range(10, 1000)));
  view(cmd->add_option("--saturation", a->adjust.saturation, "Percent, 0..300 (100: as recorded)")
           ->check(CLI::Range(0, 300)));
  view(cmd->add_option("--deinterlace", a->deinterlace,
                       "off, on, or auto (the pictures the stream marks as interlaced)")
           ->check(CLI::IsMember({"off", "on", "auto"})));
  cmd->add_flag("--json", a->json, "Print the result as one JSON object");
  SetGnuHelp(*cmd,
             "ostravue-cli snapshot rec.ysk --channel 1 --at \"2024-03-01 12:00:30\" cam1.png");
  cmd->callback([a, &exitCode] { exitCode = RunSnapshotCommand(*a); });
}

void RegisterExport(CLI::App& app, int& exitCode) {
  auto a = std::make_shared<ExportArgs>();
  auto* cmd = app.add_subcommand(
      "export", "Copy a time range of channels into MP4 or MKV clips, with checksums and a report");
  cmd->add_option("file", a->files,
                  "Backup file; several files or a folder are one recording set (a clip per "
                  "channel across its files)")
      ->required();
  auto* from =
      cmd->add_option("--from", a->from, "Start: \"YYYY-MM-DD HH:MM:SS\" or seconds from the start")
          ->type_name("time");
  auto* to =
      cmd->add_option("--to", a->to, "End (exclusive), in the same forms")->type_name("time");
  auto* events = cmd->add_flag("--events", a->events,
                               "A clip for every event the activity analysis finds on the channel");
  events->excludes(from)->excludes(to);
  cmd->add_option("--pad", a->pad, "Seconds added before and after each event (with --events)")
      ->check(CLI::Range(0, 3600))
      ->type_name("s")
      ->needs(events);
  auto* ch =
      cmd->add_option("--channel", a->channels, "Channel 1..16 (repeatable)")->type_name("n");
  auto* all = cmd->add_flag("--all", a->all, "Every channel with video");
  ch->excludes(all);
  cmd->add_option("--out", a->out, "Folder for the clips")->type_name("dir")->capture_default_str();
  cmd->add_option("--format", a->format, "Container: mp4 or mkv")
      ->check(CLI::IsMember({"mp4", "mkv"}))
      ->type_name("format")
      ->capture_default_str();
  cmd->add_flag("--no-hash-cache", a->noHashCache,
                "Hash the whole source again instead of using the digest remembered for the same "
                "unchanged file");
  cmd->add_flag("--json", a->json, "Print the clips, checksum file and report as one JSON object");
  SetGnuHelp(*cmd, "ostravue-cli export rec.ysk --from 60 --to 120 --channel 1 --out clips");
  cmd->callback([a, &exitCode] { exitCode = RunExportCommand(*a); });
}

}  // namespace ov::cli
