#include <gtest/gtest.h>

#include <QPainter>

#include "controls/OffscreenDC.h"
#include "controls/Regions.h"
#include "controls/WinPainter.h"
#include "tests/controls/ControlsTestSupport.h"

namespace ov {
namespace {

using test::At;
using test::Solid;

const QColor kBg(0, 0, 255);
const QColor kBlack(0, 0, 0);
const QColor kWhite(255, 255, 255);
const QColor kRed(255, 0, 0);

// Runs draw on a 12 x 12 blue image through a CWinPainter and returns the image.
template <typename F>
QImage Draw(F draw) {
  QImage img = Solid(12, 12, kBg);
  QPainter p(&img);
  CWinPainter dc(&p);
  draw(dc);
  p.end();
  return img;
}

TEST(PaintHelpers, RectangleOutlinesInsideExclusiveEdges) {
  QImage img = Draw([](CWinPainter& dc) { dc.Rectangle({1, 1, 5, 4}); });
  EXPECT_EQ(At(img, 1, 1), kBlack);
  EXPECT_EQ(At(img, 4, 1), kBlack);
  EXPECT_EQ(At(img, 4, 3), kBlack);
  EXPECT_EQ(At(img, 2, 2), kWhite);
  EXPECT_EQ(At(img, 5, 1), kBg);
  EXPECT_EQ(At(img, 1, 4), kBg);

  // Null pen: the fill stops one pixel short on the right and at the bottom.
  img = Draw([](CWinPainter& dc) {
    dc.SelectNullPen();
    dc.SelectBrush(kRed);
    dc.Rectangle({1, 1, 5, 4});
  });
  EXPECT_EQ(At(img, 1, 1), kRed);
  EXPECT_EQ(At(img, 3, 2), kRed);
  EXPECT_EQ(At(img, 4, 2), kBg);
  EXPECT_EQ(At(img, 3, 3), kBg);

  img = Draw([](CWinPainter& dc) { dc.FillRect({2, 2, 4, 3}, kRed); });
  EXPECT_EQ(At(img, 3, 2), kRed);
  EXPECT_EQ(At(img, 4, 2), kBg);
  EXPECT_EQ(At(img, 2, 3), kBg);
}

TEST(PaintHelpers, LineToLeavesItsEndPoint) {
  const QImage img = Draw([](CWinPainter& dc) {
    dc.MoveTo(1, 1);
    dc.LineTo(6, 1);  // right
    dc.MoveTo(6, 3);
    dc.LineTo(1, 3);  // left
    dc.MoveTo(8, 1);
    dc.LineTo(8, 5);  // down
    dc.MoveTo(0, 6);
    dc.LineTo(3, 9);  // diagonal
  });
  EXPECT_EQ(At(img, 1, 1), kBlack);
  EXPECT_EQ(At(img, 5, 1), kBlack);
  EXPECT_EQ(At(img, 6, 1), kBg);
  EXPECT_EQ(At(img, 6, 3), kBlack);
  EXPECT_EQ(At(img, 2, 3), kBlack);
  EXPECT_EQ(At(img, 1, 3), kBg);
  EXPECT_EQ(At(img, 8, 4), kBlack);
  EXPECT_EQ(At(img, 8, 5), kBg);
  EXPECT_EQ(At(img, 2, 8), kBlack);
  EXPECT_EQ(At(img, 3, 9), kBg);

  // A two-pixel pen covers the line's row and the one above it.
  const QImage wide = Draw([](CWinPainter& dc) {
    dc.SelectPen(kRed, 2);
    dc.MoveTo(0, 5);
    dc.LineTo(10, 5);
  });
  EXPECT_EQ(At(wide, 3, 4), kRed);
  EXPECT_EQ(At(wide, 3, 5), kRed);
  EXPECT_EQ(At(wide, 3, 6), kBg);
  EXPECT_EQ(At(wide, 10, 5), kBg);
}

TEST(PaintHelpers, BlitsCopyInvertAndStretch) {
  QImage src = Solid(2, 2, QColor(0, 255, 0));
  src.setPixel(1, 1, qRgb(255, 0, 0));
  const QImage img = Draw([&](CWinPainter& dc) {
    dc.BitBlt(0, 0, 4, 4, src, 0, 0, Rop::SrcCopy);  // only the 2 x 2 that exists
    dc.StretchBlt(4, 4, 8, 8, src, 0, 0, 2, 2, Rop::SrcCopy);
    dc.BitBlt(0, 8, 2, 2, src, 0, 0, Rop::SrcInvert);
  });
  EXPECT_EQ(At(img, 1, 1), kRed);
  EXPECT_EQ(At(img, 2, 2), kBg);
  EXPECT_EQ(At(img, 7, 7), QColor(0, 255, 0));
  EXPECT_EQ(At(img, 8, 8), kRed);
  EXPECT_EQ(At(img, 0, 8), QColor(0, 255, 255));  // green XOR blue
  EXPECT_EQ(qAlpha(img.pixel(0, 8)), 255);
}

TEST(PaintHelpers, OffscreenSurfaceCopiesItsClipBoxOnly) {
  QImage target = Solid(20, 20, kRed);
  {
    QPainter p(&target);
    COffscreenDC dc(p, QRect(5, 5, 10, 10));
    EXPECT_TRUE(dc.DrawsToMemory());
    dc.FillRect({0, 0, 8, 8}, QColor(0, 255, 0));
    // Nothing reaches the target before the surface goes away.
    EXPECT_EQ(At(target, 6, 6), kRed);
  }
  EXPECT_EQ(At(target, 5, 5), QColor(0, 255, 0));
  EXPECT_EQ(At(target, 7, 7), QColor(0, 255, 0));
  EXPECT_EQ(At(target, 8, 8), kWhite);
  EXPECT_EQ(At(target, 14, 14), kWhite);
  EXPECT_EQ(At(target, 4, 4), kRed);
  EXPECT_EQ(At(target, 15, 15), kRed);
}

TEST(PaintHelpers, RoundRectRegionCutsCornersAndLastRowAndColumn) {
  const QRegion r = RoundRectRegion({0, 0, 21, 21}, 14, 14);
  EXPECT_EQ(r.boundingRect(), QRect(0, 0, 20, 20));
  EXPECT_FALSE(r.contains(QPoint(0, 0)));
  EXPECT_FALSE(r.contains(QPoint(19, 19)));
  EXPECT_FALSE(r.contains(QPoint(1, 1)));
  EXPECT_TRUE(r.contains(QPoint(10, 0)));
  EXPECT_TRUE(r.contains(QPoint(0, 10)));
  EXPECT_TRUE(r.contains(QPoint(19, 10)));
  EXPECT_TRUE(r.contains(QPoint(4, 4)));

  const WinRect rects[] = {{0, 0, 2, 1}, {5, 5, 6, 7}};
  const QRegion u = RegionFromRects(rects);
  EXPECT_TRUE(u.contains(QPoint(1, 0)));
  EXPECT_FALSE(u.contains(QPoint(2, 0)));
  EXPECT_TRUE(u.contains(QPoint(5, 6)));
  EXPECT_FALSE(u.contains(QPoint(5, 7)));
}

TEST(PaintHelpers, ExcludedAreaStaysUntouched) {
  const QImage img = Draw([](CWinPainter& dc) {
    dc.ExcludeClipRect({2, 2, 6, 6});
    dc.FillRect({0, 0, 12, 12}, kRed);
  });
  EXPECT_EQ(At(img, 1, 1), kRed);
  EXPECT_EQ(At(img, 2, 2), kBg);
  EXPECT_EQ(At(img, 5, 5), kBg);
  EXPECT_EQ(At(img, 6, 6), kRed);
}

}  // namespace
}  // namespace ov
