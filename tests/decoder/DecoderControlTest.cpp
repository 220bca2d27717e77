// The control in an offscreen window: pictures reach the right panes, resets blank them, damaged
// and flooding input never shows a broken picture, and the selected channel's sound is heard.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QTest>
#include <QWheelEvent>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "decoder/control/DecoderControl.h"
#include "decoder/control/PaneLayout.h"
#include "decoder/control/PaneView.h"
#include "tests/decoder/ControlTestSupport.h"
#include "tests/decoder/FrameArgs.h"

namespace ov::test {
namespace {

using namespace std::chrono_literals;
constexpr double kAspect = 352.0 / 288.0;

class RecordingEvents : public IDecoderEvents {
 public:
  void OnDecoderEvent(int32_t dispid, std::span<const int32_t> args) override {
    events.push_back({dispid, std::vector<int32_t>(args.begin(), args.end())});
  }
  std::vector<std::pair<int32_t, std::vector<int32_t>>> events;
};

class DecoderControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    App();
    auto sink = std::make_unique<CaptureSink>();
    m_sink = sink.get();
    m_control = std::make_unique<DecoderControl>(nullptr, &m_events, std::move(sink));
    m_player.Attach(m_control.get());
    View()->resize(704, 576);
    View()->show();
  }
  void TearDown() override {
    m_player.Attach(nullptr);
    m_control.reset();
  }
  PaneView* View() { return m_control->View(); }
  std::optional<sample::StampValue> Shown(int channel) {
    return ReadPane(Grab(View()), View()->ChannelRect(channel), kAspect);
  }
  bool Shows(int channel, uint32_t frame) {
    const auto s = Shown(channel);
    return s && s->channel == channel && s->frame == frame;
  }
  // Paced like playback at a speed the decoders keep up with: a backlog older than the queue's
  // bound would (rightly) drop the rest of its run, and sanitizer builds decode slowly.
  void SubmitAll(int channel, const std::vector<sample::EncodedFrame>& clip) {
    for (const auto& f : clip) {
      WaitFor([&] { return m_control->QueuedFrames(channel) < 3; });
      SubmitVideo(m_player, channel, f);
    }
  }
  // A pane's inner part, clear of its frame and the selection highlight.
  QRect Inner(int channel) { return View()->ChannelRect(channel).adjusted(4, 30, -4, -4); }

  RecordingEvents m_events;
  CaptureSink* m_sink = nullptr;
  std::unique_ptr<DecoderControl> m_control;
  CQuelmar_Ctrl_Player m_player;
};

TEST_F(DecoderControlTest, EachLayoutShowsChannelsInTheirPanes) {
  for (int coding : {2, 1}) {
    for (int panes : {1, 4, 9, 16}) {
      SCOPED_TRACE(testing::Message() << "coding " << coding << " panes " << panes);
      m_player.SetLayout(panes);
      for (int ch = 0; ch < panes; ++ch) SubmitAll(ch, Clip(coding, 352, 288, ch, 30));
      for (int ch = 0; ch < panes; ++ch)
        EXPECT_TRUE(WaitFor([&] { return Shows(ch, 29); })) << "channel " << ch;
      // Channels beyond the layout have no pane.
      EXPECT_TRUE(View()->ChannelRect(panes).isEmpty());
      m_player.ClearDecoder();
    }
  }
}

