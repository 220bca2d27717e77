#include "archive/Calendar.h"

#include <cstdio>
#include <utility>

namespace ov {
namespace {
// Days from 1970-01-01 to y-m-d (proleptic Gregorian), after H. Hinnant's civil algorithms.
int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}
int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }
}  // namespace

SystemTime SecondsToCalendar(int32_t seconds) {
  const int64_t s = seconds;
  const int64_t days = FloorDiv(s, 86400);
  const int64_t sod = s - days * 86400;
  const int64_t z = days + 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  const int64_t d = doy - (153 * mp + 2) / 5 + 1;
  const int64_t m = mp < 10 ? mp + 3 : mp - 9;
  const int64_t y = yoe + era * 400 + (m <= 2);
  SystemTime t;
  t.wYear = static_cast<uint16_t>(y);
  t.wMonth = static_cast<uint16_t>(m);
  t.wDay = static_cast<uint16_t>(d);
  t.wDayOfWeek = static_cast<uint16_t>(((days % 7) + 7 + 4) % 7);  // 1970-01-01 was a Thursday
  t.wHour = static_cast<uint16_t>(sod / 3600);
  t.wMinute = static_cast<uint16_t>(sod % 3600 / 60);
  t.wSecond = static_cast<uint16_t>(sod % 60);
  t.wMilliseconds = 0;
  return t;
}

int32_t CalendarToSeconds(const SystemTime& t) {
  // Milliseconds rather than the 100-ns count: the same truncation toward zero, and no overflow
  // for any 16-bit year.
  const int64_t days = DaysFromCivil(t.wYear, t.wMonth, t.wDay);
  const int64_t ms =
      (days * 86400 + int64_t(t.wHour) * 3600 + int64_t(t.wMinute) * 60 + int64_t(t.wSecond)) *
          1000 +
      int64_t(t.wMilliseconds);
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(ms / 1000)));
}

std::optional<SystemTime> ParseDateTime(const std::string& text, std::string* why) {
  auto refuse = [why](std::string reason) -> std::optional<SystemTime> {
    if (why) *why = std::move(reason);
    return std::nullopt;
  };
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0, used = 0;
  if (std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%n", &y, &mo, &d, &h, &mi, &s, &used) !=
          6 ||
      size_t(used) != text.size())
    return refuse("not \"YYYY-MM-DD HH:MM:SS\"");
  if (y < 1970 || y > 2037) return refuse("years run from 1970 to 2037");
  if (mo < 1 || mo > 12) return refuse("there is no month " + std::to_string(mo));
  if (d < 1 || d > DaysInMonth(y, mo)) {
    char reason[64];
    std::snprintf(reason, sizeof reason, "there is no day %d in %04d-%02d: it has %d days", d, y,
                  mo, DaysInMonth(y, mo));
    return refuse(reason);
  }
  if (h < 0 || h > 23 || mi < 0 || mi > 59 || s < 0 || s > 59)
    return refuse("the time of day runs from 00:00:00 to 23:59:59");
  SystemTime t;
  t.wYear = uint16_t(y);
  t.wMonth = uint16_t(mo);
  t.wDay = uint16_t(d);
  t.wHour = uint16_t(h);
  t.wMinute = uint16_t(mi);
  t.wSecond = uint16_t(s);
  return t;
}

}  // namespace ov
