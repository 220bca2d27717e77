// The program with the real decoder module: a generated 4-channel recording opens, plays, and
// the panes and the date line move on.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QRegularExpression>

#include "app/PlayerApp.h"
#include "tests/app/TestPrompts.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/CommandIds.h"
#include "ui/PlayerDlg.h"
#include "ui/PlayerEngineLink.h"

namespace ov {
namespace {

// Pixels that differ between two grabs inside one quarter of the video area.
int ChangedPixels(const QImage& a, const QImage& b, int quarter) {
  const int w = a.width() / 2, h = a.height() / 2;
  const int x0 = (quarter % 2) * w, y0 = (quarter / 2) * h;
  int n = 0;
  for (int y = y0; y < y0 + h; y += 2)
    for (int x = x0; x < x0 + w; x += 2)
      if (a.pixel(x, y) != b.pixel(x, y)) ++n;
  return n;
}

TEST(EndToEndTest, FourChannelRecordingPlaysInFourPanes) {
  namespace fs = std::filesystem;
  fs::path sample = test::TestDir("samples") / "e2e-4ch.ysk";
  ASSERT_TRUE(test::MakeSample(
      sample, "--channels 4 --duration 20 --size 352x288 --start '2031-07-04 09:15:00'"));

  test::RecordingPrompts prompts;
  CPlayerApp::Config c;
  c.programDir = OV_BIN_DIR;  // the real libCQL_Ctrl_Player.so is built there
  c.prompts = &prompts;
  c.openPath = sample.string();
  bool ready = false, started = false;
  std::string dateLine;
  int changed[4] = {};
  c.onRunning = [&](CPlayerDlg& d) {
    PlaybackState& s = d.Engine().State();
    ready = test::WaitUntil([&] { return s.m_FileReady.load(); }, 15000);
    if (!ready) return d.reject();
    d.OnCommand(idc::kCmdFmtMdyDash);
    d.OnCommand(idc::kPlay);
    started = test::WaitUntil([&] { return s.m_SliderSecond.load() >= 2; }, 15000);
    QWidget* video = d.Control(idc::kDecoder);
    QImage first = video->grab().toImage();
    test::WaitUntil([] { return false; }, 1000);
    QImage second = video->grab().toImage();
    for (int q = 0; q < 4; ++q) changed[q] = ChangedPixels(first, second, q);
    // Texts from the playback thread arrive queued; on a loaded machine give them a moment.
    const QRegularExpression advanced("^07-04-2031 09:15:(0[2-9]|1[0-9])$");
    test::WaitUntil([&] { return advanced.match(d.ControlText(idc::kOsd)).hasMatch(); }, 5000);
    dateLine = d.ControlText(idc::kOsd).toStdString();
    d.OnCommand(idc::kExit);
  };
  CPlayerApp app(c);
  app.InitInstance();
  EXPECT_EQ(app.LastOutcome(), CPlayerApp::Outcome::Ran);
  EXPECT_TRUE(prompts.messages.empty());
  ASSERT_TRUE(ready);
  EXPECT_TRUE(started);
  for (int q = 0; q < 4; ++q) EXPECT_GT(changed[q], 50) << "pane " << q;
  EXPECT_TRUE(QRegularExpression("^07-04-2031 09:15:(0[2-9]|1[0-9])$")
                  .match(QString::fromStdString(dateLine))
                  .hasMatch())
      << dateLine;
}

}  // namespace
}  // namespace ov
