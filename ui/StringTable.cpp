#include "ui/StringTable.h"

#include "ov/Version.h"

namespace ov {

const char* LoadResString(int id) {
  switch (id) {
    case IDS_NO_WINDOW_HOST:
      return "Ostravue cannot open its window: it was started without a graphical session.";
    case IDS_ABOUT_VERSION:
      return "Ostravue Version " OV_VERSION " (Build " OV_BUILD_NUMBER ")";
    case IDS_PRODUCT:
      return "Ostravue";
    case IDS_ABOUT_TITLE:
      return "About";
    default:
      return "";
  }
}

}  // namespace ov
