#include "decoder/control/PaneLayout.h"

#include <algorithm>
#include <cmath>

namespace ov::pane {

int NormaliseCount(int n) {
  if (n <= 1) return 1;
  if (n <= 4) return 4;
  if (n <= 9) return 9;
  return 16;
}

int Columns(int paneCount) {
  switch (NormaliseCount(paneCount)) {
    case 1:
      return 1;
    case 4:
      return 2;
    case 9:
      return 3;
    default:
      return 4;
  }
}

QRect PaneRect(QSize area, int paneCount, int index) {
  const int n = Columns(paneCount);
  if (index < 0 || index >= n * n || area.isEmpty()) return {};
  const int col = index % n, row = index / n;
  const int x0 = area.width() * col / n, x1 = area.width() * (col + 1) / n;
  const int y0 = area.height() * row / n, y1 = area.height() * (row + 1) / n;
  return QRect(x0, y0, x1 - x0, y1 - y0);
}

QRect ContentRect(QSize area, int paneCount, int index) { return PaneRect(area, paneCount, index); }

int PaneAt(QSize area, int paneCount, QPoint p) {
  const int n = Columns(paneCount);
  if (area.isEmpty() || p.x() < 0 || p.y() < 0 || p.x() >= area.width() || p.y() >= area.height())
    return -1;
  for (int i = 0; i < n * n; ++i)
    if (PaneRect(area, paneCount, i).contains(p)) return i;
  return -1;
}

QSize FitSize(QSize box, double aspect) {
  if (box.isEmpty() || !(aspect > 0.0)) return {};
  if (box.width() >= box.height() * aspect) {
    const int w = std::max(1, static_cast<int>(std::lround(box.height() * aspect)));
    return QSize(std::min(w, box.width()), box.height());
  }
  const int h = std::max(1, static_cast<int>(std::lround(box.width() / aspect)));
  return QSize(box.width(), std::min(h, box.height()));
}

QRect Centred(QRect box, QSize size) {
  return QRect(box.x() + (box.width() - size.width()) / 2,
               box.y() + (box.height() - size.height()) / 2, size.width(), size.height());
}

}  // namespace ov::pane
