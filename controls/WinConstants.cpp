#include "controls/WinConstants.h"

#include <Qt>

namespace ov {

int TrackbarCodeForKey(int qtKey) {
  switch (qtKey) {
    case Qt::Key_Left:
    case Qt::Key_Up:
      return TB_LINEUP;
    case Qt::Key_Right:
    case Qt::Key_Down:
      return TB_LINEDOWN;
    case Qt::Key_PageUp:
      return TB_PAGEUP;
    case Qt::Key_PageDown:
      return TB_PAGEDOWN;
    case Qt::Key_Home:
      return TB_TOP;
    case Qt::Key_End:
      return TB_BOTTOM;
    default:
      return -1;
  }
}

}  // namespace ov
