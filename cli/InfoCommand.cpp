// ostravue-cli info: the open command's file checks and the time index, without a window.
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <nlohmann/json.hpp>
#include <string>

#include "archive/BackupFile.h"
#include "cli/Commands.h"
#include "cli/HelpFormat.h"
#include "cli/SetPaths.h"
#include "cli/TextOut.h"

namespace ov::cli {
namespace {
using nlohmann::json;

std::string DateTime(const CalendarTime& t, bool withMs) {
  char b[64];
  if (withMs)
    std::snprintf(b, sizeof b, "%04u-%02u-%02u %02u:%02u:%02u.%03u", t.year, t.month, t.day, t.hour,
                  t.minute, t.second, t.millisecond % 1000u);
  else
    std::snprintf(b, sizeof b, "%04u-%02u-%02u %02u:%02u:%02u", t.year, t.month, t.day, t.hour,
                  t.minute, t.second);
  return b;
}

// Schema 1 names a frame record's members as the file does (f_time); schema 2 in camelCase.
json Info(const ChannelTimeInfo& r, int schema) {
  if (schema >= 2)
    return {{"fTime", r.f_time}, {"fMsec", r.f_msec}, {"fSize", r.f_size},
            {"fInfo", r.f_info}, {"fType", r.f_type}, {"slot", r.slot}};
  return {{"f_time", r.f_time}, {"f_msec", r.f_msec}, {"f_size", r.f_size},
          {"f_info", r.f_info}, {"f_type", r.f_type}, {"slot", r.slot}};
}
template <typename A>
json Array(const A& a) {
  json j = json::array();
  for (const auto& v : a) j.push_back(v);
  return j;
}
template <typename A>
json InfoArray(const A& a, int schema) {
  json j = json::array();
  for (const auto& v : a) j.push_back(Info(v, schema));
  return j;
}

// How far the open got, so a rejected file reports only what was computed before the rejection.
enum Stage { kNone, kHeader, kCounts, kTables };
Stage StageOf(const OpenOutcome& o) {
  if (o.accepted || o.code == 1007) return kTables;
  if (o.code == 1006) return kCounts;
  return kHeader;
}

json Describe(const std::string& path, const PreOpenResult& pre, const OpenRecording& f,
              const OpenOutcome* o, int schema) {
  static const char* kKeys[] = {
      "kind",         "channelCount", "videoCoding", "videoMask",      "audioMask",    "dataStart",
      "refDate",      "videoCount",   "audioCount",  "names",          "channelNo",    "hasVideo",
      "hasAudio",     "videoFirst",   "audioFirst",  "videoLast",      "audioLast",    "videoPos",
      "audioPos",     "startInfo",    "endInfo",     "startInfoAudio", "endInfoAudio", "startMsec",
      "totalSeconds", "totalTime",    "resumeTime",  "paneCount",      "paneTitles"};
  json j;
  j["path"] = path;
  j["status"] = pre.status == PreOpenStatus::Ignored ? "ignored"
                : (o && o->accepted)                 ? "accepted"
                                                     : "rejected";
  j["code"] = nullptr;
  j["message"] = nullptr;
  for (const char* k : kKeys) j[k] = nullptr;
  // Added in schema 2: which check refused the file and what to do about it.
  if (schema >= 2) {
    j["schema"] = schema;
    j["reason"] = nullptr;
    j["nextStep"] = nullptr;
    if (pre.status == PreOpenStatus::Ignored) j["reason"] = IgnoredReason(path, pre);
  }
  auto explain = [&](const OpenProblem& p) {
    if (schema < 2 || !p.Known()) return;
    j["reason"] = ReasonText(p);
    j["nextStep"] = p.next ? json(p.next) : json(nullptr);
  };
  if (pre.status == PreOpenStatus::TooShort) {
    j["code"] = "C1001";
    j["message"] = kMsgC1001;
    explain(TooShortProblem(pre.length));
  }
  if (!o) return j;
  if (!o->accepted) {
    j["code"] = "C" + std::to_string(o->code);
    j["message"] = o->message;
    explain(o->problem);
  }
  const Stage stage = StageOf(*o);
  const YskHeader& h = f.m_Header;
  j["kind"] = h.kind;
  j["channelCount"] = h.channelCount;
  j["videoCoding"] = h.videoCoding;
  j["videoMask"] = h.videoMask;
  j["audioMask"] = h.audioMask;
  json names = json::array(), channelNo = json::array();
  for (const auto& r : h.video) {
    names.push_back(r.name);
    channelNo.push_back(r.channelNo);
  }
  j["names"] = names;
  j["channelNo"] = channelNo;
  if (stage >= kCounts) {
    j["videoCount"] = f.m_VideoCount;
    j["audioCount"] = f.m_AudioCount;
    j["hasVideo"] = Array(f.m_HasVideo);
    j["hasAudio"] = Array(f.m_HasAudio);
  }
  if (stage >= kTables) {
    const TimeIndex& x = f.m_Index;
    j["dataStart"] = f.m_DataStart;
    j["refDate"] = DateTime(f.m_RefDate, false);
    j["videoFirst"] = Array(f.m_VideoFirst);
    j["audioFirst"] = Array(f.m_AudioFirst);
    j["videoLast"] = Array(f.m_VideoLast);
    j["audioLast"] = Array(f.m_AudioLast);
    j["videoPos"] = Array(f.m_VideoPos);
    j["audioPos"] = Array(f.m_AudioPos);
    j["startInfo"] = InfoArray(x.m_StartInfo, schema);
    j["endInfo"] = InfoArray(x.m_EndInfo, schema);
    j["startInfoAudio"] = InfoArray(x.m_StartInfo_A, schema);
    j["endInfoAudio"] = InfoArray(x.m_EndInfo_A, schema);
    j["startMsec"] = x.m_StartMsec;
    j["totalSeconds"] = x.m_TotalSeconds;
    char t[32];
    std::snprintf(t, sizeof t, "%02u:%02u:%02u", x.m_TotalTime.hour, x.m_TotalTime.minute,
                  x.m_TotalTime.second);
    j["totalTime"] = t;
    j["resumeTime"] = DateTime(x.m_ResumeTime, true);
  }
  if (o->decoder) {
    j["paneCount"] = o->decoder->paneCount;
    j["paneTitles"] = Array(o->decoder->paneTitles);
  }
  return j;
}

void PrintTable(const json& j, const OpenProblem& problem) {
  std::printf("%-12s %s\n", "file", TerminalText(j["path"].get<std::string>()).c_str());
  std::printf("%-12s %s\n", "status", j["status"].get<std::string>().c_str());
  if (problem.Known()) {
    std::printf("%-12s %s\n", "reason", TerminalText(ReasonText(problem)).c_str());
    if (problem.next) std::printf("%-12s %s\n", "next step", problem.next);
  }
  if (j["status"] != "accepted") return;
  std::printf("%-12s kind %d, %d channels, coding %d, data at %u\n", "layout", j["kind"].get<int>(),
              j["channelCount"].get<int>(), j["videoCoding"].get<int>(),
              j["dataStart"].get<unsigned>());
  std::printf("%-12s %s\n", "starts", j["resumeTime"].get<std::string>().c_str());
  std::printf("%-12s %s (%d s on the seek slider)\n", "length",
              j["totalTime"].get<std::string>().c_str(), j["totalSeconds"].get<int>());
  std::printf("\n%-4s %-20s %-5s %-5s %-12s %-12s\n", "slot", "name", "video", "sound", "first key",
              "last key");
  for (int n = 0; n < kSlots; ++n) {
    if (!j["hasVideo"][n].get<int>() && !j["hasAudio"][n].get<int>()) continue;
    std::printf("%-4d %-20s %-5s %-5s %-12u %-12u\n", n,
                TerminalText(j["names"][n].get<std::string>()).c_str(),
                j["hasVideo"][n].get<int>() ? "yes" : "no",
                j["hasAudio"][n].get<int>() ? "yes" : "no", j["videoFirst"][n].get<unsigned>(),
                j["videoLast"][n].get<unsigned>());
  }
}
// info over a set: what the player sees of the set as one recording, and the set itself.
int InfoOfSet(const std::vector<std::string>& paths, bool asJson, int schema) {
  const RecordingSetPlan plan = PlanSetFor("ostravue-cli info", paths);
  if (plan.Empty()) return kExitFailed;
  BackupFile file;
  const OpenOutcome outcome = file.ReadRecordingSet(plan);
  PreOpenResult pre;
  pre.status = PreOpenStatus::Ok;
  pre.length = file.ScanReader().Size();
  json j = Describe(plan.members.front().path, pre, file.Recording(), &outcome, schema);
  j["set"] = SetJson(plan);
  if (asJson) {
    std::cout << JsonText(j) << "\n";
  } else {
    PrintTable(j, outcome.problem);
    for (const SetMember& m : plan.members)
      std::printf("%-12s %s\n", "set file", TerminalText(m.path).c_str());
    for (const auto& g : j["set"]["gaps"])
      std::printf("%-12s %d .. %d s\n", "pause", g["fromSecond"].get<int>(),
                  g["toSecond"].get<int>());
  }
  if (!outcome.accepted) {
    std::cerr << (outcome.message.empty() ? outcome.refusal : outcome.message) << "\n";
    return kExitFailed;
  }
  return kExitDone;
}

}  // namespace

void RegisterInfo(CLI::App& app, int& exitCode) {
  auto* sub =
      app.add_subcommand("info", "Check and index a backup file, print what the player sees");
  auto paths = std::make_shared<std::vector<std::string>>();
  auto asJson = std::make_shared<bool>(false);
  auto schema = std::make_shared<int>(1);
  sub->add_option("file", *paths,
                  "Backup file (.ysk); several files or a folder are read as one recording set")
      ->required();
  sub->add_flag("--json", *asJson, "Print one JSON object");
  sub->add_option("--schema", *schema,
                  "JSON schema: 1 (default), or 2: camelCase frame fields, a refusal's reason")
      ->check(CLI::IsMember({1, 2}))
      ->type_name("n");
  SetGnuHelp(*sub, "ostravue-cli info rec.ysk --json --schema 2");
  sub->callback([paths, asJson, schema, &exitCode] {
    if (NamesSet(*paths)) {
      exitCode = InfoOfSet(*paths, *asJson, *schema);
      return;
    }
    const std::string* path = &paths->front();
    std::error_code ec;
    if (!std::filesystem::exists(*path, ec)) {
      // Nothing to describe: every key would be empty.
      std::cerr << "ostravue-cli info: " << TerminalText(*path) << ": No such file or directory\n";
      exitCode = kExitFailed;
      return;
    }
    const PreOpenResult pre = CheckBeforeOpen(*path);
    BackupFile file;
    OpenOutcome outcome;
    const bool opened = pre.status == PreOpenStatus::Ok;
    if (opened) outcome = file.ReadBackupHeader(*path);
    const json j = Describe(*path, pre, file.Recording(), opened ? &outcome : nullptr, *schema);
    if (*asJson)
      std::cout << JsonText(j) << "\n";
    else
      PrintTable(
          j, pre.status == PreOpenStatus::TooShort ? TooShortProblem(pre.length) : outcome.problem);
    if (pre.status == PreOpenStatus::Ignored) {
      std::cerr << "ignored: " << TerminalText(*path) << ": " << IgnoredReason(*path, pre) << "\n";
      exitCode = kExitIgnored;
    } else if (j["status"] == "rejected") {
      std::cerr << j["message"].get<std::string>() << "\n";
      exitCode = kExitFailed;
    } else {
      exitCode = kExitDone;
    }
  });
}

}  // namespace ov::cli
