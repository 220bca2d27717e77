// ostravue-cli seek: opens a file as the player does and runs the search that the seek slider
// starts for one second, then prints where every channel ended.
#include <cstdio>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "cli/Commands.h"
#include "cli/HelpFormat.h"
#include "cli/TextOut.h"
#include "playback/trace/TraceDriver.h"

namespace ov::cli {
namespace {
using nlohmann::json;

struct SeekArgs {
  std::string file;
  int second = 0;
  bool iFrameOnly = false;
  bool json = false;  // accepted: seek always prints JSON
};

int RunSeek(const SeekArgs& a) {
  TraceDriver driver;
  const OpenOutcome out = driver.Open(a.file);
  if (!out.accepted) {
    if (!out.message.empty())
      std::cerr << "seek: " << out.message << "\n"
                << (out.problem.Known() ? "seek: " + ReasonText(out.problem) + "\n" : "");
    else
      std::cerr << "seek: " << TerminalText(a.file) << ": "
                << (out.refusal.empty() ? "file not opened" : out.refusal) << "\n";
    return 1;
  }
  CalendarTime target{};
  driver.Do([&](PlaybackEngine& e) {
    e.SetIFrameOnly(a.iFrameOnly);
    e.State().m_SliderSecond.store(a.second);
    e.EstimateResume();
    target = SecondsToCalendar(AddSeconds(e.StartSecond(), a.second));
    e.StartExactSeek(target);
  });
  const PlaybackState& st = driver.Engine().State();
  // videoPos and audioPos are where the search stops each channel (as they always were); the
  // exact landing adds the key frame each channel starts decoding at and its first picture shown.
  const SearchResult r = driver.Engine().LastSearch();
  json video = json::array(), audio = json::array(), landing = json::array(), show = json::array();
  for (int n = 0; n < kSlots; ++n) {
    video.push_back(r.video[size_t(n)]);
    audio.push_back(r.audio[size_t(n)]);
    landing.push_back(r.landing[size_t(n)]);
    show.push_back(r.showFrom[size_t(n)]);
  }
  char when[64];
  std::snprintf(when, sizeof when, "%04u-%02u-%02u %02u:%02u:%02u", target.year, target.month,
                target.day, target.hour, target.minute, target.second);
  const json j{{"seekDone", st.m_SeekDone.load()},
               {"videoPos", video},
               {"audioPos", audio},
               {"target", when},
               {"landingPos", landing},
               {"showFrom", show}};
  std::cout << JsonText(j) << "\n";
  return 0;
}

}  // namespace

void RegisterSeek(CLI::App& app, int& exitCode) {
  auto args = std::make_shared<SeekArgs>();
  auto* cmd = app.add_subcommand(
      "seek", "Run the seek slider's key-frame search for one second and print the positions");
  cmd->add_option("file", args->file, "Backup file")->required();
  cmd->add_option("--second", args->second, "Seek slider position in seconds")
      ->required()
      ->type_name("seconds");
  cmd->add_flag("--iframe-only", args->iFrameOnly, "Search with I-Frame Only set");
  cmd->add_flag("--json", args->json, "Print one JSON object (what seek always prints)");
  SetGnuHelp(*cmd, "ostravue-cli seek rec.ysk --second 120");
  cmd->callback([args, &exitCode] { exitCode = RunSeek(*args); });
}

}  // namespace ov::cli
