#include "controls/VolumeSlider.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>
#include <cstdint>

#include "controls/SlideMove.h"
#include "res/SkinPalette.h"

namespace ov {
namespace {

const QColor kBlack(0, 0, 0);
const QColor& kLit = skin::kAccent;
using skin::kUnlit;
const QColor kThumbBody(222, 219, 222);
const QColor kWedge(231, 227, 231);
const QColor kGrooveLight(189, 190, 189);
const QColor kGrooveDark(90, 93, 90);
const QColor kGrey(128, 128, 128);

// Truncation toward zero that stays defined for any level the callers may have stored.
int Trunc(float v) {
  if (std::isnan(v)) return 0;
  if (v <= -2147483648.0f) return INT32_MIN;
  if (v >= 2147483647.0f) return INT32_MAX;
  return static_cast<int>(v);
}

void Fill(QPainter& p, const WinRect& r, const QColor& c) {
  if (!r.IsEmpty()) p.fillRect(r.ToQRect(), c);
}

// A flat triangle, no outline.
void Wedge(QPainter& p, const QPoint (&corners)[3], const QColor& c) {
  p.setPen(Qt::NoPen);
  p.setBrush(c);
  p.drawPolygon(corners, 3);
}

}  // namespace

CVolumeSlider::CVolumeSlider(int controlId, QWidget* parent)
    : QSlider(Qt::Horizontal, parent), m_ControlId(controlId) {
  setMouseTracking(true);  // the thumb reacts to the pointer passing over it
}

CVolumeSlider::~CVolumeSlider() = default;

bool CVolumeSlider::SetLevelRange(int min, int max) {
  m_RangeMax = max;
  m_RangeSpan = static_cast<int>(std::int64_t{max} - min);
  m_RangeMin = min;
  return true;
}

bool CVolumeSlider::SetLevel(int v) {
  if (v > m_RangeSpan) return false;
  m_Level = v;
  update();
  return true;
}

void CVolumeSlider::LevelFromPoint(int x, int y) {
  const int left = 0;
  const int right = m_Vertical ? height() : width();
  const int pos = m_Vertical ? y : x;
  const int w = right - left;
  const int usable = right - (2 * w) / 12 - left;
  // A control narrower than its margins has no groove to measure against.
  if (usable <= 0) return;
  const double r = (pos - w / 12) / static_cast<double>(usable);
  double g = r * m_RangeSpan;
  if (g < 0) g = 0;
  if (g > m_RangeSpan) g = m_RangeSpan;
  const int level = static_cast<int>(g);
  if (level != m_Level) {
    m_Level = level;
    update();
  }
}

float CVolumeSlider::Fraction() const {
  // One more than the span, so the highest level stops one step short of the groove's end.
  const float steps = static_cast<float>(m_RangeSpan) + 1.0f;
  if (steps == 0.0f) return 0.0f;
  return static_cast<float>(m_Level) / steps;
}

void CVolumeSlider::paintEvent(QPaintEvent*) {
  if (orientation() == Qt::Vertical) m_Vertical = true;
  QPainter p(this);
  const WinRect client{0, 0, width(), height()};
  if (m_Vertical) {
    PaintVertical(p, client);
  } else {
    PaintHorizontal(p, client);
  }
}

void CVolumeSlider::PaintHorizontal(QPainter& p, const WinRect& c) {
  Fill(p, c, m_FaceColour);
  const int m = (c.right - c.left) / 12;
  const int L = c.left + m;
  const int R = c.right - m;
  const int Wd = R - L;
  const int mid = (c.bottom - c.top) / 2;
  const float f = Fraction();

  Fill(p, {L - 1, mid - 2, R + 1, mid + 2}, kBlack);
  Fill(p, {L, mid - 1, R, mid + 1}, kLit);
  const int X = Trunc(static_cast<float>(Wd) * f + static_cast<float>(L));
  Fill(p, {X, mid - 1, R, mid + 1}, kUnlit);

  const int t = Wd / 12;
  const int left =
      Trunc(static_cast<float>(L) + static_cast<float>(Wd) * f - static_cast<float>(t));
  const int right = Trunc(static_cast<float>(L + t) + static_cast<float>(Wd) * f);
  const int top = mid - Wd / 20;
  const int bottom = mid + Wd / 16;
  m_ThumbRect = {left, top - 1, right - 1, bottom - 1};

  const WinRect& th = m_ThumbRect;
  Fill(p, th, kUnlit);
  Fill(p, {th.left + 1, th.top + 1, th.right - 1, th.bottom - 1}, kThumbBody);

  const int w = th.right - th.left;
  const int h = th.bottom - th.top;
  Fill(p, {th.left + w / 3 - 1, th.top + h / 4 + 1, th.left + w / 3 + 6, th.bottom - h / 4 - 1},
       m_Tracking ? kLit : m_ShadeColour);
}

void CVolumeSlider::PaintVertical(QPainter& p, const WinRect& c) {
  Fill(p, c, m_FaceColour);
  const int m = (c.bottom - c.top) / 12;
  const int T = c.top + m;
  const int B = c.bottom - m;
  const int Hd = B - T;
  const int cx = (c.right - c.left) / 2;

  Wedge(p, {{cx - Hd / 12, T}, {cx, T}, {cx, B}}, kWedge);
  const float f = Fraction();
  const int yf = Trunc(static_cast<float>(T) + static_cast<float>(Hd) * f);
  const int wedgeX =
      Trunc(static_cast<float>(cx) - (1.0f - f) * static_cast<float>(Hd) * 0.16666667f);
  Wedge(p, {{wedgeX, yf}, {cx, yf}, {cx, B}}, m_ShadeColour);

  Fill(p, {cx - 1, T, cx, B}, kGrooveLight);
  Fill(p, {cx + 1, T, cx + 2, B}, kGrooveDark);
  Fill(p, {cx, T, cx + 1, B}, kGrey);

  const int t = Hd / 12;
  m_ThumbRect = {cx - t,
                 Trunc(static_cast<float>(T) + static_cast<float>(Hd) * f - static_cast<float>(t)),
                 cx + t, Trunc(static_cast<float>(T + t) + static_cast<float>(Hd) * f)};
  const WinRect& th = m_ThumbRect;
  if (th.Width() >= 2 && th.Height() >= 2) {
    // A one-pixel outline inside the thumb's box.
    QPen edge(kGrey);
    edge.setWidth(1);
    edge.setCosmetic(true);
    p.setPen(edge);
    p.setBrush(m_Tracking ? m_ShadeColour : kThumbBody);
    p.drawEllipse(QRect(th.left, th.top, th.Width() - 1, th.Height() - 1));
  }

  if (m_OverThumb || m_Tracking) {
    const int w = th.right - th.left;
    const int h = th.bottom - th.top;
    Fill(p, {th.left + w / 4, th.top + h / 2 - 1, th.right - w / 4, th.top + h / 2 + 1},
         m_Tracking ? kGrey : m_ShadeColour);
  }
}

void CVolumeSlider::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    event->ignore();
    return;
  }
  if (!m_Tracking) {
    m_Tracking = true;
    m_OverThumb = true;
    const QPoint p = event->position().toPoint();
    LevelFromPoint(p.x(), p.y());
    update();  // the grip shows the tracking colour
  }
  event->accept();
}

void CVolumeSlider::mouseMoveEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  if (m_Tracking) LevelFromPoint(p.x(), p.y());
  const bool inside = m_ThumbRect.Contains(p.x(), p.y());
  if (inside != m_OverThumb) {
    m_OverThumb = inside;
    update();
  }
  event->accept();
}

void CVolumeSlider::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    event->ignore();
    return;
  }
  if (m_Tracking) {
    m_Tracking = false;
    const QPoint p = event->position().toPoint();
    LevelFromPoint(p.x(), p.y());
    update();
    // The end of a track, once the level is final.
    emit scrollNotify(m_ControlId, SlideMove::Ended, value());
  }
  event->accept();
}

void CVolumeSlider::keyPressEvent(QKeyEvent* event) {
  QSlider::keyPressEvent(event);  // moves only the hidden position
  if (const auto move = SlideMoveForKey(event->key()))
    emit scrollNotify(m_ControlId, *move, value());
}

void CVolumeSlider::keyReleaseEvent(QKeyEvent* event) {
  QSlider::keyReleaseEvent(event);
  if (!event->isAutoRepeat() && SlideMoveForKey(event->key())) {
    emit scrollNotify(m_ControlId, SlideMove::Ended, value());
  }
}

}  // namespace ov
