#include "ui/AboutDlg.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>
#include <algorithm>

#include "controls/SkinButton.h"
#include "res/BitmapIds.h"
#include "res/SkinPalette.h"
#include "res/SkinResources.h"
#include "ui/CommandIds.h"
#include "ui/DialogFonts.h"
#include "ui/StatusTextControl.h"
#include "ui/StringTable.h"

namespace ov {

QRect CAboutDlg::DialogUnitsToPixels(int x, int y, int w, int h) {
  // Base units of the dialog font (Arial, 12-pixel characters): 6 pixels across, 15 down. Fixed,
  // so the box keeps its size when another face stands in for Arial.
  constexpr int bx = 6, by = 15;
  auto px = [](int v, int base, int div) { return (v * base + div / 2) / div; };
  return QRect(px(x, bx, 4), px(y, by, 8), px(w, bx, 4), px(h, by, 8));
}

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
  QFont font = DialogFont();
  setFont(font);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFixedSize(DialogUnitsToPixels(0, 0, 217, 183).size());

  m_btnOk = new CSkinButton(idc::kOk, this);
  m_btnOk->setText(QStringLiteral("OK"));
  m_btnOk->setDefault(true);
  m_btnClose = new CSkinButton(idc::kCancel, this);
  m_btnClose->setText(QStringLiteral("Cancel"));
  m_btnClose->setAutoDefault(false);
  connect(m_btnOk, &CSkinButton::command, this, &QDialog::accept);
  connect(m_btnClose, &CSkinButton::command, this, &QDialog::reject);

  m_version = new CStatusText(idc::kAboutVersion, Qt::AlignLeft, this);
  m_version->setGeometry(DialogUnitsToPixels(58, 25, 139, 8));
  m_version->SetColours(Qt::black, QColor(255, 255, 255), QColor(255, 255, 255));

  m_picture = LoadBitmapResource(IDB_ABOUT_PICTURE);
  QRect pic = DialogUnitsToPixels(20, 31, 18, 17);
  // A picture control takes the size of its picture.
  m_pictureRect = m_picture.isNull() ? pic : QRect(pic.topLeft(), m_picture.size());

  const int right = width(), bottom = height();
  m_btnClose->setGeometry(right - 22, 3, 19, 19);
  m_btnClose->SetBitmaps(IDB_CLOSE_NORMAL, IDB_CLOSE_PRESSED, IDB_CLOSE_NORMAL, IDB_CLOSE_PRESSED,
                         0, 0, 0, 1, 1, 4);
  m_btnClose->Invalidate();
  m_btnOk->setGeometry(right - 82, bottom - 40, 70, 23);
  m_btnOk->SetBitmaps(IDB_ABOUT_OK_NORMAL, IDB_ABOUT_OK_PRESSED, IDB_ABOUT_OK_NORMAL,
                      IDB_ABOUT_OK_PRESSED, 0, 0, 0, 1, 1, 4);

  m_fntTitle = BoldFontWithCellHeight(18);
  m_version->SetText(QString::fromUtf8(LoadResString(IDS_ABOUT_VERSION)));
  // A face standing in for Arial may run a little wider: let the line grow rather than cut it.
  const int textWidth = QFontMetrics(font).horizontalAdvance(m_version->Text()) + 2;
  QRect vr = m_version->geometry();
  vr.setWidth(std::min(std::max(vr.width(), textWidth), right - vr.x() - 4));
  m_version->setGeometry(vr);
  m_btnOk->setFocus();
}

CAboutDlg::~CAboutDlg() = default;

QString CAboutDlg::VersionText() const { return m_version->Text(); }

void CAboutDlg::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && windowHandle() != nullptr)
    windowHandle()->startSystemMove();
  QDialog::mousePressEvent(event);
}

void CAboutDlg::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const int right = width(), bottom = height();
  p.fillRect(0, 0, right, 25, skin::kTitleBand);
  p.fillRect(1, 26, right - 2, bottom - 27, Qt::white);
  // A black one-pixel frame round the box.
  p.fillRect(0, 0, right, 1, Qt::black);
  p.fillRect(0, bottom - 1, right, 1, Qt::black);
  p.fillRect(0, 1, 1, bottom - 2, Qt::black);
  p.fillRect(right - 1, 1, 1, bottom - 2, Qt::black);
  if (!m_picture.isNull()) p.drawImage(m_pictureRect.topLeft(), m_picture);
  p.setFont(m_fntTitle);
  p.setPen(Qt::white);
  p.drawText(QRect(9, 4, 91, 18), Qt::AlignLeft | Qt::AlignTop,
             QString::fromUtf8(LoadResString(IDS_ABOUT_TITLE)));
}

}  // namespace ov
