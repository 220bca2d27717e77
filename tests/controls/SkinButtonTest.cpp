#include <gtest/gtest.h>

#include <QDir>
#include <QPainter>
#include <QTest>
#include <map>
#include <set>
#include <thread>

#include "controls/SkinButton.h"
#include "res/BitmapIds.h"
#include "res/SkinResources.h"
#include "tests/controls/ControlsTestSupport.h"

namespace ov {
namespace {

using test::At;
using test::Grab;
using test::Pump;
using test::Solid;
using Drawn = CSkinButton::Drawn;

// Picture ids of the tests; each a flat colour.
enum : std::uint32_t { kNormal = 1, kPressed, kHover, kCheckOn, kDisabled, kFocus, kMask = 50 };
const QColor kRed(200, 0, 0), kGreen(0, 200, 0), kBlue(0, 0, 200), kYellow(200, 200, 0),
    kGrey(120, 120, 120), kCyan(0, 200, 200);

class SkinButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window.resize(200, 100);
    button.setGeometry(20, 20, 40, 30);
    button.SetBitmapLoader([this](std::uint32_t id) {
      ++loads;
      auto it = pictures.find(id);
      return it == pictures.end() ? QImage() : it->second;
    });
    pictures[kNormal] = Solid(40, 30, kRed);
    pictures[kPressed] = Solid(40, 30, kGreen);
    pictures[kHover] = Solid(40, 30, kBlue);
    pictures[kCheckOn] = Solid(40, 30, kYellow);
    pictures[kDisabled] = Solid(40, 30, kGrey);
    pictures[kFocus] = Solid(40, 30, kCyan);
    QObject::connect(&button, &CSkinButton::command, [this](int id) {
      commands.push_back(id);
      checkAtCommand.push_back(button.GetCheck());
    });
  }
  void Show() {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  }
  QColor Centre() { return At(Grab(button), 20, 15); }
  // Pointer input through the window, as the platform delivers it (grab, enter and leave).
  QPoint InWindow(QPoint p) { return button.mapTo(&window, p); }
  void Press(QPoint p) {
    QTest::mousePress(window.windowHandle(), Qt::LeftButton, {}, InWindow(p));
  }
  void Release(QPoint p) {
    QTest::mouseRelease(window.windowHandle(), Qt::LeftButton, {}, InWindow(p));
  }
  void Move(QPoint p) { QTest::mouseMove(window.windowHandle(), InWindow(p)); }

  QWidget window;
  CSkinButton button{1003, &window};
  std::map<std::uint32_t, QImage> pictures;
  int loads = 0;
  std::vector<int> commands;
  std::vector<int> checkAtCommand;
};

TEST(SkinButtonStates, StateTableFirstMatchWins) {
  CSkinButton::Loaded all{true, true, true, true, true, true};
  CSkinButton::Loaded none{};
  CSkinButton::ItemState pressed{.selected = true};
  CSkinButton::ItemState focused{.focus = true};
  CSkinButton::ItemState disabled{.disabled = true, .selected = true};

  // Pressed while checked: the check-on picture, else the pressed one, else the face colour.
  EXPECT_EQ(CSkinButton::ChooseDrawn(pressed, true, false, all), Drawn::CheckOn);
  CSkinButton::Loaded noCheckOn = all;
  noCheckOn.checkOn = false;
  EXPECT_EQ(CSkinButton::ChooseDrawn(pressed, true, false, noCheckOn), Drawn::Pressed);
  EXPECT_EQ(CSkinButton::ChooseDrawn({}, true, false, noCheckOn), Drawn::Pressed);
  EXPECT_EQ(CSkinButton::ChooseDrawn(pressed, false, false, all), Drawn::Pressed);
  EXPECT_EQ(CSkinButton::ChooseDrawn(pressed, false, false, {.normal = true}), Drawn::Face);

  // Hover beats focus.
  EXPECT_EQ(CSkinButton::ChooseDrawn(focused, false, true, all), Drawn::Hover);
  CSkinButton::Loaded noHover = all;
  noHover.hover = false;
  EXPECT_EQ(CSkinButton::ChooseDrawn(focused, false, true, noHover), Drawn::Focus);

  // Disabled: its own picture, else the normal one, else the face colour.
  EXPECT_EQ(CSkinButton::ChooseDrawn(disabled, true, true, all), Drawn::Disabled);
  CSkinButton::Loaded noDisabled = all;
  noDisabled.disabled = false;
  EXPECT_EQ(CSkinButton::ChooseDrawn(disabled, true, true, noDisabled), Drawn::Normal);
  EXPECT_EQ(CSkinButton::ChooseDrawn(disabled, false, false, none), Drawn::Face);

  EXPECT_EQ(CSkinButton::ChooseDrawn({}, false, true, {.hover = true}), Drawn::Face);
  EXPECT_EQ(CSkinButton::ChooseDrawn({}, false, false, all), Drawn::Normal);
}

