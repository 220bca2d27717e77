#include "controls/SkinButton.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QThread>
#include <algorithm>
#include <vector>

#include "res/SkinResources.h"

namespace ov {
namespace {

// Pairwise union keeps building a region from many single-row runs close to n log n.
QRegion UnionOf(std::vector<QRegion>& parts) {
  if (parts.empty()) return QRegion();
  while (parts.size() > 1) {
    std::vector<QRegion> next;
    next.reserve((parts.size() + 1) / 2);
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) next.push_back(parts[i] + parts[i + 1]);
    if (parts.size() % 2 == 1) next.push_back(parts.back());
    parts.swap(next);
  }
  return parts.front();
}

}  // namespace

CSkinButton::CSkinButton(int controlId, QWidget* parent)
    : QPushButton(parent), m_ControlId(controlId) {
  setMouseTracking(true);  // hover needs moves without a pressed button
  connect(this, &QAbstractButton::clicked, this, [this] { emit command(m_ControlId); });
}

CSkinButton::~CSkinButton() = default;

void CSkinButton::SetBitmapLoader(BitmapLoader loader) { m_Loader = std::move(loader); }

QImage CSkinButton::Load(std::uint32_t id) const {
  if ((id & 0xFFFFu) == 0) return QImage();
  QImage img = m_Loader ? m_Loader(id) : LoadBitmapResource(id);
  if (img.isNull() || img.format() == QImage::Format_RGB32) return img;
  return img.convertToFormat(QImage::Format_RGB32);
}

void CSkinButton::SetBitmaps(std::uint32_t normal, std::uint32_t pressed, std::uint32_t hover,
                             std::uint32_t checkOn, std::uint32_t disabled, std::uint32_t focus,
                             std::uint32_t mask, int fitMode, int frameWidth, int captionInset) {
  if (QThread::currentThread() != thread()) {
    // Pictures are swapped only on the window thread, between two paints.
    QMetaObject::invokeMethod(
        this,
        [=, this] {
          SetBitmapsHere(normal, pressed, hover, checkOn, disabled, focus, mask, fitMode,
                         frameWidth, captionInset);
        },
        Qt::QueuedConnection);
    return;
  }
  SetBitmapsHere(normal, pressed, hover, checkOn, disabled, focus, mask, fitMode, frameWidth,
                 captionInset);
}

void CSkinButton::SetBitmapsHere(std::uint32_t normal, std::uint32_t pressed, std::uint32_t hover,
                                 std::uint32_t checkOn, std::uint32_t disabled, std::uint32_t focus,
                                 std::uint32_t mask, int fitMode, int frameWidth,
                                 int captionInset) {
  m_bmpNormal = QImage();
  m_bmpPressed = QImage();
  m_bmpHover = QImage();
  m_bmpDisabled = QImage();
  m_bmpMask = QImage();
  m_bmpFocus = QImage();
  m_bmpCheckOn = QImage();

  m_bmpNormal = Load(normal);
  m_bmpPressed = Load(pressed);
  m_bmpHover = Load(hover);
  m_bmpCheckOn = Load(checkOn);
  m_bmpDisabled = Load(disabled);
  m_bmpFocus = Load(focus);

  // The last three values are 16-bit quantities passed in wider slots.
  const auto fit = static_cast<std::int16_t>(fitMode);
  if (fit >= FIT_TILE) {
    m_FitMode = FIT_TILE;
  } else {
    m_FitMode = fit < 0 ? static_cast<std::int16_t>(FIT_NATURAL) : fit;
  }
  m_FrameWidth = static_cast<std::int16_t>(frameWidth);
  const auto inset = static_cast<std::int16_t>(captionInset);
  m_CaptionInset = inset < 0 ? 0 : inset;

  if ((mask & 0xFFFFu) != 0) {
    m_bmpMask = Load(mask);
    const QRegion region = BuildRegionFromMask(m_bmpMask, 0xFFFFFF);
    if (!region.isEmpty()) {
      m_ShapeRegion = region;
      setMask(region);
    }
    // Only a mask that loaded has a size to take.
    if (m_FitMode == FIT_NATURAL && !m_bmpMask.isNull()) resize(m_bmpMask.size());
    // Tiled pictures cover the whole button; only the outline follows the mask.
    if (m_FitMode != FIT_TILE && !m_bmpMask.isNull()) {
      for (QImage* picture :
           {&m_bmpNormal, &m_bmpPressed, &m_bmpHover, &m_bmpCheckOn, &m_bmpDisabled, &m_bmpFocus}) {
        if (!picture->isNull()) *picture = WithMaskAlpha(*picture, m_bmpMask);
      }
    }
  }
}

