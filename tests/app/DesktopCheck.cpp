// ov_check_desktop: the player as a person meets it, on a real X display with a real sound server
// (scripts/check-desktop sets both up).
//
//   ov_check_desktop play SAMPLE.ysk
//     runs the player with the real decoder module, presses Play, Pause, Play and lets the file
//     run to its end, reading the frame numbers stamped into channel 1's pictures from the
//     screen. Prints "key value" lines.
//     With OV_CHECK_UNREAD=DIR set, the first few grabs with no readable stamp are saved there.
//   ov_check_desktop ff SAMPLE.ysk
//     presses Play, then FF three times (8X), then Play (a pause) and Play again, and reports the
//     frame shown and the second of the sound the player reads next after the resume, with the
//     wall times "sound" takes (the pause's place taken by the last Play before FF).
//   ov_check_desktop timeline SAMPLE.ysk [SHOTDIR]
//     opens SAMPLE (made with make-sample --events ... --stamp 2), shows the activity timeline,
//     waits for the analysis, hovers channel 1's first event until its preview shows, clicks the
//     event and reads the frame channel 2 shows (every pane moves to the second), then presses
//     the next-event key. With SHOTDIR, saves the window with the preview, and after the jumps,
//     there.
//   ov_check_desktop marker RAW
//     writes a loud 100 ms marker (8 kHz mono signed 16-bit) to play into the recording.
//   ov_check_desktop sound RAW MARK PLAY PAUSE [RESUME MUTE UNMUTE]
//     RAW: 8 kHz mono signed 16-bit samples recorded from the sound server, holding the marker
//     played at wall time MARK (seconds since the epoch); PLAY, PAUSE, RESUME, MUTE and UNMUTE:
//     the wall times "play" printed. Prints when sound began after Play, the share of 50 ms slices
//     with sound up to the pause, how long sound went on after it, the silence after the resume,
//     and how long sound off and sound on took to be heard.
#include <QApplication>
#include <QElapsedTimer>
#include <QScreen>
#include <QWheelEvent>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "activity/Activity.h"
#include "app/PlayerApp.h"
#include "cli/sample/FrameStamp.h"
#include "decoder/control/PaneLayout.h"
#include "tests/app/ScreenCheck.h"
#include "ui/ActivityTimeline.h"
#include "ui/CommandIds.h"
#include "ui/PlayerDlg.h"
#include "ui/PlayerEngineLink.h"

