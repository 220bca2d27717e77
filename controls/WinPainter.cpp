#include "controls/WinPainter.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygon>
#include <algorithm>
#include <cstdlib>

namespace ov {
namespace {

QPainter::CompositionMode ModeFor(Rop rop) {
  switch (rop) {
    case Rop::SrcInvert:
      return QPainter::RasterOp_SourceXorDestination;
    case Rop::SrcAnd:
      return QPainter::RasterOp_SourceAndDestination;
    case Rop::SrcPaint:
      return QPainter::RasterOp_SourceOrDestination;
    case Rop::SrcCopy:
      break;
  }
  return QPainter::CompositionMode_Source;
}

// Raster operations act on all four bytes; pictures are forced opaque so the result is too.
QImage Opaque(const QImage& src) {
  if (src.format() == QImage::Format_RGB32) return src;
  return src.convertToFormat(QImage::Format_RGB32);
}

}  // namespace

CWinPainter::CWinPainter(QPainter* painter) : m_pPainter(painter) {}

CWinPainter::~CWinPainter() = default;

void CWinPainter::SelectPen(const QColor& colour, int width) {
  m_State.hasPen = true;
  m_State.penColour = colour;
  m_State.penWidth = std::max(1, width);
}

void CWinPainter::SelectNullPen() { m_State.hasPen = false; }

void CWinPainter::SelectBrush(const QColor& colour) {
  m_State.hasBrush = true;
  m_State.brushColour = colour;
}

int CWinPainter::SaveDC() {
  m_Saved.push_back(m_State);
  if (m_pPainter) m_pPainter->save();
  return static_cast<int>(m_Saved.size());
}

void CWinPainter::RestoreDC(int saved) {
  if (m_Saved.empty()) return;
  const std::size_t target = saved < 0 ? m_Saved.size() - 1 : static_cast<std::size_t>(saved - 1);
  if (target >= m_Saved.size()) return;
  while (m_Saved.size() > target) {
    m_State = m_Saved.back();
    m_Saved.pop_back();
    if (m_pPainter) m_pPainter->restore();
  }
}

void CWinPainter::ApplyPenAndBrush(bool pen, bool brush) {
  m_pPainter->setRenderHint(QPainter::Antialiasing, false);
  m_pPainter->setCompositionMode(QPainter::CompositionMode_SourceOver);
  if (pen && m_State.hasPen) {
    QPen p(m_State.penColour);
    p.setWidth(1);
    p.setCosmetic(true);
    m_pPainter->setPen(p);
  } else {
    m_pPainter->setPen(Qt::NoPen);
  }
  if (brush && m_State.hasBrush) {
    m_pPainter->setBrush(m_State.brushColour);
  } else {
    m_pPainter->setBrush(Qt::NoBrush);
  }
}

void CWinPainter::FillRect(const WinRect& r, const QColor& colour) {
  if (!m_pPainter || r.IsEmpty()) return;
  m_pPainter->setCompositionMode(QPainter::CompositionMode_SourceOver);
  m_pPainter->fillRect(r.ToQRect(), colour);
}

void CWinPainter::Rectangle(const WinRect& r) {
  if (!m_pPainter) return;
  if (!m_State.hasPen) {
    // Without an outline the filled area ends where the outline's inner edge would have been.
    if (m_State.hasBrush) FillRect({r.left, r.top, r.right - 1, r.bottom - 1}, m_State.brushColour);
    return;
  }
  if (r.IsEmpty()) return;
  const int pw = std::min({m_State.penWidth, (r.Width() + 1) / 2, (r.Height() + 1) / 2});
  if (m_State.hasBrush) {
    FillRect({r.left + pw, r.top + pw, r.right - pw, r.bottom - pw}, m_State.brushColour);
  }
  const QColor c = m_State.penColour;
  FillRect({r.left, r.top, r.right, r.top + pw}, c);
  FillRect({r.left, r.bottom - pw, r.right, r.bottom}, c);
  FillRect({r.left, r.top + pw, r.left + pw, r.bottom - pw}, c);
  FillRect({r.right - pw, r.top + pw, r.right, r.bottom - pw}, c);
}

void CWinPainter::RoundRect(const WinRect& r, int ellipseWidth, int ellipseHeight) {
  if (!m_pPainter || r.Width() < 2 || r.Height() < 2) return;
  ApplyPenAndBrush(true, true);
  const int inset = m_State.hasPen ? 0 : 1;
  const QRectF box(r.left, r.top, r.Width() - 1 - inset, r.Height() - 1 - inset);
  m_pPainter->drawRoundedRect(box, ellipseWidth / 2.0, ellipseHeight / 2.0);
}

void CWinPainter::Ellipse(const WinRect& r) {
  if (!m_pPainter || r.Width() < 2 || r.Height() < 2) return;
  ApplyPenAndBrush(true, true);
  const int inset = m_State.hasPen ? 0 : 1;
  m_pPainter->drawEllipse(QRect(r.left, r.top, r.Width() - 1 - inset, r.Height() - 1 - inset));
}

void CWinPainter::Polygon(std::span<const QPoint> points) {
  if (!m_pPainter || points.size() < 2) return;
  ApplyPenAndBrush(true, true);
  m_pPainter->drawPolygon(points.data(), static_cast<int>(points.size()));
}

void CWinPainter::LineTo(int x, int y) {
  const QPoint from = m_State.pos;
  m_State.pos = QPoint(x, y);
  if (!m_pPainter || !m_State.hasPen || from == m_State.pos) return;
  const QColor c = m_State.penColour;
  const int w = m_State.penWidth;
  const int lo = w / 2;  // a wide pen is centred on the line, the extra pixel going up/left
  if (from.y() == y) {
    const int x0 = std::min(from.x(), x + (x < from.x() ? 1 : 0));
    const int x1 = std::max(from.x() + 1, x + (x < from.x() ? 1 : 0));
    FillRect({x0, y - lo, x1, y - lo + w}, c);
    return;
  }
  if (from.x() == x) {
    const int y0 = std::min(from.y(), y + (y < from.y() ? 1 : 0));
    const int y1 = std::max(from.y() + 1, y + (y < from.y() ? 1 : 0));
    FillRect({x - lo, y0, x - lo + w, y1}, c);
    return;
  }
  // Bresenham, stopping short of the end point.
  int x0 = from.x(), y0 = from.y();
  const int dx = std::abs(x - x0), dy = -std::abs(y - y0);
  const int sx = x0 < x ? 1 : -1, sy = y0 < y ? 1 : -1;
  int err = dx + dy;
  while (x0 != x || y0 != y) {
    FillRect({x0 - lo, y0 - lo, x0 - lo + w, y0 - lo + w}, c);
    const int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x0 += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y0 += sy;
    }
  }
}

