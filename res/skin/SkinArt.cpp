#include "res/skin/SkinArt.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <vector>

#include "res/BitmapIds.h"

namespace ov::skin {
namespace {

enum class State { Normal, Pressed, Hover };

const QColor kGlyph{228, 228, 228};
const QColor kEdge{26, 26, 26};

QColor Mix(const QColor& a, const QColor& b, double t) {
  return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * t,
                          a.greenF() + (b.greenF() - a.greenF()) * t,
                          a.blueF() + (b.blueF() - a.blueF()) * t);
}

QImage Blank(int w, int h, const QColor& fill) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(fill);
  return img;
}

// Fills img with the bar strip's rows, starting at strip row firstRow.
void FillWithStrip(QImage& img, int firstRow) {
  QPainter p(&img);
  for (int y = 0; y < img.height(); ++y)
    p.fillRect(0, y, img.width(), 1, StripColour(firstRow + y));
}

// ---- transport row -------------------------------------------------------------------------

enum class Glyph { Play, Pause, Rew, Back, Fwd, FF };

void DrawGlyph(QPainter& p, Glyph g, QPointF c, const QColor& colour) {
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  auto tri = [&](double tipX, double baseX, double halfH) {
    p.drawPolygon(QPolygonF(
        {QPointF(baseX, c.y() - halfH), QPointF(baseX, c.y() + halfH), QPointF(tipX, c.y())}));
  };
  switch (g) {
    case Glyph::Play:
      tri(c.x() + 9, c.x() - 6, 9);
      break;
    case Glyph::Pause:
      p.drawRect(QRectF(c.x() - 6.5, c.y() - 7.5, 4.5, 15));
      p.drawRect(QRectF(c.x() + 2, c.y() - 7.5, 4.5, 15));
      break;
    case Glyph::Rew:
      tri(c.x() - 8, c.x(), 5.5);
      tri(c.x(), c.x() + 8, 5.5);
      break;
    case Glyph::FF:
      tri(c.x() + 8, c.x(), 5.5);
      tri(c.x(), c.x() - 8, 5.5);
      break;
    case Glyph::Back:
      p.drawRect(QRectF(c.x() - 7, c.y() - 6, 2.5, 12));
      tri(c.x() - 4.5, c.x() + 6, 6);
      break;
    case Glyph::Fwd:
      p.drawRect(QRectF(c.x() + 4.5, c.y() - 6, 2.5, 12));
      tri(c.x() + 4.5, c.x() - 6, 6);
      break;
  }
}

QImage TransportButton(int w, Glyph glyph, State state, bool active = false) {
  const int h = 48;
  QImage img = Blank(w, h, Qt::black);
  FillWithStrip(img, 0);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing, true);
  const double radius = (w >= 40) ? 18.5 : 15.0;
  const QPointF c(w / 2.0, h / 2.0);
  const QRectF disc(c.x() - radius, c.y() - radius, 2 * radius, 2 * radius);

  // Soft shadow below the plate.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 0, 70));
  p.drawEllipse(disc.translated(0, 1.5));

  QLinearGradient plate(disc.topLeft(), disc.bottomLeft());
  if (state == State::Pressed) {
    plate.setColorAt(0, QColor(34, 34, 34));
    plate.setColorAt(1, QColor(66, 66, 66));
  } else if (state == State::Hover) {
    plate.setColorAt(0, QColor(112, 112, 112));
    plate.setColorAt(1, QColor(60, 60, 60));
  } else {
    plate.setColorAt(0, QColor(98, 98, 98));
    plate.setColorAt(1, QColor(50, 50, 50));
  }
  const bool ringLit = state != State::Normal || active;
  p.setBrush(plate);
  p.setPen(QPen(ringLit ? kAccent : kEdge, ringLit ? 1.6 : 1.2));
  p.drawEllipse(disc.adjusted(0.8, 0.8, -0.8, -0.8));
  if (state != State::Pressed) {
    // Upper rim highlight.
    p.setPen(QPen(QColor(255, 255, 255, 60), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawArc(disc.adjusted(2.5, 2.5, -2.5, -2.5), 30 * 16, 120 * 16);
  }
  QColor glyphColour = kGlyph;
  if (state == State::Pressed || active) glyphColour = kAccent;
  if (state == State::Hover && !active) glyphColour = QColor(255, 255, 255);
  DrawGlyph(p, glyph, c + QPointF(0, state == State::Pressed ? 1 : 0), glyphColour);
  return img;
}

// ---- small buttons -------------------------------------------------------------------------

// Rounded key on a flat background, for the window and pane-layout buttons.
void DrawKey(QPainter& p, const QRectF& r, bool pressed) {
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(pressed ? QColor(20, 110, 140) : kEdge, 1.0));
  if (pressed) {
    p.setBrush(kAccent);
  } else {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, QColor(92, 92, 92));
    g.setColorAt(1, QColor(62, 62, 62));
    p.setBrush(g);
  }
  p.drawRoundedRect(r, 3, 3);
}

