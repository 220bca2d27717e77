#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QWheelEvent>
#include <vector>

#include "controls/SkinSlider.h"
#include "controls/SlideMove.h"
#include "tests/controls/ControlsTestSupport.h"

namespace ov {
namespace {

using test::At;
using test::Grab;
using test::Notice;
using test::Pump;

// The window's seek slider: 713 x 20, channel x = 7..706 (699 pixels), range 0..100.
class SkinSliderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window.resize(733, 40);
    slider.setGeometry(10, 10, 713, 20);
    slider.setRange(0, 100);
    slider.setValue(50);
    QObject::connect(&slider, &CSkinSlider::scrollNotify, [this](int id, SlideMove move, int pos) {
      seen.push_back({id, move, pos});
    });
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  }
  void Press(int x) { QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(x, 10)); }
  void Move(int x) { QTest::mouseMove(&slider, QPoint(x, 10)); }
  void Release(int x) { QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(x, 10)); }

  QWidget window;
  CSkinSlider slider{1016, &window};
  std::vector<Notice> seen;
};

TEST_F(SkinSliderTest, ChannelEndsAndThirtyPercentGiveRoundedValues) {
  ASSERT_EQ(slider.ChannelRect(), (WinRect{7, 8, 706, 12}));
  EXPECT_TRUE(slider.SetPosFromPoint(QPoint(7, 10)));
  EXPECT_EQ(slider.value(), 0);
  EXPECT_TRUE(slider.SetPosFromPoint(QPoint(706, 10)));
  EXPECT_EQ(slider.value(), 100);
  EXPECT_TRUE(slider.SetPosFromPoint(QPoint(217, 10)));  // 30.04 % of the channel
  EXPECT_EQ(slider.value(), 30);
  // Half a step either side of a step still rounds to it.
  EXPECT_FALSE(slider.SetPosFromPoint(QPoint(214, 10)));
  EXPECT_FALSE(slider.SetPosFromPoint(QPoint(220, 10)));
  EXPECT_TRUE(slider.SetPosFromPoint(QPoint(221, 10)));
  EXPECT_EQ(slider.value(), 31);
  // Outside the channel the range limits the value.
  EXPECT_TRUE(slider.SetPosFromPoint(QPoint(-300, 10)));
  EXPECT_EQ(slider.value(), 0);
}

TEST_F(SkinSliderTest, WheelLeavesThePositionAlone) {
  QWheelEvent wheel(QPointF(357, 10), slider.mapToGlobal(QPointF(357, 10)), QPoint(),
                    QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(&slider, &wheel);
  Pump();
  EXPECT_EQ(slider.value(), 50);
  EXPECT_TRUE(seen.empty());
}

TEST_F(SkinSliderTest, PressAndReleaseWithoutChangePostNothing) {
  Press(357);  // already at 50
  Release(357);
  Pump();
  EXPECT_TRUE(seen.empty());
  EXPECT_EQ(slider.value(), 50);
  EXPECT_EQ(slider.IsButtonUp(), 1);
  Press(357);
  EXPECT_EQ(slider.IsButtonUp(), 0);
  Release(357);
}

TEST_F(SkinSliderTest, DragBackToTheStartStillReportsThePosition) {
  Press(357);
  Move(497);  // 70
  Move(357);
  Release(357);
  EXPECT_TRUE(seen.empty()) << "notifications are posted, not sent";
  Pump();
  const std::vector<Notice> expected = {{1016, SlideMove::ThumbDragged, 70},
                                        {1016, SlideMove::ThumbDragged, 50},
                                        {1016, SlideMove::ThumbReleased, 50}};
  EXPECT_EQ(seen, expected);
}

TEST_F(SkinSliderTest, EndTrackOnlyWhenTheReleaseMovesAndBeforeThePosition) {
  Press(217);  // jumps to 30
  Release(497);
  Pump();
  const std::vector<Notice> expected = {{1016, SlideMove::ThumbDragged, 30},
                                        {1016, SlideMove::Ended, 70},
                                        {1016, SlideMove::ThumbReleased, 70}};
  EXPECT_EQ(seen, expected);
  EXPECT_FALSE(slider.IsDragging());
}

TEST_F(SkinSliderTest, PositionSetDuringADragIsReplacedByThePointer) {
  Press(357);
  slider.PostSetPos(10);  // the playback thread moving the thumb
  Move(358);
  EXPECT_EQ(slider.value(), 50);
  Release(358);
  Pump();
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.back(), (Notice{1016, SlideMove::ThumbReleased, 50}));
}

TEST_F(SkinSliderTest, ZeroWidthChannelLeavesThePosition) {
  slider.resize(12, 20);
  ASSERT_EQ(slider.ChannelRect().Width(), 0);
  EXPECT_FALSE(slider.SetPosFromPoint(QPoint(7, 10)));
  EXPECT_FALSE(slider.SetPosFromPoint(QPoint(11, 10)));
  EXPECT_EQ(slider.value(), 50);
}

TEST_F(SkinSliderTest, ChannelShowsTrackColourOnlyWhenFilled) {
  QImage img = Grab(slider);
  EXPECT_EQ(At(img, 100, 8), QColor(0, 0, 0));
  EXPECT_EQ(At(img, 100, 9), QColor(91, 91, 91));
  slider.m_TrackFilled = true;
  img = Grab(slider);
  EXPECT_EQ(At(img, 100, 9), QColor(35, 205, 246));
  EXPECT_EQ(At(img, 100, 10), QColor(35, 205, 246));
  EXPECT_EQ(At(img, 100, 11), QColor(0, 0, 0));
  // Thumb at 50: outline in the edge colour, body in the thumb colour.
  const WinRect th = slider.ThumbRect();
  EXPECT_EQ(At(img, th.left, th.top), QColor(57, 57, 57));
  EXPECT_EQ(At(img, th.left + 2, th.top + 4), QColor(100, 100, 100));
  EXPECT_EQ(At(img, th.right - 1, 9), QColor(57, 57, 57));
  EXPECT_EQ(At(img, th.right, 9), QColor(35, 205, 246)) << "channel beside the thumb";
}

TEST_F(SkinSliderTest, KeysReportTheirMoveThenTheEndOnRelease) {
  slider.setFocus();
  QTest::keyClick(&slider, Qt::Key_End);
  QTest::keyClick(&slider, Qt::Key_Left);
  QTest::keyClick(&slider, Qt::Key_A);  // not a slider key
  Pump();
  const std::vector<Notice> expected = {{1016, SlideMove::ToEnd, 100},
                                        {1016, SlideMove::Ended, 100},
                                        {1016, SlideMove::LineBack, 99},
                                        {1016, SlideMove::Ended, 99}};
  EXPECT_EQ(seen, expected);
}

TEST(SkinSliderOrphan, WithoutParentNothingIsPosted) {
  CSkinSlider slider(5);
  slider.resize(200, 20);
  slider.setRange(0, 10);
  int count = 0;
  QObject::connect(&slider, &CSkinSlider::scrollNotify, [&](int, SlideMove, int) { ++count; });
  slider.NotifyParent(SlideMove::ThumbReleased);
  Pump();
  EXPECT_EQ(count, 0);
}

}  // namespace
}  // namespace ov
