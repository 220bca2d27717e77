#pragma once

#include <QApplication>
#include <QColor>
#include <QImage>
#include <QWidget>
#include <vector>

#include "controls/SlideMove.h"

namespace ov::test {

inline QImage Solid(int w, int h, const QColor& c) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(c);
  return img;
}

// The widget as it paints itself, one image pixel per widget pixel.
inline QImage Grab(QWidget& w) { return w.grab().toImage().convertToFormat(QImage::Format_RGB32); }

inline QColor At(const QImage& img, int x, int y) { return QColor(img.pixel(x, y)); }

// Runs posted calls and events.
inline void Pump() {
  for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

struct Notice {
  int id;
  SlideMove move;
  int pos;
  bool operator==(const Notice&) const = default;
};

}  // namespace ov::test
