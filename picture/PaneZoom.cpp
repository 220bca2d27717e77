#include "picture/PaneZoom.h"

#include <algorithm>
#include <cmath>

namespace ov::zoom {
namespace {
constexpr double kMinSize = 1.0 / kMaxZoom;
// Steps are powers of 1.25; a region within this of the whole picture is the whole picture.
constexpr double kSnap = 1e-9;

double Finite(double v, double fallback) { return std::isfinite(v) ? v : fallback; }
}  // namespace

Region Clamped(const Region& r) {
  Region out;
  out.size = std::clamp(Finite(r.size, 1.0), kMinSize, 1.0);
  if (out.size > 1.0 - kSnap) return Region{};
  out.x = std::clamp(Finite(r.x, 0.0), 0.0, 1.0 - out.size);
  out.y = std::clamp(Finite(r.y, 0.0), 0.0, 1.0 - out.size);
  return out;
}

Point PictureAt(const Region& r, Point p) {
  return {r.x + std::clamp(p.u, 0.0, 1.0) * r.size, r.y + std::clamp(p.v, 0.0, 1.0) * r.size};
}

Region ZoomAbout(const Region& r, double steps, Point p) {
  const Region from = Clamped(r);
  p = {std::clamp(Finite(p.u, 0.5), 0.0, 1.0), std::clamp(Finite(p.v, 0.5), 0.0, 1.0)};
  const Point fixed = PictureAt(from, p);
  Region to;
  to.size = from.size / std::pow(kStep, Finite(steps, 0.0));
  to.size = std::clamp(to.size, kMinSize, 1.0);
  to.x = fixed.u - p.u * to.size;
  to.y = fixed.v - p.v * to.size;
  return Clamped(to);
}

Region Pan(const Region& r, double du, double dv) {
  Region to = Clamped(r);
  to.x -= Finite(du, 0.0) * to.size;
  to.y -= Finite(dv, 0.0) * to.size;
  return Clamped(to);
}

PixelRect ToPixels(const Region& r, int width, int height) {
  if (width <= 0 || height <= 0) return {};
  const Region c = Clamped(r);
  if (c.Whole()) return {0, 0, width, height};
  PixelRect px;
  px.x = std::clamp(static_cast<int>(std::lround(c.x * width)), 0, width - 1);
  px.y = std::clamp(static_cast<int>(std::lround(c.y * height)), 0, height - 1);
  px.w = std::clamp(static_cast<int>(std::lround(c.size * width)), 1, width - px.x);
  px.h = std::clamp(static_cast<int>(std::lround(c.size * height)), 1, height - px.y);
  return px;
}

void ToWire(const Region& r, int32_t& x, int32_t& y, int32_t& size) {
  const Region c = Clamped(r);
  x = static_cast<int32_t>(std::lround(c.x * kWireScale));
  y = static_cast<int32_t>(std::lround(c.y * kWireScale));
  size = static_cast<int32_t>(std::lround(c.size * kWireScale));
}

Region FromWire(int32_t x, int32_t y, int32_t size) {
  return Clamped({double(x) / kWireScale, double(y) / kWireScale, double(size) / kWireScale});
}

}  // namespace ov::zoom
