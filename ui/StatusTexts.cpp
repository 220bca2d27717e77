#include "ui/StatusTexts.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QTimer>

#include "res/SkinPalette.h"
#include "ui/CommandIds.h"
#include "ui/PlayerDlg.h"
#include "ui/StatusTextControl.h"
#include "ui/StringTable.h"

namespace ov {
namespace {
constexpr int kNoteMs = 8000;  // long enough to read a path, then the file's path comes back
}  // namespace

StatusTexts::StatusTexts(CPlayerDlg& window) : m_window(window) {}

void StatusTexts::AddPathBox() {
  m_path = new QLineEdit(&m_window);
  m_path->setReadOnly(true);
  m_path->setFrame(false);
  m_path->setFocusPolicy(Qt::ClickFocus);
}

void StatusTexts::AddStatusLines() {
  auto status = [this](int id, Qt::Alignment align, const char* text, bool visible) {
    auto* s = new CStatusText(id, align, &m_window);
    s->SetText(QString::fromUtf8(text));
    s->setVisible(visible);
    m_lines[id] = s;
  };
  status(idc::kOsd, Qt::AlignHCenter, "OSD", true);
  status(idc::kSpeed, Qt::AlignHCenter, "SPEED", true);
  status(idc::kVer, Qt::AlignLeft, "VER", false);
  status(idc::kName, Qt::AlignLeft, "NAME", false);
  status(idc::kTotalTime, Qt::AlignLeft, "TOTALTIME", true);
  status(idc::kSearching, Qt::AlignLeft, "Searching...", false);
}

void StatusTexts::ApplyColours() {
  const QColor &cyan = skin::kAccentText, &panel = skin::kPanel, &dark = skin::kTitleBand;
  Status(idc::kOsd)->SetColours(cyan, panel, panel);
  Status(idc::kSpeed)->SetColours(cyan, panel, panel);
  Status(idc::kVer)->SetColours(cyan, panel, panel);
  Status(idc::kTotalTime)->SetColours(dark, skin::kTimeFace, panel);
  Status(idc::kName)->SetColours(QColor(255, 255, 255), dark, panel);
  Status(idc::kSearching)->SetColours(cyan, panel, std::nullopt);
  SetPathText(m_path->text().toStdString(), m_pathChosenLook);
}

void StatusTexts::Layout(const std::string& totalTime) {
  m_path->setGeometry(25, 724, 628, 15);
  Status(idc::kOsd)->setGeometry(270, 606, 180, 14);
  Status(idc::kOsd)->SetText({});
  Status(idc::kSpeed)->setGeometry(195, 606, 80, 14);
  Status(idc::kSpeed)->SetText({});
  Status(idc::kTotalTime)->setGeometry(24, 662, 129, 15);
  Status(idc::kTotalTime)->SetText(QString::fromStdString(totalTime));
  Status(idc::kName)->setGeometry(35, 6, 62, 15);
  Status(idc::kName)->SetText(QString::fromUtf8(LoadResString(IDS_PRODUCT)));
  Status(idc::kVer)->setGeometry(660, 608, 50, 15);
  Status(idc::kVer)->SetText(QStringLiteral("Ver 0.0.1"));
  Status(idc::kSearching)->setGeometry(470, 606, 66, 14);
  Status(idc::kSearching)->hide();
}

CStatusText* StatusTexts::Status(int id) const {
  auto it = m_lines.find(id);
  return it == m_lines.end() ? nullptr : it->second;
}

QWidget* StatusTexts::Control(int id) const {
  if (CStatusText* s = Status(id)) return s;
  return id == idc::kPathBox ? m_path : nullptr;
}

QString StatusTexts::Text(int id) const {
  if (CStatusText* s = Status(id)) return s->Text();
  if (id == idc::kPathBox && m_path) return m_path->text();
  return {};
}

void StatusTexts::SetText(int id, const std::string& text) {
  m_window.RunOnWindowThread([this, id, text] {
    QString t = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    if (CStatusText* s = Status(id)) {
      s->SetText(t);
    } else if (id == idc::kPathBox && m_path) {
      m_path->setText(t);
    }
  });
}

void StatusTexts::SetPathText(const std::string& text, bool fileChosen) {
  m_window.RunOnWindowThread([this, text, fileChosen] {
    if (!m_path) return;
    m_pathChosenLook = fileChosen;
    m_path->setText(QString::fromStdString(text));
    QPalette pal = m_path->palette();
    const QColor bk = fileChosen ? QColor(255, 255, 255) : QColor(238, 238, 238);
    pal.setColor(QPalette::Base, bk);
    pal.setColor(QPalette::Window, bk);
    pal.setColor(QPalette::Text, QColor(35, 35, 35));
    m_path->setPalette(pal);
  });
}

void StatusTexts::ShowNote(const QString& text) {
  if (!m_path) return;
  // A note over a note gives way to what was there before the first one.
  if (m_lastNote.isNull() || m_path->text() != m_lastNote) m_textBeforeNote = m_path->text();
  m_lastNote = text;
  m_path->setText(text);
  QTimer::singleShot(kNoteMs, &m_window, [this, text] {
    if (m_path && m_path->text() == text) m_path->setText(m_textBeforeNote);
  });
}

std::string StatusTexts::PathFolder() const {
  if (!m_path || m_path->text().isEmpty()) return {};
  return QFileInfo(m_path->text()).absolutePath().toStdString();
}

bool StatusTexts::OnDateLine(QPoint p) const {
  CStatusText* line = Status(idc::kOsd);
  return line != nullptr && line->isVisible() && line->geometry().contains(p);
}

void StatusTexts::Forget() {
  m_lines.clear();
  m_path = nullptr;
}

}  // namespace ov
