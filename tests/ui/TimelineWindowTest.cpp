// The activity timeline in the player window: its band under the seek slider, full screen, the
// analysis started by an open and ended by the next, a click that lands on its second, and the
// event keys, over a recording whose frame sizes tell where something moved.
#include <QSignalSpy>
#include <QTest>
#include <fstream>
#include <random>

#include "activity/Activity.h"
#include "controls/SkinButton.h"
#include "controls/SkinSlider.h"
#include "tests/archive/YskBuilder.h"
#include "tests/ui/PlayerDlgFixture.h"
#include "ui/ActivityTimeline.h"
#include "ui/CommandIds.h"

namespace ov {
namespace {

// Two cameras of ten minutes at ten frames a second: channel 1 moves at 100..110 s and
// 400..410 s, channel 2 at 250..262 s.
std::filesystem::path MovingSample() {
  const auto path = test::TestDir("ov-timeline") / "moving.ysk";
  if (std::filesystem::exists(path)) return path;
  test::YskBuilder b;
  const struct {
    int slot;
    std::vector<std::pair<int, int>> bursts;
  } cams[] = {{0, {{100, 110}, {400, 410}}}, {1, {{250, 262}}}};
  std::mt19937 rng(7);
  std::normal_distribution<double> noise(1.0, 0.08);
  for (const auto& cam : cams) {
    auto& run = b.AddVideo(cam.slot, test::kT0, 0, 6000, 100, 20);
    for (auto& f : run.frames) {
      f.f_time = test::kT0 + int32_t(f.f_msec / 1000);
      const int sec = f.f_time - test::kT0;
      double size = 400 * std::max(0.3, noise(rng));
      for (const auto& [from, to] : cam.bursts)
        if (sec >= from && sec <= to) size *= 3.0;
      f.size = f.f_type == 1 ? 2400 : uint32_t(size);
    }
  }
  b.header.channelCount = 4;
  const std::vector<uint8_t> bytes = b.Build();
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  return path;
}

class TimelineWindowTest : public test::PlayerDlgFixture {
 protected:
  void SetUp() override {
    PlayerDlgFixture::SetUp();
    dlg->SetActivityCacheDir(std::string());  // nothing written to the user's cache
  }
  bool OpenAndAnalyse() {
    Open(MovingSample());
    if (!State().m_FileReady.load() || dlg->Activity() == nullptr) return false;
    return test::WaitUntil([&] { return dlg->Activity()->Snapshot().complete; }, 60000);
  }
  int32_t Second() { return State().m_SliderSecond.load(); }
  std::vector<ActivityEvent> EventsOf(int slot) {
    for (const ChannelActivity& ch : dlg->Activity()->Snapshot().channels)
      if (ch.slot == slot) return ch.events;
    return {};
  }
};

TEST_F(TimelineWindowTest, TheBandGrowsTheWindowUnderTheSeekSliderAndGoesAwayWithoutATrace) {
  const QImage before = dlg->SkinCanvas();
  const QRect path = dlg->Control(idc::kPathBox)->geometry();
  dlg->OnKeyAction(KeyAction::Timeline);
  ASSERT_TRUE(dlg->TimelineShown());
  const int band = CActivityTimeline::kBandHeight;
  EXPECT_EQ(dlg->size(), QSize(CPlayerDlg::kWidth, CPlayerDlg::kHeight + band));
  const QRect strips = dlg->Timeline()->geometry();
  EXPECT_TRUE(dlg->Timeline()->isVisible());
  EXPECT_GE(strips.top(), dlg->SeekSlider()->geometry().bottom());
  EXPECT_EQ(dlg->Control(idc::kPathBox)->geometry(), path.translated(0, band));
  EXPECT_GT(dlg->Button(idc::kFileOpen)->geometry().top(), strips.bottom());
  // The skin's edge runs around the band and the path row below it.
  const QImage grown = dlg->SkinCanvas();
  EXPECT_EQ(grown.pixelColor(10, strips.center().y()), QColor(57, 57, 57));

  dlg->OnCommand(idc::kCmdTimeline);  // the context menu's item
  EXPECT_FALSE(dlg->TimelineShown());
  EXPECT_EQ(dlg->size(), QSize(CPlayerDlg::kWidth, CPlayerDlg::kHeight));
  EXPECT_EQ(dlg->Control(idc::kPathBox)->geometry(), path);
  EXPECT_EQ(dlg->SkinCanvas(), before);
}

TEST_F(TimelineWindowTest, FullScreenPutsTheStripsAlongTheBottomAndLeavingGivesTheBandBack) {
  ASSERT_TRUE(OpenAndAnalyse());
  dlg->SetTimelineShown(true);
  const QRect path = dlg->Control(idc::kPathBox)->geometry();
  dlg->SetVideoFullScreen(true);
  QApplication::processEvents();
  const QRect video = dlg->Control(idc::kDecoder)->geometry();
  const QRect strips = dlg->Timeline()->geometry();
  EXPECT_TRUE(dlg->Timeline()->isVisible());
  EXPECT_EQ(strips.width(), dlg->width());
  EXPECT_EQ(strips.bottom(), dlg->height() - 1);
  EXPECT_EQ(video.bottom() + 1, strips.top());  // the picture is not covered
  dlg->OnKeyAction(KeyAction::Timeline);
  EXPECT_FALSE(dlg->Timeline()->isVisible());
  EXPECT_EQ(dlg->Control(idc::kDecoder)->geometry(), dlg->rect());
  dlg->OnKeyAction(KeyAction::Timeline);
  dlg->SetVideoFullScreen(false);
  QApplication::processEvents();
  EXPECT_EQ(dlg->size(),
            QSize(CPlayerDlg::kWidth, CPlayerDlg::kHeight + CActivityTimeline::kBandHeight));
  EXPECT_EQ(dlg->Control(idc::kPathBox)->geometry(), path);
  EXPECT_TRUE(dlg->Timeline()->isVisible());
}

TEST_F(TimelineWindowTest, AnOpenStartsTheAnalysisAndTheStripsShowTheShownChannels) {
  ASSERT_TRUE(OpenAndAnalyse());
  dlg->SetTimelineShown(true);
  QApplication::processEvents();
  CActivityTimeline* t = dlg->Timeline();
  ASSERT_TRUE(test::WaitUntil([&] { return t->Snapshot() && t->Snapshot()->complete; }, 5000));
  EXPECT_EQ(t->Slots(), (std::vector<int32_t>{0, 1}));  // four panes, two of them recorded
  EXPECT_EQ(t->View().Seconds(),
            dlg->Engine().Engine().File().Recording().m_Index.m_TotalSeconds + 1);
  dlg->OnCommand(idc::kCh1);
  ASSERT_TRUE(test::WaitUntil([&] { return t->Slots() == std::vector<int32_t>{0}; }, 2000));

  // A new open ends the analysis of the file before it.
  const ActivityJob* first = dlg->Activity();
  Open(MovingSample());
  EXPECT_NE(dlg->Activity(), nullptr);
  EXPECT_NE(dlg->Activity(), first);
  dlg->ResetFileDisplay();
  EXPECT_EQ(dlg->Activity(), nullptr);
}

TEST_F(TimelineWindowTest, AClickLandsOnItsSecondAndTheEventKeysGoFromEventToEvent) {
  ASSERT_TRUE(OpenAndAnalyse());
  const std::vector<ActivityEvent> one = EventsOf(0), two = EventsOf(1);
  ASSERT_EQ(one.size(), 2u);
  ASSERT_EQ(two.size(), 1u);
  EXPECT_NEAR(one[0].fromSecond, 100, 1);
  EXPECT_NEAR(two[0].fromSecond, 250, 1);

  dlg->SetTimelineShown(true);
  QApplication::processEvents();
  CActivityTimeline* t = dlg->Timeline();
  ASSERT_TRUE(test::WaitUntil([&] { return t->Slots().size() == 2; }, 2000));
  // A click on channel 2's strip, on its event: the event's start.
  const QRect strip = t->StripRect(1);
  const QPoint onEvent(t->PlotLeft() + int(t->View().XOfSecond(two[0].fromSecond + 5.5)),
                       strip.center().y());
  QTest::mouseClick(t, Qt::LeftButton, {}, onEvent);
  EXPECT_EQ(Second(), two[0].fromSecond);
  ASSERT_TRUE(WaitSeekDone());
  // Off the events: the second under the pointer.
  const QPoint quiet(t->PlotLeft() + int(t->View().XOfSecond(330.5)), strip.center().y());
  QTest::mouseClick(t, Qt::LeftButton, {}, quiet);
  EXPECT_EQ(Second(), 330);

  // The selected pane is channel 1's: its events only, then any channel's.
  dlg->OnKeyAction(KeyAction::NextEvent);
  EXPECT_EQ(Second(), one[1].fromSecond);
  dlg->OnKeyAction(KeyAction::PreviousEvent);
  EXPECT_EQ(Second(), one[0].fromSecond);
  dlg->OnKeyAction(KeyAction::NextEventAny);
  EXPECT_EQ(Second(), two[0].fromSecond);
  dlg->OnKeyAction(KeyAction::NextEventAny);
  EXPECT_EQ(Second(), one[1].fromSecond);
  dlg->OnKeyAction(KeyAction::NextEventAny);  // none after the last: it stays, and says so
  EXPECT_EQ(Second(), one[1].fromSecond);
  EXPECT_NE(Text(idc::kPathBox).find("No later event"), std::string::npos);
}

}  // namespace
}  // namespace ov
