// Every transport control of the window, clicked or dragged, reaching the engine.
#include <QTest>

#include "controls/SkinButton.h"
#include "controls/SkinSlider.h"
#include "controls/VolumeSlider.h"
#include "res/SkinResources.h"
#include "tests/ui/PlayerDlgFixture.h"
#include "ui/CommandIds.h"

namespace ov {
namespace {

namespace fs = std::filesystem;
using test::PlayerDlgFixture;

class TransportTest : public PlayerDlgFixture {
 protected:
  void OpenSample(const std::string& name, const std::string& args) {
    fs::path p = test::TestDir("samples") / name;
    ASSERT_TRUE(test::MakeSample(p, args));
    Open(p);
    ASSERT_TRUE(State().m_FileReady.load());
  }
  void Click(int id) {
    QWidget* b = dlg->Control(id);
    QTest::mouseClick(b, Qt::LeftButton, {}, b->rect().center());
    QApplication::processEvents();
  }
  bool Shows(int id, uint32_t bitmap) {
    QApplication::processEvents();
    return dlg->Button(id)->NormalBitmap() == LoadBitmapResource(bitmap);
  }
  int32_t Speed() { return State().m_Speed.load(); }
};

TEST_F(TransportTest, NothingMovesWithoutAFile) {
  for (int id : {idc::kPlay, idc::kRew, idc::kFF, idc::kBack59, idc::kForward59}) Click(id);
  EXPECT_EQ(PlayState(), TransportState::Paused);
  EXPECT_EQ(Speed(), 0);
}

TEST_F(TransportTest, PlayRewFfAndPauseFollowTheStateTable) {
  OpenSample("ui-long.ysk", "--channels 2 --duration 130 --size 96x64 --fps 5 --no-audio");
  Click(idc::kRew);  // ignored while stopped
  EXPECT_EQ(PlayState(), TransportState::Paused);

  Click(idc::kPlay);
  EXPECT_EQ(PlayState(), TransportState::Playing);
  EXPECT_EQ(Speed(), 1);
  EXPECT_TRUE(Shows(idc::kPlay, 185));
  // Far enough in that reverse play does not reach the start during the test.
  ASSERT_TRUE(WaitSeekDone());
  Click(idc::kForward59);
  ASSERT_TRUE(WaitSeekDone());

  const struct {
    int state, speed;
    const char* text;
  } rew[] = {{22, -1, "( Rew 1X )"}, {28, -2, "( Rew 2X )"}, {29, -4, "( Rew 4X )"}};
  for (const auto& r : rew) {
    Click(idc::kRew);
    EXPECT_EQ(StateNumber(PlayState()), r.state);
    EXPECT_EQ(Speed(), r.speed);
    EXPECT_EQ(Text(idc::kSpeed), r.text);
  }
  EXPECT_EQ(dlg->ToolTipText(idc::kRew), "4X");
  // The speed reached is shown under what the button does, and is not copied to the other one.
  QCoreApplication::processEvents();
  EXPECT_TRUE(dlg->Button(idc::kRew)->toolTip().endsWith(QStringLiteral("\n4X")))
      << dlg->Button(idc::kRew)->toolTip().toStdString();
  EXPECT_FALSE(dlg->Button(idc::kFF)->toolTip().contains('\n'));

  const struct {
    int state, speed;
    const char* text;
  } ff[] = {{23, 2, "( FF 2X )"}, {31, 4, "( FF 4X )"}, {32, 8, "( FF 8X )"}};
  for (const auto& f : ff) {
    Click(idc::kFF);
    EXPECT_EQ(StateNumber(PlayState()), f.state);
    EXPECT_EQ(Speed(), f.speed);
    EXPECT_EQ(Text(idc::kSpeed), f.text);
  }

  Click(idc::kPlay);  // pause from fast forward
  EXPECT_EQ(PlayState(), TransportState::Paused);
  EXPECT_TRUE(Shows(idc::kPlay, 153));
  EXPECT_EQ(Text(idc::kSpeed), "");
}

TEST_F(TransportTest, JumpsAndTheSeekSliderMoveTheSecond) {
  OpenSample("ui-long.ysk", "--channels 2 --duration 130 --size 96x64 --fps 5 --no-audio");
  Click(idc::kBack59);  // fewer than 59 seconds behind: refused
  EXPECT_EQ(State().m_SliderSecond.load(), 0);
  Click(idc::kForward59);  // paused: the jump shows its picture and stays paused
  EXPECT_EQ(State().m_SliderSecond.load(), 59);
  EXPECT_EQ(State().m_PlayState.load(), TransportState::Paused);
  ASSERT_TRUE(WaitSeekDone());
  Click(idc::kBack59);
  EXPECT_EQ(State().m_SliderSecond.load(), 0);
  ASSERT_TRUE(WaitSeekDone());
  Click(idc::kPlay);
  ASSERT_TRUE(WaitSeekDone());

  const int before = State().m_SliderSecond.load();
  Click(idc::kForward59);
  EXPECT_EQ(State().m_SliderSecond.load(), before + 59);
  ASSERT_TRUE(WaitSeekDone());

  // Paused, a press and release on the slider jumps it to the pointer, seeks there and stays
  // (playing, the thumb would go on with the pictures).
  Click(idc::kPlay);
  ASSERT_EQ(State().m_PlayState.load(), TransportState::Paused);
  const int paused = State().m_SliderSecond.load();
  CSkinSlider* seek = dlg->SeekSlider();
  ASSERT_GT(seek->maximum(), 100);
  QPoint p(seek->width() / 4, seek->height() / 2);
  QTest::mousePress(seek, Qt::LeftButton, {}, p);
  QTest::mouseRelease(seek, Qt::LeftButton, {}, p);
  ASSERT_TRUE(test::WaitUntil([&] { return State().m_SliderSecond.load() < paused; }, 3000));
  ASSERT_TRUE(WaitSeekDone());
  QApplication::processEvents();
  const int target = seek->value();
  EXPECT_EQ(State().m_SliderSecond.load(), target);
  EXPECT_LT(target, before + 59);
  EXPECT_NEAR(target, seek->maximum() / 4, seek->maximum() / 10);
}

TEST_F(TransportTest, VolumeSoundAndLayoutReachTheDecoder) {
  OpenSample("ui-play.ysk", "--channels 4 --duration 8 --size 176x144");
  control->ClearCalls();
  CVolumeSlider* vol = dlg->VolumeSlider();
  QPoint right(vol->width() - 2, vol->height() / 2);
  QTest::mousePress(vol, Qt::LeftButton, {}, right);
  QTest::mouseRelease(vol, Qt::LeftButton, {}, right);
  QApplication::processEvents();
  EXPECT_EQ(State().m_Volume.load(), vol->GetLevel());
  EXPECT_GT(vol->GetLevel(), 8);
  EXPECT_TRUE(HasCall("24 " + std::to_string(vol->GetLevel())));

  control->ClearCalls();
  Click(idc::kSpeakerMin);
  EXPECT_EQ(State().m_SoundOn.load(), 0);
  EXPECT_TRUE(HasCall("24 0"));
  EXPECT_TRUE(Shows(idc::kSpeakerMin, 168));
  Click(idc::kSpeakerMin);
  EXPECT_EQ(State().m_SoundOn.load(), 1);
  EXPECT_TRUE(Shows(idc::kSpeakerMin, 166));

  control->ClearCalls();
  Click(idc::kCh1);
  Click(idc::kCh9);   // four channels: refused
  Click(idc::kCh16);  // refused
  Click(idc::kCh4);
  auto calls = control->Calls();
  std::vector<std::string> layouts;
  for (auto& c : calls)
    if (c.rfind("6 ", 0) == 0) layouts.push_back(c);
  EXPECT_EQ(layouts, (std::vector<std::string>{"6 -1 1", "6 -1 4"}));
}

TEST_F(TransportTest, MinimizeAndTheEmptyHandlers) {
  Click(idc::kMinimize);
  EXPECT_TRUE(dlg->isMinimized());
  dlg->showNormal();
  for (int id : {idc::kCombineFiles, idc::kSpeakerMax, idc::kMaximize}) dlg->OnCommand(id);
  EXPECT_TRUE(dlg->isVisible());
  EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(TransportTest, PlayingToTheEndRestoresThePlayButton) {
  OpenSample("ui-short.ysk", "--channels 1 --duration 2 --size 96x64");
  Click(idc::kPlay);
  EXPECT_TRUE(Shows(idc::kPlay, 185));
  ASSERT_TRUE(test::WaitUntil([&] { return State().m_AtEnd.load() == 1; }, 15000));
  EXPECT_TRUE(test::WaitUntil([&] { return Shows(idc::kPlay, 153); }, 2000));
  EXPECT_EQ(PlayState(), TransportState::Paused);
  EXPECT_GT(control->Frames(), 10);
  // The next Play starts over from the beginning.
  Click(idc::kPlay);
  EXPECT_EQ(PlayState(), TransportState::Playing);
  EXPECT_EQ(State().m_AtEnd.load(), 0);
}

}  // namespace
}  // namespace ov
