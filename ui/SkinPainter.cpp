#include "ui/SkinPainter.h"

#include <QPainter>

#include "controls/Regions.h"
#include "controls/WinPainter.h"
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

void Line(CWinPainter& dc, int x0, int y0, int x1, int y1) {
  dc.MoveTo(x0, y0);
  dc.LineTo(x1, y1);
}

// Top, bottom, left and right lines of one frame around e, grown by d (1..3).
void PathFrame(CWinPainter& dc, const WinRect& e, int d, const QColor& colour) {
  dc.SelectPen(colour, 1);
  Line(dc, e.left - d, e.top - d, e.right + d, e.top - d);
  Line(dc, e.left - d, e.bottom + d - 1, e.right + d, e.bottom + d - 1);
  Line(dc, e.left - d, e.top - d, e.left - d, e.bottom + d - 1);
  Line(dc, e.right + d - 1, e.top - d, e.right + d - 1, e.bottom + d - 1);
}
}  // namespace

QRegion SkinWindowRegion(int width, int height) {
  return RoundRectRegion({0, 0, width + 1, height + 1}, kCorner, kCorner);
}

QImage ComposeSkinCanvas(const SkinGeometry& g, const SkinBitmaps& bitmaps) {
  QImage canvas(g.width, g.height, QImage::Format_RGB32);
  canvas.fill(Qt::black);
  QPainter painter(&canvas);
  CWinPainter dc(&painter);
  const WinRect c{0, 0, g.width, g.height};
  const WinRect& v = g.video;
  const int l = v.left - 5;
  const int r = v.right + 5;

  dc.Rectangle(c);  // default black pen, white brush
  dc.SelectPen(Qt::black, 1);
  dc.RoundRect(c, kCorner, kCorner);

  dc.ExcludeClipRect(v);

  dc.SelectBrush(kTitleBand);
  dc.Rectangle({l, 0, r, v.top});
  dc.SelectBrush(kVideoFrame);
  dc.Rectangle({l, v.top - 5, r, v.bottom + 15});

  const int t = SkinBarTop(v);
  dc.SelectPen(kBarShadow, 1);
  Line(dc, l, t + 48, r, t + 48);
  Line(dc, l, t + 70, r, t + 70);
  dc.SelectPen(kBarLight, 1);
  Line(dc, l, t + 49, r, t + 49);
  Line(dc, l, t + 71, r, t + 71);

  if (!bitmaps.barStrip.isNull())
    dc.StretchBlt(l, t, v.right - 5, 48, bitmaps.barStrip, 0, 0, bitmaps.barStrip.width(),
                  bitmaps.barStrip.height(), Rop::SrcCopy);

  const int band = g.timelineHeight;
  if (band > 0) {
    dc.SelectBrush(kTitleBand);
    dc.SelectPen(kBarLight, 1);
    dc.Rectangle({l, t + 71, r, t + 72 + band});
  }

  dc.SelectBrush(kLowerBand);
  dc.SelectPen(kBarLight, 1);
  dc.Rectangle({l, t + 71 + band, r, t + 110 + band});

  dc.SelectPen(kEdge, 2);
  Line(dc, l, t - 1, r, t - 1);
  Line(dc, l, t + 110 + band, r, t + 110 + band);
  Line(dc, l, t - 2, l, t + 110 + band);
  Line(dc, r, t - 1, r, t + 110 + band);

  // Both labels land inside the clipped-out video area, so neither shows.
  if (!bitmaps.timeLine.isNull())
    dc.BitBlt(32, 415, bitmaps.timeLine.width(), bitmaps.timeLine.height(), bitmaps.timeLine, 0, 0,
              Rop::SrcCopy);
  if (!bitmaps.fileName.isNull())
    dc.BitBlt(32, 450, bitmaps.fileName.width(), bitmaps.fileName.height(), bitmaps.fileName, 0, 0,
              Rop::SrcCopy);

  PathFrame(dc, g.pathBox, 1, QColor(228, 228, 228));
  PathFrame(dc, g.pathBox, 2, QColor(178, 178, 178));
  PathFrame(dc, g.pathBox, 3, QColor(104, 104, 104));
  return canvas;
}

void PaintSkin(QPainter& p, const SkinGeometry& g, const SkinBitmaps& bitmaps,
               const QFont& titleFont) {
  QImage canvas = ComposeSkinCanvas(g, bitmaps);
  CWinPainter dc(&p);
  dc.BitBlt(0, 0, g.width, g.height, canvas, 0, 0, Rop::SrcCopy);
  dc.SetFont(titleFont);
  dc.SetTextColor(QColor(255, 255, 255));
  dc.DrawText(QString::fromUtf8(LoadResString(IDS_PRODUCT)), {35, 5, 150, 22},
              Qt::AlignLeft | Qt::AlignTop);
}

}  // namespace ov