TEST_F(SkinButtonTest, PaintsThePictureOfItsState) {
  button.SetKind(CSkinButton::Kind::Check);
  button.SetBitmaps(kNormal, kPressed, kHover, kCheckOn, 0, 0, 0, 1, 1, 4);
  EXPECT_EQ(Centre(), kRed);
  button.setDown(true);
  EXPECT_EQ(Centre(), kGreen);
  button.SetCheck(1);
  EXPECT_EQ(Centre(), kYellow);
  button.setDown(false);
  button.SetCheck(0);
  button.setEnabled(false);
  EXPECT_EQ(Centre(), kRed) << "no disabled picture: the normal one unchanged";
  button.SetBitmaps(0, kPressed, kHover, kCheckOn, 0, 0, 0, 1, 1, 4);
  EXPECT_EQ(Centre(), button.palette().color(QPalette::Button));
}

TEST_F(SkinButtonTest, SetBitmapsNormalisesItsLastValues) {
  button.SetBitmaps(kNormal, 0, 0, 0, 0, 0, 0, 7, 0x1FFFF, -5);
  EXPECT_EQ(button.FitModeValue(), CSkinButton::FIT_TILE);
  EXPECT_EQ(button.FrameWidth(), -1) << "16-bit value, sign extended";
  EXPECT_EQ(button.CaptionInset(), 0);
  button.SetBitmaps(kNormal, 0, 0, 0, 0, 0, 0, -3, 1, 4);
  EXPECT_EQ(button.FitModeValue(), CSkinButton::FIT_NATURAL);
  EXPECT_EQ(button.CaptionInset(), 4);
  button.SetBitmaps(kNormal, 0, 0, 0, 0, 0, 0, 0x10001, 1, 4);
  EXPECT_EQ(button.FitModeValue(), CSkinButton::FIT_STRETCH);
}

TEST_F(SkinButtonTest, FitModesPlaceThePicture) {
  // 2 x 2 quadrants of 4 x 4 pixels.
  QImage quad(8, 8, QImage::Format_RGB32);
  {
    QPainter p(&quad);
    p.fillRect(0, 0, 4, 4, kRed);
    p.fillRect(4, 0, 4, 4, kGreen);
    p.fillRect(0, 4, 4, 4, kBlue);
    p.fillRect(4, 4, 4, 4, kYellow);
  }
  pictures[kNormal] = quad;
  button.SetBitmaps(kNormal, 0, 0, 0, 0, 0, 0, 1, 1, 4);  // stretched over 40 x 30
  QImage img = Grab(button);
  EXPECT_EQ(At(img, 19, 14), kRed);
  EXPECT_EQ(At(img, 20, 14), kGreen);
  EXPECT_EQ(At(img, 39, 29), kYellow);

  button.SetBitmaps(kNormal, 0, 0, 0, 0, 0, 0, 2, 1, 4);  // tiled every 8 pixels
  img = Grab(button);
  EXPECT_EQ(At(img, 8, 0), kRed);
  EXPECT_EQ(At(img, 12, 0), kGreen);
  EXPECT_EQ(At(img, 33, 28), kBlue);  // last row of tiles cut at 30: rows 24..29
  EXPECT_EQ(At(img, 39, 29), kYellow);

  button.setAutoFillBackground(true);
  button.SetBitmaps(kNormal, 0, 0, 0, 0, 0, 0, 0, 1, 4);  // natural: top-left 8 x 8 only
  img = Grab(button);
  EXPECT_EQ(At(img, 7, 7), kYellow);
  EXPECT_EQ(At(img, 8, 8), button.palette().color(QPalette::Window));
}

