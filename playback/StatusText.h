#pragma once
// The texts the engine writes: the date-time line (1026), the elapsed / total line (1032) and the
// speed line (1027).
#include <cstdint>
#include <string>

#include "archive/Calendar.h"

namespace ov {

// Date and time of a second in time format 1..6; any other value gives format 1.
std::string FormatDateTime(const CalendarTime& t, int32_t timeFormat);
// "%02d : %02d : %02d / %02d : %02d : %02d" with the elapsed seconds and the total time.
std::string FormatElapsedTotal(uint32_t elapsedSeconds, const CalendarTime& total);
std::string FormatRewSpeed(int32_t speed);  // "( Rew %dX )" with |speed|
std::string FormatFFSpeed(int32_t speed);   // "( FF %dX )"

}  // namespace ov
