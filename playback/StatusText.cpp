#include "playback/StatusText.h"

#include <cstdio>
#include <cstdlib>

namespace ov {
namespace {
constexpr size_t kTextBuffer = 260;  // the size every formatted text of the window is built in
}

std::string FormatDateTime(const CalendarTime& t, int32_t timeFormat) {
  // Formats 1..6; the date fields come in one of three orders, the time always follows.
  enum Order { kYmd, kMdy, kDmy };
  struct Format {
    const char* text;
    Order order;
  };
  static constexpr Format kFormats[] = {
      {"%d-%02d-%02d %02d:%02d:%02d", kYmd}, {"%02d-%02d-%d %02d:%02d:%02d", kMdy},
      {"%02d-%02d-%d %02d:%02d:%02d", kDmy}, {"%d/%02d/%02d %02d:%02d:%02d", kYmd},
      {"%02d/%02d/%d %02d:%02d:%02d", kMdy}, {"%02d/%02d/%d %02d:%02d:%02d", kDmy}};
  const Format& f = kFormats[timeFormat >= 1 && timeFormat <= 6 ? timeFormat - 1 : 0];
  const int y = t.year, mo = t.month, d = t.day;
  const int a = f.order == kYmd ? y : f.order == kMdy ? mo : d;
  const int b = f.order == kYmd ? mo : f.order == kMdy ? d : mo;
  const int c = f.order == kYmd ? d : y;
  char buf[kTextBuffer];
  std::snprintf(buf, sizeof buf, f.text, a, b, c, int(t.hour), int(t.minute), int(t.second));
  return buf;
}

std::string FormatElapsedTotal(uint32_t e, const CalendarTime& total) {
  char buf[kTextBuffer];
  std::snprintf(buf, sizeof buf, "%02d : %02d : %02d / %02d : %02d : %02d", int(e / 3600),
                int(e % 3600 / 60), int(e % 60), int(total.hour), int(total.minute),
                int(total.second));
  return buf;
}

std::string FormatRewSpeed(int32_t speed) {
  char buf[kTextBuffer];
  std::snprintf(buf, sizeof buf, "( Rew %dX )", std::abs(speed));
  return buf;
}

std::string FormatFFSpeed(int32_t speed) {
  char buf[kTextBuffer];
  std::snprintf(buf, sizeof buf, "( FF %dX )", speed);
  return buf;
}

}  // namespace ov