TEST(SkinButtonRegion, RunsPerRowInMaskCoordinates) {
  // 5 x 3 mask, white outside. Row 0: x 1..2 and x 4; row 1: x 3..4; row 2: all white.
  QImage mask = Solid(5, 3, Qt::white);
  for (QPoint p : {QPoint(1, 0), QPoint(2, 0), QPoint(4, 0), QPoint(3, 1), QPoint(4, 1)}) {
    mask.setPixel(p, qRgb(0, 0, 0));
  }
  const QRegion region = CSkinButton::BuildRegionFromMask(mask, 0xFFFFFF);
  QRegion expected;
  expected += QRect(1, 0, 2, 1);
  expected += QRect(4, 0, 1, 1);  // a single pixel in the last column
  expected += QRect(3, 1, 2, 1);  // closed at the row's end
  EXPECT_EQ(region, expected);
  EXPECT_FALSE(region.intersects(QRect(0, 2, 5, 1)));

  // Any colour but the key is opaque; alpha is not looked at.
  QImage grey = Solid(3, 1, QColor(254, 255, 255));
  EXPECT_EQ(CSkinButton::BuildRegionFromMask(grey, 0xFFFFFF), QRegion(0, 0, 3, 1));
  EXPECT_TRUE(CSkinButton::BuildRegionFromMask(QImage(), 0xFFFFFF).isEmpty());
}

TEST_F(SkinButtonTest, MaskShapesTheWindowAndComposesThePicture) {
  // Black disc-ish cross on white: the middle column and middle row of a 10 x 10 mask.
  QImage mask = Solid(10, 10, Qt::white);
  for (int i = 0; i < 10; ++i) {
    mask.setPixel(5, i, qRgb(0, 0, 0));
    mask.setPixel(i, 5, qRgb(0, 0, 0));
  }
  pictures[kMask] = mask;
  pictures[kNormal] = Solid(10, 10, kRed);

  // Stretched: region stays in mask pixels, the size stays.
  button.SetBitmaps(kNormal, 0, 0, 0, 0, 0, kMask, 1, 1, 4);
  EXPECT_EQ(button.size(), QSize(40, 30));
  EXPECT_EQ(button.mask(), CSkinButton::BuildRegionFromMask(mask, 0xFFFFFF));
  EXPECT_TRUE(button.mask().contains(QPoint(5, 9)));
  EXPECT_FALSE(button.mask().contains(QPoint(5, 10)));

  // Composition: white mask keeps the background, black shows the picture.
  QImage target = Solid(10, 10, kBlue);
  {
    QPainter p(&target);
    CSkinButton::PaintStateBitmap(p, button.NormalBitmap(), {0, 0, 10, 10},
                                  CSkinButton::FIT_NATURAL);
  }
  EXPECT_EQ(At(target, 5, 2), kRed);
  EXPECT_EQ(At(target, 2, 2), kBlue);
  EXPECT_EQ(qAlpha(target.pixel(5, 2)), 255);

  // Tiling ignores the mask when drawing.
  button.SetBitmaps(kNormal, 0, 0, 0, 0, 0, kMask, 2, 1, 4);
  target = Solid(10, 10, kBlue);
  {
    QPainter p(&target);
    CSkinButton::PaintStateBitmap(p, button.NormalBitmap(), {0, 0, 10, 10}, CSkinButton::FIT_TILE);
  }
  EXPECT_EQ(At(target, 2, 2), kRed);

  // Natural size: the button takes the mask's size.
  button.SetBitmaps(kNormal, 0, 0, 0, 0, 0, kMask, 0, 1, 4);
  EXPECT_EQ(button.size(), QSize(10, 10));
}