namespace {

double WallSeconds() {
  using namespace std::chrono;
  return duration<double>(system_clock::now().time_since_epoch()).count();
}

using ov::check::Print;
using ov::check::ShootScreen;
using ov::check::WaitUntil;

// The frame number channel (a slot) shows on the screen now (read from the X server's pixels).
std::optional<uint32_t> FrameOnScreen(const ov::CPlayerDlg& d, int panes, int channel = 0) {
  const QWidget* video = d.Control(ov::idc::kDecoder);
  const QPoint at = video->mapToGlobal(QPoint(0, 0));
  const QImage img = QGuiApplication::primaryScreen()
                         ->grabWindow(0, at.x(), at.y(), video->width(), video->height())
                         .toImage()
                         .convertToFormat(QImage::Format_RGB32);
  const QRect content = ov::pane::ContentRect(img.size(), panes, channel);
  // Any picture aspect the sample may have: try the common ones.
  for (double aspect : {352.0 / 288.0, 704.0 / 576.0, 4.0 / 3.0, 16.0 / 9.0}) {
    const QRect r = ov::pane::Centred(content, ov::pane::FitSize(content.size(), aspect));
    const auto s = ov::sample::ReadStamp(
        img.constBits(), img.width(), img.height(), static_cast<int>(img.bytesPerLine()),
        ov::sample::StampRect{r.x(), r.y(), r.width(), r.height()});
    if (s && s->channel == channel) return s->frame;
  }
  // Keep a few unreadable grabs so a person can see what the reader saw.
  static int unread = 0;
  if (const char* dir = std::getenv("OV_CHECK_UNREAD"); dir && unread < 5)
    img.save(QString::fromUtf8(dir) + "/unread-" + QString::number(++unread) + ".png");
  return std::nullopt;
}

std::string Num(std::optional<uint32_t> v) { return v ? std::to_string(*v) : "none"; }
std::string Fixed(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.3f", v);
  return buf;
}

int Play(const std::string& sample) {
  ov::CPlayerApp::Config c;
  c.openPath = sample;
  c.onRunning = [&](ov::CPlayerDlg& d) {
    ov::PlaybackState& s = d.Engine().State();
    if (!WaitUntil([&] { return s.m_FileReady.load(); }, 20000)) {
      Print("error", "the file did not open");
      return d.OnCommand(ov::idc::kExit);
    }
    const int panes = d.Engine().Engine().File().Recording().m_Header.channelCount <= 1 ? 1 : 4;
    WaitUntil([] { return false; }, 500);
    const double played = WallSeconds();
    d.OnCommand(ov::idc::kPlay);
    Print("play_wall", Fixed(played));
    std::optional<uint32_t> first;
    WaitUntil([&] { return (first = FrameOnScreen(d, panes)).has_value(); }, 5000);
    Print("first_frame_after_play", Num(first));
    Print("first_frame_seen_after_ms", std::to_string(int((WallSeconds() - played) * 1000)));

    // While it plays: how often the date line names the second of the picture on screen.
    int looks = 0, agree = 0;
    const double playUntil = WallSeconds() + 5.0;
    while (WallSeconds() < playUntil) {
      WaitUntil([] { return false; }, 97);
      const std::optional<uint32_t> f = FrameOnScreen(d, panes);
      const std::string osd = d.ControlText(ov::idc::kOsd).toStdString();
      if (!f || osd.size() < 2) continue;
      ++looks;
      agree += std::atoi(osd.c_str() + osd.size() - 2) == int(*f / 25);
    }
    Print("date_line_agrees_playing", std::to_string(agree) + " of " + std::to_string(looks));
    Print("played_1x_seconds", std::to_string(WallSeconds() - played));
    const std::optional<uint32_t> before = FrameOnScreen(d, panes);
    const std::string dateBefore = d.ControlText(ov::idc::kOsd).toStdString();
    Print("pause_wall", Fixed(WallSeconds()));
    d.OnCommand(ov::idc::kPlay);  // pause
    // Let what was already on its way come out, then look again 1.5 s later.
    WaitUntil([] { return false; }, 600);
    const std::optional<uint32_t> held = FrameOnScreen(d, panes);
    WaitUntil([] { return false; }, 1500);
    const std::optional<uint32_t> after = FrameOnScreen(d, panes);
    Print("frame_before_pause", Num(before));
    Print("frame_at_pause", Num(held));
    Print("frame_1500ms_after_pause", Num(after));
    Print("date_before_pause", "'" + dateBefore + "'");
    Print("date_after_pause", "'" + d.ControlText(ov::idc::kOsd).toStdString() + "'");
    Print("elapsed_after_pause", "'" + d.ControlText(ov::idc::kTotalTime).toStdString() + "'");
    Print("date_second_of_held_picture", held ? std::to_string(*held / 25) : "none");

    // Paused: three steps back, then a move 5 s on, each shown at once; Play goes on from there.
    ov::PlaybackEngine& e = d.Engine().Engine();
    std::string steps;
    for (int i = 0; i < 3; ++i) {
      std::optional<uint32_t> was = FrameOnScreen(d, panes), now;
      (void)e.StepBack();
      WaitUntil([&] { return (now = FrameOnScreen(d, panes)).has_value() && now != was; }, 1500);
      steps += (steps.empty() ? "" : ",") + Num(now);
    }
    Print("frames_after_step_back_x3", steps);
    Print("date_after_steps", "'" + d.ControlText(ov::idc::kOsd).toStdString() + "'");
    const int total = e.File().Recording().m_Index.m_TotalSeconds;
    const int target = s.m_SliderSecond.load() + (s.m_SliderSecond.load() + 5 <= total ? 5 : -3);
    std::optional<uint32_t> moved;
    (void)e.MoveTo(target);
    WaitUntil([&] { return (moved = FrameOnScreen(d, panes)) == uint32_t(target * 25); }, 3000);
    Print("paused_move_target_frame", std::to_string(target * 25));
    Print("paused_move_frame_shown", Num(moved));
    Print("date_after_paused_move", "'" + d.ControlText(ov::idc::kOsd).toStdString() + "'");
    Print("state_after_paused_move", std::to_string(StateNumber(s.m_PlayState.load())));

    const double resumeWall = WallSeconds();
    Print("resume_wall", Fixed(resumeWall));
    d.OnCommand(ov::idc::kPlay);  // resume, then run to the end
    std::optional<uint32_t> resumed;
    WaitUntil([&] { return (resumed = FrameOnScreen(d, panes)) != moved; }, 3000);
    Print("first_frame_after_resume", Num(resumed));
    Print("first_frame_after_resume_ms", std::to_string(int((WallSeconds() - resumeWall) * 1000)));
    // Sound off and on again with the speaker button, while playing.
    WaitUntil([] { return false; }, 1200);
    Print("mute_wall", Fixed(WallSeconds()));
    d.OnCommand(ov::idc::kSpeakerMin);
    WaitUntil([] { return false; }, 800);
    Print("unmute_wall", Fixed(WallSeconds()));
    d.OnCommand(ov::idc::kSpeakerMin);
    std::optional<uint32_t> last;
    WaitUntil(
        [&] {
          if (auto f = FrameOnScreen(d, panes)) last = f;
          return s.m_AtEnd.load() != 0;
        },
        120000);
    WaitUntil([] { return false; }, 800);  // the last pictures are still on their way
    if (auto f = FrameOnScreen(d, panes)) last = f;
    Print("last_frame_seen", Num(last));
    d.OnCommand(ov::idc::kExit);
  };
  ov::CPlayerApp app(c);
  app.InitInstance();
  return 0;
}

// Fast forward, then a pause and Play: the sound comes back with the pictures.
int FastForward(const std::string& sample) {
  ov::CPlayerApp::Config c;
  c.openPath = sample;
  c.onRunning = [&](ov::CPlayerDlg& d) {
    ov::PlaybackState& s = d.Engine().State();
    ov::PlaybackEngine& e = d.Engine().Engine();
    if (!WaitUntil([&] { return s.m_FileReady.load(); }, 20000)) {
      Print("error", "the file did not open");
      return d.OnCommand(ov::idc::kExit);
    }
    const int panes = e.File().Recording().m_Header.channelCount <= 1 ? 1 : 4;
    WaitUntil([] { return false; }, 500);
    Print("play_wall", Fixed(WallSeconds()));
    d.OnCommand(ov::idc::kPlay);
    WaitUntil([] { return false; }, 3000);
    Print("frame_before_ff", Num(FrameOnScreen(d, panes)));
    Print("pause_wall", Fixed(WallSeconds()));  // sound stops here: FF hands none over
    for (int i = 0; i < 3; ++i) d.OnCommand(ov::idc::kFF);
    Print("ff_speed", std::to_string(s.m_Speed.load()));
    WaitUntil([] { return false; }, 3000);
    Print("frame_after_ff_3s", Num(FrameOnScreen(d, panes)));
    d.OnCommand(ov::idc::kPlay);  // a pause
    WaitUntil([] { return false; }, 800);
    const std::optional<uint32_t> held = FrameOnScreen(d, panes);
    Print("frame_at_pause", Num(held));
    const double resumeWall = WallSeconds();
    Print("resume_wall", Fixed(resumeWall));
    d.OnCommand(ov::idc::kPlay);
    std::optional<uint32_t> resumed;
    WaitUntil([&] { return (resumed = FrameOnScreen(d, panes)) != held; }, 3000);
    Print("first_frame_after_resume", Num(resumed));
    Print("first_frame_after_resume_ms", std::to_string(int((WallSeconds() - resumeWall) * 1000)));
    // A second into the resumed play: the second of the picture on screen and of the sound frame
    // the player reads next (a second or two ahead of what is heard, by the sound's buffer).
    WaitUntil([] { return false; }, 1000);
    const std::optional<uint32_t> now = FrameOnScreen(d, panes);
    ov::YskFrameHeader h{};
    const uint32_t ap = s.m_AudioPos[0].load();
    const int start = e.StartSecond();
    Print("picture_second_1s_after_resume", now ? std::to_string(*now / 25) : "none");
    Print("sound_read_next_second",
          ap && e.File().PlayReader().Header(ap, h) ? std::to_string(h.f_time - start) : "none");
    WaitUntil([] { return false; }, 200);
    Print("mute_wall", Fixed(WallSeconds()));
    d.OnCommand(ov::idc::kSpeakerMin);
    WaitUntil([] { return false; }, 800);
    Print("unmute_wall", Fixed(WallSeconds()));
    d.OnCommand(ov::idc::kSpeakerMin);
    WaitUntil([] { return false; }, 1000);
    d.OnCommand(ov::idc::kExit);
  };
  ov::CPlayerApp app(c);
  app.InitInstance();
  return 0;
}

// The activity timeline on the real display: open, wait for the analysis, hover channel 1's strip
// until its preview shows, click its first event and read the frame the pane shows, then the
// next-event key. With shots set, the window with the preview goes there as PNG files.
int Timeline(const std::string& sample, const std::string& shots) {
  ov::CPlayerApp::Config c;
  c.openPath = sample;
  c.onRunning = [&](ov::CPlayerDlg& d) {
    ov::PlaybackState& s = d.Engine().State();
    const double opened = WallSeconds();
    if (!WaitUntil([&] { return s.m_FileReady.load(); }, 20000) || !d.Activity()) {
      Print("error", "the file did not open");
      return d.OnCommand(ov::idc::kExit);
    }
    const int panes = d.Engine().Engine().File().Recording().m_Header.channelCount <= 1 ? 1 : 4;
    d.SetTimelineShown(true);
    ov::CActivityTimeline* t = d.Timeline();
    WaitUntil([&] { return t->Snapshot() && !t->Snapshot()->channels.empty(); }, 20000);
    Print("first_strips_after_open_ms", std::to_string(int((WallSeconds() - opened) * 1000)));
    if (!WaitUntil([&] { return t->Snapshot() && t->Snapshot()->complete; }, 120000)) {
      Print("error", "the analysis did not finish");
      return d.OnCommand(ov::idc::kExit);
    }
    Print("analysis_done_after_open_ms", std::to_string(int((WallSeconds() - opened) * 1000)));
    std::vector<ov::ActivityEvent> events;
    for (const ov::ChannelActivity& ch : t->Snapshot()->channels) {
      std::string list;
      for (const auto& e : ch.events)
        list += " " + std::to_string(e.fromSecond) + "-" + std::to_string(e.toSecond);
      Print(("events_ch" + std::to_string(ch.slot + 1)).c_str(), list.empty() ? "none" : list);
      if (ch.slot == 0) events = ch.events;
    }
    if (events.empty()) {
      Print("error", "no event on channel 1");
      return d.OnCommand(ov::idc::kExit);
    }
    // Zoomed in a little around the first event, as a person looking closer would.
    const ov::ActivityEvent first = events.front();
    const QRect strip = t->StripRect(0);
    const auto xOf = [&](double second) {
      return t->PlotLeft() + int(t->View().XOfSecond(second));
    };
    const QPoint zoomAt(xOf(first.fromSecond), strip.center().y());
    QWheelEvent wheel(zoomAt, t->mapToGlobal(zoomAt), {}, {0, 120}, Qt::NoButton, {},
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(t, &wheel);

    // Hover the middle of the event: the preview is asked for at once and shows when decoded.
    const QPoint hover(xOf((first.fromSecond + first.toSecond) / 2.0 + 0.5), strip.center().y());
    QCursor::setPos(t->mapToGlobal(hover));
    QMouseEvent move(QEvent::MouseMove, hover, t->mapToGlobal(hover), Qt::NoButton, Qt::NoButton,
                     {});
    const double hovered = WallSeconds();
    QApplication::sendEvent(t, &move);
    const bool shown = WaitUntil([&] { return t->PreviewShowsPicture(); }, 3000);
    Print("preview_after_hover_ms",
          shown ? std::to_string(int((WallSeconds() - hovered) * 1000)) : "none");
    // A second hover of the same second comes from the cache.
    QApplication::sendEvent(t, new QEvent(QEvent::Leave));
    const double again = WallSeconds();
    QApplication::sendEvent(t, &move);
    WaitUntil([&] { return t->PreviewShowsPicture(); }, 3000);
    Print("preview_cached_ms", std::to_string(int((WallSeconds() - again) * 1000)));
    WaitUntil([] { return false; }, 300);
    if (!shots.empty()) {
      QRect area = d.frameGeometry().adjusted(-24, -24, 24, 24);
      if (QWidget* p = t->PreviewWindow())
        area = area.united(p->frameGeometry().adjusted(-8, -8, 8, 8));
      ShootScreen(area, shots + "/timeline-preview.png");
    }

    // A click on the event's mark lands on the first picture of its first second.
    QApplication::sendEvent(t, new QEvent(QEvent::Leave));
    const QPoint onEvent(xOf(first.fromSecond + 0.5), strip.center().y());
    QMouseEvent press(QEvent::MouseButtonPress, onEvent, t->mapToGlobal(onEvent), Qt::LeftButton,
                      Qt::LeftButton, {});
    QMouseEvent release(QEvent::MouseButtonRelease, onEvent, t->mapToGlobal(onEvent),
                        Qt::LeftButton, Qt::NoButton, {});
    QApplication::sendEvent(t, &press);
    QApplication::sendEvent(t, &release);
    const auto landed = [&](int32_t second) {
      std::optional<uint32_t> f;
      WaitUntil([&] { return (f = FrameOnScreen(d, panes, 1)) && *f / 25 == uint32_t(second); },
                5000);
      return f;
    };
    const std::optional<uint32_t> atClick = landed(first.fromSecond);
    Print("clicked_event_second", std::to_string(first.fromSecond));
    Print("frame_shown_after_click", Num(atClick));
    Print("first_picture_of_that_second", Num(uint32_t(first.fromSecond) * 25));
    Print("date_line_after_click", d.ControlText(ov::idc::kOsd).toStdString());
    if (events.size() > 1) {
      d.OnKeyAction(ov::KeyAction::NextEvent);
      const std::optional<uint32_t> next = landed(events[1].fromSecond);
      Print("next_event_second", std::to_string(events[1].fromSecond));
      Print("frame_shown_after_next_event_key", Num(next));
    }
    if (!shots.empty()) {
      WaitUntil([] { return false; }, 500);
      ShootScreen(d.frameGeometry().adjusted(-24, -24, 24, 24), shots + "/timeline-window.png");
    }
    d.OnCommand(ov::idc::kExit);
  };
  ov::CPlayerApp app(c);
  app.InitInstance();
  return 0;
}

constexpr int kRate = 8000;
// The marker is a full-scale square wave; the sample's tone stays below a quarter of full scale.
constexpr int kMarkerLevel = 20000;

// 100 ms of marker, to be played into the recording at a known wall time.
int Marker(const std::string& path) {
  std::ofstream out(path, std::ios::binary);
  for (int i = 0; i < kRate / 10; ++i) {
    const int16_t v = (i / 4) % 2 ? 30000 : -30000;
    out.write(reinterpret_cast<const char*>(&v), sizeof v);
  }
  return out ? 0 : 1;
}

// The recording's clock starts late and unevenly, so the marker played at markWall lines it up
// with wall time; then the moments of Play and Pause can be found in it. Reports when the first
// sound came after Play, the share of 50 ms slices with sound from there to the pause, how long
// sound went on after the pause, and (when their times are given) the silence after Play on the
// pause, and how long sound took to stop after sound off and to come back after sound on.
int Sound(const std::string& raw, double markWall, double playWall, double pauseWall,
          double resumeWall, double muteWall, double unmuteWall) {
  std::ifstream in(raw, std::ios::binary);
  std::vector<int16_t> pcm;
  int16_t v = 0;
  while (in.read(reinterpret_cast<char*>(&v), sizeof v)) pcm.push_back(v);
  constexpr int kSlice = kRate / 20;  // 50 ms
  // Silence is digital zero; the tone at the player's starting volume peaks near 700.
  constexpr int kLoud = 100;
  size_t mark = 0;
  while (mark < pcm.size() && std::abs(pcm[mark]) < kMarkerLevel) ++mark;
  if (mark == pcm.size()) {
    std::printf("sound_start_ms no-marker\n");
    return 1;
  }
  auto sampleAt = [&](double wall) {
    return static_cast<size_t>(
        std::clamp(double(mark) + (wall - markWall) * kRate, 0.0, double(pcm.size())));
  };
  const size_t play = sampleAt(playWall), pause = sampleAt(pauseWall);
  size_t first = play;
  while (first < pause && std::abs(pcm[first]) < kLoud) ++first;
  if (first >= pause) {
    std::printf("sound_start_ms none\n");
    return 1;
  }
  // Sound after the pause: up to the last loud sample before a second of quiet.
  size_t last = pause;
  for (size_t i = pause; i < pcm.size() && i < last + kRate; ++i)
    if (std::abs(pcm[i]) >= kLoud) last = i;
  int slices = 0, with = 0;
  for (size_t i = first; i + kSlice <= pause; i += kSlice) {
    double energy = 0;
    for (int k = 0; k < kSlice; ++k) energy += double(pcm[i + size_t(k)]) * pcm[i + size_t(k)];
    ++slices;
    with += std::sqrt(energy / kSlice) > kLoud / 2;
  }
  std::printf("sound_start_ms %.0f\nsound_slices %d\nsound_seconds %.2f\n",
              1000.0 * double(first - play) / kRate, slices, slices / 20.0);
  std::printf("sound_share_percent %.1f\nsound_after_pause_ms %.0f\n",
              slices ? 100.0 * with / slices : 0.0, 1000.0 * double(last - pause) / kRate);
  if (resumeWall <= 0) return 0;
  const auto ms = [](size_t from, size_t to) {
    return 1000.0 * (double(to) - double(from)) / kRate;
  };
  // Silence after Play on a pause: from the key to the first loud sample.
  const size_t resume = sampleAt(resumeWall), mute = sampleAt(muteWall),
               unmute = sampleAt(unmuteWall);
  size_t back = resume;
  while (back < mute && std::abs(pcm[back]) < kLoud) ++back;
  if (back < mute) {
    std::printf("sound_gap_after_resume_ms %.0f\n", ms(resume, back));
  } else {
    std::printf("sound_gap_after_resume_ms none\n");
  }
  // Sound off: where the first stretch of silence (one slice long) begins; sound on: the first
  // loud sample after it. Searched from a little before the key and reported signed: an output
  // that applies the volume at the server is heard sooner than the marker, whose own latency
  // the line-up includes, so its silence may begin before the key's place in the recording.
  const size_t from = std::max(back, mute > size_t(kRate / 5) ? mute - size_t(kRate / 5) : 0);
  const size_t until = std::min(pcm.size(), unmute + size_t(kRate / 2));
  size_t quiet = until;
  for (size_t i = from, run = 0; i < until; ++i) {
    run = std::abs(pcm[i]) < kLoud ? run + 1 : 0;
    if (run == size_t(kSlice)) {
      quiet = i + 1 - run;
      break;
    }
  }
  if (quiet == until) {
    std::printf("mute_after_ms none\nunmute_after_ms none\n");
    return 0;
  }
  std::printf("mute_after_ms %.0f\n", ms(mute, quiet));
  size_t on = quiet;
  while (on < pcm.size() && on < unmute + kRate && std::abs(pcm[on]) < kLoud) ++on;
  if (on < pcm.size() && on < unmute + kRate) {
    std::printf("unmute_after_ms %.0f\n", ms(unmute, on));
  } else {
    std::printf("unmute_after_ms none\n");
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "play" && argc == 3) {
    QApplication qapp(argc, argv);
    return Play(argv[2]);
  }
  if (mode == "ff" && argc == 3) {
    QApplication qapp(argc, argv);
    return FastForward(argv[2]);
  }
  if (mode == "timeline" && (argc == 3 || argc == 4)) {
    QApplication qapp(argc, argv);
    return Timeline(argv[2], argc == 4 ? argv[3] : "");
  }
  if (mode == "marker" && argc == 3) return Marker(argv[2]);
  if (mode == "sound" && (argc == 6 || argc == 9))
    return Sound(argv[2], std::atof(argv[3]), std::atof(argv[4]), std::atof(argv[5]),
                 argc == 9 ? std::atof(argv[6]) : 0, argc == 9 ? std::atof(argv[7]) : 0,
                 argc == 9 ? std::atof(argv[8]) : 0);
  std::fprintf(stderr,
               "usage: ov_check_desktop play SAMPLE.ysk | ff SAMPLE.ysk | timeline SAMPLE.ysk "
               "[SHOTDIR] | marker "
               "RAW | sound RAW MARK PLAY "
               "PAUSE [RESUME MUTE UNMUTE]\n");
  return 2;
}
