#pragma once
// Digital zoom of one pane: which part of the recorded picture the pane shows, as fractions of the
// picture's width and height, and how wheel steps, drags and pane sizes move it. Pure functions:
// the pane view, the decoders and the snapshot writer share them.
//
// The region always keeps the picture's own aspect (w == h as fractions), so a zoomed picture
// fills exactly the place the whole picture filled.
#include <cstdint>

namespace ov::zoom {

inline constexpr double kStep = 1.25;  // one wheel step or key press
inline constexpr double kMaxZoom = 16.0;

struct Region {
  double x = 0, y = 0;  // top left, fractions of the picture
  double size = 1;      // width and height, fractions of the picture: 1 / zoom
  double Zoom() const { return 1.0 / size; }
  bool Whole() const { return size >= 1.0; }
  bool operator==(const Region&) const = default;
};

// A place in the pane's picture rectangle, as fractions of it (0..1 from its left and top).
struct Point {
  double u = 0.5, v = 0.5;
};

// A rectangle in recorded pixels.
struct PixelRect {
  int x = 0, y = 0, w = 0, h = 0;
  bool operator==(const PixelRect&) const = default;
};

// Zoomed by kStep^steps (negative steps zoom out) about p, clamped to 1..kMaxZoom: the picture
// point under p stays under p unless the region would leave the picture.
Region ZoomAbout(const Region& r, double steps, Point p = {});
// Moved by a drag of (du, dv) fractions of the pane's picture rectangle: the picture follows the
// pointer, and the region stays inside the picture.
Region Pan(const Region& r, double du, double dv);
// The same region moved and sized back into the picture (a region that came from elsewhere).
Region Clamped(const Region& r);
// The picture point (fractions of the whole picture) shown at p.
Point PictureAt(const Region& r, Point p);
// The region in pixels of a width x height picture: at least one pixel, inside the picture.
PixelRect ToPixels(const Region& r, int width, int height);

// The wire form: millionths of the picture, as the dispatch calls carry them.
inline constexpr int32_t kWireScale = 1000000;
void ToWire(const Region& r, int32_t& x, int32_t& y, int32_t& size);
Region FromWire(int32_t x, int32_t y, int32_t size);

}  // namespace ov::zoom
