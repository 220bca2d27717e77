#include "archive/Calendar.h"

#include <cstdio>
#include <utility>

namespace ov {
using namespace std::chrono;
namespace {
int64_t FloorDiv(int64_t a, int64_t b) { return a / b - (a % b != 0 && (a < 0) != (b < 0)); }
}  // namespace

sys_days DayOf(const CalendarTime& t) {
  // chrono's year stops at 32767 and its month at 12, so the month is carried into the year and
  // whole 400-year cycles (each exactly 146097 days) are counted apart.
  const int64_t months = int64_t(t.year) * 12 + int64_t(t.month) - 1;
  const int64_t y = FloorDiv(months, 12);
  const unsigned m = unsigned(months - y * 12) + 1;
  const int64_t cycles = FloorDiv(y, 400);
  const sys_days first = sys_days{year{int(y - cycles * 400)} / month{m} / 1};
  return first + days{int64_t(t.day) - 1 + cycles * 146097};
}

CalendarTime SecondsToCalendar(int32_t seconds) {
  const sys_seconds at{std::chrono::seconds{seconds}};
  const sys_days date = floor<days>(at);
  const year_month_day ymd{date};
  const hh_mm_ss<std::chrono::seconds> time{at - date};
  CalendarTime t;
  t.year = static_cast<uint16_t>(int(ymd.year()));
  t.month = static_cast<uint16_t>(unsigned(ymd.month()));
  t.day = static_cast<uint16_t>(unsigned(ymd.day()));
  t.hour = static_cast<uint16_t>(time.hours().count());
  t.minute = static_cast<uint16_t>(time.minutes().count());
  t.second = static_cast<uint16_t>(time.seconds().count());
  return t;
}

int32_t CalendarToSeconds(const CalendarTime& t) {
  // Milliseconds, truncated toward zero like the recorder's own count; 64 bits hold any 16-bit
  // year.
  const milliseconds ms = DayOf(t).time_since_epoch() + hours{t.hour} + minutes{t.minute} +
                          std::chrono::seconds{t.second} + milliseconds{t.millisecond};
  return static_cast<int32_t>(static_cast<uint32_t>(
      static_cast<uint64_t>(duration_cast<std::chrono::seconds>(ms).count())));
}

std::optional<CalendarTime> ParseDateTime(const std::string& text, std::string* why) {
  auto refuse = [why](std::string reason) -> std::optional<CalendarTime> {
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
  CalendarTime t;
  t.year = uint16_t(y);
  t.month = uint16_t(mo);
  t.day = uint16_t(d);
  t.hour = uint16_t(h);
  t.minute = uint16_t(mi);
  t.second = uint16_t(s);
  return t;
}

}  // namespace ov
