#pragma once
// The About box: a frameless dialog with a dark title band, the version text and skinned close
// and OK buttons; dragged by any point, closed by OK, the close button, Enter and Esc.
#include <QDialog>
#include <QFont>
#include <QImage>

namespace ov {

class CSkinButton;
class CStatusText;

class CAboutDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CAboutDlg(QWidget* parent = nullptr);
  ~CAboutDlg() override;

  CSkinButton* OkButton() const { return m_btnOk; }
  CSkinButton* CloseButton() const { return m_btnClose; }
  QString VersionText() const;
  // Dialog units of the box's template to pixels.
  static QRect DialogUnitsToPixels(int x, int y, int w, int h);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  CSkinButton* m_btnOk = nullptr;
  CSkinButton* m_btnClose = nullptr;
  CStatusText* m_version = nullptr;
  QImage m_picture;
  QRect m_pictureRect;
  QFont m_fntTitle;
};

}  // namespace ov