TEST(SkinButtonMask, AlphaFollowsTheMaskAndStretchesWithThePicture) {
  // 4 x 2 picture, 3 x 2 mask: white, black, grey on both rows; the fourth column has no mask.
  QImage mask = Solid(3, 2, Qt::white);
  for (int y = 0; y < 2; ++y) {
    mask.setPixel(1, y, qRgb(0, 0, 0));
    mask.setPixel(2, y, qRgb(128, 128, 128));
  }
  const QImage shaped = CSkinButton::WithMaskAlpha(Solid(4, 2, kRed), mask);
  EXPECT_EQ(qAlpha(shaped.pixel(0, 0)), 0);
  EXPECT_EQ(shaped.pixel(1, 1), QColor(kRed).rgb());
  EXPECT_EQ(shaped.pixel(2, 0), QColor(kRed).rgb()) << "any colour but white is inside";
  EXPECT_EQ(qAlpha(shaped.pixel(3, 0)), 0) << "beyond the mask";
  EXPECT_TRUE(CSkinButton::WithMaskAlpha(QImage(), mask).isNull());

  // Stretched twice: each picture pixel, transparent or not, becomes a 2 x 2 block.
  QImage target = Solid(8, 4, kBlue);
  {
    QPainter p(&target);
    CSkinButton::PaintStateBitmap(p, shaped, {0, 0, 8, 4}, CSkinButton::FIT_STRETCH);
  }
  EXPECT_EQ(At(target, 1, 3), kBlue);
  EXPECT_EQ(At(target, 2, 0), kRed);
  EXPECT_EQ(At(target, 5, 3), kRed);
  EXPECT_EQ(At(target, 6, 1), kBlue);
}

TEST_F(SkinButtonTest, DoubleClickGivesTwoCommands) {
  button.SetBitmaps(kNormal, kPressed, kHover, kPressed, 0, 0, 0, 1, 1, 4);
  Show();
  QTest::mouseDClick(window.windowHandle(), Qt::LeftButton, {}, InWindow(QPoint(10, 10)));
  EXPECT_EQ(commands, (std::vector<int>{1003, 1003}));
}

TEST_F(SkinButtonTest, DraggingOffAndBackFollowsThePointer) {
  button.SetKind(CSkinButton::Kind::Check);
  button.SetBitmaps(kNormal, kPressed, kHover, kCheckOn, 0, 0, 0, 1, 1, 4);
  Show();
  Press(QPoint(10, 10));
  EXPECT_TRUE(button.isDown());
  EXPECT_TRUE(button.Pressing());
  Move(QPoint(60, 10));
  EXPECT_FALSE(button.isDown());
  EXPECT_EQ(Centre(), kRed);
  Move(QPoint(12, 12));
  EXPECT_TRUE(button.isDown());
  EXPECT_EQ(Centre(), kGreen);
  Move(QPoint(-5, 12));
  EXPECT_FALSE(button.isDown());
  Release(QPoint(-5, 12));
  EXPECT_TRUE(commands.empty());
  EXPECT_EQ(button.GetCheck(), 0);
  EXPECT_FALSE(button.Pressing());

  // Released over the button: the check flips before the command is handled.
  Press(QPoint(10, 10));
  Release(QPoint(10, 10));
  EXPECT_EQ(commands, (std::vector<int>{1003}));
  EXPECT_EQ(checkAtCommand, (std::vector<int>{1}));
}

TEST_F(SkinButtonTest, HoverUntilLeaveOrPress) {
  button.SetBitmaps(kNormal, kPressed, kHover, kPressed, 0, 0, 0, 1, 1, 4);
  Show();
  Move(QPoint(100, 50));
  EXPECT_FALSE(button.PointerInside());
  Move(QPoint(10, 10));
  EXPECT_TRUE(button.PointerInside());
  EXPECT_EQ(Centre(), kBlue);
  Press(QPoint(10, 10));
  EXPECT_FALSE(button.PointerInside());
  Release(QPoint(10, 10));
  Move(QPoint(11, 10));
  EXPECT_TRUE(button.PointerInside());
  Move(QPoint(100, 50));
  EXPECT_FALSE(button.PointerInside());
  EXPECT_EQ(Centre(), kRed);
}

