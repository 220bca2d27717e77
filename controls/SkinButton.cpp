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

int CSkinButton::KindFromStyle(std::uint32_t style) {
  const std::uint32_t low = style & 0xFFu;
  if ((low & 3u) == 3u) return KIND_CHECK;
  if ((low & 9u) == 9u) return KIND_RADIO;
  return KIND_PUSH;
}

void CSkinButton::Attach(std::uint32_t style) { m_Kind = KindFromStyle(style); }

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
  m_CheckOn = check != 0 && m_Kind != KIND_PUSH;
  if (m_Kind == KIND_RADIO && check != 0) ReleaseRadioGroup();
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
  if (m_Kind == KIND_CHECK) {
    SetCheck(m_CheckOn ? 0 : 1);
  } else if (m_Kind == KIND_RADIO) {
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

void CSkinButton::TileBitmap(CWinPainter& dc, const QImage& bitmap, const WinRect& rc) {
  if (bitmap.isNull()) return;
  const int bw = bitmap.width();
  const int bh = bitmap.height();
  for (int y = rc.top; y < rc.bottom; y += bh) {
    const int th = std::min(bh, rc.bottom - y);
    for (int x = rc.left; x < rc.right; x += bw) {
      const int tw = std::min(bw, rc.right - x);
      dc.BitBlt(x, y, tw, th, bitmap, 0, 0, Rop::SrcCopy);
    }
  }
}

void CSkinButton::PaintStateBitmap(CWinPainter& dc, const QImage& bitmap, const WinRect& rc,
                                   int fitMode) const {
  if (fitMode == FIT_TILE) {
    TileBitmap(dc, bitmap, rc);
    return;
  }
  if (bitmap.isNull()) return;
  const int w = rc.Width();
  const int h = rc.Height();
  const bool natural = fitMode == FIT_NATURAL;
  if (m_bmpMask.isNull()) {
    if (natural) {
      dc.BitBlt(rc.left, rc.top, w, h, bitmap, 0, 0, Rop::SrcCopy);
    } else {
      dc.StretchBlt(rc.left, rc.top, w, h, bitmap, 0, 0, bitmap.width(), bitmap.height(),
                    Rop::SrcCopy);
    }
    return;
  }
  // dst ^ src, & mask, ^ src: where the mask is white the background survives, where it is
  // black the picture shows. The paint surface is already buffered, so no extra copy is needed.
  const Rop ops[3] = {Rop::SrcInvert, Rop::SrcAnd, Rop::SrcInvert};
  for (int i = 0; i < 3; ++i) {
    const QImage& src = i == 1 ? m_bmpMask : bitmap;
    if (natural) {
      dc.BitBlt(rc.left, rc.top, w, h, src, 0, 0, ops[i]);
    } else {
      dc.StretchBlt(rc.left, rc.top, w, h, src, 0, 0, bitmap.width(), bitmap.height(), ops[i]);
    }
  }
}

void CSkinButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  CWinPainter dc(&painter);
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
      dc.FillRect(rc, palette().color(QPalette::Button));
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
  PaintStateBitmap(dc, *chosen, rc, m_FitMode);
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
  if (m_Kind != KIND_PUSH && hitButton(event->position().toPoint())) {
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
  if (event->key() == Qt::Key_Space && !event->isAutoRepeat() && m_Kind != KIND_PUSH) {
    ChangeCheckFromClick();
  }
  QPushButton::keyPressEvent(event);
}

}  // namespace ov
