// The activity timeline: its time <-> pixel arithmetic under zoom and scroll, hitting events, the
// next / previous event choice, and the widget fed with a made-up analysis.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>
#include <mutex>

#include "archive/BackupFile.h"
#include "export/PreviewPicture.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/ActivityTimeline.h"
#include "ui/PreviewWorker.h"
#include "ui/TimelineView.h"

namespace ov {
namespace {

TEST(TimelineView, WholeRecordingMapsEdgeToEdgeAndZoomKeepsTheSecondUnderThePointer) {
  TimelineView v;
  v.SetDomain(3600, 600);  // six seconds a pixel
  EXPECT_DOUBLE_EQ(v.XOfSecond(0), 0.0);
  EXPECT_DOUBLE_EQ(v.XOfSecond(3600), 600.0);
  EXPECT_EQ(v.SecondAt(0), 0);
  EXPECT_EQ(v.SecondAt(599.99), 3599);
  EXPECT_EQ(v.SecondAt(-20), 0);  // clamped to the recording
  EXPECT_EQ(v.SecondAt(10000), 3599);
  EXPECT_FALSE(v.ZoomedIn());

  const int32_t under = v.SecondAt(150);
  v.ZoomAt(150, 0.5);
  EXPECT_TRUE(v.ZoomedIn());
  EXPECT_DOUBLE_EQ(v.Span(), 1800.0);
  EXPECT_EQ(v.SecondAt(150), under);
  // Round trip: a second's left edge maps back to that second at any zoom.
  for (int32_t s : {0, 1, 899, 1799}) EXPECT_EQ(v.SecondAt(v.XOfSecond(s) + 1e-6), s) << s;
}

TEST(TimelineView, ZoomStopsAtAFewMinutesAndAtTheWholeRecordingAndScrollStaysInside) {
  TimelineView v;
  v.SetDomain(86400, 700);
  for (int i = 0; i < 100; ++i) v.ZoomAt(350, 0.5);
  EXPECT_DOUBLE_EQ(v.Span(), TimelineView::kMinSpanSeconds);
  for (int i = 0; i < 100; ++i) v.ZoomAt(350, 2.0);
  EXPECT_DOUBLE_EQ(v.Span(), 86400.0);
  EXPECT_DOUBLE_EQ(v.First(), 0.0);

  v.ZoomAt(0, 0.01);  // zoomed at the left edge: the start stays in place
  EXPECT_DOUBLE_EQ(v.First(), 0.0);
  v.ScrollByPixels(100);  // dragging right shows earlier seconds: none before the start
  EXPECT_DOUBLE_EQ(v.First(), 0.0);
  v.ScrollByPixels(-350);  // half the width later
  EXPECT_DOUBLE_EQ(v.First(), v.Span() / 2);
  v.ScrollByPixels(-1e9);
  EXPECT_DOUBLE_EQ(v.First() + v.Span(), 86400.0);
  v.Reveal(10);
  EXPECT_DOUBLE_EQ(v.First(), 10.0);

  // A recording shorter than the deepest zoom is shown whole and never zooms.
  TimelineView s;
  s.SetDomain(60, 500);
  s.ZoomAt(250, 0.1);
  EXPECT_DOUBLE_EQ(s.Span(), 60.0);
  EXPECT_DOUBLE_EQ(s.First(), 0.0);
}

TEST(TimelineView, AWholeViewStaysWholeAsTheLengthGrows) {
  TimelineView v;
  v.SetDomain(100, 500);
  v.SetDomain(5000, 500);
  EXPECT_DOUBLE_EQ(v.Span(), 5000.0);
  v.ZoomAt(0, 0.5);
  v.SetDomain(6000, 500);  // a zoomed view keeps its zoom
  EXPECT_DOUBLE_EQ(v.Span(), 2500.0);
}

TEST(TimelineEvents, HitTestingTakesTheNearestEventWithinTheTolerance) {
  TimelineView v;
  v.SetDomain(1000, 1000);  // a pixel a second
  const std::vector<ActivityEvent> events = {{100, 109, 0.5f}, {114, 120, 0.9f}, {500, 500, 0.3f}};
  EXPECT_EQ(EventAtX(events, v, 105, 3)->fromSecond, 100);
  EXPECT_EQ(EventAtX(events, v, 109.5, 3)->fromSecond, 100);  // inside its last second
  EXPECT_EQ(EventAtX(events, v, 112.5, 3)->fromSecond, 114);  // nearer the second one
  EXPECT_EQ(EventAtX(events, v, 499, 3)->fromSecond, 500);    // a one-second event, just before
  EXPECT_FALSE(EventAtX(events, v, 300, 3));
  EXPECT_FALSE(EventAtX({}, v, 100, 3));
  v.ZoomAt(0, 0.2);  // five pixels a second: the tolerance is pixels, so it narrows in seconds
  EXPECT_FALSE(EventAtX(events, v, v.XOfSecond(99), 3));
  EXPECT_EQ(EventAtX(events, v, v.XOfSecond(99.5), 3)->fromSecond, 100);
}

ActivitySnapshot TwoChannels() {
  ActivitySnapshot s;
  s.seconds = 600;
  s.channels.resize(2);
  s.channels[0].slot = 0;
  s.channels[0].events = {{50, 60, 1}, {200, 210, 1}, {400, 405, 1}};
  s.channels[1].slot = 3;
  s.channels[1].events = {{100, 130, 1}, {300, 301, 1}};
  return s;
}

TEST(TimelineEvents, NextAndPreviousOfOneChannelOrOfAny) {
  const ActivitySnapshot s = TwoChannels();
  const int32_t first[] = {0}, fourth[] = {3};
  EXPECT_EQ(EventJump(s, first, 0, 1), 50);
  EXPECT_EQ(EventJump(s, first, 50, 1), 200);  // from an event's start: the next one
  EXPECT_EQ(EventJump(s, first, 55, 1), 200);
  EXPECT_FALSE(EventJump(s, first, 400, 1));
  EXPECT_EQ(EventJump(s, {}, 60, 1), 100);  // any channel: the earliest start after now
  EXPECT_EQ(EventJump(s, fourth, 0, 1), 100);

  EXPECT_EQ(EventJump(s, first, 500, -1), 400);
  // Just after landing on 200 (playing on to 201), Previous goes to the event before it.
  EXPECT_EQ(EventJump(s, first, 201, -1), 50);
  EXPECT_EQ(EventJump(s, first, 203, -1), 200);
  EXPECT_FALSE(EventJump(s, first, 51, -1));
  EXPECT_EQ(EventJump(s, {}, 350, -1), 300);
  const int32_t none[] = {7};
  EXPECT_FALSE(EventJump(s, none, 0, 1));
}

// The widget, fed a made-up analysis: strips by slot, clicks on and off events, zoom by the
// wheel, dragging, and the preview asked for the strip and second under the pointer.
class TimelineWidget : public ::testing::Test {
 protected:
  void SetUp() override {
    w = std::make_unique<CActivityTimeline>(nullptr);
    w->resize(38 + 600 + 5, CActivityTimeline::kBandHeight);  // a 600-pixel plot
    auto s = std::make_shared<ActivitySnapshot>(TwoChannels());
    for (auto& ch : s->channels) ch.level.assign(600, 0.1f);
    for (int i = 0; i < 100; ++i) s->channels[1].level[size_t(i)] = kNoRecording;
    w->SetRecording(600, 1700000000);
    w->SetSnapshot(s);
    w->SetChannels({0, 3}, 0);
    w->show();
    QApplication::processEvents();
  }
  QPoint At(int strip, double second) {
    const QRect r = w->StripRect(strip);
    return {w->PlotLeft() + int(w->View().XOfSecond(second)), r.center().y()};
  }
  void Click(QPoint p) {
    QTest::mousePress(w.get(), Qt::LeftButton, {}, p);
    QTest::mouseRelease(w.get(), Qt::LeftButton, {}, p);
  }
  std::unique_ptr<CActivityTimeline> w;
};

TEST_F(TimelineWidget, AClickOnAnEventGoesToItsStartAndElsewhereToTheSecondUnderThePointer) {
  QSignalSpy seek(w.get(), &CActivityTimeline::seekRequested);
  ASSERT_EQ(w->View().Width(), 600);
  Click(At(0, 205.5));  // inside channel 1's event 200..210
  Click(At(1, 205.5));  // the same second on channel 4's strip: no event there
  Click(At(1, 120.5));  // channel 4's event 100..130
  ASSERT_EQ(seek.count(), 3);
  EXPECT_EQ(seek[0][0].toInt(), 200);
  EXPECT_EQ(seek[1][0].toInt(), 205);
  EXPECT_EQ(seek[2][0].toInt(), 100);
  Click(QPoint(5, w->StripRect(0).center().y()));  // the label column goes nowhere
  EXPECT_EQ(seek.count(), 3);
}

TEST_F(TimelineWidget, TheWheelZoomsAroundThePointerAndADragScrollsWithoutGoingAnywhere) {
  const QPoint p = At(0, 300.5);
  QWheelEvent in(p, w->mapToGlobal(p), {}, {0, 120 * 3}, Qt::NoButton, {}, Qt::NoScrollPhase,
                 false);
  QApplication::sendEvent(w.get(), &in);
  EXPECT_LT(w->View().Span(), 600.0);
  EXPECT_EQ(w->View().SecondAt(p.x() - w->PlotLeft()), 300);

  QSignalSpy seek(w.get(), &CActivityTimeline::seekRequested);
  const double before = w->View().First();
  QTest::mousePress(w.get(), Qt::LeftButton, {}, p);
  QMouseEvent move(QEvent::MouseMove, p + QPoint(-60, 0), w->mapToGlobal(p + QPoint(-60, 0)),
                   Qt::NoButton, Qt::LeftButton, {});
  QApplication::sendEvent(w.get(), &move);
  QTest::mouseRelease(w.get(), Qt::LeftButton, {}, p + QPoint(-60, 0));
  EXPECT_GT(w->View().First(), before);  // dragged left: later seconds come in
  EXPECT_EQ(seek.count(), 0);
}

TEST_F(TimelineWidget, HoveringAsksForThePreviewOfThatStripAndSecondAndShowsIt) {
  QSignalSpy wanted(w.get(), &CActivityTimeline::previewWanted);
  const QPoint p = At(1, 250.5);
  QMouseEvent move(QEvent::MouseMove, p, w->mapToGlobal(p), Qt::NoButton, Qt::NoButton, {});
  QApplication::sendEvent(w.get(), &move);
  ASSERT_EQ(wanted.count(), 1);
  EXPECT_EQ(wanted[0][0].toInt(), 3);
  EXPECT_EQ(wanted[0][1].toInt(), 250);
  ASSERT_NE(w->PreviewWindow(), nullptr);
  QImage pic(176, 144, QImage::Format_RGB32);
  pic.fill(Qt::red);
  w->SetPreview(3, 250, pic, 1700000000 + 248);
  QApplication::sendEvent(w.get(), &move);  // the same place asks for nothing new
  EXPECT_EQ(wanted.count(), 1);
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(w.get(), &leave);
  EXPECT_EQ(w->PreviewWindow(), nullptr);
  ASSERT_EQ(wanted.count(), 2);
  EXPECT_EQ(wanted[1][0].toInt(), -1);
}

TEST_F(TimelineWidget, NoRecordingStaysEmptyAndEventsAreMarked) {
  const QImage shot = w->grab().toImage();
  const QRect quiet = w->StripRect(1);
  const QColor empty = shot.pixelColor(At(1, 50.5).x(), quiet.bottom());
  const QColor recorded = shot.pixelColor(At(1, 250.5).x(), quiet.bottom());
  const QColor event = shot.pixelColor(At(0, 205.5).x(), w->StripRect(0).top());
  EXPECT_NE(empty, recorded);
  EXPECT_LT(empty.lightness(), recorded.lightness());
  EXPECT_GT(event.red(), 200);  // the event's bar
}

}  // namespace
}  // namespace ov

