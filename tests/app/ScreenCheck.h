#pragma once
// What the real-window checks share: waiting while the window runs, printing "key value" lines,
// and grabbing parts of the X display.
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QRect>
#include <QScreen>
#include <cstdio>
#include <functional>
#include <string>

namespace ov::check {

// Runs the window's events until pred holds or ms passed; pred's last answer.
inline bool WaitUntil(const std::function<bool()>& pred, int ms) {
  QElapsedTimer t;
  t.start();
  while (!pred() && t.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 10);
  return pred();
}

inline void Print(const char* key, const std::string& value) {
  std::printf("%s %s\n", key, value.c_str());
  std::fflush(stdout);
}

// The display's pixels in r (global coordinates).
inline QImage GrabScreen(const QRect& r) {
  return QGuiApplication::primaryScreen()
      ->grabWindow(0, r.x(), r.y(), r.width(), r.height())
      .toImage()
      .convertToFormat(QImage::Format_RGB32);
}

inline void ShootScreen(const QRect& area, const std::string& path) {
  if (!GrabScreen(area).save(QString::fromStdString(path)))
    std::fprintf(stderr, "cannot save %s\n", path.c_str());
}

}  // namespace ov::check
