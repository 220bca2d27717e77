#include "playback/StatusText.h"

#include <cstdio>
#include <cstdlib>

namespace ov {
namespace {
constexpr size_t kTextBuffer = 260;  // the size every formatted text of the window is built in
}

std::string FormatDateTime(const SystemTime& t, int32_t timeFormat) {
  char buf[kTextBuffer];
  const int y = t.wYear, mo = t.wMonth, d = t.wDay, h = t.wHour, mi = t.wMinute, s = t.wSecond;
  switch (timeFormat) {
    case 2:
      std::snprintf(buf, sizeof buf, "%02d-%02d-%d %02d:%02d:%02d", mo, d, y, h, mi, s);
      break;
    case 3:
      std::snprintf(buf, sizeof buf, "%02d-%02d-%d %02d:%02d:%02d", d, mo, y, h, mi, s);
      break;
    case 4:
      std::snprintf(buf, sizeof buf, "%d/%02d/%02d %02d:%02d:%02d", y, mo, d, h, mi, s);
      break;
    case 5:
      std::snprintf(buf, sizeof buf, "%02d/%02d/%d %02d:%02d:%02d", mo, d, y, h, mi, s);
      break;
    case 6:
      std::snprintf(buf, sizeof buf, "%02d/%02d/%d %02d:%02d:%02d", d, mo, y, h, mi, s);
      break;
    default:
      std::snprintf(buf, sizeof buf, "%d-%02d-%02d %02d:%02d:%02d", y, mo, d, h, mi, s);
      break;
  }
  return buf;
}

std::string FormatElapsedTotal(uint32_t e, const SystemTime& total) {
  char buf[kTextBuffer];
  std::snprintf(buf, sizeof buf, "%02d : %02d : %02d / %02d : %02d : %02d", int(e / 3600),
                int(e % 3600 / 60), int(e % 60), int(total.wHour), int(total.wMinute),
                int(total.wSecond));
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
