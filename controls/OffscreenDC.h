#pragma once

#include <QImage>
#include <QRect>
#include <memory>

#include "controls/WinPainter.h"

class QPainter;

namespace ov {

// Flicker-free drawing surface for a paint handler: everything drawn through it goes into a
// memory bitmap the size of the clip box, in the same (client) coordinates as the paint device,
// and the bitmap is copied to the paint device in one block when the surface is destroyed.
// When the paint device is a printer, drawing goes straight to it instead.
// The clip box is filled with white first.
class COffscreenDC : public CWinPainter {
 public:
  COffscreenDC(QPainter& paintDc, const QRect& clipBox);
  ~COffscreenDC() override;

  bool DrawsToMemory() const { return m_bMemDC; }

 private:
  QPainter* m_pPaintDC;
  bool m_bMemDC;
  QRect m_ClipBox;
  QImage m_Bitmap;
  std::unique_ptr<QPainter> m_MemPainter;
};

}  // namespace ov