void CSkinButton::Invalidate() {
  if (QThread::currentThread() != thread()) {
    QMetaObject::invokeMethod(
        this, [this] { update(); }, Qt::QueuedConnection);
    return;
  }
  update();
}

void CSkinButton::Repaint() { update(); }

void CSkinButton::SetCheck(int check) {
  m_CheckOn = check != 0 && m_Kind != Kind::Push;
  if (m_Kind == Kind::Radio && check != 0) ReleaseRadioGroup();
  Repaint();
}

void CSkinButton::ReleaseRadioGroup() {
  QWidget* parent = parentWidget();
  if (!parent) return;
  const QList<CSkinButton*> buttons =
      parent->findChildren<CSkinButton*>(Qt::FindDirectChildrenOnly);
  const qsizetype self = buttons.indexOf(this);
  if (self < 0) return;
  // Walk the group from the button after this one round to the one before it.
  for (qsizetype step = 1; step < buttons.size(); ++step) {
    CSkinButton* other = buttons[(self + step) % buttons.size()];
    if (other->m_RadioGroup != m_RadioGroup) continue;
    QMetaObject::invokeMethod(other, &CSkinButton::OnSkinButtonRelease, Qt::QueuedConnection);
  }
}

void CSkinButton::OnSkinButtonRelease() {
  if (!m_CheckOn) return;
  m_CheckOn = false;
  Repaint();
}

void CSkinButton::ChangeCheckFromClick() {
  if (m_Kind == Kind::Check) {
    SetCheck(m_CheckOn ? 0 : 1);
  } else if (m_Kind == Kind::Radio) {
    SetCheck(1);
  }
}

CSkinButton::Drawn CSkinButton::ChooseDrawn(const ItemState& state, bool checkOn,
                                            bool pointerInside, const Loaded& loaded) {
  if (state.disabled) {
    if (loaded.disabled) return Drawn::Disabled;
    return loaded.normal ? Drawn::Normal : Drawn::Face;
  }
  if (state.selected || checkOn) {
    if (checkOn && loaded.checkOn) return Drawn::CheckOn;
    return loaded.pressed ? Drawn::Pressed : Drawn::Face;
  }
  if (!loaded.normal) return Drawn::Face;
  if (pointerInside && loaded.hover) return Drawn::Hover;
  if (state.focus && loaded.focus) return Drawn::Focus;
  if (state.checked && loaded.focus) return Drawn::Focus;
  return Drawn::Normal;
}

QRegion CSkinButton::BuildRegionFromMask(const QImage& mask, QRgb key) {
  if (mask.isNull()) return QRegion();
  const QImage img =
      mask.format() == QImage::Format_RGB32 ? mask : mask.convertToFormat(QImage::Format_RGB32);
  const int w = img.width();
  const int h = img.height();
  const QRgb keyRgb = key & 0xFFFFFFu;
  std::vector<QRegion> rows;
  std::vector<QRect> runs;
  for (int y = h - 1; y >= 0; --y) {
    const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
    runs.clear();
    int start = -1;
    for (int x = 0; x < w; ++x) {
      const bool opaque = (line[x] & 0xFFFFFFu) != keyRgb;
      if (opaque && start < 0) {
        start = x;
      } else if (!opaque && start >= 0) {
        runs.emplace_back(start, y, x - start, 1);
        start = -1;
      }
    }
    if (start >= 0) runs.emplace_back(start, y, w - start, 1);
    if (runs.empty()) continue;
    // One row's runs are sorted and never touch, which is what setRects asks for.
    QRegion row;
    row.setRects(runs.data(), static_cast<int>(runs.size()));
    rows.push_back(row);
  }
  return UnionOf(rows);
}

QImage CSkinButton::WithMaskAlpha(const QImage& picture, const QImage& mask) {
  if (picture.isNull() || mask.isNull()) return picture;
  QImage out = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  const QImage key = mask.convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < out.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
    const auto* keyLine =
        y < key.height() ? reinterpret_cast<const QRgb*>(key.constScanLine(y)) : nullptr;
    for (int x = 0; x < out.width(); ++x) {
      const bool opaque =
          keyLine != nullptr && x < key.width() && (keyLine[x] & 0xFFFFFFu) != 0xFFFFFFu;
      if (!opaque) line[x] = 0;
    }
  }
  return out;
}

void CSkinButton::TileBitmap(QPainter& p, const QImage& bitmap, const WinRect& rc) {
  if (bitmap.isNull()) return;
  const int bw = bitmap.width();
  const int bh = bitmap.height();
  for (int y = rc.top; y < rc.bottom; y += bh) {
    const int th = std::min(bh, rc.bottom - y);
    for (int x = rc.left; x < rc.right; x += bw) {
      const int tw = std::min(bw, rc.right - x);
      p.drawImage(QPoint(x, y), bitmap, QRect(0, 0, tw, th));
    }
  }
}

