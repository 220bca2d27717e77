// ov_screenshots OUTDIR SAMPLE.ysk: runs the player on an X display (Xvfb) and saves the window
// with no file, playing SAMPLE, with its context menu, with the About box, with an error message
// and with the Export Clip dialog, as OUTDIR/window-*.png; in the language of the locale
// (LANGUAGE=de for German), as the player starts.
#include <QApplication>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QMenu>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>

#include "app/PlayerApp.h"
#include "app/Translations.h"
#include "ui/CommandIds.h"
#include "ui/PlayerDlg.h"
#include "ui/PlayerEngineLink.h"

namespace {

bool WaitUntil(const std::function<bool()>& pred, int ms) {
  QElapsedTimer t;
  t.start();
  while (!pred() && t.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 20);
  return pred();
}
void Pause(int ms) {
  WaitUntil([] { return false; }, ms);
}

void Shoot(const ov::CPlayerDlg& dlg, const std::string& path) {
  QRect area = dlg.frameGeometry().adjusted(-24, -24, 24, 24);
  QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0, area.x(), area.y(), area.width(),
                                                              area.height());
  if (!shot.save(QString::fromStdString(path)))
    std::fprintf(stderr, "cannot save %s\n", path.c_str());
}

// Shoots once the top modal or popup window is up, then closes it.
void ShootWhileOpen(const ov::CPlayerDlg& dlg, const std::string& path) {
  QTimer::singleShot(900, [&dlg, path] {
    Shoot(dlg, path);
    if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != &dlg)
      if (auto* d = qobject_cast<QDialog*>(modal)) d->reject();
  });
}

}  // namespace

int main(int argc, char** argv) {
  QApplication qapp(argc, argv);
  ov::InstallTranslations(qapp);
  if (argc < 3) {
    std::fprintf(stderr, "usage: ov_screenshots OUTDIR SAMPLE.ysk\n");
    return 2;
  }
  const std::string out = argv[1];
  const std::string sample = argv[2];
  const std::string broken = (std::filesystem::temp_directory_path() / "ov-broken.ysk").string();
  std::ofstream(broken, std::ios::binary) << std::string(2037, '\0');

  ov::CPlayerApp::Config c;
  c.onRunning = [&](ov::CPlayerDlg& d) {
    Pause(1200);
    Shoot(d, out + "/window-nofile.png");

    ShootWhileOpen(d, out + "/window-error.png");
    d.OpenPath(broken);

    d.OpenPath(sample);
    WaitUntil([&] { return d.Engine().State().m_FileReady.load(); }, 15000);
    d.OnCommand(ov::idc::kPlay);
    Pause(3500);
    Shoot(d, out + "/window-playing.png");

    ShootWhileOpen(d, out + "/window-menu.png");
    QPoint at(200, 200);  // high enough for the whole menu to fit in the shot
    QContextMenuEvent ev(QContextMenuEvent::Mouse, at, d.mapToGlobal(at));
    QApplication::sendEvent(&d, &ev);

    ShootWhileOpen(d, out + "/window-about.png");
    d.OnCommand(ov::idc::kCmdAbout);

    // The export dialog is not modal: shoot it once it is up, then close it.
    d.OnCommand(ov::idc::kCmdExportClip);
    Pause(900);
    Shoot(d, out + "/window-export.png");
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w != &d && w->isVisible()) w->close();
    d.OnCommand(ov::idc::kExit);
  };
  ov::CPlayerApp app(c);
  app.InitInstance();
  std::filesystem::remove(broken);
  return 0;
}