enum class WindowGlyph { Minimize, Maximize, Close };

QImage WindowButton(WindowGlyph glyph, bool pressed) {
  QImage img = Blank(19, 19, kTitleBand);
  QPainter p(&img);
  DrawKey(p, QRectF(0.5, 0.5, 18, 18), pressed);
  const QColor ink = pressed ? QColor(24, 24, 24) : kGlyph;
  p.setRenderHint(QPainter::Antialiasing, false);
  switch (glyph) {
    case WindowGlyph::Minimize:
      p.fillRect(5, 12, 9, 2, ink);
      break;
    case WindowGlyph::Maximize:
      p.fillRect(5, 5, 9, 2, ink);
      p.fillRect(5, 7, 1, 7, ink);
      p.fillRect(13, 7, 1, 7, ink);
      p.fillRect(5, 13, 9, 1, ink);
      break;
    case WindowGlyph::Close: {
      p.setRenderHint(QPainter::Antialiasing, true);
      QPen pen(ink, 2.0, Qt::SolidLine, Qt::SquareCap);
      p.setPen(pen);
      p.drawLine(QPointF(6, 6), QPointF(13, 13));
      p.drawLine(QPointF(13, 6), QPointF(6, 13));
      break;
    }
  }
  return img;
}

QImage PaneButton(int n, bool pressed) {
  QImage img = Blank(19, 19, QColor(255, 255, 255));
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(kEdge, 1.0));
  p.setBrush(pressed ? QColor(30, 30, 30) : kTitleBand);
  p.drawRoundedRect(QRectF(0.5, 0.5, 18, 18), 2.5, 2.5);
  p.setRenderHint(QPainter::Antialiasing, false);
  // Cell widths across the 15-pixel face (x = 2..16), one-pixel gaps.
  std::vector<int> cells;
  switch (n) {
    case 1:
      cells = {15};
      break;
    case 4:
      cells = {7, 7};
      break;
    case 9:
      cells = {4, 5, 4};
      break;
    default:
      cells = {3, 3, 3, 3};
      break;
  }
  const QColor on = pressed ? kAccent : QColor(196, 196, 196);
  int y = 2;
  for (int row : cells) {
    int x = 2;
    for (int col : cells) {
      p.fillRect(x, y, col, row, on);
      x += col + 1;
    }
    y += row + 1;
  }
  return img;
}

QImage Speaker(bool on, bool pressed) {
  QImage img = Blank(14, 15, Qt::black);
  FillWithStrip(img, 17);  // the speaker sits 17 rows into the bar strip
  QPainter p(&img);
  const QColor cone = pressed ? kAccent : (on ? kGlyph : QColor(150, 150, 150));
  p.setRenderHint(QPainter::Antialiasing, false);
  p.fillRect(1, 5, 3, 5, cone);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(Qt::NoPen);
  p.setBrush(cone);
  p.drawPolygon(QPolygonF({QPointF(4, 5), QPointF(8, 1.5), QPointF(8, 13.5), QPointF(4, 10)}));
  if (on) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kAccent, 1.2));
    p.drawArc(QRectF(6.5, 4.5, 4, 6), -60 * 16, 120 * 16);
    p.drawArc(QRectF(6.5, 2, 7, 11), -60 * 16, 120 * 16);
  } else {
    p.setPen(QPen(pressed ? kAccent : kGlyph, 1.4));
    p.drawLine(QPointF(9.5, 5.5), QPointF(13, 9.5));
    p.drawLine(QPointF(13, 5.5), QPointF(9.5, 9.5));
  }
  return img;
}