TEST_F(DecoderControlTest, AChannelWhoseThreadCannotStartIsUnavailableAndTheOthersPlay) {
  struct FailChannel3 {
    FailChannel3() {
      ChannelDecoder::SetStartFailureForTest([](int channel) { return channel == 2; });
    }
    ~FailChannel3() { ChannelDecoder::SetStartFailureForTest(nullptr); }
  } fail;
  m_player.SetLayout(4);
  testing::internal::CaptureStderr();
  for (int ch = 0; ch < 4; ++ch) SubmitAll(ch, Clip(2, 352, 288, ch, 30));
  SubmitAll(2, Clip(2, 352, 288, 2, 30));  // more frames for it: nothing more is said
  const std::string said = testing::internal::GetCapturedStderr();
  for (int ch : {0, 1, 3}) EXPECT_TRUE(WaitFor([&] { return Shows(ch, 29); })) << "channel " << ch;
  EXPECT_EQ(m_control->Stats(2).submitted, 0u);
  EXPECT_EQ(m_control->Stats(2).decoded, 0u);
  const std::string line = "channel 3 is unavailable: its decoder cannot start";
  const size_t at = said.find(line);
  EXPECT_NE(at, std::string::npos) << said;
  EXPECT_EQ(said.find(line, at + 1), std::string::npos) << "said more than once:\n" << said;
  // Its pane says so in white in the middle; the others' middles show their pictures.
  const QRect pane = View()->ChannelRect(2);
  const QRect middle(pane.center() - QPoint(pane.width() / 4, 8), QSize(pane.width() / 2, 16));
  EXPECT_TRUE(WaitFor([&] { return Brightest(Grab(View()), middle) > 200; }));
  // The next file's reset leaves the channel unavailable, and the others play on.
  m_player.Deactivate();
  SubmitAll(0, Clip(2, 352, 288, 0, 30));
  EXPECT_TRUE(WaitFor([&] { return Shows(0, 29); }));
  EXPECT_GT(Brightest(Grab(View()), middle), 200);
}

TEST_F(DecoderControlTest, TitlesAreDrawnInTheirOwnPane) {
  m_player.SetLayout(9);
  m_player.SetPaneTitle(4, "CH-5");
  Pump(50ms);
  const QImage img = Grab(View());
  const QRect titled = View()->ChannelRect(4);
  const QRect corner(titled.topLeft(), QSize(titled.width() / 2, 24));
  EXPECT_GT(Brightest(img, corner), 200);  // white text on a dark pane
  const QRect other = View()->ChannelRect(3);
  EXPECT_LT(Brightest(img, QRect(other.topLeft(), corner.size())), 200);
  EXPECT_EQ(View()->Title(4), "CH-5");
  // A title is laid out once and kept: a new name must not show the old one.
  m_player.SetPaneTitle(4, "Loading bay WWW");
  Pump(50ms);
  EXPECT_NE(Grab(View()).copy(corner), img.copy(corner));
  m_player.SetPaneTitle(4, "CH-5");
  Pump(50ms);
  EXPECT_EQ(Grab(View()).copy(corner), img.copy(corner));
}

TEST_F(DecoderControlTest, TitleBytesBecomeOneCharacterEach) {
  m_player.SetPaneTitle(2, "Caf\xE9 \xFF");  // 8-bit names, not UTF-8
  m_player.SetPaneTitle(3,
                        "Stra\xC3\xA4"
                        "e");  // bytes that would be UTF-8 stay bytes
  // Control bytes would split, shift or hide the title: each shows as a replacement instead.
  m_player.SetPaneTitle(5, std::string("A\nB\tC\x1B[2J\x7F\x85\x9F\xA0\x00Z", 15));
  Pump(50ms);
  EXPECT_EQ(View()->Title(2), QString::fromUtf16(u"Caf\u00E9 \u00FF"));
  EXPECT_EQ(View()->Title(3), QString::fromUtf16(u"Stra\u00C3\u00A4e"));
  EXPECT_EQ(View()->Title(5),
            QString::fromUtf16(u"A\uFFFDB\uFFFDC\uFFFD[2J\uFFFD\uFFFD\uFFFD\u00A0\uFFFDZ"));
}

TEST_F(DecoderControlTest, PicturesOverTheSizeCapAreTreatedAsDamaged) {
  m_player.SetLayout(1);
  sample::VideoParams p;
  p.width = 4160;  // just over 4096x2304 in area
  p.height = 2336;
  p.textured = false;  // a flat picture keeps the payload within a frame slot
  sample::VideoEncoder enc(p);
  std::vector<sample::EncodedFrame> huge;
  enc.Encode(0, 0, huge);
  enc.Flush(huge);
  ASSERT_FALSE(huge.empty());
  ASSERT_LT(huge[0].payload.size(), 131072u);
  for (const auto& f : huge) SubmitVideo(m_player, 0, f);
  EXPECT_TRUE(WaitFor([&] { return m_control->Stats(0).errors >= 1; }, 10000ms));
  EXPECT_EQ(m_control->Stats(0).presented, 0u);
  SubmitAll(0, Clip(2, 352, 288, 0, 5));  // the channel recovers at the next key frame
  EXPECT_TRUE(WaitFor([&] { return Shows(0, 4); }));
}

