// ostravue-cli trace: runs transport commands on a virtual clock and prints every decoder call
// and view change as one JSON object per line.
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/HelpFormat.h"
#include "cli/SetPaths.h"
#include "cli/TextOut.h"
#include "playback/trace/TraceDriver.h"

namespace ov::cli {
namespace {
using nlohmann::json;

struct TraceArgs {
  std::vector<std::string> files;
  std::string script;
  bool json = false;  // accepted: trace always prints JSON lines
};

// The JSON line of one event, or null for calls the trace does not show.
json TraceLine(const LoggedEvent& e, int64_t t0Ms) {
  const int64_t t = std::chrono::duration_cast<std::chrono::milliseconds>(e.t).count() - t0Ms;
  auto at = [&](size_t i) { return i < e.ints.size() ? e.ints[i] : 0; };
  json j{{"t", t}};
  if (e.fromDecoder) {
    switch (e.dispid) {
      case dispid::SubmitFrame:
        // Integers after the buffer: f_time, ms, audio, size, f_type, channel, show, tag.
        j["op"] = "SubmitFrame";
        j["ch"] = at(5);
        j["audio"] = at(2);
        j["time"] = at(0);
        j["ms"] = at(1);
        j["size"] = at(3);
        j["type"] = at(4);
        j["crc"] = e.crc;
        // Decode-only frames on the way to a landing picture; shown frames print as they did.
        if (e.ints.size() > 6 && at(6) == 0) j["show"] = false;
        return j;
      case dispid::SetVolume:
        j["op"] = "SetVolume";
        j["v"] = at(0);
        return j;
      case dispid::ClearDecoder:
        j["op"] = "ClearDecoder";
        return j;
      case dispid::SetLayout:
        j["op"] = "SetLayout";
        j["a"] = at(0);
        j["b"] = at(1);
        return j;
      default:
        return nullptr;
    }
  }
  switch (e.view) {
    case ViewOp::Text:
      j["op"] = "text";
      j["id"] = at(0);
      j["s"] = e.text;
      return j;
    case ViewOp::SeekPos:
      j["op"] = "slider";
      j["pos"] = at(0);
      return j;
    case ViewOp::Reset:
      j["op"] = "reset";
      return j;
    case ViewOp::Bitmaps:
      j["op"] = "bitmaps";
      j["id"] = at(0);
      j["ids"] = json::array({at(1), at(2), at(3), at(4)});
      return j;
    case ViewOp::Searching:
      j["op"] = "searching";
      j["shown"] = at(0) != 0;
      return j;
    default:
      return nullptr;
  }
}

int RunTrace(const TraceArgs& a) {
  TraceDriver driver;
  const bool set = NamesSet(a.files);
  const RecordingSetPlan plan = set ? PlanSetFor("trace", a.files) : RecordingSetPlan{};
  if (set && plan.Empty()) return 1;
  const std::string shown = set ? plan.members.front().path : a.files.front();
  const OpenOutcome out = set ? driver.OpenSet(plan, shown) : driver.Open(shown);
  if (!out.accepted) {
    if (!out.message.empty())
      std::cerr << "trace: " << out.message << "\n"
                << (out.problem.Known() ? "trace: " + ReasonText(out.problem) + "\n" : "");
    else
      std::cerr << "trace: " << TerminalText(shown) << ": "
                << (out.refusal.empty() ? "file not opened" : out.refusal) << "\n";
    return 1;
  }
  driver.Log().Clear();
  const int64_t t0 = driver.NowMs();
  std::string error;
  const bool ok = driver.RunScript(a.script, error);
  for (const LoggedEvent& e : driver.Log().Snapshot()) {
    const json line = TraceLine(e, t0);
    if (!line.is_null()) std::cout << JsonText(line) << "\n";
  }
  std::cout.flush();
  if (!ok) {
    std::cerr << "trace: " << error << "\n";
    return 1;
  }
  return 0;
}

}  // namespace

void RegisterTrace(CLI::App& app, int& exitCode) {
  auto args = std::make_shared<TraceArgs>();
  auto* cmd = app.add_subcommand(
      "trace",
      "Run transport commands on a virtual clock and print the decoder calls and view "
      "changes as JSON lines");
  cmd->add_option("file", args->files,
                  "Backup file; several files or a folder play as one recording set")
      ->required();
  cmd->add_option("--script", args->script,
                  "Commands separated by ';': play, rew, ff, r, f, seek S, volume V, mute, "
                  "layout N, iframe, format N, wait MS, end")
      ->required()
      ->type_name("script");
  cmd->add_flag("--json", args->json, "Print JSON lines (what trace always prints)");
  SetGnuHelp(*cmd, "ostravue-cli trace rec.ysk --script \"play; wait 3000; ff; wait 1000; end\"");
  cmd->callback([args, &exitCode] { exitCode = RunTrace(*args); });
}

}  // namespace ov::cli
