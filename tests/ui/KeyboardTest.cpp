// The window's keys, the focus rule, full screen, the dropped file and the neighbouring files.
#include <QMenu>
#include <QMimeData>
#include <QScreen>
#include <QTest>
#include <QUrl>

#include "controls/SkinSlider.h"
#include "tests/ui/PlayerDlgFixture.h"
#include "ui/CommandIds.h"
#include "ui/PlayerContextMenu.h"
#include "ui/PlayerKeys.h"

namespace ov {
namespace {

namespace fs = std::filesystem;
using test::PlayerDlgFixture;

class KeyboardTest : public PlayerDlgFixture {
 protected:
  void SetUp() override {
    PlayerDlgFixture::SetUp();
    dlg->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
  }
  fs::path Sample(const std::string& name, const std::string& args) {
    fs::path p = test::TestDir("samples") / name;
    EXPECT_TRUE(test::MakeSample(p, args));
    return p;
  }
  void OpenLong() {
    Open(Sample("ui-long.ysk", "--channels 2 --duration 130 --size 96x64 --fps 5 --no-audio"));
    ASSERT_TRUE(State().m_FileReady.load());
  }
  // Keys go to whatever has the focus, as a person's keyboard would.
  void Key(Qt::Key key, Qt::KeyboardModifiers mods = {}) {
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : dlg.get();
    QTest::keyClick(target, key, mods);
    QApplication::processEvents();
  }
  void Key(char c) {
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : dlg.get();
    QTest::keyClick(target, c);
    QApplication::processEvents();
  }
  int32_t Slider() { return State().m_SliderSecond.load(); }
};

TEST_F(KeyboardTest, SpaceAndEnterNeverOpenTheFileDialogButCtrlOAndAClickDo) {
  QWidget* open = dlg->Control(idc::kFileOpen);
  open->setFocus();
  for (Qt::Key k : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter}) Key(k);
  EXPECT_TRUE(prompts.fileRequests.empty());
  Key(Qt::Key_O, Qt::ControlModifier);
  EXPECT_EQ(prompts.fileRequests.size(), 1u);
  QTest::mouseClick(open, Qt::LeftButton, {}, open->rect().center());
  EXPECT_EQ(prompts.fileRequests.size(), 2u);
  EXPECT_TRUE(dlg->isVisible());
  Key(Qt::Key_Escape);  // never quits: only Q, Ctrl+Q and Exit end the run
  EXPECT_TRUE(dlg->isVisible());
}

TEST_F(KeyboardTest, TransportKeysFollowTheButtonsRules) {
  Key(Qt::Key_Space);  // no file: refused as the Play button is
  EXPECT_EQ(PlayState(), TransportState::Paused);
  OpenLong();
  dlg->Control(idc::kPlay)->setFocus();  // a focused button must not take the keys
  Key(Qt::Key_Right);                    // paused: shows the picture 5 s on and stays paused
  EXPECT_EQ(Slider(), 5);
  EXPECT_EQ(PlayState(), TransportState::Paused);
  ASSERT_TRUE(WaitSeekDone());
  Key(Qt::Key_Space);
  EXPECT_EQ(PlayState(), TransportState::Playing);
  ASSERT_TRUE(WaitSeekDone());

  const CalendarTime beforeJump = State().m_CurrentTime.Load();
  Key(Qt::Key_Up);
  EXPECT_GE(Slider(), 64);  // from second 5 or the one after it
  EXPECT_LE(Slider(), 65);
  ASSERT_TRUE(WaitSeekDone());
  // Rewind starts from the last picture handed over: let the jump's first picture arrive.
  ASSERT_TRUE(
      test::WaitUntil([&] { return !(State().m_CurrentTime.Load() == beforeJump); }, 10000));
  Key(']');
  EXPECT_EQ(PlayState(), TransportState::FF2X);
  Key(']');
  EXPECT_EQ(PlayState(), TransportState::FF4X);
  Key('[');
  EXPECT_EQ(PlayState(), TransportState::Rew1X);
  EXPECT_EQ(Text(idc::kSpeed), "( Rew 1X )");
  Key(Qt::Key_Space);  // pauses reverse play
  Key(Qt::Key_Space);
  EXPECT_EQ(PlayState(), TransportState::Playing);
  ASSERT_TRUE(WaitSeekDone());

  int at = Slider();
  Key(Qt::Key_Right);
  EXPECT_EQ(Slider(), at + 5);
  ASSERT_TRUE(WaitSeekDone());
  at = Slider();
  Key(Qt::Key_Left);
  EXPECT_EQ(Slider(), at - 5);
  ASSERT_TRUE(WaitSeekDone());
  Key(Qt::Key_Up);
  ASSERT_TRUE(WaitSeekDone());
  at = Slider();
  Key(Qt::Key_Down);
  EXPECT_EQ(Slider(), at - 59);
  ASSERT_TRUE(WaitSeekDone());
  Key(Qt::Key_End);
  EXPECT_EQ(Slider(), dlg->Engine().Engine().File().Recording().m_Index.m_TotalSeconds);
  EXPECT_EQ(dlg->SeekSlider()->value(), Slider());
  ASSERT_TRUE(WaitSeekDone());
  Key(Qt::Key_Home);
  EXPECT_EQ(Slider(), 0);
  ASSERT_TRUE(WaitSeekDone());
  Key(Qt::Key_Left);  // clamped at the start: the same second, so no search
  EXPECT_EQ(Slider(), 0);

  if (PlayState() != TransportState::Paused)
    Key(Qt::Key_K);  // the last second may have ended playback already
  EXPECT_EQ(PlayState(), TransportState::Paused);
  Key(Qt::Key_K);
  EXPECT_EQ(PlayState(), TransportState::Playing);
  Key(Qt::Key_K);
  EXPECT_EQ(PlayState(), TransportState::Paused);
  Key('[');  // refused while stopped, as the rew button is
  EXPECT_EQ(PlayState(), TransportState::Paused);
}

TEST_F(KeyboardTest, VolumeSoundAndLayoutKeys) {
  Open(Sample("ui-keys-2ch.ysk", "--channels 2 --duration 3 --size 96x64"));
  control->ClearCalls();
  Key('0');
  EXPECT_TRUE(HasCall("24 9"));
  for (int i = 0; i < 10; ++i) Key('0');
  EXPECT_TRUE(HasCall("24 15"));
  EXPECT_FALSE(HasCall("24 16"));
  Key('9');
  EXPECT_TRUE(HasCall("24 14"));
  Key(Qt::Key_M);
  EXPECT_TRUE(HasCall("24 0"));
  control->ClearCalls();
  Key(Qt::Key_M);
  EXPECT_TRUE(HasCall("24 14"));

  control->ClearCalls();
  Key('1');
  Key('2');
  Key('3');  // two channels: 9 and 16 panes are refused
  Key('4');
  EXPECT_EQ(control->Calls(), (std::vector<std::string>{"6 -1 1", "6 -1 4"}));
}

TEST_F(KeyboardTest, FrameStepShowsTheNextPictureOnlyWhilePaused) {
  OpenLong();
  const int before = control->Frames();
  Key(Qt::Key_Period);  // nothing has been shown yet
  EXPECT_EQ(control->Frames(), before);
  Key(Qt::Key_Space);
  ASSERT_TRUE(test::WaitUntil([&] { return control->Frames() > before + 3; }, 10000));
  int n = control->Frames();
  Key(Qt::Key_Period);  // playing: refused
  Key(Qt::Key_Space);
  ASSERT_EQ(PlayState(), TransportState::Paused);
  QTest::qWait(50);
  n = control->Frames();
  Key(Qt::Key_Period);
  // The first step decodes again from the key frame, at least the one new picture.
  const int first = control->Frames();
  EXPECT_GT(first, n);
  EXPECT_FALSE(Text(idc::kOsd).empty());
  Key(Qt::Key_Period);
  EXPECT_EQ(control->Frames(), first + 1);  // later steps add exactly one picture
  Key(Qt::Key_Period);
  EXPECT_EQ(control->Frames(), first + 2);
}

TEST_F(KeyboardTest, QuitKeysEndTheRunAsExitDoes) {
  Key(Qt::Key_Q);
  EXPECT_EQ(dlg->result(), QDialog::Accepted);
  EXPECT_FALSE(dlg->isVisible());
}

TEST_F(KeyboardTest, FullScreenFillsTheScreenAndEscOnlyLeavesIt) {
  QWidget* video = dlg->Control(idc::kDecoder);
  Key(Qt::Key_F);
  ASSERT_TRUE(dlg->IsVideoFullScreen());
  QApplication::processEvents();
  const QRect screen = dlg->screen()->geometry();
  EXPECT_EQ(dlg->size(), screen.size());
  EXPECT_EQ(video->geometry(), dlg->rect());
  EXPECT_FALSE(dlg->FullScreenTransportShown());
  EXPECT_FALSE(dlg->Control(idc::kPlay)->isVisible());

  QTest::mouseMove(video, QPoint(100, 100));
  QApplication::processEvents();
  EXPECT_TRUE(dlg->FullScreenTransportShown());
  QWidget* play = dlg->Control(idc::kPlay);
  EXPECT_TRUE(play->isVisible());
  EXPECT_GT(play->y(), dlg->height() - 160);  // at the bottom of the screen, over the picture

  Key(Qt::Key_Escape);
  EXPECT_FALSE(dlg->IsVideoFullScreen());
  EXPECT_TRUE(dlg->isVisible());  // Esc did not close the window
  QApplication::processEvents();
  EXPECT_EQ(dlg->size(), QSize(734, 766));
  EXPECT_EQ(video->geometry(), QRect(15, 30, 704, 576));
  EXPECT_EQ(play->geometry(), QRect(352, 644, 43, 48));
  EXPECT_TRUE(play->isVisible());
  EXPECT_FALSE(dlg->Control(idc::kSearching)->isVisible());

  // A double click on the date line goes in and out too.
  const QPoint dateLine = dlg->Control(idc::kOsd)->geometry().center();
  QTest::mouseDClick(dlg.get(), Qt::LeftButton, {}, dateLine);
  EXPECT_TRUE(dlg->IsVideoFullScreen());
  Key(Qt::Key_F);
  EXPECT_FALSE(dlg->IsVideoFullScreen());
}

TEST_F(KeyboardTest, ADroppedFileOpensAsTheOpenButtonWould) {
  auto drop = [&](const fs::path& p) {
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(p.string()))});
    QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(dlg.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent ev(QPointF(100, 100), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(dlg.get(), &ev);
    QApplication::processEvents();
  };
  const fs::path good = Sample("ui-keys-2ch.ysk", "--channels 2 --duration 3 --size 96x64");
  drop(good);
  EXPECT_TRUE(State().m_FileReady.load());
  EXPECT_EQ(Text(idc::kPathBox), good.string());

  const fs::path shortFile = test::TestDir("drop") / "short.ysk";
  std::ofstream(shortFile) << "too short";
  drop(shortFile);
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0].text, "C1001 : Broken or corrupted data file.");
  EXPECT_EQ(State().m_FileChosen.load(), 0);
}