void CWinPainter::BitBlt(int x, int y, int w, int h, const QImage& src, int sx, int sy, Rop rop) {
  if (!m_pPainter || src.isNull() || w <= 0 || h <= 0) return;
  QRect from(sx, sy, w, h);
  const QRect clipped = from.intersected(src.rect());
  if (clipped.isEmpty()) return;
  const QPoint to(x + clipped.x() - sx, y + clipped.y() - sy);
  m_pPainter->save();
  m_pPainter->setCompositionMode(ModeFor(rop));
  m_pPainter->drawImage(to, Opaque(src), clipped);
  m_pPainter->restore();
}

void CWinPainter::StretchBlt(int x, int y, int w, int h, const QImage& src, int sx, int sy, int sw,
                             int sh, Rop rop) {
  if (!m_pPainter || src.isNull() || w <= 0 || h <= 0 || sw <= 0 || sh <= 0) return;
  m_pPainter->save();
  m_pPainter->setRenderHint(QPainter::SmoothPixmapTransform, false);
  m_pPainter->setCompositionMode(ModeFor(rop));
  m_pPainter->drawImage(QRectF(x, y, w, h), Opaque(src), QRectF(sx, sy, sw, sh));
  m_pPainter->restore();
}

void CWinPainter::DrawText(const QString& text, const WinRect& r, int flags) {
  if (!m_pPainter || r.IsEmpty()) return;
  m_pPainter->save();
  m_pPainter->setCompositionMode(QPainter::CompositionMode_SourceOver);
  m_pPainter->setFont(m_State.font);
  m_pPainter->setPen(m_State.textColour);
  m_pPainter->drawText(r.ToQRect(), flags, text);
  m_pPainter->restore();
}

void CWinPainter::ExcludeClipRect(const WinRect& r) {
  if (!m_pPainter) return;
  // Without clipping everything is drawable; a region far larger than any surface stands for it.
  const QRegion current =
      m_pPainter->hasClipping() ? m_pPainter->clipRegion() : QRegion(-32768, -32768, 65536, 65536);
  m_pPainter->setClipRegion(current.subtracted(QRegion(r.ToQRect())));
}

}  // namespace ov
