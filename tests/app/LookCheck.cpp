// ov_check_looks: the player window's looks, grabbed from the X display in a fixed series of
// states, so that two builds can be compared pixel by pixel (scripts/check-looks runs it).
//
//   ov_check_looks shoot SAMPLE.ysk OUTDIR
//     no file, the file opened, each pane layout, the pointer over and pressing buttons, the
//     volume slider held and set, sound off, the seek slider held, playing, paused and the About
//     box, each as OUTDIR/<state>.png. The pointer moves and presses through the X server
//     (xdotool). OUTDIR/live.txt lists, per state, the parts that show the running recording (the
//     pictures, the times, the seek thumb), which differ from run to run whatever draws them.
//   ov_check_looks compare BEFORE AFTER [DIFFS]
//     for each picture of BEFORE, how many pixels of AFTER differ, in all and outside the live
//     parts; DIFFS, when given, receives a picture of each difference (changed pixels in red).
//     Exit status 1 when any pixel outside the live parts differs.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "app/PlayerApp.h"
#include "tests/app/ScreenCheck.h"
#include "ui/CommandIds.h"
#include "ui/PlayerDlg.h"
#include "ui/PlayerEngineLink.h"

namespace {

using ov::check::Print;
using ov::check::WaitUntil;

void Pause(int ms) {
  WaitUntil([] { return false; }, ms);
}

void Xdo(const std::string& args) {
  if (std::system(("xdotool " + args).c_str()) != 0) Print("error", "xdotool " + args);
}

class Shooter {
 public:
  Shooter(ov::CPlayerDlg& d, std::string out) : m_dlg(d), m_out(std::move(out)) {}

  QRect Area() const { return m_dlg.frameGeometry().adjusted(-24, -24, 24, 24); }

  // The screen point at fraction (fx, fy) of a control.
  QPoint On(int id, double fx = 0.5, double fy = 0.5) const {
    const QWidget* w = m_dlg.Control(id);
    if (w == nullptr) return {5, 5};
    return w->mapToGlobal(QPoint(int(w->width() * fx), int(w->height() * fy)));
  }
  static std::string At(QPoint p) { return std::to_string(p.x()) + " " + std::to_string(p.y()); }

  // live: the ids of the controls whose contents follow the recording in this state.
  void Shoot(const std::string& state, const std::vector<int>& live = {}) {
    Pause(500);
    ov::check::ShootScreen(Area(), m_out + "/" + state + ".png");
    for (int id : live) {
      const QWidget* w = m_dlg.Control(id);
      if (w == nullptr || !w->isVisible()) continue;
      const QRect r(w->mapToGlobal(QPoint(0, 0)) - Area().topLeft(), w->size());
      m_live +=
          QString::fromStdString(state) +
          QStringLiteral(" %1 %2 %3 %4\n").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
    }
    Print("shot", state);
  }

  void WriteLive() const {
    QFile f(QString::fromStdString(m_out + "/live.txt"));
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(m_live.toUtf8());
  }

