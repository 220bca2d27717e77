#pragma once
// A static text drawn the way the window colours its status lines: the control is filled with
// its background brush and the text line sits on a cell of its own background colour (which may
// differ from the brush). Takes no mouse input, so clicks reach the window behind it.
// Window thread only.
#include <QColor>
#include <QString>
#include <QWidget>
#include <optional>

namespace ov {

class CStatusText : public QWidget {
  Q_OBJECT

 public:
  CStatusText(int controlId, Qt::Alignment align, QWidget* parent);

  int ControlId() const { return m_ControlId; }
  void SetText(const QString& text);
  QString Text() const { return m_Text; }

  // brush: fill of the whole control; textBk: colour under the text line; no value for either
  // falls back to the window's own face colour.
  void SetColours(const QColor& text, std::optional<QColor> textBk, std::optional<QColor> brush);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int m_ControlId;
  Qt::Alignment m_Align;
  QString m_Text;
  QColor m_TextColour{0, 0, 0};
  std::optional<QColor> m_TextBk;
  std::optional<QColor> m_Brush;
};

}  // namespace ov
