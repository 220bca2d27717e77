#include "ui/StringTable.h"

#include "ov/Version.h"

namespace ov {

const char* LoadResString(int id) {
  switch (id) {
    case IDS_ABOUTBOX:
      return "Belquor 정보(&A)...";
    case IDS_SELECT_FOLDER:
      return "Select Folder";
    case IDS_FF_TIP:
      return "PLAY";
    case IDS_OLE_INIT_FAILED:
      return "OleInitialize failed.";
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
