#pragma once
// Calendar time and the conversions to and from the file's seconds. Proleptic Gregorian, no time
// zone: a file's seconds are shown as they were recorded.
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

namespace ov {

// A date and a time of day to the millisecond. Plain 16-bit numbers rather than std::chrono's
// checked types: a total can run past a day, and a time read from a file may be out of range and
// must come through unchanged.
struct CalendarTime {
  uint16_t year = 0;
  uint16_t month = 0;  // 1..12
  uint16_t day = 0;    // 1..31
  uint16_t hour = 0;
  uint16_t minute = 0;
  uint16_t second = 0;
  uint16_t millisecond = 0;
  bool operator==(const CalendarTime&) const = default;
};

// The date's day; any 16-bit year and month convert without overflow (month 0 is the December
// before, month 13 the January after).
std::chrono::sys_days DayOf(const CalendarTime& t);
inline std::chrono::weekday Weekday(const CalendarTime& t) {
  return std::chrono::weekday{DayOf(t)};
}

// Seconds since 1970-01-01 00:00:00 (sign-extended) to calendar fields.
CalendarTime SecondsToCalendar(int32_t seconds);
// base + delta as the 32-bit seconds count wraps (a damaged start second near either end of the
// range, or a typed second of any size), with no undefined behaviour.
inline int32_t AddSeconds(int32_t base, int64_t delta) {
  return static_cast<int32_t>(static_cast<uint32_t>(base) + static_cast<uint32_t>(delta));
}
// Calendar fields back to seconds since 1970, truncated toward zero, low 32 bits.
int32_t CalendarToSeconds(const CalendarTime& t);
// Days in a month (1..12) of a proleptic Gregorian year (up to 32767).
inline int DaysInMonth(int year, int month) {
  using namespace std::chrono;
  return int(
      unsigned((std::chrono::year{year} / std::chrono::month{unsigned(month)} / last).day()));
}
// "YYYY-MM-DD HH:MM:SS" and nothing after it, each field in its range: a day that the month does
// not have (the 30th of February) is refused rather than carried into the next month, and years
// run 1970..2037, the span the 32-bit seconds hold. On a refusal *why (when given) says what is
// wrong, for the user.
std::optional<CalendarTime> ParseDateTime(const std::string& text, std::string* why = nullptr);

}  // namespace ov
