// ostravue [OPTIONS] [FILE]: the player; FILE is opened at start-up as if chosen in the file
// dialog.
#include <QApplication>
#include <QFileInfo>
#include <cstdio>
#include <memory>

#include "app/CommandLine.h"
#include "app/PlayerApp.h"
#include "app/Translations.h"
#include "ov/InstallDirs.h"
#include "ui/PlayerSettings.h"

namespace {
// Exit statuses, the same as ostravue-cli's: 1 the program could not start (the decoder module, a
// missing file), 2 the command line was refused.
constexpr int kStartFailed = 1;
constexpr int kRefused = 2;
}  // namespace

int main(int argc, char** argv) {
  ov::CommandLine cl;
  {
    // Parsed before the window system is touched, so help and version work without a display.
    QCoreApplication core(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("ostravue"));
    ov::InstallTranslations(core);
    cl = ov::ParseCommandLine(QCoreApplication::arguments());
  }
  switch (cl.action) {
    case ov::CommandLine::Action::Help:
    case ov::CommandLine::Action::Version:
      std::fputs(cl.text.c_str(), stdout);
      return 0;
    case ov::CommandLine::Action::Error:
      std::fputs(cl.text.c_str(), stderr);
      return kRefused;
    case ov::CommandLine::Action::Run:
      break;
  }
  // A file that is not there is refused before any window opens.
  if (!cl.config.openPath.empty() &&
      !QFileInfo::exists(QString::fromStdString(cl.config.openPath))) {
    std::fprintf(stderr, "ostravue: %s: No such file or directory\n", cl.config.openPath.c_str());
    return kStartFailed;
  }
  QApplication qapp(argc, argv);
  QGuiApplication::setDesktopFileName(QStringLiteral(OV_APP_ID));
  ov::InstallTranslations(qapp);
  if (!cl.config.noSettings)
    cl.config.settingsPath = ov::PlayerSettings::DefaultPath().toStdString();
  ov::CPlayerApp app(std::move(cl.config));
  app.InitInstance();
  switch (app.LastOutcome()) {
    case ov::CPlayerApp::Outcome::NoWidgetHost:
    case ov::CPlayerApp::Outcome::LoadFailed:
    case ov::CPlayerApp::Outcome::NoRegisterExport:
      return kStartFailed;
    default:
      return 0;  // a rejected file was shown and said so; the window ran
  }
}
