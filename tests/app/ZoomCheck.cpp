// ov_check_zoom: zoom, adjustments and deinterlacing in the real window (scripts/check-zoom runs
// it under Xvfb and compares what it grabs with pictures decoded by ffmpeg).
//
//   ov_check_zoom view SAMPLE.ysk OUTDIR
//     plays SAMPLE, pauses, reads the frame number stamped into channel 1's picture, turns the
//     mouse wheel (through the X server, with xdotool) 4 notches over a point of its pane, grabs
//     the pane into OUTDIR/pane.png and saves the view (Shift+S); then the adjustments dialog.
//     Prints "key value" lines: frame, region (recorded pixels), view path; screenshots
//     OUTDIR/window-zoom.png and OUTDIR/window-adjust.png.
//   ov_check_zoom deint SAMPLE.ysk OUTDIR
//     an interlaced sample paused in one pane, grabbed with deinterlacing off and on
//     (OUTDIR/combed.png, OUTDIR/deinterlaced.png); prints the combing of each.
//   ov_check_zoom compare GRAB.png FRAME.png x,y,w,h
//     PSNR of GRAB against FRAME's region x,y,w,h and against the whole FRAME, both scaled to
//     GRAB's size; a grab of the zoomed pane is much closer to the first. Only the middle of the
//     pictures counts: the pane draws its title, its frame and the overview over the edges.
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>

#include "app/PlayerApp.h"
#include "cli/sample/FrameStamp.h"
#include "decoder/control/PaneLayout.h"
#include "picture/PaneZoom.h"
#include "tests/app/ScreenCheck.h"
#include "ui/CommandIds.h"
#include "ui/PictureAdjustDlg.h"
#include "ui/PlayerDlg.h"
#include "ui/PlayerEngineLink.h"

namespace {

constexpr double kAspect = 704.0 / 576.0;  // the samples this check makes
constexpr int kNotches = 4;
constexpr double kPointU = 0.7, kPointV = 0.35;  // where the wheel turns, in the picture

using ov::check::GrabScreen;
using ov::check::Print;
using ov::check::WaitUntil;

void Pause(int ms) {
  WaitUntil([] { return false; }, ms);
}

// Where pane 0's picture lies on the screen.
QRect PictureOnScreen(const ov::CPlayerDlg& d, int panes) {
  const QWidget* video = d.Control(ov::idc::kDecoder);
  const QRect content = ov::pane::ContentRect(video->size(), panes, 0);
  const QRect r = ov::pane::Centred(content, ov::pane::FitSize(content.size(), kAspect));
  return r.translated(video->mapToGlobal(QPoint(0, 0)));
}

std::optional<uint32_t> FrameOnScreen(const ov::CPlayerDlg& d, int panes) {
  const QImage img = GrabScreen(PictureOnScreen(d, panes));
  const auto s = ov::sample::ReadStamp(img.constBits(), img.width(), img.height(),
                                       static_cast<int>(img.bytesPerLine()));
  if (s && s->channel == 0) return s->frame;
  return std::nullopt;
}

// Opens the sample, plays about two seconds and pauses; false when it did not open.
bool PlayAndPause(ov::CPlayerDlg& d, int panes) {
  ov::PlaybackState& s = d.Engine().State();
  if (!WaitUntil([&] { return s.m_FileReady.load(); }, 20000)) return false;
  Pause(500);
  d.OnCommand(ov::idc::kPlay);
  WaitUntil([&] { return FrameOnScreen(d, panes).has_value(); }, 5000);
  Pause(1500);
  d.OnCommand(ov::idc::kPlay);  // pause
  Pause(800);
  return true;
}

int View(const std::string& sample, const std::string& out) {
  ov::CPlayerApp::Config c;
  c.openPath = sample;
  c.onRunning = [&](ov::CPlayerDlg& d) {
    const int panes = 4;
    if (!PlayAndPause(d, panes)) {
      Print("error", "the file did not open");
      return d.OnCommand(ov::idc::kExit);
    }
    const std::optional<uint32_t> frame = FrameOnScreen(d, panes);
    Print("frame", frame ? std::to_string(*frame) : "none");
    const QRect pic = PictureOnScreen(d, panes);
    const QPoint at(pic.x() + int(kPointU * pic.width()), pic.y() + int(kPointV * pic.height()));
    // The pointer goes there and the wheel turns through the X server, as a person's would.
    const std::string xdo =
        "xdotool mousemove " + std::to_string(at.x()) + " " + std::to_string(at.y()) + " click 1";
    if (std::system(xdo.c_str()) != 0) Print("error", "xdotool failed");
    Pause(300);
    for (int i = 0; i < kNotches; ++i) {
      if (std::system("xdotool click 4") != 0) Print("error", "xdotool failed");
      Pause(150);
    }
    Pause(800);
    ov::zoom::Region r;
    const ov::zoom::Point p{double(at.x() - pic.x()) / pic.width(),
                            double(at.y() - pic.y()) / pic.height()};
    for (int i = 0; i < kNotches; ++i) r = ov::zoom::ZoomAbout(r, 1, p);
    const ov::zoom::PixelRect px = ov::zoom::ToPixels(r, 704, 576);
    Print("region", std::to_string(px.x) + "," + std::to_string(px.y) + "," + std::to_string(px.w) +
                        "," + std::to_string(px.h));
    Print("frame_after_zoom", FrameOnScreen(d, panes) ? "readable" : "unreadable");
    GrabScreen(pic).save(QString::fromStdString(out + "/pane.png"));
    std::system("xdotool mousemove 5 5");  // the pointer out of the shot
    Pause(200);
    ov::check::ShootScreen(d.frameGeometry().adjusted(-24, -24, 24, 24), out + "/window-zoom.png");

    const std::string view = d.SaveView();
    WaitUntil([&] { return !d.SavingSnapshot(); }, 20000);
    Print("view", view.empty() ? "none" : view);

    // The adjustments dialog beside the window, with the picture brighter and more colourful.
    d.OnCommand(ov::idc::kCmdPictureAdjust);
    Pause(300);
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* a = qobject_cast<ov::CPictureAdjustDlg*>(w)) {
        a->move(d.frameGeometry().right() - a->frameGeometry().width() - 30,
                d.frameGeometry().top() + 60);
        a->SetValues({15, 130, 110, 170});
        Pause(800);
        ov::check::ShootScreen(d.frameGeometry().adjusted(-24, -24, 24, 24),
                               out + "/window-adjust.png");
        a->close();
      }
    d.OnCommand(ov::idc::kExit);
  };
  ov::CPlayerApp app(c);
  app.InitInstance();
  return 0;
}

