#include <gtest/gtest.h>

#include "controls/Regions.h"

namespace ov {
namespace {

TEST(Regions, RoundRectRegionCutsCornersAndLastRowAndColumn) {
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

}  // namespace
}  // namespace ov
