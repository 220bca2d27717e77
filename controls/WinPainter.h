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
// A CWinPainter does not own its QPainter; it must not outlive it. Call only on the thread that
// owns the painter's device (the window thread for widgets).
class CWinPainter {
 public:
  explicit CWinPainter(QPainter* painter = nullptr);
  virtual ~CWinPainter();
  CWinPainter(const CWinPainter&) = delete;
  CWinPainter& operator=(const CWinPainter&) = delete;

  // Pen and brush selection. A null pen draws no outline.
  void SelectPen(const QColor& colour, int width = 1);
  void SelectNullPen();
  void SelectBrush(const QColor& colour);

  void SetBkColor(const QColor& c) { m_State.bkColour = c; }
  void SetTextColor(const QColor& c) { m_State.textColour = c; }
  void SetBrushOrg(QPoint p) { m_State.brushOrg = p; }
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

  // Copies the w x h block of src at (sx, sy) to (x, y). Parts outside src are not drawn.
  void BitBlt(int x, int y, int w, int h, const QImage& src, int sx, int sy, Rop rop);
  // Scales the sw x sh block of src at (sx, sy) onto the w x h block at (x, y), nearest pixel.
  void StretchBlt(int x, int y, int w, int h, const QImage& src, int sx, int sy, int sw, int sh,
                  Rop rop);

  // Draws text with the selected font and text colour, background transparent; flags are
  // Qt::Alignment / Qt::TextFlag values.
  void DrawText(const QString& text, const WinRect& r, int flags);

  void ExcludeClipRect(const WinRect& r);

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
