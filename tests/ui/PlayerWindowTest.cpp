// The window itself: size, control places, skin, dragging, the context menu and the About box.
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "controls/SkinButton.h"
#include "controls/SkinSlider.h"
#include "controls/VolumeSlider.h"
#include "ov/Version.h"
#include "res/SkinResources.h"
#include "tests/ui/PlayerDlgFixture.h"
#include "ui/AboutDlg.h"
#include "ui/CommandIds.h"
#include "ui/PlayerContextMenu.h"
#include "ui/WindowDrag.h"

namespace ov {
namespace {

using test::PlayerDlgFixture;
using PlayerWindowTest = PlayerDlgFixture;

TEST_F(PlayerWindowTest, WindowIsFramelessCentredAndNamed) {
  EXPECT_EQ(dlg->size(), QSize(734, 766));
  EXPECT_TRUE(dlg->windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(dlg->windowTitle(), "Ostravue");
  EXPECT_FALSE(dlg->windowIcon().isNull());
  QRect screen = dlg->screen()->geometry();
  EXPECT_EQ(dlg->frameGeometry().center().x() / 2, screen.center().x() / 2);
}

TEST_F(PlayerWindowTest, EveryControlSitsAtItsPlace) {
  const struct {
    int id;
    QRect r;
  } places[] = {
      {idc::kPlay, {352, 644, 43, 48}},       {idc::kBack59, {316, 644, 36, 48}},
      {idc::kRew, {280, 644, 36, 48}},        {idc::kForward59, {395, 644, 36, 48}},
      {idc::kFF, {431, 644, 36, 48}},         {idc::kVolume, {604, 661, 115, 14}},
      {idc::kSpeakerMin, {590, 661, 14, 15}}, {idc::kSpeakerMax, {699, 661, 14, 15}},
      {idc::kMinimize, {683, 3, 19, 19}},     {idc::kMaximize, {683, 3, 19, 19}},
      {idc::kExit, {702, 3, 19, 19}},         {idc::kDecoder, {15, 30, 704, 576}},
      {idc::kSeek, {10, 694, 713, 20}},       {idc::kPathBox, {25, 724, 628, 15}},
      {idc::kFileOpen, {659, 721, 53, 22}},   {idc::kOsd, {270, 606, 180, 14}},
      {idc::kSpeed, {195, 606, 80, 14}},      {idc::kTotalTime, {24, 662, 129, 15}},
      {idc::kName, {35, 6, 62, 15}},          {idc::kVer, {660, 608, 50, 15}},
      {idc::kSearching, {470, 606, 66, 14}},  {idc::kCh1, {641, 622, 19, 19}},
      {idc::kCh4, {661, 622, 19, 19}},        {idc::kCh9, {681, 622, 19, 19}},
      {idc::kCh16, {701, 622, 19, 19}},
  };
  for (const auto& p : places) {
    QWidget* w = dlg->Control(p.id);
    ASSERT_NE(w, nullptr) << p.id;
    EXPECT_EQ(w->geometry(), p.r) << p.id;
  }
  for (int id : {idc::kOpenYrxFile, idc::kStorageCombo, idc::kMakeChdFile, idc::kCombineFiles})
    EXPECT_FALSE(dlg->Control(id)->isVisible() || dlg->Control(id)->isEnabled()) << id;
  for (int id : {idc::kSpeakerMax, idc::kMaximize, idc::kVer, idc::kName, idc::kSearching})
    EXPECT_FALSE(dlg->Control(id)->isVisible()) << id;
  EXPECT_TRUE(dlg->Control(idc::kDecoder)->isVisible());
  EXPECT_EQ(dlg->Control(idc::kDecoder), static_cast<QWidget*>(control->Widget()));
}

TEST_F(PlayerWindowTest, StartTextsAndButtonPictures) {
  EXPECT_EQ(Text(idc::kOsd), "");
  EXPECT_EQ(Text(idc::kSpeed), "");
  EXPECT_EQ(Text(idc::kTotalTime), "00 : 00 : 00 / 00 : 00 : 00");
  EXPECT_EQ(Text(idc::kVer), "Ver 0.0.1");
  EXPECT_EQ(Text(idc::kName), "Ostravue");
  // No speed reached yet: the speed buttons' tooltips say only what they do.
  EXPECT_EQ(dlg->ToolTipText(idc::kFF), "");
  EXPECT_FALSE(dlg->Button(idc::kFF)->toolTip().contains('\n'));
  EXPECT_EQ(dlg->Button(idc::kPlay)->NormalBitmap(), LoadBitmapResource(153));
  EXPECT_EQ(dlg->Button(idc::kCh16)->NormalBitmap(), LoadBitmapResource(211));
  EXPECT_EQ(dlg->VolumeSlider()->GetLevel(), 8);
  EXPECT_EQ(dlg->VolumeSlider()->RangeMax(), 15);
  EXPECT_EQ(State().m_DisplayMode.load(), 3);
  EXPECT_EQ(State().m_PlayState.load(), TransportState::Paused);
}

TEST_F(PlayerWindowTest, SkinIsComposedFromItsColours) {
  QImage c = dlg->SkinCanvas();
  ASSERT_EQ(c.size(), QSize(734, 766));
  auto rgb = [&](int x, int y) { return QColor(c.pixel(x, y)); };
  EXPECT_EQ(rgb(300, 15), QColor(57, 57, 57));      // title band
  EXPECT_EQ(rgb(12, 300), QColor(100, 100, 100));   // frame around the video
  EXPECT_EQ(rgb(300, 750), QColor(225, 225, 225));  // lower band
  EXPECT_EQ(rgb(3, 300), QColor(255, 255, 255));    // margin outside the bands
  EXPECT_EQ(rgb(300, 692), QColor(47, 47, 47));     // shadow line at T + 48
  EXPECT_EQ(rgb(300, 693), QColor(200, 200, 200));  // light line at T + 49
  EXPECT_EQ(rgb(24, 730), QColor(228, 228, 228));   // innermost path box frame
  EXPECT_EQ(rgb(22, 730), QColor(104, 104, 104));   // outermost
  // The video area is left alone: the control paints it.
  EXPECT_EQ(rgb(300, 300), QColor(255, 255, 255));
  EXPECT_EQ(dlg->BarTop(), 644);
}

TEST_F(PlayerWindowTest, RoundedOutlineCutsTheCorners) {
  dlg->repaint();
  QRegion m = dlg->mask();
  EXPECT_FALSE(m.contains(QPoint(0, 0)));
  EXPECT_FALSE(m.contains(QPoint(733, 765)));
  EXPECT_TRUE(m.contains(QPoint(7, 0)));
  EXPECT_TRUE(m.contains(QPoint(367, 383)));
  EXPECT_TRUE(m.contains(QPoint(733, 383)));
}

TEST_F(PlayerWindowTest, VideoAreaAndItsMarginDoNotDragTheWindow) {
  const WinRect v{15, 30, 719, 606};
  EXPECT_FALSE(IsWindowDragPoint(v, {300, 300}));
  EXPECT_FALSE(IsWindowDragPoint(v, {10, 300}));   // 5 pixels left of it
  EXPECT_FALSE(IsWindowDragPoint(v, {723, 300}));  // 5 pixels right
  EXPECT_FALSE(IsWindowDragPoint(v, {300, 28}));   // 2 pixels above
  EXPECT_TRUE(IsWindowDragPoint(v, {9, 300}));
  EXPECT_TRUE(IsWindowDragPoint(v, {724, 300}));
  EXPECT_TRUE(IsWindowDragPoint(v, {300, 27}));
  EXPECT_TRUE(IsWindowDragPoint(v, {300, 606}));  // the bottom is not widened
}

// The menu as a right click shows it, read while it is open.
struct MenuSnapshot {
  bool iframe = false;
  std::vector<std::pair<std::string, bool>> formats;
  std::vector<std::string> items;
};
MenuSnapshot ReadMenu(QMenu* m) {
  MenuSnapshot s;
  for (QAction* a : m->actions()) {
    s.items.push_back(a->isSeparator() ? "-" : a->text().toStdString());
    if (CommandOfAction(a) == idc::kCmdIFrameOnly) s.iframe = a->isChecked();
    if (a->menu() && a->text() == "Time format")
      for (QAction* f : a->menu()->actions())
        s.formats.emplace_back(f->text().toStdString(), f->isChecked());
  }
  return s;
}

MenuSnapshot OpenContextMenu(CPlayerDlg& dlg) {
  MenuSnapshot snap;
  QTimer::singleShot(50, [&snap] {
    auto* m = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (m == nullptr) return;
    snap = ReadMenu(m);
    m->close();
  });
  QContextMenuEvent ev(QContextMenuEvent::Mouse, QPoint(100, 650),
                       dlg.mapToGlobal(QPoint(100, 650)));
  QApplication::sendEvent(&dlg, &ev);
  return snap;
}

TEST_F(PlayerWindowTest, ContextMenuShowsTheCurrentChoices) {
  MenuSnapshot s = OpenContextMenu(*dlg);
  EXPECT_EQ(s.items, (std::vector<std::string>{"Open Folder...",
                                               "-",
                                               "I-Frame Only",
                                               "Time format",
                                               "Go to Time...",
                                               "-",
                                               "Activity Timeline",
                                               "Next Event",
                                               "Previous Event",
                                               "-",
                                               "Zoom",
                                               "Picture Adjustments...",
                                               "Deinterlace",
                                               "-",
                                               "Export Clip...",
                                               "Save Snapshot",
                                               "Save View",
                                               "-",
                                               "Open Case...",
                                               "-",
                                               "Keyboard shortcuts",
                                               "About..."}));
  EXPECT_FALSE(s.iframe);
  ASSERT_EQ(s.formats.size(), 6u);
  const char* names[] = {"YYYY-MM-DD", "MM-DD-YYYY", "DD-MM-YYYY",
                         "YYYY/MM/DD", "MM/dd/YYYY", "DD/MM/YYYY"};
  for (size_t i = 0; i < 6; ++i) {
    EXPECT_EQ(s.formats[i].first, names[i]);
    EXPECT_EQ(s.formats[i].second, i == 0);
  }

  // Each choice leaves exactly its own item checked, and the engine sees the value.
  const int ids[] = {32775, 32776, 32777, 32778, 32781, 32779};
  for (int k = 5; k >= 0; --k) {
    dlg->OnCommand(ids[k]);
    EXPECT_EQ(State().m_TimeFormat.load(), k + 1);
    s = OpenContextMenu(*dlg);
    for (size_t i = 0; i < 6; ++i) EXPECT_EQ(s.formats[i].second, int(i) == k) << k << " " << i;
  }

  dlg->OnCommand(idc::kCmdIFrameOnly);
  EXPECT_TRUE(OpenContextMenu(*dlg).iframe);
  EXPECT_EQ(State().m_IFrameOnly.load(), 1);
  dlg->OnCommand(idc::kCmdIFrameOnly);
  EXPECT_FALSE(OpenContextMenu(*dlg).iframe);
  EXPECT_EQ(State().m_IFrameOnly.load(), 0);
}

// Opens the About box through its menu command and runs close on it once it is up; true when
// that ended the box (a box still open after two seconds is rejected and counts as a failure).
template <typename Close>
bool AboutClosesBy(CPlayerDlg& dlg, Close close, QString* version = nullptr) {
  bool closed = false;
  QTimer::singleShot(50, [&] {
    auto* about = qobject_cast<CAboutDlg*>(QApplication::activeModalWidget());
    if (about == nullptr) return;
    if (version) *version = about->VersionText();
    QTimer::singleShot(2000, about, [about] { about->done(99); });
    QObject::connect(about, &QDialog::finished, [&closed](int r) { closed = r != 99; });
    close(*about);
  });
  dlg.OnCommand(idc::kCmdAbout);
  return closed;
}

TEST_F(PlayerWindowTest, AboutBoxClosesByOkCloseEnterAndEsc) {
  QString version;
  EXPECT_TRUE(AboutClosesBy(
      *dlg, [](CAboutDlg& a) { QTest::keyClick(&a, Qt::Key_Escape); }, &version));
  EXPECT_EQ(version, "Ostravue Version " OV_VERSION " (Build " OV_BUILD_NUMBER ")");
  EXPECT_TRUE(AboutClosesBy(*dlg, [](CAboutDlg& a) { QTest::keyClick(&a, Qt::Key_Return); }));
  EXPECT_TRUE(AboutClosesBy(*dlg, [](CAboutDlg& a) {
    QTest::mouseClick(a.OkButton(), Qt::LeftButton, {}, QPoint(35, 11));
  }));
  EXPECT_TRUE(AboutClosesBy(*dlg, [](CAboutDlg& a) {
    QTest::mouseClick(a.CloseButton(), Qt::LeftButton, {}, QPoint(9, 9));
  }));
}

TEST_F(PlayerWindowTest, AboutBoxPlacesItsButtonsFromItsCorner) {
  CAboutDlg about;
  const int w = about.width(), h = about.height();
  EXPECT_EQ(about.CloseButton()->geometry(), QRect(w - 22, 3, 19, 19));
  EXPECT_EQ(about.OkButton()->geometry(), QRect(w - 82, h - 40, 70, 23));
  EXPECT_EQ(about.OkButton()->NormalBitmap(), LoadBitmapResource(197));
}

TEST_F(PlayerWindowTest, ExitAcceptsAndShutdownRunsOnce) {
  dlg->OnCommand(idc::kExit);
  EXPECT_EQ(dlg->result(), QDialog::Accepted);
  dlg->DestroyWindow();
  dlg->DestroyWindow();
  EXPECT_EQ(afterChildren, 1);
  EXPECT_EQ(test::g_lastControl, nullptr);  // the control was destroyed
  dlg.reset();
  EXPECT_EQ(afterChildren, 1);
}

}  // namespace
}  // namespace ov