namespace ov {
namespace {

// The preview worker over a made recording: the key frame at or before the second, small, with
// its own time; the second ask comes from the cache; damaged or missing pictures give none.
class PreviewWorkerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto path = test::TestDir("ov-preview") / "gop2s.ysk";
    ASSERT_TRUE(test::MakeSample(path, "--channels 2 --duration 8 --gop 50 --size 352x288"));
    const OpenOutcome out = file.ReadBackupHeader(path.string());
    ASSERT_TRUE(out.accepted) << out.message;
    worker =
        std::make_unique<PreviewWorker>(file.SharedRecording(), file.ScanReader(), StartSecond(),
                                        [this](int slot, int32_t second, PreviewWorker::Picture p) {
                                          std::lock_guard<std::mutex> g(lock);
                                          got.push_back({slot, second, std::move(p)});
                                        });
  }
  int32_t StartSecond() const { return file.Recording().m_Index.m_StartInfo[0].f_time; }
  struct Got {
    int slot;
    int32_t second;
    PreviewWorker::Picture picture;
  };
  std::optional<Got> Ask(int slot, int32_t second) {
    worker->Request(slot, second);
    const bool done = test::WaitUntil(
        [&] {
          std::lock_guard<std::mutex> g(lock);
          return !got.empty();
        },
        10000);
    std::lock_guard<std::mutex> g(lock);
    if (!done) return std::nullopt;
    Got g0 = got.back();
    got.clear();
    return g0;
  }
  BackupFile file;
  std::mutex lock;
  std::vector<Got> got;
  std::unique_ptr<PreviewWorker> worker;
};

