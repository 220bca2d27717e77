// ov_check_desktop: the player as a person meets it, on a real X display with a real sound server
// (scripts/check-desktop sets both up).
//
//   ov_check_desktop play SAMPLE.ysk
//     runs the player with the real decoder module, presses Play, Pause, Play and lets the file
//     run to its end, reading the frame numbers stamped into channel 1's pictures from the
//     screen. Prints "key value" lines.
//   ov_check_desktop sound RAW
//     RAW: 8 kHz mono signed 16-bit samples recorded from the sound server; prints the share of
//     50 ms slices with sound from the first sound up to the pause.
#include <QApplication>
#include <QElapsedTimer>
#include <QScreen>
#include <QWidget>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/PlayerApp.h"
#include "cli/sample/FrameStamp.h"
#include "decoder/control/PaneLayout.h"
#include "ui/CommandIds.h"
#include "ui/PlayerDlg.h"
#include "ui/PlayerEngineLink.h"

namespace {

double WallSeconds() {
  using namespace std::chrono;
  return duration<double>(system_clock::now().time_since_epoch()).count();
}

bool WaitUntil(const std::function<bool()>& pred, int ms) {
  QElapsedTimer t;
  t.start();
  while (!pred() && t.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 10);
  return pred();
}

// The frame number channel 1 shows on the screen now (read from the X server's pixels).
std::optional<uint32_t> FrameOnScreen(const ov::CPlayerDlg& d, int panes) {
  const QWidget* video = d.Control(ov::idc::kDecoder);
  const QPoint at = video->mapToGlobal(QPoint(0, 0));
  const QImage img = QGuiApplication::primaryScreen()
                         ->grabWindow(0, at.x(), at.y(), video->width(), video->height())
                         .toImage()
                         .convertToFormat(QImage::Format_RGB32);
  const QRect content = ov::pane::ContentRect(img.size(), panes, 0);
  // Any picture aspect the sample may have: try the common ones.
  for (double aspect : {352.0 / 288.0, 704.0 / 576.0, 4.0 / 3.0, 16.0 / 9.0}) {
    const QRect r = ov::pane::Centred(content, ov::pane::FitSize(content.size(), aspect));
    const auto s = ov::sample::ReadStamp(img.constBits(), img.width(), img.height(),
                                         static_cast<int>(img.bytesPerLine()),
                                         ov::sample::StampRect{r.x(), r.y(), r.width(), r.height()});
    if (s && s->channel == 0) return s->frame;
  }
  return std::nullopt;
}

void Print(const char* key, const std::string& value) {
  std::printf("%s %s\n", key, value.c_str());
  std::fflush(stdout);
}
std::string Num(std::optional<uint32_t> v) { return v ? std::to_string(*v) : "none"; }

int Play(const std::string& sample) {
  ov::CPlayerApp::Config c;
  c.openPath = sample;
  c.onRunning = [&](ov::CPlayerDlg& d) {
    ov::PlaybackState& s = d.Engine().State();
    if (!WaitUntil([&] { return s.m_bFileReady.load() != 0; }, 20000)) {
      Print("error", "the file did not open");
      return d.OnCommand(ov::idc::kExit);
    }
    const int panes = d.Engine().Engine().File().Recording().m_Header.channelCount <= 1 ? 1 : 4;
    WaitUntil([] { return false; }, 500);
    d.OnCommand(ov::idc::kPlay);
    const double played = WallSeconds();
    std::optional<uint32_t> first;
    WaitUntil([&] { return (first = FrameOnScreen(d, panes)).has_value(); }, 5000);
    Print("first_frame_after_play", Num(first));
    Print("first_frame_seen_after_ms", std::to_string(int((WallSeconds() - played) * 1000)));

    WaitUntil([] { return false; }, 5000);
    Print("played_1x_seconds", std::to_string(WallSeconds() - played));
    const std::optional<uint32_t> before = FrameOnScreen(d, panes);
    const std::string dateBefore = d.ControlText(ov::idc::kOsd).toStdString();
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

    d.OnCommand(ov::idc::kPlay);  // resume, then run to the end
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

// The server records only while something plays, so the recording is not matched to wall
// time: the stretch of 1X play runs from the first sound to the pause, the first silence of a
// second or more.
int Sound(const std::string& raw) {
  std::ifstream in(raw, std::ios::binary);
  std::vector<int16_t> pcm;
  int16_t v = 0;
  while (in.read(reinterpret_cast<char*>(&v), sizeof v)) pcm.push_back(v);
  constexpr int kRate = 8000, kSlice = kRate / 20;  // 50 ms
  std::vector<bool> sound;
  for (size_t i = 0; i + kSlice <= pcm.size(); i += kSlice) {
    double energy = 0;
    for (int k = 0; k < kSlice; ++k) energy += double(pcm[i + size_t(k)]) * pcm[i + size_t(k)];
    // The sample tone plays at a quarter of full scale; silence is digital zero.
    sound.push_back(std::sqrt(energy / kSlice) > 300.0);
  }
  size_t first = 0;
  while (first < sound.size() && !sound[first]) ++first;
  size_t end = first, quiet = 0;
  for (size_t i = first; i < sound.size(); ++i) {
    quiet = sound[i] ? 0 : quiet + 1;
    if (quiet >= 20) break;
    end = i + 1;
  }
  while (end > first && !sound[end - 1]) --end;
  int with = 0;
  for (size_t i = first; i < end; ++i) with += sound[i];
  const size_t slices = end - first;
  std::printf("sound_slices %zu\nsound_seconds %.2f\nsound_share_percent %.1f\n", slices,
              double(slices) / 20.0, slices ? 100.0 * with / double(slices) : 0.0);
  return slices > 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "play" && argc == 3) {
    QApplication qapp(argc, argv);
    return Play(argv[2]);
  }
  if (mode == "sound" && argc == 3) return Sound(argv[2]);
  std::fprintf(stderr, "usage: ov_check_desktop play SAMPLE.ysk | sound RAW\n");
  return 2;
}
