#include <gtest/gtest.h>

#include <QTest>

#include "controls/SlideMove.h"
#include "controls/VolumeSlider.h"
#include "tests/controls/ControlsTestSupport.h"

namespace ov {
namespace {

using test::At;
using test::Grab;

const QColor kFace(169, 169, 169);
const QColor kBlack(0, 0, 0);
const QColor kLit(35, 205, 246);
const QColor kUnlit(91, 91, 91);
const QColor kBody(222, 219, 222);
const QColor kShade(65, 65, 65);

// The window's volume slider: 115 x 14, range 0..15.
class VolumeSliderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    slider.setGeometry(0, 0, 115, 14);
    slider.SetLevelRange(0, 15);
    slider.SetLevel(8);
  }
  CVolumeSlider slider{1006};
};

TEST_F(VolumeSliderTest, LevelEightPaintsGrooveThumbAndGrip) {
  const QImage img = Grab(slider);
  EXPECT_EQ(slider.ThumbRect(), (WinRect{49, 2, 64, 12}));
  // Black bar (8, 5, 107, 9) and nothing outside it.
  EXPECT_EQ(At(img, 8, 5), kBlack);
  EXPECT_EQ(At(img, 106, 8), kBlack);
  EXPECT_EQ(At(img, 7, 5), kFace);
  EXPECT_EQ(At(img, 107, 8), kFace);
  EXPECT_EQ(At(img, 20, 4), kFace);
  EXPECT_EQ(At(img, 20, 9), kFace);
  // Light groove from 9, grey from 57 to 106; the thumb covers 49..63.
  EXPECT_EQ(At(img, 9, 6), kLit);
  EXPECT_EQ(At(img, 48, 7), kLit);
  EXPECT_EQ(At(img, 64, 6), kUnlit);
  EXPECT_EQ(At(img, 105, 7), kUnlit);
  EXPECT_EQ(At(img, 20, 5), kBlack);
  // Thumb frame and body.
  EXPECT_EQ(At(img, 49, 2), kUnlit);
  EXPECT_EQ(At(img, 63, 11), kUnlit);
  EXPECT_EQ(At(img, 49, 1), kFace);
  EXPECT_EQ(At(img, 50, 3), kBody);
  EXPECT_EQ(At(img, 62, 10), kBody);
  // Grip (53, 5, 60, 9) in the shade colour while not tracking.
  EXPECT_EQ(At(img, 53, 5), kShade);
  EXPECT_EQ(At(img, 59, 8), kShade);
  EXPECT_EQ(At(img, 52, 5), kBody);
  EXPECT_EQ(At(img, 60, 8), kBody);
  EXPECT_EQ(At(img, 53, 9), kBody);
}

TEST_F(VolumeSliderTest, EndLevelsPlaceGroove) {
  slider.SetLevel(0);
  QImage img = Grab(slider);
  EXPECT_EQ(slider.ThumbRect(), (WinRect{1, 2, 16, 12}));
  EXPECT_EQ(At(img, 16, 6), kUnlit);
  EXPECT_EQ(At(img, 105, 7), kUnlit);

  // The top level stops one step short of the groove's end.
  slider.SetLevel(15);
  img = Grab(slider);
  EXPECT_EQ(slider.ThumbRect(), (WinRect{91, 2, 106, 12}));
  EXPECT_EQ(At(img, 90, 6), kLit);
  EXPECT_EQ(At(img, 106, 7), kBlack);
}

TEST_F(VolumeSliderTest, PressingAtTheGrooveEndsGivesTheEndLevels) {
  slider.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&slider));
  QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(9, 7));
  EXPECT_TRUE(slider.IsTracking());
  EXPECT_EQ(slider.GetLevel(), 0);
  QTest::mouseMove(&slider, QPoint(104, 7));
  EXPECT_EQ(slider.GetLevel(), 14);
  QTest::mouseMove(&slider, QPoint(105, 7));
  EXPECT_EQ(slider.GetLevel(), 15);
  QTest::mouseMove(&slider, QPoint(300, 7));
  EXPECT_EQ(slider.GetLevel(), 15);
  QTest::mouseMove(&slider, QPoint(-40, 7));
  EXPECT_EQ(slider.GetLevel(), 0);
  QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(-40, 7));
  EXPECT_FALSE(slider.IsTracking());
}

