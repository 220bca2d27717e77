// ostravue [FILE]: the player; FILE is opened at start-up as if chosen in the file dialog.
#include <QApplication>
#include <QFileInfo>

#include "app/PlayerApp.h"

int main(int argc, char** argv) {
  QApplication qapp(argc, argv);
  ov::CPlayerApp::Config config;
  QStringList args = QCoreApplication::arguments();
  // The file dialog hands over absolute paths; a command-line path is made one the same way.
  if (args.size() > 1) config.openPath = QFileInfo(args.at(1)).absoluteFilePath().toStdString();
  ov::CPlayerApp app(std::move(config));
  app.InitInstance();
  return 0;
}
