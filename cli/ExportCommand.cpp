// ostravue-cli export: clips of a time range, copied without re-encoding, with checksums and a
// report beside them.
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "archive/BackupFile.h"
#include "cli/Commands.h"
#include "cli/HelpFormat.h"
#include "cli/TextOut.h"
#include "export/ClipExport.h"
#include "export/ClipNames.h"
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
  std::string file, from, to, out = ".", format = "mp4";
  std::vector<int> channels;
  bool all = false;
  bool json = false;
};

int RunExportCommand(const ExportArgs& a) {
  exporter::ExportRequest r;
  r.source = a.file;
  r.from = a.from;
  r.to = a.to;
  r.channels = a.channels;
  r.all = a.all;
  r.outDir = a.out;
  r.format = a.format == "mkv" ? exporter::ContainerFormat::Mkv : exporter::ContainerFormat::Mp4;
  r.sound = exporter::SoundFormatFromEnvironment();
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
                 TerminalText(a.file).c_str(), out.sourceChanged.c_str());
    return kExitSourceChanged;
  }
  return 0;
}

struct SnapshotArgs {
  std::string file, at, out;
  int channel = 0;
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
  av_log_set_level(AV_LOG_ERROR);
  exporter::SnapshotTarget target;
  target.second = *second;
  const auto out = exporter::TakeSnapshot(file, a.file, a.channel - 1, target, a.out);
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
  cmd->add_flag("--json", a->json, "Print the result as one JSON object");
  SetGnuHelp(*cmd,
             "ostravue-cli snapshot rec.ysk --channel 1 --at \"2024-03-01 12:00:30\" cam1.png");
  cmd->callback([a, &exitCode] { exitCode = RunSnapshotCommand(*a); });
}

void RegisterExport(CLI::App& app, int& exitCode) {
  auto a = std::make_shared<ExportArgs>();
  auto* cmd = app.add_subcommand(
      "export", "Copy a time range of channels into MP4 or MKV clips, with checksums and a report");
  cmd->add_option("file", a->file, "Backup file")->required();
  cmd->add_option("--from", a->from, "Start: \"YYYY-MM-DD HH:MM:SS\" or seconds from the start")
      ->required()
      ->type_name("time");
  cmd->add_option("--to", a->to, "End (exclusive), in the same forms")
      ->required()
      ->type_name("time");
  auto* ch =
      cmd->add_option("--channel", a->channels, "Channel 1..16 (repeatable)")->type_name("n");
  auto* all = cmd->add_flag("--all", a->all, "Every channel with video");
  ch->excludes(all);
  cmd->add_option("--out", a->out, "Folder for the clips")->type_name("dir")->capture_default_str();
  cmd->add_option("--format", a->format, "Container: mp4 or mkv")
      ->check(CLI::IsMember({"mp4", "mkv"}))
      ->type_name("format")
      ->capture_default_str();
  cmd->add_flag("--json", a->json, "Print the clips, checksum file and report as one JSON object");
  SetGnuHelp(*cmd, "ostravue-cli export rec.ysk --from 60 --to 120 --channel 1 --out clips");
  cmd->callback([a, &exitCode] { exitCode = RunExportCommand(*a); });
}

}  // namespace ov::cli
