#pragma once

#include <QRect>

namespace ov {

// A rectangle the way the window code reasons about it: right and bottom are exclusive, so
// (0, 0, 10, 4) covers 10 by 4 pixels. QRect's inclusive right()/bottom() never leak out of here.
struct WinRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  constexpr int Width() const { return right - left; }
  constexpr int Height() const { return bottom - top; }
  constexpr bool IsEmpty() const { return right <= left || bottom <= top; }
  constexpr bool Contains(int x, int y) const {
    return x >= left && x < right && y >= top && y < bottom;
  }
  QRect ToQRect() const { return QRect(left, top, right - left, bottom - top); }
  static WinRect FromQRect(const QRect& r) {
    return {r.x(), r.y(), r.x() + r.width(), r.y() + r.height()};
  }
  friend constexpr bool operator==(const WinRect&, const WinRect&) = default;
};

}  // namespace ov