TEST_F(PreviewWorkerTest, TheKeyFrameAtOrBeforeTheSecondSmallAndThenFromTheCache) {
  const auto g = Ask(1, 5);
  ASSERT_TRUE(g);
  ASSERT_TRUE(g->picture);
  EXPECT_EQ(g->picture->width, PreviewWorker::kWidth);
  EXPECT_EQ(g->picture->height, PreviewWorker::kHeight);
  EXPECT_EQ(g->picture->rgb.size(), size_t(g->picture->width * g->picture->height * 3));
  // Key frames every 2 s: the one of second 4.
  EXPECT_EQ(g->picture->second - StartSecond(), 4);
  const auto cached = worker->Cached(1, 5);
  ASSERT_TRUE(cached);
  EXPECT_EQ(*cached, g->picture);
  // Another second with the same key frame shares its picture once looked up.
  const auto h = Ask(1, 4);
  ASSERT_TRUE(h && h->picture);
  EXPECT_EQ(h->picture, g->picture);
  // A slot without video has no picture.
  const auto none = Ask(9, 3);
  ASSERT_TRUE(none);
  EXPECT_FALSE(none->picture);
}

TEST(PreviewPicture, AnythingButAWholeDecodableKeyFrameInsideItsRunGivesNoPicture) {
  const auto path = test::TestDir("ov-preview") / "gop2s.ysk";
  ASSERT_TRUE(test::MakeSample(path, "--channels 2 --duration 8 --gop 50 --size 352x288"));
  BackupFile file;
  ASSERT_TRUE(file.ReadBackupHeader(path.string()).accepted);
  const OpenRecording& rec = file.Recording();
  const uint64_t key = rec.m_VideoFirst[0], begin = rec.VideoRunStart(0), end = rec.VideoRunEnd(0);
  const uint8_t coding = rec.m_Header.videoCoding;
  std::string why;
  EXPECT_TRUE(exporter::DecodeKeyFramePreview(file.ScanReader(), coding, key, begin, end, 64, 64));
  YskFrameHeader h{};
  ASSERT_TRUE(file.ScanReader().Header(key, h));
  const uint64_t next = key + kYskFrameHeaderSize + h.f_size;  // a predicted frame
  EXPECT_FALSE(
      exporter::DecodeKeyFramePreview(file.ScanReader(), coding, next, begin, end, 64, 64, &why));
  EXPECT_EQ(why, "not a key frame");
  // The payload would run past the run's end.
  EXPECT_FALSE(exporter::DecodeKeyFramePreview(file.ScanReader(), coding, key, begin,
                                               key + kYskFrameHeaderSize + h.f_size - 1, 64, 64,
                                               &why));
  EXPECT_EQ(why, "damaged frame size");
  // Outside the run, and no room.
  EXPECT_FALSE(
      exporter::DecodeKeyFramePreview(file.ScanReader(), coding, key, key + 1, end, 64, 64));
  EXPECT_FALSE(exporter::DecodeKeyFramePreview(file.ScanReader(), coding, key, begin, end, 0, 64));
  // The wrong coding does not decode to a picture.
  EXPECT_FALSE(exporter::DecodeKeyFramePreview(file.ScanReader(), coding == 2 ? 1 : 2, key, begin,
                                               end, 64, 64));
}

}  // namespace
}  // namespace ov
