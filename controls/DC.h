#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRegion>
#include <QString>
#include <span>
#include <vector>

#include "controls/WinRect.h"

class QPainter;

namespace ov {

// Raster operations of BitBlt and StretchBlt.
enum class Rop {
  SrcCopy,    // dst = src
  SrcInvert,  // dst = src XOR dst
  SrcAnd,     // dst = src AND dst
  SrcPaint,   // dst = src OR dst
};

// A device context with the drawing rules the window code is written against, painted with
// QPainter (antialiasing off):
//  - every rectangle has exclusive right and bottom edges;
//  - Rectangle/RoundRect/Ellipse outline with the selected pen inside their bounds and fill the
//    interior with the selected brush; with the null pen the filled area is one pixel narrower
//    and shorter, as the outline it replaces would have been;
//  - LineTo strokes from the current position and leaves its end point unpainted;
//  - FillRect never uses the pen.
// Defaults match a fresh device context: black pen of width 1, white brush, white background,
// black text, current position (0, 0).
//
// A CDC does not own its QPainter; it must not outlive it. Call only on the thread that owns the
// painter's device (the window thread for widgets).
class CDC {
 public:
  explicit CDC(QPainter* painter = nullptr);
  virtual ~CDC();
  CDC(const CDC&) = delete;
  CDC& operator=(const CDC&) = delete;

  QPainter* Painter() const { return m_pPainter; }

  // Pen and brush selection. A null pen draws no outline; a null brush fills nothing.
  void SelectPen(const QColor& colour, int width = 1);
  void SelectNullPen();
  void SelectBrush(const QColor& colour);
  void SelectNullBrush();
  bool HasPen() const { return m_State.hasPen; }
  bool HasBrush() const { return m_State.hasBrush; }
  QColor PenColour() const { return m_State.penColour; }
  QColor BrushColour() const { return m_State.brushColour; }

  void SetBkColor(const QColor& c) { m_State.bkColour = c; }
  QColor GetBkColor() const { return m_State.bkColour; }
  void SetTextColor(const QColor& c) { m_State.textColour = c; }
  QColor GetTextColor() const { return m_State.textColour; }
  void SetBrushOrg(QPoint p) { m_State.brushOrg = p; }
  QPoint GetBrushOrg() const { return m_State.brushOrg; }
  void SetFont(const QFont& f) { m_State.font = f; }

  // Saves pen, brush, colours, position and clipping; RestoreDC(-1) restores the last save.
  int SaveDC();
  void RestoreDC(int saved);

  // Solid fill of r with colour; the selection is not changed.
  void FillRect(const WinRect& r, const QColor& colour);
  void Rectangle(const WinRect& r);
  void RoundRect(const WinRect& r, int ellipseWidth, int ellipseHeight);
  void Ellipse(const WinRect& r);
  void Polygon(std::span<const QPoint> points);

  void MoveTo(int x, int y) { m_State.pos = QPoint(x, y); }
  void LineTo(int x, int y);
  QPoint CurrentPosition() const { return m_State.pos; }

  // Copies the w x h block of src at (sx, sy) to (x, y). Parts outside src are not drawn.
  void BitBlt(int x, int y, int w, int h, const QImage& src, int sx, int sy, Rop rop);
  // Scales the sw x sh block of src at (sx, sy) onto the w x h block at (x, y), nearest pixel.
  void StretchBlt(int x, int y, int w, int h, const QImage& src, int sx, int sy, int sw, int sh,
                  Rop rop);

  // Draws text with the selected font and text colour, background transparent; flags are
  // Qt::Alignment / Qt::TextFlag values.
  void DrawText(const QString& text, const WinRect& r, int flags);

  void ExcludeClipRect(const WinRect& r);
  void IntersectClipRect(const WinRect& r);
  void SelectClipRegion(const QRegion& region);  // empty region: no clipping

 protected:
  void Attach(QPainter* painter) { m_pPainter = painter; }

 private:
  struct State {
    bool hasPen = true;
    QColor penColour = QColor(0, 0, 0);
    int penWidth = 1;
    bool hasBrush = true;
    QColor brushColour = QColor(255, 255, 255);
    QColor bkColour = QColor(255, 255, 255);
    QColor textColour = QColor(0, 0, 0);
    QPoint brushOrg;
    QPoint pos;
    QFont font;
  };

  void ApplyPenAndBrush(bool pen, bool brush);

  QPainter* m_pPainter = nullptr;
  State m_State;
  std::vector<State> m_Saved;
};

}  // namespace ov