TEST_F(DecoderControlTest, ResetCallBlanksThePanesAndClearKeepsThePictures) {
  m_player.SetLayout(4);
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round == 0 ? "reset call" : "ClearDecoder");
    for (int ch = 0; ch < 4; ++ch) SubmitAll(ch, Clip(2, 352, 288, ch, 30));
    ASSERT_TRUE(WaitFor([&] { return Shows(3, 29); }));
    // More frames in flight when the clear comes must not reappear after it.
    for (int ch = 0; ch < 4; ++ch) SubmitAll(ch, Clip(2, 352, 288, ch, 30));
    std::optional<sample::StampValue> before[4];
    if (round == 0) {
      m_player.SubmitFrame(FrameCall::Reset());
    } else {
      m_player.ClearDecoder();
      Pump(50ms);
      for (int ch = 0; ch < 4; ++ch) before[ch] = Shown(ch);
    }
    Pump(300ms);
    const QImage img = Grab(View());
    for (int ch = 0; ch < 4; ++ch) {
      if (round == 0) {
        EXPECT_LT(Brightest(img, Inner(ch)), 100) << ch;  // idle background, no picture
      } else {
        ASSERT_TRUE(before[ch].has_value()) << ch;  // the picture stays up through a clear
        EXPECT_EQ(Shown(ch), before[ch]) << ch;
      }
    }
    const int32_t active = m_player.QueryActive();
    EXPECT_EQ(active, round == 0 ? 0 : 1);
    if (round == 1) m_player.Deactivate();  // blanks, as for a new file
  }
  // After a clear the decoder waits for a key frame again, then plays.
  const auto& clip = Clip(2, 352, 288, 0, 30);
  for (size_t i = 1; i < 25; ++i) SubmitVideo(m_player, 0, clip[i]);  // frame 25 is a key frame
  Pump(300ms);
  EXPECT_FALSE(Shown(0).has_value());
  SubmitAll(0, clip);
  EXPECT_TRUE(WaitFor([&] { return Shows(0, 29); }));
}

TEST_F(DecoderControlTest, DamagedPayloadsDropToTheNextKeyFrame) {
  m_player.SetLayout(4);
  const auto& clip = Clip(2, 352, 288, 1, 50);  // key frames at 0 and 25
  ASSERT_TRUE(clip[25].key);
  for (size_t i = 0; i < clip.size(); ++i) {
    if (i == 10) {  // a damaged P-frame: its tail replaced with noise
      std::vector<uint8_t> bad = clip[i].payload;
      for (size_t k = 6; k < bad.size(); ++k) bad[k] = static_cast<uint8_t>(k * 7919u >> 3);
      m_player.SubmitFrame(
          test::Frame(bad.data(), 0, 0, 0, static_cast<int32_t>(bad.size()), 0, 1));
      continue;
    }
    SubmitVideo(m_player, 1, clip[i]);
    if (i == 24) {
      // Nothing decoded after the damage until the next key frame may be shown.
      Pump(200ms);
      const auto s = Shown(1);
      if (s) {
        EXPECT_LT(s->frame, 10u);
      }
    }
  }
  EXPECT_TRUE(WaitFor([&] { return Shows(1, 49); }));
  const auto st = m_control->Stats(1);
  EXPECT_GE(st.errors, 1u);
  Pump(50ms);
  bool raised = false;
  for (const auto& [id, args] : m_events.events)
    raised |= id == 3 && args.size() == 3 && args[0] == 101 && args[1] == 1;
  EXPECT_TRUE(raised);
  // A frame that is pure noise, or claims more bytes than it has, or an unknown channel.
  const std::vector<uint8_t> noise(3000, 0xA5);
  m_player.SubmitFrame(test::Frame(noise.data(), 0, 0, 0, 3000, 1, 1));
  m_player.SubmitFrame(test::Frame(noise.data(), 0, 0, 0, 3000, 1, 16));
  m_control->Invoke(
      dispid::SubmitFrame,
      std::array{DispArg::Bytes(noise.data(), 10), DispArg::Int(0), DispArg::Int(0),
                 DispArg::Int(0), DispArg::Int(1 << 30), DispArg::Int(1), DispArg::Int(2)});
  SubmitAll(1, Clip(2, 352, 288, 1, 30));
  EXPECT_TRUE(WaitFor([&] { return Shows(1, 29); }));
}

