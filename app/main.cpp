// ostravue [FILE]: the player; FILE is opened at start-up as if chosen in the file dialog.
#include <QApplication>
#include <QFileInfo>
#include <cstdio>
#include <string_view>

#include "app/PlayerApp.h"
#include "ov/InstallDirs.h"
#include "ov/Version.h"

int main(int argc, char** argv) {
  // Answered before the window system is touched, so they work without a display.
  if (argc == 2 && std::string_view(argv[1]) == "--version") {
    std::printf("ostravue %s\n", ov::kVersion);
    return 0;
  }
  if (argc == 2 && std::string_view(argv[1]) == "--help") {
    std::printf(
        "Usage: ostravue [--help] [--version] [FILE]\nPlays FILE, a video recorder backup.\n");
    return 0;
  }
  QApplication qapp(argc, argv);
  QGuiApplication::setDesktopFileName(QStringLiteral(OV_APP_ID));
  ov::CPlayerApp::Config config;
  QStringList args = QCoreApplication::arguments();
  // The file dialog hands over absolute paths; a command-line path is made one the same way.
  if (args.size() > 1) config.openPath = QFileInfo(args.at(1)).absoluteFilePath().toStdString();
  ov::CPlayerApp app(std::move(config));
  app.InitInstance();
  return 0;
}