QFont UiFont(int pixelSize, bool bold) {
  QFont f(QStringLiteral("DejaVu Sans"));
  f.setPixelSize(pixelSize);
  f.setBold(bold);
  f.setHintingPreference(QFont::PreferFullHinting);
  f.setStyleStrategy(QFont::PreferAntialias);
  return f;
}

// Text button on a flat background: dark at rest, accent when pressed.
QImage TextButton(int w, int h, const QColor& background, const QString& text, bool pressed,
                  bool folder) {
  QImage img = Blank(w, h, background);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing, true);
  const QRectF r(0.5, 0.5, w - 1, h - 1);
  p.setPen(QPen(pressed ? QColor(20, 110, 140) : kEdge, 1.0));
  if (pressed) {
    p.setBrush(kAccent);
  } else {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, QColor(96, 96, 96));
    g.setColorAt(1, QColor(52, 52, 52));
    p.setBrush(g);
  }
  p.drawRoundedRect(r, 4, 4);
  const QColor ink = pressed ? QColor(20, 20, 20) : QColor(240, 240, 240);
  QRectF textBox = r;
  if (folder) {
    // Folder icon on the left.
    const QColor body = pressed ? QColor(20, 20, 20) : kAccent;
    p.setRenderHint(QPainter::Antialiasing, false);
    const int fx = 6, fy = (h - 10) / 2;
    p.fillRect(fx, fy, 5, 2, body);
    p.fillRect(fx, fy + 2, 12, 8, body);
    p.fillRect(fx + 1, fy + 4, 10, 1, pressed ? kAccent : QColor(20, 110, 140));
    p.setRenderHint(QPainter::Antialiasing, true);
    textBox.setLeft(fx + 13);
    textBox.setRight(w - 3);
  }
  p.setPen(ink);
  p.setFont(UiFont(folder ? 10 : 11, true));
  p.drawText(textBox, Qt::AlignCenter, text);
  return img;
}

QImage Label(int w, const QString& text) {
  QImage img = Blank(w, 9, kPanel);
  QPainter p(&img);
  p.setRenderHint(QPainter::TextAntialiasing, true);
  QFont f = UiFont(9, false);
  f.setStretch(QFont::SemiCondensed);
  p.setFont(f);
  p.setPen(kAccentText);
  p.drawText(QRect(0, -1, w, 11), Qt::AlignCenter, text);
  return img;
}

// Lens ring with a play mark: the product's picture, at any size.
QImage Logo(int size, const QColor& background, bool plate) {
  QImage img = Blank(size, size, background);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing, true);
  const double s = size;
  if (plate) {
    p.setPen(Qt::NoPen);
    p.setBrush(kTitleBand);
    p.drawRoundedRect(QRectF(0, 0, s, s), s * 0.18, s * 0.18);
  }
  const double ringWidth = std::max(2.0, s / 9.0);
  const double inset = plate ? s * 0.16 : ringWidth / 2 + 0.5;
  const QRectF ring(inset, inset, s - 2 * inset, s - 2 * inset);
  p.setPen(QPen(kAccent, ringWidth));
  p.setBrush(QColor(28, 28, 28));
  p.drawEllipse(ring);
  const QPointF c = ring.center();
  const double k = ring.width() / 2 - ringWidth;
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(240, 240, 240));
  p.drawPolygon(
      QPolygonF({QPointF(c.x() - k * 0.45, c.y() - k * 0.62),
                 QPointF(c.x() - k * 0.45, c.y() + k * 0.62), QPointF(c.x() + k * 0.7, c.y())}));
  return img;
}

// The buttons drawn from one picture family, by bitmap id.
struct TransportArt {
  std::uint32_t id;
  int width;
  Glyph glyph;
  State state;
  bool active;
};
const TransportArt kTransportArt[] = {
    {IDB_PLAY_NORMAL, 43, Glyph::Play, State::Normal, false},
    {IDB_PLAY_PRESSED, 43, Glyph::Play, State::Pressed, false},
    {IDB_PLAY_HOVER, 43, Glyph::Play, State::Hover, false},
    {IDB_PAUSE, 43, Glyph::Pause, State::Normal, true},
    {IDB_REW_NORMAL, 36, Glyph::Rew, State::Normal, false},
    {IDB_REW_PRESSED, 36, Glyph::Rew, State::Pressed, false},
    {IDB_REW_HOVER, 36, Glyph::Rew, State::Hover, false},
    {IDB_BACK_NORMAL, 36, Glyph::Back, State::Normal, false},
    {IDB_BACK_PRESSED, 36, Glyph::Back, State::Pressed, false},
    {IDB_BACK_HOVER, 36, Glyph::Back, State::Hover, false},
    {IDB_FWD_NORMAL, 36, Glyph::Fwd, State::Normal, false},
    {IDB_FWD_PRESSED, 36, Glyph::Fwd, State::Pressed, false},
    {IDB_FWD_HOVER, 36, Glyph::Fwd, State::Hover, false},
    {IDB_FF_NORMAL, 36, Glyph::FF, State::Normal, false},
    {IDB_FF_PRESSED, 36, Glyph::FF, State::Pressed, false},
    {IDB_FF_HOVER, 36, Glyph::FF, State::Hover, false},
};

