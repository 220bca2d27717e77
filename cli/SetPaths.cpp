#include "cli/SetPaths.h"

#include <cstdio>
#include <filesystem>
#include <iostream>

#include "archive/Calendar.h"
#include "cli/TextOut.h"

namespace ov::cli {

bool NamesSet(const std::vector<std::string>& paths) {
  std::error_code ec;
  return paths.size() != 1 || std::filesystem::is_directory(paths.front(), ec);
}

RecordingSetPlan PlanSetFor(const char* command, const std::vector<std::string>& paths) {
  RecordingSetPlan plan = PlanRecordingSet(paths);
  for (const SetMisfit& m : plan.misfits)
    std::cerr << command << ": " << TerminalText(m.path)
              << ": not in the set: " << TerminalText(m.reason) << "\n";
  if (plan.Empty()) std::cerr << command << ": no file forms a recording\n";
  return plan;
}

nlohmann::json SetJson(const RecordingSetPlan& plan) {
  auto when = [](int32_t second) {
    const CalendarTime t = SecondsToCalendar(second);
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day,
                  t.hour, t.minute, t.second);
    return std::string(text);
  };
  nlohmann::json files = nlohmann::json::array(), left = nlohmann::json::array(),
                 gaps = nlohmann::json::array();
  for (const SetMember& m : plan.members)
    files.push_back({{"path", m.path},
                     {"bytes", m.size},
                     {"first", when(m.firstSecond)},
                     {"last", when(m.lastSecond)}});
  for (const SetMisfit& m : plan.misfits) left.push_back({{"path", m.path}, {"reason", m.reason}});
  const uint32_t start = plan.members.empty() ? 0 : plan.members.front().firstKey;
  for (const KeyGap& g : plan.gaps)
    gaps.push_back(
        {{"fromSecond", (g.fromKey - start) / 1000}, {"toSecond", (g.toKey - start) / 1000}});
  return {{"recorder", plan.identity}, {"files", files}, {"notInSet", left}, {"gaps", gaps}};
}

}  // namespace ov::cli
