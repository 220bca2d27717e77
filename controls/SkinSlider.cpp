#include "controls/SkinSlider.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QThread>
#include <QWheelEvent>
#include <algorithm>
#include <cstdint>

#include "controls/SlideMove.h"
#include "res/SkinPalette.h"

namespace ov {
namespace {

// Thumb and channel proportions of a trackbar with thumbs pointing both ways.
constexpr int kEdgeGap = 2;            // between the control's edge and the thumb's far sides
constexpr int kChannelHalfHeight = 2;  // the channel is 4 pixels thick

int ThumbWidthFor(int across) { return std::max(5, across * 11 / 20); }

// Swaps x and y for a vertical slider, whose geometry is computed as if it lay horizontally.
WinRect Transposed(const WinRect& r) { return {r.top, r.left, r.bottom, r.right}; }

// A filled rectangle with a one-pixel edge inside r.
void EdgedRect(QPainter& p, const WinRect& r, const QColor& edge, const QColor& fill) {
  if (r.IsEmpty()) return;
  p.fillRect(r.ToQRect(), edge);
  const WinRect inside{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
  if (!inside.IsEmpty()) p.fillRect(inside.ToQRect(), fill);
}

}  // namespace

CSkinSlider::CSkinSlider(int controlId, QWidget* parent)
    : QSlider(Qt::Horizontal, parent), m_ControlId(controlId) {
  QPalette pal = palette();
  pal.setColor(QPalette::Window, skin::kTitleBand);
  setPalette(pal);
}

CSkinSlider::~CSkinSlider() = default;

WinRect CSkinSlider::ChannelRect() const {
  const bool vertical = orientation() == Qt::Vertical;
  const int along = vertical ? height() : width();
  const int across = vertical ? width() : height();
  const int half = ThumbWidthFor(across) / 2;
  const int left = kEdgeGap + half;
  const int right = std::max(left, along - kEdgeGap - half);
  // Always in along-the-axis terms: left and right run along the slider, also when vertical.
  return {left, across / 2 - kChannelHalfHeight, right, across / 2 + kChannelHalfHeight};
}

WinRect CSkinSlider::ThumbRect() const {
  const bool vertical = orientation() == Qt::Vertical;
  const int across = vertical ? width() : height();
  const int thumbWidth = ThumbWidthFor(across);
  const WinRect ch = ChannelRect();
  const std::int64_t span = std::int64_t{maximum()} - minimum();
  std::int64_t centre = ch.left;
  if (span > 0) centre += (std::int64_t{value()} - minimum()) * ch.Width() / span;
  const int left = static_cast<int>(centre) - thumbWidth / 2;
  return {left, kEdgeGap, left + thumbWidth, across - kEdgeGap};
}

bool CSkinSlider::SetPosFromPoint(QPoint p) {
  const WinRect ch = ChannelRect();
  const int width = ch.right - ch.left;
  if (width == 0) return false;  // nothing to measure against
  const int along = orientation() == Qt::Vertical ? p.y() : p.x();
  const double min = minimum();
  const double max = maximum();
  const double r = (along - ch.left) / static_cast<double>(width);
  // min + r * (max - min) + 0.5: each step owns the half step on both sides of its place.
  const double raw = (1 - r) * 0.5 - r * 0.5 + r * (max - min + 1) + min;
  // Far outside the channel the value may not fit an int; QSlider limits it to the range anyway.
  const int v = static_cast<int>(std::clamp(raw, -2147483648.0, 2147483647.0));
  if (v == value()) return false;
  setValue(v);
  return true;
}

void CSkinSlider::NotifyParent(SlideMove move) {
  if (!parentWidget()) return;
  const int pos = value();
  QMetaObject::invokeMethod(
      this, [this, move, pos] { emit scrollNotify(m_ControlId, move, pos); }, Qt::QueuedConnection);
}

void CSkinSlider::PostSetPos(int pos) {
  if (QThread::currentThread() != thread()) {
    QMetaObject::invokeMethod(
        this, [this, pos] { setValue(pos); }, Qt::QueuedConnection);
    return;
  }
  setValue(pos);
}

void CSkinSlider::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    event->ignore();
    return;
  }
  m_ButtonUp = 0;
  m_MovedInDrag = false;
  m_Dragging = true;
  setFocus(Qt::MouseFocusReason);
  if (SetPosFromPoint(event->position().toPoint())) {
    m_MovedInDrag = true;
    NotifyParent(SlideMove::ThumbDragged);
  }
  update();  // the thumb looks different while dragged
  event->accept();
}

void CSkinSlider::mouseMoveEvent(QMouseEvent* event) {
  if (!m_Dragging) {
    QSlider::mouseMoveEvent(event);
    return;
  }
  if (SetPosFromPoint(event->position().toPoint())) {
    m_MovedInDrag = true;
    NotifyParent(SlideMove::ThumbDragged);
  }
}

void CSkinSlider::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    event->ignore();
    return;
  }
  m_ButtonUp = 1;
  if (!m_Dragging) {
    QSlider::mouseReleaseEvent(event);
    return;
  }
  m_Dragging = false;
  if (SetPosFromPoint(event->position().toPoint())) {
    NotifyParent(SlideMove::Ended);
    m_MovedInDrag = true;
  }
  if (m_MovedInDrag) {
    NotifyParent(SlideMove::ThumbReleased);
    m_MovedInDrag = false;
  }
  update();
}

void CSkinSlider::keyPressEvent(QKeyEvent* event) {
  QSlider::keyPressEvent(event);
  if (const auto move = SlideMoveForKey(event->key())) NotifyParent(*move);
}

void CSkinSlider::keyReleaseEvent(QKeyEvent* event) {
  QSlider::keyReleaseEvent(event);
  if (!event->isAutoRepeat() && SlideMoveForKey(event->key())) NotifyParent(SlideMove::Ended);
}

void CSkinSlider::wheelEvent(QWheelEvent* event) { event->ignore(); }

void CSkinSlider::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const bool vertical = orientation() == Qt::Vertical;
  auto place = [vertical](const WinRect& r) { return vertical ? Transposed(r) : r; };
  p.fillRect(rect(), palette().color(QPalette::Window));

  // Channel: dark edge, grey until a file is open, then the track colour.
  EdgedRect(p, place(ChannelRect()), Qt::black, m_TrackFilled ? m_TrackColour : skin::kUnlit);
  // A dragged thumb is drawn lighter.
  EdgedRect(p, place(ThumbRect()), m_ThumbEdgeColour, m_Dragging ? m_DragColour : m_ThumbColour);
}

}  // namespace ov