TEST_F(DecoderControlTest, FloodOfAllChannelsNeverShowsABrokenPicture) {
  m_player.SetLayout(16);
  std::vector<const std::vector<sample::EncodedFrame>*> clips;
  for (int ch = 0; ch < 16; ++ch) clips.push_back(&Clip(2, 352, 288, ch, 100));
  std::atomic<bool> done{false};
  // The playback thread at high speed: every frame of every channel, no pause.
  std::thread feeder([&] {
    for (int rep = 0; rep < 20; ++rep)
      for (size_t i = 0; i < 100; ++i)
        for (int ch = 0; ch < 16; ++ch) SubmitVideo(m_player, ch, (*clips[ch])[i]);
    done = true;
  });
  size_t maxQueued = 0, checkedPictures = 0;
  for (int grabs = 0; !done || grabs < 10; ++grabs) {
    maxQueued = std::max(maxQueued, m_control->QueuedFrames());
    const QImage img = Grab(View());
    for (int ch = 0; ch < 16; ++ch) {
      if (Brightest(img, Inner(ch)) < 100) continue;  // no picture yet
      const auto s = ReadPane(img, View()->ChannelRect(ch), kAspect);
      EXPECT_TRUE(s.has_value()) << "unreadable picture in pane " << ch;
      if (!s) continue;
      EXPECT_EQ(s->channel, ch);
      EXPECT_LT(s->frame, 100u);
      ++checkedPictures;
    }
    Pump(20ms);
  }
  feeder.join();
  EXPECT_GT(checkedPictures, 16u);
  EXPECT_LE(maxQueued, 16u * 25u);
  const auto st = m_control->Stats();
  EXPECT_EQ(st.errors, 0u);
  EXPECT_LE(st.queueMax, 25u);
  for (int ch = 0; ch < 16; ++ch)
    EXPECT_TRUE(WaitFor([&] {
      const auto s = Shown(ch);
      return s && s->channel == ch;
    })) << ch;
}

// Voluntary context switches of every thread of the process except the calling one.
uint64_t OtherThreadsSwitches() {
  uint64_t sum = 0;
  const std::string self = std::to_string(gettid());
  for (const auto& e : std::filesystem::directory_iterator("/proc/self/task")) {
    if (e.path().filename() == self) continue;
    std::ifstream in(e.path() / "status");
    for (std::string line; std::getline(in, line);)
      if (line.rfind("voluntary_ctxt_switches:", 0) == 0) sum += std::stoull(line.substr(24));
  }
  return sum;
}

TEST_F(DecoderControlTest, DecodersSleepWhileNoFramesCome) {
  m_player.SetLayout(16);
  for (int ch = 0; ch < 16; ++ch) SubmitAll(ch, Clip(2, 352, 288, ch, 5));
  ASSERT_TRUE(WaitFor([&] { return Shows(15, 4); }));
  Pump(50ms);
  // Paused: sixteen decoder threads that polled would wake hundreds of times in this second.
  const uint64_t before = OtherThreadsSwitches();
  std::this_thread::sleep_for(1s);
  EXPECT_LE(OtherThreadsSwitches() - before, 8u);
  // A new pane size still reaches a sleeping decoder: its last picture is drawn again.
  const uint64_t presented = m_control->Stats(0).presented;
  m_player.SetLayout(1);
  EXPECT_TRUE(WaitFor([&] { return m_control->Stats(0).presented > presented; }));
  EXPECT_TRUE(WaitFor([&] { return Shows(0, 4); }));
}

