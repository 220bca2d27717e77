#include "controls/OffscreenDC.h"

#include <QPaintDevice>
#include <QPainter>

namespace ov {

COffscreenDC::COffscreenDC(QPainter& paintDc, const QRect& clipBox)
    : m_pPaintDC(&paintDc), m_ClipBox(clipBox) {
  const QPaintDevice* device = paintDc.device();
  m_bMemDC = !(device && device->devType() == QInternal::Printer);
  if (m_bMemDC) {
    if (!m_ClipBox.isEmpty()) {
      m_Bitmap = QImage(m_ClipBox.size(), QImage::Format_RGB32);
      m_MemPainter = std::make_unique<QPainter>(&m_Bitmap);
      // Same coordinates as the paint device: the bitmap's origin is the clip box's corner.
      m_MemPainter->translate(-m_ClipBox.topLeft());
      Attach(m_MemPainter.get());
    }
  } else {
    Attach(m_pPaintDC);
  }
  FillRect(WinRect::FromQRect(m_ClipBox), QColor(255, 255, 255));
}

COffscreenDC::~COffscreenDC() {
  if (m_bMemDC && m_MemPainter) {
    m_MemPainter->end();
    m_pPaintDC->save();
    m_pPaintDC->setCompositionMode(QPainter::CompositionMode_Source);
    m_pPaintDC->drawImage(m_ClipBox.topLeft(), m_Bitmap);
    m_pPaintDC->restore();
  }
  Attach(nullptr);
}

}  // namespace ov
