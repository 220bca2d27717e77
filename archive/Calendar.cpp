#include "archive/Calendar.h"

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
  const int64_t ms = (days * 86400 + int64_t(t.wHour) * 3600 + int64_t(t.wMinute) * 60 +
                      int64_t(t.wSecond)) * 1000 + int64_t(t.wMilliseconds);
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(ms / 1000)));
}

}  // namespace ov