TEST_F(DecoderControlTest, ClickSelectsDoubleClickShowsPaneAlone) {
  m_player.SetLayout(4);
  EXPECT_EQ(m_player.CurrentAudioChannel(), 0);
  const QRect r2 = View()->ChannelRect(2);
  QTest::mouseClick(View(), Qt::LeftButton, {}, r2.center());
  EXPECT_EQ(m_player.CurrentAudioChannel(), 2);
  EXPECT_EQ(View()->SelectedPane(), 2);
  QTest::mouseDClick(View(), Qt::LeftButton, {}, r2.center());
  EXPECT_EQ(View()->ZoomedPane(), 2);
  EXPECT_EQ(View()->ChannelRect(2), pane::ContentRect(View()->size(), 1, 0));
  EXPECT_TRUE(View()->ChannelRect(0).isEmpty());
  SubmitAll(2, Clip(2, 352, 288, 2, 30));
  EXPECT_TRUE(WaitFor([&] { return Shows(2, 29); }));
  QTest::mouseDClick(View(), Qt::LeftButton, {}, View()->rect().center());
  EXPECT_EQ(View()->ZoomedPane(), -1);
  // The picture follows its pane back into the grid, even with no new frame.
  EXPECT_TRUE(WaitFor([&] { return Shows(2, 29); }));
  Pump(20ms);
  bool click = false, zoom = false;
  for (const auto& [id, args] : m_events.events) {
    click |= id == 4 && args == std::vector<int32_t>{2, 2};
    zoom |= id == 6 && args == std::vector<int32_t>{2, 1};
  }
  EXPECT_TRUE(click);
  EXPECT_TRUE(zoom);
}

TEST_F(DecoderControlTest, ZoomShowsPartOfThePictureUntilANewFileAndDoubleClickStillWorks) {
  m_player.SetLayout(4);
  const auto& clip = Clip(2, 352, 288, 1, 30);
  SubmitAll(1, clip);
  ASSERT_TRUE(WaitFor([&] { return Shows(1, 29); }));
  const QRect pane = View()->ChannelRect(1);
  auto region = [&] {
    PaneViewCall v;
    EXPECT_EQ(m_player.GetPicture(1, v), 1);
    return zoom::FromWire(v.x, v.y, v.size);
  };
  // Two wheel notches over the pane's right quarter: the point under the pointer stays put.
  const QPointF at(pane.x() + pane.width() * 0.75, pane.y() + pane.height() * 0.5);
  QWheelEvent wheel(at, View()->mapToGlobal(at), {}, {0, 240}, Qt::NoButton, {}, Qt::NoScrollPhase,
                    false);
  QApplication::sendEvent(View(), &wheel);
  const zoom::Region r = region();
  EXPECT_NEAR(r.Zoom(), 1.5625, 1e-3);
  EXPECT_NEAR(zoom::PictureAt(r, {0.75, 0.5}).u, 0.75, 1e-3);
  // Zoomed, the stamp no longer fits the pane; the overview is drawn in its corner.
  EXPECT_TRUE(WaitFor([&] { return !Shown(1).has_value(); }));
  const QImage img = Grab(View());
  int marks = 0;
  for (int y = pane.bottom() - pane.height() / 4; y < pane.bottom(); ++y)
    for (int x = pane.right() - pane.width() / 4; x < pane.right(); ++x)
      marks += img.pixelColor(x, y) == QColor(255, 196, 0);
  EXPECT_GT(marks, 10) << "no overview";
  // A drag pans: dragging left shows more of the right, up to the picture's edge.
  QTest::mousePress(View(), Qt::LeftButton, {}, pane.center());
  QMouseEvent move(QEvent::MouseMove, QPointF(pane.center() - QPoint(pane.width(), 0)),
                   View()->mapToGlobal(QPointF(pane.center() - QPoint(pane.width(), 0))),
                   Qt::NoButton, Qt::LeftButton, {});
  QApplication::sendEvent(View(), &move);
  QTest::mouseRelease(View(), Qt::LeftButton, {}, pane.center() - QPoint(pane.width(), 0));
  EXPECT_NEAR(region().x + region().size, 1.0, 1e-6);
  // Kept through a jump (clear and new frames) and the keys' zoom about the centre.
  m_player.ClearDecoder();
  SubmitAll(1, clip);
  Pump(200ms);
  EXPECT_NEAR(region().Zoom(), 1.5625, 1e-3);
  EXPECT_EQ(m_player.ZoomPane(1, 1), 1);
  EXPECT_NEAR(region().Zoom(), 1.953125, 1e-3);
  // A double click still shows the pane alone, zoom and all, and brings the grid back.
  QTest::mouseDClick(View(), Qt::LeftButton, {}, pane.center());
  EXPECT_EQ(View()->ZoomedPane(), 1);
  QTest::mouseDClick(View(), Qt::LeftButton, {}, View()->rect().center());
  EXPECT_EQ(View()->ZoomedPane(), -1);
  EXPECT_NEAR(region().Zoom(), 1.953125, 1e-3);
  // The whole picture again: the stamp reads as before.
  EXPECT_EQ(m_player.ZoomPane(-1, 0), 1);  // the selected pane (clicked above)
  EXPECT_TRUE(region().Whole());
  EXPECT_TRUE(WaitFor([&] { return Shows(1, 29); }));
  // A new file (the reset call) shows every picture whole.
  m_player.ZoomPane(1, 3);
  m_player.SubmitFrame(FrameCall::Reset());
  EXPECT_TRUE(WaitFor([&] { return region().Whole(); }));
}

