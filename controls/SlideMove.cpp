#include "controls/SlideMove.h"

#include <Qt>

namespace ov {

std::optional<SlideMove> SlideMoveForKey(int qtKey) {
  switch (qtKey) {
    case Qt::Key_Left:
    case Qt::Key_Up:
      return SlideMove::LineBack;
    case Qt::Key_Right:
    case Qt::Key_Down:
      return SlideMove::LineForward;
    case Qt::Key_PageUp:
      return SlideMove::PageBack;
    case Qt::Key_PageDown:
      return SlideMove::PageForward;
    case Qt::Key_Home:
      return SlideMove::ToStart;
    case Qt::Key_End:
      return SlideMove::ToEnd;
    default:
      return std::nullopt;
  }
}

}  // namespace ov
