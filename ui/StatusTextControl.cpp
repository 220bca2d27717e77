#include "ui/StatusTextControl.h"

#include <QFontMetrics>
#include <QPainter>

namespace ov {

namespace {
const QColor kFace(240, 240, 240);  // the toolkit's dialog face when no brush is given
}

CStatusText::CStatusText(int controlId, Qt::Alignment align, QWidget* parent)
    : QWidget(parent), m_ControlId(controlId), m_Align(align) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void CStatusText::SetText(const QString& text) {
  if (text == m_Text) return;
  m_Text = text;
  update();
}

void CStatusText::SetColours(const QColor& text, std::optional<QColor> textBk,
                             std::optional<QColor> brush) {
  m_TextColour = text;
  m_TextBk = textBk;
  m_Brush = brush;
  update();
}

void CStatusText::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), m_Brush.value_or(kFace));
  if (m_Text.isEmpty()) return;
  QFontMetrics fm(font());
  // One line, clipped at the control's edges, like a static without word wrap.
  int w = fm.horizontalAdvance(m_Text);
  int x = 0;
  if (m_Align & Qt::AlignHCenter) x = (width() - w) / 2;
  QRect cell(x, 0, w, fm.height());
  p.fillRect(cell, m_TextBk.value_or(kFace));
  p.setPen(m_TextColour);
  p.setFont(font());
  p.drawText(cell, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, m_Text);
}

}  // namespace ov