TEST_F(SkinButtonTest, CheckStatesByKind) {
  button.SetCheck(1);
  EXPECT_EQ(button.GetCheck(), 0) << "a push button never stays checked";

  button.SetKind(CSkinButton::Kind::Check);
  Show();
  QTest::keyClick(&button, Qt::Key_Space);
  EXPECT_EQ(button.GetCheck(), 1);
  EXPECT_EQ(commands, (std::vector<int>{1003}));
  QTest::keyClick(&button, Qt::Key_Space);
  EXPECT_EQ(button.GetCheck(), 0);

  button.SetKind(CSkinButton::Kind::Radio);
  QTest::keyClick(&button, Qt::Key_Space);
  QTest::keyClick(&button, Qt::Key_Space);
  EXPECT_EQ(button.GetCheck(), 1) << "a click only turns a radio button on";
}

TEST(SkinButtonRadio, OthersDropTheirCheckWhenThePostedReleaseRuns) {
  QWidget parent;
  CSkinButton a(1, &parent), b(2, &parent), c(3, &parent), other(4, &parent);
  for (CSkinButton* r : {&a, &b, &c, &other}) r->SetKind(CSkinButton::Kind::Radio);
  other.SetRadioGroup(1);
  a.SetCheck(1);
  other.SetCheck(1);
  Pump();
  ASSERT_EQ(a.GetCheck(), 1);

  b.SetCheck(1);
  EXPECT_EQ(a.GetCheck(), 1) << "not during the call";
  Pump();
  EXPECT_EQ(a.GetCheck(), 0);
  EXPECT_EQ(b.GetCheck(), 1);
  EXPECT_EQ(c.GetCheck(), 0);
  EXPECT_EQ(other.GetCheck(), 1) << "another group";
}

TEST_F(SkinButtonTest, SetBitmapsFromAWorkerRunsOnTheWindowThread) {
  std::thread worker([this] {
    button.SetBitmaps(kNormal, kPressed, kHover, kPressed, 0, 0, 0, 1, 1, 4);
    button.Invalidate();
  });
  worker.join();
  EXPECT_EQ(loads, 0);
  EXPECT_TRUE(button.NormalBitmap().isNull());
  Pump();
  EXPECT_EQ(loads, 4);
  EXPECT_EQ(Centre(), kRed);
}

TEST(SkinResources, EveryPictureLoadsAtItsControlSize) {
  const std::map<std::uint32_t, QSize> sizes = {
      {IDB_PLAY_NORMAL, {43, 48}},         {IDB_PAUSE, {43, 48}},
      {IDB_REW_NORMAL, {36, 48}},          {IDB_FF_HOVER, {36, 48}},
      {IDB_SPEAKER_OFF_PRESSED, {14, 15}}, {IDB_LABEL_TIMELINE, {45, 9}},
      {IDB_LABEL_FILENAME, {47, 9}},       {IDB_BAR_STRIP, {2, 48}},
      {IDB_CLOSE_NORMAL, {19, 19}},        {IDB_FILEOPEN_NORMAL, {53, 22}},
      {IDB_ABOUT_OK_PRESSED, {70, 23}},    {IDB_CH16_PRESSED, {19, 19}}};
  for (std::uint32_t id : kAllBitmapIds) {
    const QImage img = LoadBitmapResource(id);
    ASSERT_FALSE(img.isNull()) << id;
    EXPECT_EQ(img.format(), QImage::Format_RGB32) << id;
    auto it = sizes.find(id);
    if (it != sizes.end()) {
      EXPECT_EQ(img.size(), it->second) << id;
    }
  }
  EXPECT_TRUE(LoadBitmapResource(0).isNull());
  EXPECT_TRUE(LoadBitmapResource(171).isNull());
  EXPECT_EQ(LoadBitmapResource(0x10000 + IDB_PLAY_NORMAL).size(), QSize(43, 48));

  // One file per id, named by what it shows; no file without an id.
  std::set<QString> files;
  for (std::uint32_t id : kAllBitmapIds) files.insert(BitmapResourcePath(id));
  EXPECT_EQ(files.size(), std::size(kAllBitmapIds));
  EXPECT_EQ(BitmapResourcePath(IDB_PAUSE), QStringLiteral(":/bitmaps/pause.png"));
  EXPECT_TRUE(BitmapResourcePath(171).isEmpty());
  EXPECT_EQ(QDir(QStringLiteral(":/bitmaps")).entryList(QDir::Files).size(),
            static_cast<qsizetype>(std::size(kAllBitmapIds)));
}

}  // namespace
}  // namespace ov
