// ov_check_case CATALOG SHOTDIR: "Open Case..." in the real window (scripts/check-case runs it
// under Xvfb). The window gives the command its context menu sends, the file chooser is answered
// with CATALOG, the dialog is shot with the first set of the recorder with an "Entrance" camera
// selected (SHOTDIR/open-case.png), its Open button is clicked through the X server, and the file
// the window opened is printed, with a shot of the window (SHOTDIR/open-case-opened.png). Prints
// "key value" lines.
#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <cstdlib>
#include <string>

#include "app/PlayerApp.h"
#include "tests/app/ScreenCheck.h"
#include "tests/app/TestPrompts.h"
#include "ui/CommandIds.h"
#include "ui/OpenCaseDlg.h"
#include "ui/PlayerDlg.h"
#include "ui/PlayerEngineLink.h"

namespace {
using ov::check::Print;
using ov::check::ShootScreen;
using ov::check::WaitUntil;

void Pause(int ms) {
  WaitUntil([] { return false; }, ms);
}

int Run(const std::string& catalog, const std::string& shots) {
  ov::test::RecordingPrompts prompts;
  prompts.fileAnswers.push_back(catalog);
  ov::CPlayerApp::Config c;
  c.prompts = &prompts;
  c.onRunning = [&](ov::CPlayerDlg& d) {
    QTimer::singleShot(300, [&] {
      auto* open = qobject_cast<ov::COpenCaseDlg*>(QApplication::activeModalWidget());
      if (!open) {
        Print("error", "no Open Case dialog");
        return;
      }
      open->move(d.frameGeometry().left() + 120, d.frameGeometry().top() + 80);
      QTreeWidget* t = open->Tree();
      Print("recorders", std::to_string(t->topLevelItemCount()));
      for (int i = 0; i < t->topLevelItemCount(); ++i)
        if (t->topLevelItem(i)->text(0).contains("Entrance"))
          t->setCurrentItem(t->topLevelItem(i)->child(0));
      Pause(500);
      ShootScreen(d.frameGeometry().united(open->frameGeometry()).adjusted(-16, -16, 16, 16),
                  shots + "/open-case.png");
      const QPoint at = open->OpenButton()->mapToGlobal(open->OpenButton()->rect().center());
      const std::string xdo =
          "xdotool mousemove " + std::to_string(at.x()) + " " + std::to_string(at.y()) + " click 1";
      if (std::system(xdo.c_str()) != 0) Print("error", "xdotool failed");
    });
    d.OnCommand(ov::idc::kCmdOpenCase);
    const bool ready = WaitUntil([&] { return d.Engine().State().m_FileReady.load(); }, 20000);
    Print("opened", ready ? d.OpenedPath() : "none");
    for (const auto& m : prompts.messages) Print("message", m.text);
    Pause(800);
    ShootScreen(d.frameGeometry().adjusted(-16, -16, 16, 16), shots + "/open-case-opened.png");
    d.OnCommand(ov::idc::kExit);
  };
  ov::CPlayerApp app(c);
  app.InitInstance();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: ov_check_case CATALOG SHOTDIR\n");
    return 2;
  }
  QApplication qapp(argc, argv);
  return Run(argv[1], argv[2]);
}