TEST_F(KeyboardTest, PageKeysOpenTheNeighbouringFilesInNameOrder) {
  const fs::path dir = test::TestDir("neighbours");
  const fs::path src = Sample("ui-keys-2ch.ysk", "--channels 2 --duration 3 --size 96x64");
  for (const char* name : {"cam01.ysk", "CAM02.ysk", "cam03.ysk"})
    fs::copy_file(src, dir / name, fs::copy_options::overwrite_existing);
  std::ofstream(dir / "cam025.txt") << "not a backup";
  Open(dir / "cam01.ysk");
  Key(Qt::Key_PageDown);
  EXPECT_EQ(dlg->OpenedPath(), (dir / "CAM02.ysk").string());
  EXPECT_EQ(Text(idc::kPathBox), (dir / "CAM02.ysk").string());
  Key(Qt::Key_PageDown);
  Key(Qt::Key_PageDown);  // the last file: stays
  EXPECT_EQ(dlg->OpenedPath(), (dir / "cam03.ysk").string());
  Key(Qt::Key_PageUp);
  Key(Qt::Key_PageUp);
  Key(Qt::Key_PageUp);
  EXPECT_EQ(dlg->OpenedPath(), (dir / "cam01.ysk").string());
}

TEST_F(KeyboardTest, TooltipsAndTheShortcutListNameTheKeys) {
  EXPECT_TRUE(dlg->Control(idc::kPlay)->toolTip().contains("Space, K"));
  EXPECT_TRUE(dlg->Control(idc::kFileOpen)->toolTip().contains("Ctrl+O"));
  EXPECT_TRUE(dlg->Control(idc::kCh16)->toolTip().contains("(4)"));
  auto menu = CreatePlayerContextMenu(dlg.get(), false, 1);
  bool listed = false;
  for (QAction* a : menu->actions())
    if (a->text() == "Keyboard shortcuts" && CommandOfAction(a) == idc::kCmdShortcuts)
      listed = true;
  EXPECT_TRUE(listed);
  dlg->OnCommand(idc::kCmdShortcuts);
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0].caption, "Keyboard shortcuts");
  for (const KeyBinding& b : KeyBindings()) {
    if (!b.help) continue;
    EXPECT_NE(prompts.messages[0].text.find(b.help), std::string::npos) << b.help;
  }
}

