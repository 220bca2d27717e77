#pragma once

#include <QRegion>
#include <span>

#include "controls/WinRect.h"

namespace ov {

// Region helpers for window shapes. Regions cover the pixels of their rectangles with exclusive
// right and bottom edges, like WinRect.

QRegion RectRegion(const WinRect& r);

// The union of the rectangles, in order.
QRegion RegionFromRects(std::span<const WinRect> rects);

// A rectangle with rounded corners, each corner a quarter of an ellipseWidth x ellipseHeight
// ellipse; covers (left, top) up to but excluding (right - 1, bottom - 1), as a window region
// made with the same arguments does.
QRegion RoundRectRegion(const WinRect& r, int ellipseWidth, int ellipseHeight);

}  // namespace ov
