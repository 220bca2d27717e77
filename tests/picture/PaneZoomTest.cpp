#include <gtest/gtest.h>

#include <cmath>

#include "picture/PaneZoom.h"

namespace ov::zoom {
namespace {

// The picture point under p before and after a change must be the same.
void ExpectFixed(const Region& before, const Region& after, Point p) {
  const Point a = PictureAt(before, p), b = PictureAt(after, p);
  EXPECT_NEAR(a.u, b.u, 1e-12);
  EXPECT_NEAR(a.v, b.v, 1e-12);
}

TEST(PaneZoom, ZoomKeepsThePointUnderThePointerAndStepsBackToTheWholePicture) {
  const Point p{0.8, 0.3};
  Region r;
  for (int i = 0; i < 4; ++i) {
    const Region next = ZoomAbout(r, 1, p);
    ExpectFixed(r, next, p);
    EXPECT_NEAR(next.Zoom(), r.Zoom() * kStep, 1e-9);
    r = next;
  }
  EXPECT_NEAR(r.Zoom(), std::pow(kStep, 4), 1e-9);
  // Four steps back from the same point land exactly on the whole picture, not a hair off it.
  for (int i = 0; i < 4; ++i) r = ZoomAbout(r, -1, p);
  EXPECT_TRUE(r.Whole());
  EXPECT_EQ(r, Region{});
}

TEST(PaneZoom, ZoomIsBoundedAtBothEnds) {
  EXPECT_EQ(ZoomAbout(Region{}, -3), Region{});
  const Region deep = ZoomAbout(Region{}, 100, {0.25, 0.75});
  EXPECT_DOUBLE_EQ(deep.Zoom(), kMaxZoom);
  ExpectFixed(Region{}, deep, {0.25, 0.75});
  // Nonsense from a wheel or a caller is ignored rather than spread into the region.
  const Region same = ZoomAbout(deep, NAN, {0.5, 0.5});
  EXPECT_NEAR(same.x, deep.x, 1e-12);
  EXPECT_DOUBLE_EQ(same.size, deep.size);
  EXPECT_EQ(ZoomAbout(Region{}, 1, {NAN, INFINITY}), ZoomAbout(Region{}, 1, {0.5, 0.5}));
}

TEST(PaneZoom, ZoomNearAnEdgeStaysInsideThePicture) {
  // About the very corner the corner stays put; about a point off the picture it is clamped.
  const Region corner = ZoomAbout(Region{}, 3, {1.0, 1.0});
  EXPECT_NEAR(corner.x + corner.size, 1.0, 1e-12);
  EXPECT_NEAR(corner.y + corner.size, 1.0, 1e-12);
  const Region outside = ZoomAbout(Region{}, 3, {-2.0, 5.0});
  EXPECT_DOUBLE_EQ(outside.x, 0.0);
  EXPECT_NEAR(outside.y + outside.size, 1.0, 1e-12);
  // Zooming out from a region in a corner pulls it back in instead of showing past the edge.
  Region out = ZoomAbout(corner, -1, {0.0, 0.0});
  EXPECT_GE(out.x, 0.0);
  EXPECT_LE(out.x + out.size, 1.0 + 1e-12);
}

TEST(PaneZoom, PanFollowsTheDragAndStopsAtThePicturesEdges) {
  const Region r = ZoomAbout(Region{}, 4);  // 2.44x about the centre
  // Dragging a quarter of the pane to the right shows what lies left of the view.
  const Region left = Pan(r, 0.25, 0);
  EXPECT_NEAR(left.x, r.x - 0.25 * r.size, 1e-12);
  EXPECT_DOUBLE_EQ(left.y, r.y);
  // Far drags stop at the edges, with the size kept.
  const Region topLeft = Pan(r, 50, 50);
  EXPECT_EQ(topLeft.x, 0.0);
  EXPECT_EQ(topLeft.y, 0.0);
  EXPECT_DOUBLE_EQ(topLeft.size, r.size);
  const Region bottomRight = Pan(r, -50, -50);
  EXPECT_NEAR(bottomRight.x + bottomRight.size, 1.0, 1e-12);
  EXPECT_NEAR(bottomRight.y + bottomRight.size, 1.0, 1e-12);
  // The whole picture does not pan.
  EXPECT_EQ(Pan(Region{}, 0.3, -0.2), Region{});
}

TEST(PaneZoom, PaneSizeAndFullScreenChangeNothingButTheScale) {
  // The region is kept as fractions: a pane of 176x144 in the grid, the same pane alone at
  // 704x576 and full screen at 1920x1080 all show the same recorded pixels.
  const Region r = ZoomAbout(Region{}, 4, {0.3, 0.6});
  const PixelRect px = ToPixels(r, 704, 576);
  for (const auto& [w, h] : {std::pair{176, 144}, {704, 576}, {1350, 1080}}) {
    // A drag of the same share of any pane moves the same share of the picture.
    const Region moved = Pan(r, 10.0 / w, 0);
    EXPECT_NEAR(moved.x, r.x - 10.0 / w * r.size, 1e-12) << w;
  }
  EXPECT_EQ(px, ToPixels(r, 704, 576));
  EXPECT_EQ(px.w, std::lround(704 / std::pow(kStep, 4)));
  EXPECT_EQ(px.h, std::lround(576 / std::pow(kStep, 4)));
}

TEST(PaneZoom, PixelsStayInsideThePictureAndWireFormRoundTrips) {
  EXPECT_EQ(ToPixels(Region{}, 704, 576), (PixelRect{0, 0, 704, 576}));
  EXPECT_EQ(ToPixels(Region{}, 0, 576), PixelRect{});
  const Region deep = ZoomAbout(Region{}, 100, {1.0, 1.0});
  const PixelRect px = ToPixels(deep, 15, 9);  // a tiny picture: still one pixel at least
  EXPECT_GE(px.w, 1);
  EXPECT_GE(px.h, 1);
  EXPECT_LE(px.x + px.w, 15);
  EXPECT_LE(px.y + px.h, 9);
  int32_t x = 0, y = 0, size = 0;
  const Region r = ZoomAbout(Region{}, 5, {0.7, 0.2});
  ToWire(r, x, y, size);
  const Region back = FromWire(x, y, size);
  EXPECT_NEAR(back.x, r.x, 1e-6);
  EXPECT_NEAR(back.size, r.size, 1e-6);
  // A wire region from a caller that does not fit is brought into the picture.
  const Region wild = FromWire(900000, -5, 500000);
  EXPECT_DOUBLE_EQ(wild.x, 0.5);
  EXPECT_DOUBLE_EQ(wild.y, 0.0);
  EXPECT_EQ(FromWire(0, 0, 0).Zoom(), kMaxZoom);
}

}  // namespace
}  // namespace ov::zoom
