#include "playback/GoToTime.h"

#include <cstdio>

#include "archive/Calendar.h"

namespace ov {
namespace {
std::string Trim(const std::string& s) {
  const size_t a = s.find_first_not_of(" \t");
  if (a == std::string::npos) return {};
  return s.substr(a, s.find_last_not_of(" \t") - a + 1);
}

// "H:MM:SS", "M:SS" or "S": digits and colons only, minutes and seconds below 60 after the first.
std::optional<int64_t> Elapsed(const std::string& text) {
  if (text.empty() || text.size() > 12) return std::nullopt;
  int64_t total = 0, part = 0;
  int parts = 0, digits = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || text[i] == ':') {
      if (digits == 0 || (parts > 0 && (digits != 2 || part >= 60))) return std::nullopt;
      total = total * 60 + part;
      part = 0;
      digits = 0;
      if (++parts > 3) return std::nullopt;
      continue;
    }
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    part = part * 10 + (text[i] - '0');
    ++digits;
  }
  return total;
}
}  // namespace

std::optional<int64_t> ParseGoToTime(const std::string& raw, int32_t startSecond) {
  const std::string text = Trim(raw);
  if (const std::optional<CalendarTime> t = ParseDateTime(text)) {
    if (t->day > DaysInMonth(t->year, t->month)) return std::nullopt;
    return int64_t(CalendarToSeconds(*t)) - startSecond;
  }
  return Elapsed(text);
}

}  // namespace ov