TEST_F(VolumeSliderTest, ReleaseReportsEndOfTrackWithTheFinalLevel) {
  slider.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&slider));
  std::vector<std::pair<SlideMove, int>> seen;  // move, level read by the handler
  QObject::connect(&slider, &CVolumeSlider::scrollNotify, [&](int id, SlideMove move, int) {
    EXPECT_EQ(id, 1006);
    seen.emplace_back(move, slider.GetLevel());
  });
  QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(30, 7));
  QTest::mouseMove(&slider, QPoint(60, 7));
  EXPECT_TRUE(seen.empty());
  QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(105, 7));
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0], std::make_pair(SlideMove::Ended, 15));
}

TEST_F(VolumeSliderTest, SetLevelRefusesAboveTheSpanAndRangeShiftsGetLevel) {
  EXPECT_FALSE(slider.SetLevel(16));
  EXPECT_EQ(slider.GetLevel(), 8);
  EXPECT_TRUE(slider.SetLevel(15));
  EXPECT_EQ(slider.GetLevel(), 15);

  // The level is an offset above the minimum and is not adjusted by a new range.
  EXPECT_TRUE(slider.SetLevelRange(5, 20));
  EXPECT_EQ(slider.GetLevel(), 20);
  EXPECT_TRUE(slider.SetLevel(3));
  EXPECT_EQ(slider.GetLevel(), 8);
}

TEST_F(VolumeSliderTest, ControlWithoutRoomForMarginsKeepsItsLevel) {
  slider.resize(0, 14);
  slider.LevelFromPoint(0, 7);
  slider.LevelFromPoint(5, 7);
  EXPECT_EQ(slider.GetLevel(), 8);
}

TEST_F(VolumeSliderTest, EmptySpanPaintsWithoutAFraction) {
  // A range whose span is -1 would divide the level by zero.
  slider.SetLevelRange(5, 4);
  slider.SetLevel(-1);
  const QImage img = Grab(slider);
  EXPECT_EQ(slider.ThumbRect(), (WinRect{1, 2, 16, 12}));
  EXPECT_EQ(At(img, 30, 6), kUnlit);
}

TEST_F(VolumeSliderTest, HoverOverTheThumbFollowsThePointer) {
  slider.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&slider));
  Grab(slider);  // places the thumb
  QTest::mouseMove(&slider, QPoint(20, 7));
  EXPECT_FALSE(slider.IsOverThumb());
  QTest::mouseMove(&slider, QPoint(55, 7));
  EXPECT_TRUE(slider.IsOverThumb());
  QTest::mouseMove(&slider, QPoint(64, 7));  // right edge is outside
  EXPECT_FALSE(slider.IsOverThumb());
  EXPECT_EQ(slider.GetLevel(), 8);
}

TEST(VolumeSliderVertical, LevelGrowsDownward) {
  CVolumeSlider slider(7);
  slider.setOrientation(Qt::Vertical);
  slider.setGeometry(0, 0, 20, 120);
  slider.SetLevelRange(0, 9);
  slider.SetLevel(0);
  const QImage top = Grab(slider);
  const WinRect atTop = slider.ThumbRect();
  // m = 10, T = 10, Hd = 100, cx = 10, t = 8.
  EXPECT_EQ(atTop, (WinRect{2, 2, 18, 18}));
  EXPECT_EQ(At(top, 10, 60), QColor(128, 128, 128));
  EXPECT_EQ(At(top, 9, 60), QColor(189, 190, 189));
  EXPECT_EQ(At(top, 11, 60), QColor(90, 93, 90));

  slider.LevelFromPoint(10, 110);  // bottom end of the groove
  EXPECT_EQ(slider.GetLevel(), 9);
  Grab(slider);
  EXPECT_EQ(slider.ThumbRect(), (WinRect{2, 92, 18, 108}));
}

}  // namespace
}  // namespace ov
