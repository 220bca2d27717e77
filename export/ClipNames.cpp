#include "export/ClipNames.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <string_view>

#include "archive/Calendar.h"

namespace ov::exporter {

std::optional<int32_t> ParseTimeArg(const std::string& text, int32_t recordingStartSecond) {
  if (const std::optional<SystemTime> t = ParseDateTime(text)) return CalendarToSeconds(*t);
  if (text.empty() || text.size() > 9 ||
      !std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); }))
    return std::nullopt;
  const int64_t v = int64_t(recordingStartSecond) + std::stoll(text);
  if (v > INT32_MAX) return std::nullopt;
  return int32_t(v);
}

std::string SafeFileName(const std::string& name, const std::string& fallback) {
  static constexpr std::string_view kReserved = "<>:\"/\\|?*";
  std::string out;
  for (unsigned char c : name) {
    const bool bad = c < 0x20 || c >= 0x7F || kReserved.find(char(c)) != std::string_view::npos;
    out.push_back(bad ? '_' : char(c));
    if (out.size() == 100) break;
  }
  while (!out.empty() && (out.back() == '.' || out.back() == ' ')) out.pop_back();
  while (!out.empty() && out.front() == ' ') out.erase(out.begin());
  if (out.empty() || out == "." || out == "..") return fallback;
  // Device names stay reserved on some systems whatever extension follows them.
  std::string upper = out.substr(0, out.find('.'));
  std::transform(upper.begin(), upper.end(), upper.begin(),
                 [](unsigned char c) { return char(std::toupper(c)); });
  static const std::array<std::string_view, 6> kDevices = {"CON", "PRN",    "AUX",
                                                           "NUL", "CLOCK$", ""};
  const bool numbered = upper.size() == 4 &&
                        (upper.starts_with("COM") || upper.starts_with("LPT")) &&
                        std::isdigit(static_cast<unsigned char>(upper[3]));
  if (numbered || std::find(kDevices.begin(), kDevices.end() - 1, upper) != kDevices.end() - 1)
    out.insert(out.begin(), '_');
  return out;
}

namespace {
std::string Format(int32_t seconds, const char* fmt) {
  const SystemTime t = SecondsToCalendar(seconds);
  char buf[64];
  std::snprintf(buf, sizeof buf, fmt, t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
  return buf;
}
}  // namespace

std::string CompactStamp(int32_t s) { return Format(s, "%04u%02u%02u-%02u%02u%02u"); }
std::string DashedStamp(int32_t s) { return Format(s, "%04u-%02u-%02u_%02u-%02u-%02u"); }
std::string DisplayStamp(int32_t s) { return Format(s, "%04u-%02u-%02u %02u:%02u:%02u"); }
std::string IsoStamp(int32_t s) { return Format(s, "%04u-%02u-%02uT%02u:%02u:%02u.000000Z"); }

}  // namespace ov::exporter
