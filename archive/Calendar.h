#pragma once
// Calendar time (the fields of a SYSTEMTIME) and the conversions to and from the file's seconds.
// Proleptic Gregorian, no time zone: a file's seconds are shown as they were recorded.
#include <cstdint>
#include <optional>
#include <string>

namespace ov {

struct SystemTime {
  uint16_t wYear = 0;
  uint16_t wMonth = 0;
  uint16_t wDayOfWeek = 0;  // 0 = Sunday
  uint16_t wDay = 0;
  uint16_t wHour = 0;
  uint16_t wMinute = 0;
  uint16_t wSecond = 0;
  uint16_t wMilliseconds = 0;
  bool operator==(const SystemTime&) const = default;
};

// Seconds since 1970-01-01 00:00:00 (sign-extended) to calendar fields.
SystemTime SecondsToCalendar(int32_t seconds);
// base + delta as the 32-bit seconds count wraps (a damaged start second near either end of the
// range, or a typed second of any size), with no undefined behaviour.
inline int32_t AddSeconds(int32_t base, int64_t delta) {
  return static_cast<int32_t>(static_cast<uint32_t>(base) + static_cast<uint32_t>(delta));
}
// Calendar fields back to seconds since 1970, truncated toward zero, low 32 bits.
int32_t CalendarToSeconds(const SystemTime& t);
// Days in a month (1..12) of a proleptic Gregorian year.
inline int DaysInMonth(int year, int month) {
  constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}
// "YYYY-MM-DD HH:MM:SS" and nothing after it, each field in its range: a day that the month does
// not have (the 30th of February) is refused rather than carried into the next month, and years
// run 1970..2037, the span the 32-bit seconds hold. On a refusal *why (when given) says what is
// wrong, for the user.
std::optional<SystemTime> ParseDateTime(const std::string& text, std::string* why = nullptr);

}  // namespace ov