struct PaneArt {
  std::uint32_t id;
  int panes;
  bool pressed;
};
const PaneArt kPaneArt[] = {
    {IDB_CH1_NORMAL, 1, false},   {IDB_CH1_PRESSED, 1, true},   {IDB_CH4_NORMAL, 4, false},
    {IDB_CH4_PRESSED, 4, true},   {IDB_CH9_NORMAL, 9, false},   {IDB_CH9_PRESSED, 9, true},
    {IDB_CH16_NORMAL, 16, false}, {IDB_CH16_PRESSED, 16, true},
};

struct WindowArt {
  std::uint32_t id;
  WindowGlyph glyph;
  bool pressed;
};
const WindowArt kWindowArt[] = {
    {IDB_CLOSE_NORMAL, WindowGlyph::Close, false},
    {IDB_CLOSE_PRESSED, WindowGlyph::Close, true},
    {IDB_MAXIMIZE_NORMAL, WindowGlyph::Maximize, false},
    {IDB_MAXIMIZE_PRESSED, WindowGlyph::Maximize, true},
    {IDB_MINIMIZE_NORMAL, WindowGlyph::Minimize, false},
    {IDB_MINIMIZE_PRESSED, WindowGlyph::Minimize, true},
};

}  // namespace

QColor StripColour(int y) {
  y = std::clamp(y, 0, 47);
  if (y == 0) return QColor(122, 122, 122);
  if (y == 47) return QColor(30, 30, 30);
  return Mix(QColor(86, 86, 86), QColor(40, 40, 40), (y - 1) / 45.0);
}

QImage DrawSkinBitmap(std::uint32_t id) {
  for (const auto& a : kTransportArt)
    if (a.id == id) return TransportButton(a.width, a.glyph, a.state, a.active);
  for (const auto& a : kPaneArt)
    if (a.id == id) return PaneButton(a.panes, a.pressed);
  for (const auto& a : kWindowArt)
    if (a.id == id) return WindowButton(a.glyph, a.pressed);
  switch (id) {
    case IDB_FILEOPEN_NORMAL:
      return TextButton(53, 22, kLowerBand, QStringLiteral("Open"), false, true);
    case IDB_FILEOPEN_PRESSED:
      return TextButton(53, 22, kLowerBand, QStringLiteral("Open"), true, true);
    case IDB_SPEAKER_ON_NORMAL:
      return Speaker(true, false);
    case IDB_SPEAKER_ON_PRESSED:
      return Speaker(true, true);
    case IDB_SPEAKER_OFF_NORMAL:
      return Speaker(false, false);
    case IDB_SPEAKER_OFF_PRESSED:
      return Speaker(false, true);
    case IDB_LABEL_TIMELINE:
      return Label(45, QStringLiteral("TimeLine"));
    case IDB_LABEL_FILENAME:
      return Label(47, QStringLiteral("FileName"));
    case IDB_BAR_STRIP: {
      QImage img = Blank(2, 48, Qt::black);
      FillWithStrip(img, 0);
      return img;
    }
    case IDB_ABOUT_OK_NORMAL:
      return TextButton(70, 23, QColor(255, 255, 255), QStringLiteral("OK"), false, false);
    case IDB_ABOUT_OK_PRESSED:
      return TextButton(70, 23, QColor(255, 255, 255), QStringLiteral("OK"), true, false);
    case IDB_LOGO_SMALL:
      return Logo(18, kTitleBand, false);
    case IDB_ABOUT_PICTURE:
      return Logo(32, QColor(255, 255, 255), true);
    default:
      return QImage();
  }
}

}  // namespace ov::skin
