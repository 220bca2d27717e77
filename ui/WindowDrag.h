#pragma once
// Where a left press on the player window's background starts moving the window.
#include <QPoint>

#include "controls/WinRect.h"

namespace ov {

// False inside the video area widened by 5 pixels left and right and 2 at the top.
inline bool IsWindowDragPoint(const WinRect& video, QPoint p) {
  const WinRect guard{video.left - 5, video.top - 2, video.right + 5, video.bottom};
  return !guard.Contains(p.x(), p.y());
}

}  // namespace ov
