#include "controls/VolumeSlider.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <cmath>
#include <cstdint>

#include "controls/OffscreenDC.h"
#include "controls/WinConstants.h"
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

void CVolumeSlider::paintEvent(QPaintEvent* event) {
  if (orientation() == Qt::Vertical) m_Vertical = true;
  QPainter painter(this);
  COffscreenDC dc(painter, event->rect());
  const WinRect client{0, 0, width(), height()};
  if (m_Vertical) {
    PaintVertical(dc, client);
  } else {
    PaintHorizontal(dc, client);
  }
}

void CVolumeSlider::PaintHorizontal(CWinPainter& dc, const WinRect& c) {
  dc.FillRect(c, m_FaceColour);
  const int m = (c.right - c.left) / 12;
  const int L = c.left + m;
  const int R = c.right - m;
  const int Wd = R - L;
  const int mid = (c.bottom - c.top) / 2;
  const float f = Fraction();

  dc.FillRect({L - 1, mid - 2, R + 1, mid + 2}, kBlack);
  dc.FillRect({L, mid - 1, R, mid + 1}, kLit);
  const int X = Trunc(static_cast<float>(Wd) * f + static_cast<float>(L));
  dc.FillRect({X, mid - 1, R, mid + 1}, kUnlit);

  const int t = Wd / 12;
  const int left =
      Trunc(static_cast<float>(L) + static_cast<float>(Wd) * f - static_cast<float>(t));
  const int right = Trunc(static_cast<float>(L + t) + static_cast<float>(Wd) * f);
  const int top = mid - Wd / 20;
  const int bottom = mid + Wd / 16;
  m_ThumbRect = {left, top - 1, right - 1, bottom - 1};

  const WinRect& th = m_ThumbRect;
  dc.FillRect(th, kUnlit);
  dc.FillRect({th.left + 1, th.top + 1, th.right - 1, th.bottom - 1}, kThumbBody);

  const int w = th.right - th.left;
  const int h = th.bottom - th.top;
  dc.FillRect({th.left + w / 3 - 1, th.top + h / 4 + 1, th.left + w / 3 + 6, th.bottom - h / 4 - 1},
              m_Tracking ? kLit : m_ShadeColour);
}

void CVolumeSlider::PaintVertical(CWinPainter& dc, const WinRect& c) {
  dc.FillRect(c, m_FaceColour);
  const int m = (c.bottom - c.top) / 12;
  const int T = c.top + m;
  const int B = c.bottom - m;
  const int Hd = B - T;
  const int cx = (c.right - c.left) / 2;

  dc.SelectNullPen();
  dc.SelectBrush(kWedge);
  const QPoint light[3] = {{cx - Hd / 12, T}, {cx, T}, {cx, B}};
  dc.Polygon(light);

  const float f = Fraction();
  const int yf = Trunc(static_cast<float>(T) + static_cast<float>(Hd) * f);
  dc.SelectBrush(m_ShadeColour);
  const int wedgeX =
      Trunc(static_cast<float>(cx) - (1.0f - f) * static_cast<float>(Hd) * 0.16666667f);
  const QPoint level[3] = {{wedgeX, yf}, {cx, yf}, {cx, B}};
  dc.Polygon(level);

  dc.FillRect({cx - 1, T, cx, B}, kGrooveLight);
  dc.FillRect({cx + 1, T, cx + 2, B}, kGrooveDark);
  dc.FillRect({cx, T, cx + 1, B}, kGrey);

  const int t = Hd / 12;
  m_ThumbRect = {cx - t,
                 Trunc(static_cast<float>(T) + static_cast<float>(Hd) * f - static_cast<float>(t)),
                 cx + t, Trunc(static_cast<float>(T + t) + static_cast<float>(Hd) * f)};
  dc.SelectPen(kGrey, 1);
  dc.SelectBrush(m_Tracking ? m_ShadeColour : kThumbBody);
  dc.Ellipse(m_ThumbRect);

  if (m_OverThumb || m_Tracking) {
    const WinRect& th = m_ThumbRect;
    const int w = th.right - th.left;
    const int h = th.bottom - th.top;
    dc.FillRect({th.left + w / 4, th.top + h / 2 - 1, th.right - w / 4, th.top + h / 2 + 1},
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
    emit scrollNotify(m_ControlId, TB_ENDTRACK, value());
  }
  event->accept();
}

void CVolumeSlider::keyPressEvent(QKeyEvent* event) {
  QSlider::keyPressEvent(event);  // moves only the hidden position
  const int code = TrackbarCodeForKey(event->key());
  if (code >= 0) emit scrollNotify(m_ControlId, code, value());
}

void CVolumeSlider::keyReleaseEvent(QKeyEvent* event) {
  QSlider::keyReleaseEvent(event);
  if (!event->isAutoRepeat() && TrackbarCodeForKey(event->key()) >= 0) {
    emit scrollNotify(m_ControlId, TB_ENDTRACK, value());
  }
}

}  // namespace ov
