// ostravue [FILE]: the player; FILE is opened at start-up as if chosen in the file dialog.
#include <QApplication>

#include "app/PlayerApp.h"

int main(int argc, char** argv) {
  QApplication qapp(argc, argv);
  ov::CPlayerApp::Config config;
  QStringList args = QCoreApplication::arguments();
  if (args.size() > 1) config.openPath = args.at(1).toStdString();
  ov::CPlayerApp app(std::move(config));
  app.InitInstance();
  return 0;
}