TEST_F(DecoderControlTest, APausedPictureIsMadeAgainForAZoom) {
  m_player.SetLayout(4);
  // Tagged as playback tags its frames: a paused pane's picture is known by its tag.
  for (const auto& f : Clip(2, 352, 288, 0, 10)) {
    WaitFor([&] { return m_control->QueuedFrames(0) < 3; });
    m_player.SubmitFrame(test::Frame(f.payload.data(), 1709294400, 0, 0, int32_t(f.payload.size()),
                                     f.key ? 1 : 0, 0, true, f.frameNumber + 1));
  }
  ASSERT_TRUE(WaitFor([&] { return Shows(0, 9); }));
  m_player.SetMode(0, 1);  // paused: the pictures on their way are dropped, the shown one stays
  Pump(100ms);
  m_player.ZoomPane(0, 6);
  EXPECT_TRUE(WaitFor([&] { return !Shown(0).has_value(); })) << "not zoomed while paused";
  m_player.ZoomPane(0, 0);
  EXPECT_TRUE(WaitFor([&] { return Shows(0, 9); }));
  EXPECT_EQ(m_player.ShownFrame(0), 10u);
  // A blanked pane (a new file) is never brought back by a later zoom.
  m_player.Deactivate();
  Pump(100ms);
  m_player.ZoomPane(0, 2);
  Pump(300ms);
  EXPECT_LT(Brightest(Grab(View()), Inner(0)), 100);
}

TEST_F(DecoderControlTest, PictureSettingsReachThePaneAndComeBack) {
  m_player.SetLayout(1);
  SubmitAll(0, Clip(2, 352, 288, 0, 5));
  ASSERT_TRUE(WaitFor([&] { return Shows(0, 4); }));
  const QRect inner = Inner(0);
  const int before = Brightest(Grab(View()), inner);
  PaneViewCall v;
  v.brightness = -60;
  v.deinterlace = 2;
  EXPECT_EQ(m_player.SetPicture(-1, v), 0);
  // Paused: the last picture is made again with the new settings.
  EXPECT_TRUE(WaitFor([&] { return Brightest(Grab(View()), inner) < before - 60; }));
  PaneViewCall back;
  EXPECT_EQ(m_player.GetPicture(0, back), 0);
  EXPECT_EQ(back.brightness, -60);
  EXPECT_EQ(back.contrast, 100);
  EXPECT_EQ(back.deinterlace, 2);
  EXPECT_EQ(m_player.GetPicture(16, back), -1);
}

}  // namespace
}  // namespace ov::test