void CSkinButton::PaintStateBitmap(QPainter& p, const QImage& bitmap, const WinRect& rc,
                                   int fitMode) {
  if (fitMode == FIT_TILE) {
    TileBitmap(p, bitmap, rc);
    return;
  }
  if (bitmap.isNull() || rc.IsEmpty()) return;
  if (fitMode == FIT_NATURAL) {
    p.drawImage(QPoint(rc.left, rc.top), bitmap,
                QRect(0, 0, rc.Width(), rc.Height()).intersected(bitmap.rect()));
  } else {
    // Nearest pixel, so the skin's hard edges stay hard.
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p.drawImage(rc.ToQRect(), bitmap);
  }
}

void CSkinButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const WinRect rc{0, 0, width(), height()};
  ItemState state;
  state.disabled = !isEnabled();
  state.selected = isDown();
  state.focus = hasFocus();
  Loaded loaded;
  loaded.normal = !m_bmpNormal.isNull();
  loaded.pressed = !m_bmpPressed.isNull();
  loaded.hover = !m_bmpHover.isNull();
  loaded.focus = !m_bmpFocus.isNull();
  loaded.disabled = !m_bmpDisabled.isNull();
  loaded.checkOn = !m_bmpCheckOn.isNull();
  const QImage* chosen = nullptr;
  switch (ChooseDrawn(state, m_CheckOn, m_PointerInside, loaded)) {
    case Drawn::Face:
      painter.fillRect(rect(), palette().color(QPalette::Button));
      return;
    case Drawn::Normal:
      chosen = &m_bmpNormal;
      break;
    case Drawn::Pressed:
      chosen = &m_bmpPressed;
      break;
    case Drawn::Hover:
      chosen = &m_bmpHover;
      break;
    case Drawn::Focus:
      chosen = &m_bmpFocus;
      break;
    case Drawn::Disabled:
      chosen = &m_bmpDisabled;
      break;
    case Drawn::CheckOn:
      chosen = &m_bmpCheckOn;
      break;
  }
  PaintStateBitmap(painter, *chosen, rc, m_FitMode);
}

bool CSkinButton::hitButton(const QPoint& pos) const {
  const QRegion shape = mask();
  return shape.isEmpty() ? rect().contains(pos) : shape.contains(pos);
}

void CSkinButton::mouseMoveEvent(QMouseEvent* event) {
  const bool captured = m_Pressing && (event->buttons() & Qt::LeftButton);
  if (!captured) {
    if (!m_PointerInside && hitButton(event->position().toPoint())) {
      m_PointerInside = true;
      Repaint();
    }
  } else {
    // Follow the pointer: pushed look only while it is over the button.
    const bool over = hitButton(event->position().toPoint());
    if (over != isDown()) {
      setDown(over);
      Repaint();
    }
  }
  QPushButton::mouseMoveEvent(event);
}

void CSkinButton::leaveEvent(QEvent* event) {
  m_PointerInside = false;
  Repaint();
  QPushButton::leaveEvent(event);
}

void CSkinButton::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QPushButton::mousePressEvent(event);
    return;
  }
  m_PointerInside = false;  // no hover look while the button is held
  QPushButton::mousePressEvent(event);
  m_Pressing = event->isAccepted();
}

void CSkinButton::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QPushButton::mouseReleaseEvent(event);
    return;
  }
  // Before the click is reported, so its handler reads the new check state.
  if (m_Kind != Kind::Push && hitButton(event->position().toPoint())) {
    ChangeCheckFromClick();
  }
  m_Pressing = false;
  QPushButton::mouseReleaseEvent(event);
}

void CSkinButton::mouseDoubleClickEvent(QMouseEvent* event) {
  // A double click is one more press, so the second click is reported too.
  mousePressEvent(event);
}

void CSkinButton::focusOutEvent(QFocusEvent* event) {
  if (m_Pressing) {
    if (mouseGrabber() == this) releaseMouse();
    m_Pressing = false;
  }
  QPushButton::focusOutEvent(event);
}

void CSkinButton::keyPressEvent(QKeyEvent* event) {
  // Held keys repeat; only the first press toggles.
  if (event->key() == Qt::Key_Space && !event->isAutoRepeat() && m_Kind != Kind::Push) {
    ChangeCheckFromClick();
  }
  QPushButton::keyPressEvent(event);
}

}  // namespace ov
