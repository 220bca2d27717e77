#include "controls/Regions.h"

#include <algorithm>
#include <cmath>

namespace ov {

QRegion RectRegion(const WinRect& r) {
  if (r.IsEmpty()) return QRegion();
  return QRegion(r.ToQRect());
}

QRegion RegionFromRects(std::span<const WinRect> rects) {
  QRegion result;
  for (const WinRect& r : rects) result += RectRegion(r);
  return result;
}

QRegion RoundRectRegion(const WinRect& r, int ellipseWidth, int ellipseHeight) {
  const WinRect box{r.left, r.top, r.right - 1, r.bottom - 1};
  if (box.IsEmpty()) return QRegion();
  const int ew = std::clamp(ellipseWidth, 0, box.Width());
  const int eh = std::clamp(ellipseHeight, 0, box.Height());
  if (ew < 2 || eh < 2) return RectRegion(box);
  // Row by row: each row of a corner is cut where the corner ellipse, sampled at the pixel
  // centre, leaves the row.
  const double a = ew / 2.0, b = eh / 2.0;
  const int cornerRows = (eh + 1) / 2;
  QRegion result;
  for (int row = 0; row < box.Height(); ++row) {
    int inset = 0;
    const int fromEdge = std::min(row, box.Height() - 1 - row);
    if (fromEdge < cornerRows) {
      const double dy = b - (fromEdge + 0.5);
      const double dx = a * std::sqrt(std::max(0.0, 1.0 - (dy * dy) / (b * b)));
      inset = static_cast<int>(std::lround(a - dx));
    }
    const int left = box.left + inset, right = box.right - inset;
    if (right > left) result += QRegion(left, box.top + row, right - left, 1);
  }
  return result;
}

}  // namespace ov
