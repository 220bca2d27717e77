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
  if (const std::optional<CalendarTime> t = ParseDateTime(text, &dateProblem))
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
  // No hidden clips, and no "..": a dot at the start or after a dot becomes '_'.
  for (size_t i = 0; i < out.size(); ++i)
    if (out[i] == '.' && (i == 0 || out[i - 1] == '.')) out[i] = '_';
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
// Length of the valid UTF-8 sequence at s[i], or 0 when the byte does not start one.
size_t Utf8Length(std::string_view s, size_t i) {
  const auto b = [&](size_t k) { return static_cast<uint8_t>(s[k]); };
  const uint8_t c = b(i);
  size_t n = 0;
  uint32_t cp = 0;
  if (c < 0x80) return 1;
  if (c >= 0xC2 && c <= 0xDF)
    n = 2, cp = c & 0x1Fu;
  else if (c >= 0xE0 && c <= 0xEF)
    n = 3, cp = c & 0x0Fu;
  else if (c >= 0xF0 && c <= 0xF4)
    n = 4, cp = c & 0x07u;
  else
    return 0;
  if (i + n > s.size()) return 0;
  for (size_t k = 1; k < n; ++k) {
    if ((b(i + k) & 0xC0) != 0x80) return 0;
    cp = cp << 6 | (b(i + k) & 0x3Fu);
  }
  const uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
  if (cp < least[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  if (cp >= 0x80 && cp <= 0x9F) return 0;  // C1 controls are escaped like C0
  return n;
}
}  // namespace

std::string EscapedText(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size();) {
    const auto c = static_cast<uint8_t>(s[i]);
    const size_t n = Utf8Length(s, i);
    if (c == '\\') {
      out += "\\\\";
      ++i;
    } else if (n == 0 || c < 0x20 || c == 0x7F) {
      char esc[8];
      std::snprintf(esc, sizeof esc, "\\x%02X", c);
      out += esc;
      ++i;
    } else {
      out.append(s.substr(i, n));
      i += n;
    }
  }
  return out;
}

namespace {
std::string Format(int32_t seconds, const char* fmt) {
  const CalendarTime t = SecondsToCalendar(seconds);
  char buf[64];
  std::snprintf(buf, sizeof buf, fmt, t.year, t.month, t.day, t.hour, t.minute, t.second);
  return buf;
}
}  // namespace

std::string CompactStamp(int32_t s) { return Format(s, "%04u%02u%02u-%02u%02u%02u"); }
std::string DashedStamp(int32_t s) { return Format(s, "%04u-%02u-%02u_%02u-%02u-%02u"); }
std::string DisplayStamp(int32_t s) { return Format(s, "%04u-%02u-%02u %02u:%02u:%02u"); }
std::string IsoStamp(int32_t s) { return Format(s, "%04u-%02u-%02uT%02u:%02u:%02u.000000Z"); }

}  // namespace ov::exporter