 private:
  ov::CPlayerDlg& m_dlg;
  std::string m_out;
  QString m_live;
};

int Shoot(const std::string& sample, const std::string& out) {
  ov::CPlayerApp::Config c;
  c.onRunning = [&](ov::CPlayerDlg& d) {
    namespace idc = ov::idc;
    Shooter s(d, out);
    Xdo("mousemove 1 1");
    Pause(1200);
    s.Shoot("nofile");

    d.OpenPath(sample);
    if (!WaitUntil([&] { return d.Engine().State().m_FileReady.load(); }, 20000)) {
      Print("error", "the file did not open");
      return d.OnCommand(idc::kExit);
    }
    Pause(1500);
    s.Shoot("opened");
    const std::pair<int, const char*> layouts[] = {{idc::kCh1, "layout-1"},
                                                   {idc::kCh9, "layout-9"},
                                                   {idc::kCh16, "layout-16"},
                                                   {idc::kCh4, "layout-4"}};
    for (const auto& [id, name] : layouts) {
      d.OnCommand(id);
      Pause(800);
      s.Shoot(name);
    }

    // Hover and a held press; the press is let go away from the button, so nothing runs.
    Xdo("mousemove " + Shooter::At(s.On(idc::kPlay)));
    s.Shoot("hover-play");
    Xdo("mousemove " + Shooter::At(s.On(idc::kFF)));
    s.Shoot("hover-ff");
    Xdo("mousemove " + Shooter::At(s.On(idc::kRew)) + " mousedown 1");
    s.Shoot("pressed-rew");
    Xdo("mousemove 1 1 mouseup 1");
    Xdo("mousemove " + Shooter::At(s.On(idc::kCh9)) + " mousedown 1");
    s.Shoot("pressed-ch9");
    Xdo("mousemove 1 1 mouseup 1");

    Xdo("mousemove " + Shooter::At(s.On(idc::kVolume, 0.3)) + " mousedown 1");
    s.Shoot("volume-held");
    Xdo("mouseup 1 mousemove 1 1");
    s.Shoot("volume-set");
    d.OnCommand(idc::kSpeakerMin);
    s.Shoot("muted");
    d.OnCommand(idc::kSpeakerMin);
    s.Shoot("sound-on");

    const std::vector<int> live = {idc::kDecoder,   idc::kSeek,  idc::kOsd,
                                   idc::kTotalTime, idc::kSpeed, idc::kSearching};
    Xdo("mousemove " + Shooter::At(s.On(idc::kSeek, 0.25)) + " mousedown 1");
    s.Shoot("seek-held", {idc::kDecoder, idc::kOsd, idc::kTotalTime});
    Xdo("mouseup 1 mousemove 1 1");
    s.Shoot("seek-released", live);

    d.OnCommand(idc::kPlay);
    Pause(2000);
    s.Shoot("playing", live);
    d.OnCommand(idc::kPlay);
    Pause(500);
    s.Shoot("paused", live);

    QTimer::singleShot(900, [&s, &d] {
      s.Shoot("about", {idc::kDecoder, idc::kSeek, idc::kOsd, idc::kTotalTime});
      if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != &d)
        if (auto* dlg = qobject_cast<QDialog*>(modal)) dlg->reject();
    });
    d.OnCommand(idc::kCmdAbout);
    s.WriteLive();
    d.OnCommand(idc::kExit);
  };
  ov::CPlayerApp app(c);
  app.InitInstance();
  return 0;
}

int Compare(const QString& before, const QString& after, const QString& diffs) {
  std::multimap<QString, QRect> live;
  QFile f(before + QStringLiteral("/live.txt"));
  if (f.open(QIODevice::ReadOnly)) {
    while (!f.atEnd()) {
      const QStringList v = QString::fromUtf8(f.readLine()).split(' ', Qt::SkipEmptyParts);
      if (v.size() == 5)
        live.emplace(v[0], QRect(v[1].toInt(), v[2].toInt(), v[3].toInt(), v[4].trimmed().toInt()));
    }
  }
  bool same = true;
  const QStringList names = QDir(before).entryList({QStringLiteral("*.png")}, QDir::Files);
  for (const QString& name : names) {
    const QImage a = QImage(before + "/" + name).convertToFormat(QImage::Format_RGB32);
    const QImage b = QImage(after + "/" + name).convertToFormat(QImage::Format_RGB32);
    const QString state = name.chopped(4);
    if (b.isNull() || a.size() != b.size()) {
      std::printf("%-16s missing or another size\n", qPrintable(state));
      same = false;
      continue;
    }
    QRegion skip;
    for (auto [i, end] = live.equal_range(state); i != end; ++i) skip += i->second;
    QImage diff = a;
    long all = 0, outside = 0;
    for (int y = 0; y < a.height(); ++y)
      for (int x = 0; x < a.width(); ++x) {
        if (a.pixel(x, y) == b.pixel(x, y)) continue;
        ++all;
        if (!skip.contains(QPoint(x, y))) ++outside;
        diff.setPixel(x, y, qRgb(255, 0, 0));
      }
    std::printf("%-16s %8ld pixels differ, %8ld outside the live parts\n", qPrintable(state), all,
                outside);
    if (outside > 0) same = false;
    if (all > 0 && !diffs.isEmpty()) {
      QDir().mkpath(diffs);
      diff.save(diffs + "/" + name);
    }
  }
  std::printf("%s\n", same ? "same looks" : "the looks differ");
  return same ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "shoot" && argc == 4) {
    QApplication qapp(argc, argv);
    return Shoot(argv[2], argv[3]);
  }
  if (mode == "compare" && (argc == 4 || argc == 5)) {
    QGuiApplication qapp(argc, argv);
    return Compare(argv[2], argv[3], argc == 5 ? argv[4] : QString());
  }
  std::fprintf(stderr,
               "usage: ov_check_looks shoot SAMPLE.ysk OUTDIR\n"
               "       ov_check_looks compare BEFORE AFTER [DIFFS]\n");
  return 2;
}
