#include "ui/SkinPainter.h"

#include <QPainter>
#include <utility>

#include "controls/Regions.h"
#include "res/SkinPalette.h"
#include "ui/StringTable.h"

namespace ov {

namespace {
using skin::kTitleBand;
const QColor& kVideoFrame = skin::kPanel;
const QColor kBarShadow(47, 47, 47);
const QColor kBarLight(200, 200, 200);
using skin::kLowerBand;
const QColor& kEdge = skin::kTitleBand;
constexpr int kCorner = 14;  // corner ellipse of the outline and the region

void Fill(QPainter& p, const WinRect& r, const QColor& c) {
  if (!r.IsEmpty()) p.fillRect(r.ToQRect(), c);
}

// A one-pixel frame just inside r.
void Frame(QPainter& p, const WinRect& r, const QColor& c) {
  Fill(p, {r.left, r.top, r.right, r.top + 1}, c);
  Fill(p, {r.left, r.bottom - 1, r.right, r.bottom}, c);
  Fill(p, {r.left, r.top + 1, r.left + 1, r.bottom - 1}, c);
  Fill(p, {r.right - 1, r.top + 1, r.right, r.bottom - 1}, c);
}

// A filled rectangle with a one-pixel frame inside r.
void FramedRect(QPainter& p, const WinRect& r, const QColor& edge, const QColor& fill) {
  if (r.IsEmpty()) return;
  Fill(p, {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}, fill);
  Frame(p, r, edge);
}

// A horizontal line of the given thickness from x0 up to (not including) x1, its extra rows
// above y.
void HLine(QPainter& p, int x0, int x1, int y, int thickness, const QColor& c) {
  Fill(p, {x0, y - thickness / 2, x1, y - thickness / 2 + thickness}, c);
}
void VLine(QPainter& p, int x, int y0, int y1, int thickness, const QColor& c) {
  Fill(p, {x - thickness / 2, y0, x - thickness / 2 + thickness, y1}, c);
}

}  // namespace

QRegion SkinWindowRegion(int width, int height) {
  return RoundRectRegion({0, 0, width + 1, height + 1}, kCorner, kCorner);
}

QImage ComposeSkinCanvas(const SkinGeometry& g, const SkinBitmaps& bitmaps) {
  QImage canvas(g.width, g.height, QImage::Format_RGB32);
  canvas.fill(Qt::black);
  QPainter p(&canvas);
  const WinRect c{0, 0, g.width, g.height};
  const WinRect& v = g.video;
  const int l = v.left - 5;
  const int r = v.right + 5;

  FramedRect(p, c, Qt::black, Qt::white);
  if (c.Width() >= 2 && c.Height() >= 2) {
    QPen outline(Qt::black);
    outline.setWidth(1);
    outline.setCosmetic(true);
    p.setPen(outline);
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(0, 0, c.Width() - 1, c.Height() - 1), kCorner / 2.0, kCorner / 2.0);
  }

  // The video control paints its own area.
  p.setClipRegion(QRegion(c.ToQRect()).subtracted(QRegion(v.ToQRect())));

  FramedRect(p, {l, 0, r, v.top}, Qt::black, kTitleBand);
  FramedRect(p, {l, v.top - 5, r, v.bottom + 15}, Qt::black, kVideoFrame);

  const int t = SkinBarTop(v);
  HLine(p, l, r, t + 48, 1, kBarShadow);
  HLine(p, l, r, t + 70, 1, kBarShadow);
  HLine(p, l, r, t + 49, 1, kBarLight);
  HLine(p, l, r, t + 71, 1, kBarLight);

  if (!bitmaps.barStrip.isNull() && v.right - 5 > 0)
    p.drawImage(QRect(l, t, v.right - 5, 48), bitmaps.barStrip);

  const int band = g.timelineHeight;
  if (band > 0) FramedRect(p, {l, t + 71, r, t + 72 + band}, kBarLight, kTitleBand);
  FramedRect(p, {l, t + 71 + band, r, t + 110 + band}, kBarLight, kLowerBand);

  HLine(p, l, r, t - 1, 2, kEdge);
  HLine(p, l, r, t + 110 + band, 2, kEdge);
  VLine(p, l, t - 2, t + 110 + band, 2, kEdge);
  VLine(p, r, t - 1, t + 110 + band, 2, kEdge);

  // Both labels land inside the clipped-out video area, so neither shows.
  if (!bitmaps.timeLine.isNull()) p.drawImage(QPoint(32, 415), bitmaps.timeLine);
  if (!bitmaps.fileName.isNull()) p.drawImage(QPoint(32, 450), bitmaps.fileName);

  const WinRect& e = g.pathBox;
  const std::pair<int, QColor> frames[] = {
      {1, QColor(228, 228, 228)}, {2, QColor(178, 178, 178)}, {3, QColor(104, 104, 104)}};
  for (const auto& [d, colour] : frames)
    Frame(p, {e.left - d, e.top - d, e.right + d, e.bottom + d}, colour);
  return canvas;
}

void PaintSkin(QPainter& p, const SkinGeometry& g, const SkinBitmaps& bitmaps,
               const QFont& titleFont) {
  p.drawImage(QPoint(0, 0), ComposeSkinCanvas(g, bitmaps));
  p.setFont(titleFont);
  p.setPen(Qt::white);
  p.drawText(QRect(35, 5, 115, 17), Qt::AlignLeft | Qt::AlignTop,
             QString::fromUtf8(LoadResString(IDS_PRODUCT)));
}

}  // namespace ov
