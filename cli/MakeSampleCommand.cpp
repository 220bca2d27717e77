// make-sample: writes a synthetic backup file with real video and sound payloads.
#include <cstdio>
#include <iostream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "archive/Calendar.h"
#include "cli/Commands.h"
#include "cli/HelpFormat.h"
#include "cli/StorageSampleCommand.h"
#include "cli/TextOut.h"
#include "cli/sample/SampleWriter.h"
#include "cli/sample/StillScene.h"

namespace ov::cli {
namespace {

struct MakeSampleArgs {
  std::string out;
  std::string manifest;
  int channels = 4;
  std::string videoSlots;  // empty = every channel
  std::string audioSlots;  // empty = the video slots
  bool noAudio = false;
  std::string names;
  int coding = 2;
  std::string size = "352x288";
  int fps = 25;
  int gop = 25;
  double durationSec = 60;
  std::string start = "2024-03-01 12:00:00";
  uint32_t startMsec = 1000;
  int offsetMs = 0;
  int kind = 0;
  double longGiB = 0;
  std::string preset = "ultrafast";
  bool flat = false;
  std::string events;  // "CHANNEL:FROM-TO,...": a still scene with these crossings
  int noise = 0;
  std::string stampChannels;  // with events: these still channels carry the frame stamp too
  bool interlaced = false;
  double splitMinutes = 0;  // 0: one file
};

// "dir/rec.ysk" -> "dir/rec-02.ysk" for part 2.
std::string PartPath(const std::string& path, int part) {
  char suffix[16];
  std::snprintf(suffix, sizeof suffix, "-%02d", part);
  const size_t slash = path.find_last_of('/');
  const size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return path + suffix;
  return path.substr(0, dot) + suffix + path.substr(dot);
}

std::vector<std::string> SplitList(const std::string& text) {
  std::vector<std::string> parts;
  std::stringstream in(text);
  std::string part;
  while (std::getline(in, part, ',')) parts.push_back(part);
  return parts;
}

std::vector<int> ParseSlots(const std::string& text) {
  std::vector<int> slots;
  if (text == "none") return slots;
  for (const auto& part : SplitList(text)) {
    size_t used = 0;
    const int v = std::stoi(part, &used);
    if (used != part.size()) throw std::invalid_argument("bad slot list: " + text);
    slots.push_back(v);
  }
  return slots;
}

int32_t ParseStart(const std::string& text) {
  const std::optional<CalendarTime> t = ParseDateTime(text);
  if (!t || t->year < 1971)
    throw std::invalid_argument("start must be \"YYYY-MM-DD HH:MM:SS\" (1971..2037)");
  return CalendarToSeconds(*t);
}

// "2:10-14.5,3:40-52" into crossings (channels counted from 1, seconds from the first frame).
std::vector<sample::Motion> ParseMotions(const std::string& text) {
  std::vector<sample::Motion> list;
  if (text == "none") return list;
  for (const auto& part : SplitList(text)) {
    int channel = 0, used = 0;
    double from = 0, to = 0;
    if (std::sscanf(part.c_str(), "%d:%lf-%lf%n", &channel, &from, &to, &used) != 3 ||
        size_t(used) != part.size() || channel < 1 || channel > 16 || !(from >= 0) ||
        !(to > from) || to > 90000)
      throw std::invalid_argument("--events takes CHANNEL:FROM-TO,... (seconds), not \"" + part +
                                  "\"");
    list.push_back({channel - 1, from, to});
  }
  return list;
}

sample::SampleOptions ToOptions(const MakeSampleArgs& a) {
  sample::SampleOptions o;
  o.channelCount = a.channels;
  if (!a.videoSlots.empty()) o.videoSlots = ParseSlots(a.videoSlots);
  if (a.noAudio)
    o.audioSlots.emplace();
  else if (!a.audioSlots.empty())
    o.audioSlots = ParseSlots(a.audioSlots);
  if (!a.names.empty()) o.names = SplitList(a.names);
  o.video.coding = a.coding;
  char x = 0, tail = 0;
  if (std::sscanf(a.size.c_str(), "%d%c%d%c", &o.video.width, &x, &o.video.height, &tail) != 3 ||
      x != 'x')
    throw std::invalid_argument("size must be WIDTHxHEIGHT");
  o.video.fps = a.fps;
  o.video.gop = a.gop;
  o.video.x264Preset = a.preset;
  o.video.textured = !a.flat;
  if (!a.events.empty()) {
    o.video.still = true;
    o.video.scene.fps = a.fps;
    o.video.scene.noise = a.noise;
    o.video.scene.motions = ParseMotions(a.events);
    for (int channel : ParseSlots(a.stampChannels.empty() ? "none" : a.stampChannels)) {
      if (channel < 1 || channel > 16) throw std::invalid_argument("--stamp takes channels 1..16");
      o.video.stampStill |= 1u << (channel - 1);
    }
  }
  o.video.interlaced = a.interlaced;
  if (!(a.durationSec > 0) || a.durationSec > 90000) throw std::invalid_argument("bad duration");
  o.durationMs = int64_t(a.durationSec * 1000 + 0.5);
  o.startTime = ParseStart(a.start);
  o.startMsec = a.startMsec;
  o.offsetMsPerSlot = a.offsetMs;
  o.kind = a.kind;
  if (a.longGiB < 0 || a.longGiB >= 4) throw std::invalid_argument("--long must be below 4 GiB");
  o.longTargetBytes = uint64_t(a.longGiB * 1024.0 * 1024.0 * 1024.0);
  return o;
}

// --split: the recording written as consecutive parts of splitMinutes each.
int WriteParts(const MakeSampleArgs& a, const sample::SampleOptions& whole, bool json) {
  if (whole.longTargetBytes) throw std::invalid_argument("--split does not go with --long");
  const int64_t partMs = int64_t(a.splitMinutes * 60000 + 0.5);
  if (partMs < 1000) throw std::invalid_argument("--split takes at least one second (0.0167)");
  const int64_t parts = (whole.durationMs + partMs - 1) / partMs;
  if (parts > 999) throw std::invalid_argument("--split would write more than 999 files");
  for (int64_t i = 0; i < parts; ++i) {
    sample::SampleOptions o = whole;
    o.partFromMs = i * partMs;
    o.partToMs = i + 1 < parts ? (i + 1) * partMs : 0;
    const std::string path = PartPath(a.out, int(i + 1));
    const auto r = sample::WriteSample(
        o, path, a.manifest.empty() ? std::string() : PartPath(a.manifest, int(i + 1)));
    if (json) {
      const nlohmann::json j{{"path", path},
                             {"fileBytes", r.fileSize},
                             {"videoFrames", r.videoFrames},
                             {"soundFrames", r.audioFrames}};
      std::cout << JsonText(j) << "\n";
    } else {
      std::printf("%s: %llu bytes, %llu video frames, %llu sound frames\n", path.c_str(),
                  static_cast<unsigned long long>(r.fileSize),
                  static_cast<unsigned long long>(r.videoFrames),
                  static_cast<unsigned long long>(r.audioFrames));
    }
  }
  std::cout << std::flush;
  return kExitDone;
}

}  // namespace

void RegisterMakeSample(CLI::App& app, int& exitCode) {
  auto args = std::make_shared<MakeSampleArgs>();
  auto json = std::make_shared<bool>(false);
  CLI::App* cmd = app.add_subcommand(
      "make-sample", "Write a synthetic backup file with real H.264 or MPEG-4 video and sound");
  cmd->add_option("out", args->out, "Backup file to write")->required();
  cmd->add_option("--manifest", args->manifest, "Also write every frame's ground truth as JSON")
      ->type_name("file");
  cmd->add_option("--channels", args->channels, "Channel count of the header (1..16)")
      ->type_name("n")
      ->capture_default_str();
  cmd->add_flag("--json", *json, "Print the result as one JSON object");
  cmd->add_option("--video-slots", args->videoSlots,
                  "Recorded video slots, e.g. \"0,1,3\" or \"none\" (default: every channel)");
  cmd->add_option("--audio-slots", args->audioSlots,
                  "Recorded sound slots, e.g. \"0,2\" or \"none\" (default: the video slots)");
  cmd->add_flag("--no-audio", args->noAudio, "Record no sound");
  cmd->add_option("--names", args->names, "Channel names, comma separated (default \"Camera N\")");
  cmd->add_option("--coding", args->coding, "Video coding: 2 = H.264, 1 = MPEG-4 Part 2")
      ->check(CLI::IsMember({1, 2}))
      ->capture_default_str();
  cmd->add_option("--size", args->size, "Picture size WIDTHxHEIGHT")
      ->type_name("wxh")
      ->capture_default_str();
  cmd->add_option("--fps", args->fps, "Frame rate")->type_name("n")->capture_default_str();
  cmd->add_option("--gop", args->gop, "Key-frame interval in frames")
      ->type_name("n")
      ->capture_default_str();
  cmd->add_option("--duration", args->durationSec, "Length in seconds")
      ->type_name("seconds")
      ->capture_default_str();
  cmd->add_option("--start", args->start, "Date and time of the first frame")
      ->type_name("time")
      ->capture_default_str();
  cmd->add_option("--start-msec", args->startMsec, "Running millisecond clock at the first frame")
      ->capture_default_str();
  cmd->add_option("--offset-ms", args->offsetMs,
                  "Slot n's time stamps run n x this many ms later (0..1000)")
      ->capture_default_str();
  cmd->add_option("--kind", args->kind, "Header layout 0, 1 or 2")
      ->check(CLI::IsMember({0, 1, 2}))
      ->capture_default_str();
  cmd->add_option("--long", args->longGiB,
                  "Long mode: repeat one encoded group of pictures per channel until the file "
                  "is about this many GiB (below 4); --duration is ignored");
  cmd->add_option("--preset", args->preset, "x264 preset")->capture_default_str();
  auto* events = cmd->add_option(
      "--events", args->events,
      "A still scene without the frame stamp, an object crossing it at these times: "
      "CHANNEL:FROM-TO,... in seconds (\"none\": no crossing); the truth goes into the manifest");
  cmd->add_option("--noise", args->noise, "Sensor noise of the still scene, 0..64")
      ->check(CLI::Range(0, 64))
      ->needs(events);
  cmd->add_option("--stamp", args->stampChannels,
                  "With --events: channels (from 1, comma separated) whose still scene carries "
                  "the frame stamp too, for checks that read the frame shown from the screen")
      ->needs(events);
  cmd->add_flag("--interlaced", args->interlaced,
                "Field-coded pictures with a fast bar that combs unless deinterlaced");
  cmd->add_flag("--flat", args->flat,
                "Flat pictures without the scrolling texture: tiny payloads, faster");
  cmd->add_option("--split", args->splitMinutes,
                  "Write the recording as consecutive files of this many minutes each, named "
                  "OUT-01.ysk, OUT-02.ysk, ... (cut at key frames)")
      ->type_name("minutes");
  auto storageArgs = std::make_shared<StorageSampleArgs>();
  AddStorageSampleOptions(*cmd, *storageArgs);
  SetGnuHelp(*cmd, "ostravue-cli make-sample rec.ysk --channels 4 --duration 30");
  cmd->callback([args, storageArgs, json, &exitCode] {
    try {
      const auto options = ToOptions(*args);
      if (storageArgs->storage) {
        exitCode = RunStorageSample(args->out, options, *storageArgs);
        return;
      }
      if (args->splitMinutes > 0) {
        exitCode = WriteParts(*args, options, *json);
        return;
      }
      const auto r = sample::WriteSample(options, args->out, args->manifest);
      if (*json) {
        const nlohmann::json j{{"path", args->out},
                               {"fileBytes", r.fileSize},
                               {"videoFrames", r.videoFrames},
                               {"soundFrames", r.audioFrames},
                               {"durationMs", r.durationMs}};
        std::cout << JsonText(j) << "\n" << std::flush;
      } else {
        std::printf("%s: %llu bytes, %llu video frames, %llu sound frames, %.1f s\n",
                    args->out.c_str(), static_cast<unsigned long long>(r.fileSize),
                    static_cast<unsigned long long>(r.videoFrames),
                    static_cast<unsigned long long>(r.audioFrames), double(r.durationMs) / 1000.0);
      }
      if (r.largestPayload > kMaxPayload)
        std::fprintf(stderr, "make-sample: warning: a frame of %u bytes exceeds %u bytes\n",
                     r.largestPayload, kMaxPayload);
      exitCode = kExitDone;
    } catch (const std::invalid_argument& e) {
      std::fprintf(stderr, "make-sample: %s\n", e.what());
      exitCode = kExitUsage;
    } catch (const std::exception& e) {
      std::fprintf(stderr, "make-sample: %s\n", e.what());
      exitCode = kExitFailed;
    }
  });
}

}  // namespace ov::cli
