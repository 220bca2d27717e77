#include "export/ClipNames.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <string_view>

#include "archive/Calendar.h"

namespace ov::exporter {

std::optional<int32_t> ParseTimeArg(const std::string& text, int32_t recordingStartSecond,
                                    std::string* why) {
  std::string dateProblem;
  if (const std::optional<SystemTime> t = ParseDateTime(text, &dateProblem))
    return CalendarToSeconds(*t);
  const bool digits = !text.empty() && std::all_of(text.begin(), text.end(),
                                                   [](unsigned char c) { return std::isdigit(c); });
  if (!digits) {
    // A text shaped like a date-time gets the date's own reason; anything else the forms.
    const bool dateShaped = text.size() == 19 && text[4] == '-' && text[10] == ' ';
    if (why)
      *why = dateShaped
                 ? "\"" + text + "\": " + dateProblem
                 : "\"" + text +
                       "\" is neither \"YYYY-MM-DD HH:MM:SS\" nor whole seconds from the start";
    return std::nullopt;
  }
  const int64_t v = text.size() > 9 ? INT64_MAX : int64_t(recordingStartSecond) + std::stoll(text);
  if (v > INT32_MAX) {
    if (why) *why = "\"" + text + "\" seconds lie past the last second a file can hold";
    return std::nullopt;
  }
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