// Combing: how much neighbouring lines differ beyond lines two apart (the same field).
double Combing(const QImage& img) {
  double across = 0, within = 0;
  for (int y = 2; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) {
      const int c = qGray(img.pixel(x, y));
      across += std::abs(c - qGray(img.pixel(x, y - 1)));
      within += std::abs(c - qGray(img.pixel(x, y - 2)));
    }
  return across / std::max(1.0, within);
}

int Deint(const std::string& sample, const std::string& out) {
  ov::CPlayerApp::Config c;
  c.openPath = sample;
  c.onRunning = [&](ov::CPlayerDlg& d) {
    ov::PlaybackState& s = d.Engine().State();
    if (!WaitUntil([&] { return s.m_FileReady.load(); }, 20000)) {
      Print("error", "the file did not open");
      return d.OnCommand(ov::idc::kExit);
    }
    d.OnCommand(ov::idc::kCh1);
    if (!PlayAndPause(d, 1)) return d.OnCommand(ov::idc::kExit);
    const QRect pic = PictureOnScreen(d, 1);
    const QImage combed = GrabScreen(pic);
    combed.save(QString::fromStdString(out + "/combed.png"));
    d.OnCommand(ov::idc::kCmdDeintOn);
    Pause(800);
    const QImage clean = GrabScreen(pic);
    clean.save(QString::fromStdString(out + "/deinterlaced.png"));
    Print("combing_off", std::to_string(Combing(combed)));
    Print("combing_on", std::to_string(Combing(clean)));
    d.OnCommand(ov::idc::kExit);
  };
  ov::CPlayerApp app(c);
  app.InitInstance();
  return 0;
}

double Psnr(const QImage& a, const QImage& b) {
  double se = 0;
  const int x0 = a.width() / 20, x1 = a.width() * 3 / 4, y0 = a.height() * 3 / 20,
            y1 = a.height() * 3 / 4;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) {
      const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      for (int d : {qRed(p) - qRed(q), qGreen(p) - qGreen(q), qBlue(p) - qBlue(q)}) se += d * d;
    }
  const double mse = se / (3.0 * std::max(1, (x1 - x0) * (y1 - y0)));
  return mse <= 0 ? 99.0 : 10 * std::log10(255.0 * 255.0 / mse);
}

int Compare(const std::string& grabPath, const std::string& framePath, const std::string& region) {
  const QImage grab =
      QImage(QString::fromStdString(grabPath)).convertToFormat(QImage::Format_RGB32);
  const QImage frame =
      QImage(QString::fromStdString(framePath)).convertToFormat(QImage::Format_RGB32);
  int x = 0, y = 0, w = 0, h = 0;
  if (grab.isNull() || frame.isNull() ||
      std::sscanf(region.c_str(), "%d,%d,%d,%d", &x, &y, &w, &h) != 4) {
    std::fprintf(stderr, "ov_check_zoom compare: cannot read the pictures or the region\n");
    return 2;
  }
  const auto fit = [&](const QImage& img) {
    return img.scaled(grab.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  };
  Print("psnr_region", std::to_string(Psnr(grab, fit(frame.copy(x, y, w, h)))));
  Print("psnr_whole", std::to_string(Psnr(grab, fit(frame))));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "compare" && argc == 5) {
    QGuiApplication app(argc, argv);
    return Compare(argv[2], argv[3], argv[4]);
  }
  QApplication app(argc, argv);
  if (mode == "view" && argc == 4) return View(argv[2], argv[3]);
  if (mode == "deint" && argc == 4) return Deint(argv[2], argv[3]);
  std::fprintf(stderr,
               "usage: ov_check_zoom view SAMPLE OUTDIR | deint SAMPLE OUTDIR |"
               " compare GRAB FRAME x,y,w,h\n");
  return 2;
}