TEST_F(KeyboardTest, ZoomAndPictureKeysGoToTheSelectedPane) {
  auto calls = [&] {
    std::vector<std::string> zoomCalls;
    for (const std::string& c : control->Calls())
      if (c.rfind("80 ", 0) == 0 || c.rfind("81 ", 0) == 0) zoomCalls.push_back(c);
    control->ClearCalls();
    return zoomCalls;
  };
  calls();
  Key(Qt::Key_Equal, Qt::AltModifier);
  Key(Qt::Key_Minus, Qt::AltModifier);
  Key(Qt::Key_Backspace, Qt::AltModifier);
  EXPECT_EQ(calls(), (std::vector<std::string>{"80 -1 1", "80 -1 -1", "80 -1 0"}));
  // Alt+D: the next deinterlacing mode of the pane the control names (off -> on).
  Key(Qt::Key_D, Qt::AltModifier);
  const auto deint = calls();
  ASSERT_EQ(deint.size(), 1u);
  EXPECT_EQ(deint[0].rfind("81 0 ", 0), 0u) << deint[0];
  EXPECT_EQ(deint[0].substr(deint[0].size() - 2), " 1") << deint[0];
  // The menu offers the same, and Save View beside Save Snapshot.
  auto menu = CreatePlayerContextMenu(dlg.get(), false, 1, false, 2);
  std::vector<int> ids;
  std::function<void(QMenu*)> walk = [&](QMenu* m) {
    for (QAction* a : m->actions()) {
      if (a->menu()) walk(a->menu());
      ids.push_back(CommandOfAction(a));
      if (CommandOfAction(a) == idc::kCmdDeintAuto) {
        EXPECT_TRUE(a->isChecked());
      }
    }
  };
  walk(menu.get());
  for (int id : {idc::kCmdZoomIn, idc::kCmdZoomOut, idc::kCmdZoomReset, idc::kCmdPictureAdjust,
                 idc::kCmdDeintOff, idc::kCmdDeintOn, idc::kCmdDeintAuto, idc::kCmdSaveView})
    EXPECT_NE(std::find(ids.begin(), ids.end(), id), ids.end()) << id;
  EXPECT_EQ(DeinterlaceOfCommand(idc::kCmdDeintOn), 1);
  EXPECT_EQ(DeinterlaceOfCommand(idc::kCmdSaveView), -1);
}

TEST(NeighbourYskFileTest, EndsAndUnreadableFolders) {
  const fs::path dir = test::TestDir("neighbours-pure");
  for (const char* name : {"B.YSK", "a.ysk", "c.txt"}) std::ofstream(dir / name) << "x";
  EXPECT_EQ(NeighbourYskFile((dir / "a.ysk").string(), 1), (dir / "B.YSK").string());
  EXPECT_EQ(NeighbourYskFile((dir / "B.YSK").string(), 1), std::nullopt);
  EXPECT_EQ(NeighbourYskFile((dir / "a.ysk").string(), -1), std::nullopt);
  // A file that has gone since it was opened still has neighbours on both sides.
  EXPECT_EQ(NeighbourYskFile((dir / "ab.ysk").string(), -1), (dir / "a.ysk").string());
  EXPECT_EQ(NeighbourYskFile((dir / "ab.ysk").string(), 1), (dir / "B.YSK").string());
  EXPECT_EQ(NeighbourYskFile("/no/such/folder/x.ysk", 1), std::nullopt);
}

}  // namespace
}  // namespace ov
