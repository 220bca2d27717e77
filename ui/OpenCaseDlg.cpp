#include "ui/OpenCaseDlg.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "archive/RecorderIdentity.h"
#include "catalog/Database.h"
#include "ui/UserPrompts.h"

namespace ov {
namespace {

// A recorder's key as a person reads it: "4 channels: Camera 1, Camera 2".
QString RecorderText(const std::string& key) {
  const std::optional<RecorderLayout> l = ParseRecorderIdentity(key);
  if (!l) return QString::fromStdString(key);
  QStringList names;
  for (const std::string& n : l->names) names << QString::fromStdString(n);
  return (l->channelCount == 1 ? COpenCaseDlg::tr("%1 channel: %2")
                               : COpenCaseDlg::tr("%1 channels: %2"))
      .arg(QString::number(l->channelCount), names.join(QStringLiteral(", ")));
}

QString Clock(int64_t seconds) {
  return QString::fromStdString(catalog::TimeText(seconds).substr(11));
}

}  // namespace

COpenCaseDlg::COpenCaseDlg(QWidget* parent, const QString& catalogName,
                           std::vector<catalog::CaseSet> sets)
    : QDialog(parent), m_sets(std::move(sets)), m_tree(new QTreeWidget(this)) {
  setWindowTitle(tr("Open Case"));
  auto* layout = new QVBoxLayout(this);
  auto* label = new QLabel(tr("Recordings in %1, by recorder and day:").arg(catalogName), this);
  layout->addWidget(label);
  m_tree->setColumnCount(4);
  m_tree->setHeaderLabels({tr("Recorder / day"), tr("From"), tr("To"), tr("Files")});
  m_tree->setRootIsDecorated(true);
  m_tree->setUniformRowHeights(true);
  m_tree->header()->setSectionResizeMode(0, QHeaderView::Stretch);
  m_tree->setAccessibleName(tr("Recording sets"));
  QTreeWidgetItem* recorder = nullptr;
  for (size_t i = 0; i < m_sets.size(); ++i) {
    const catalog::CaseSet& s = m_sets[i];
    if (!recorder || i == 0 || m_sets[i - 1].layout != s.layout) {
      recorder = new QTreeWidgetItem(m_tree, {RecorderText(s.layout)});
      recorder->setFirstColumnSpanned(true);
      recorder->setExpanded(true);
    }
    auto* item =
        new QTreeWidgetItem(recorder, {QString::fromStdString(s.day), Clock(s.start), Clock(s.end),
                                       QString::number(qulonglong(s.paths.size()))});
    item->setData(0, Qt::UserRole, qulonglong(i + 1));  // 0 marks a recorder's row
    item->setToolTip(0, QString::fromStdString(s.paths.front()));
  }
  layout->addWidget(m_tree);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
  m_open = buttons->addButton(tr("Open"), QDialogButtonBox::AcceptRole);
  m_open->setEnabled(false);
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(m_tree, &QTreeWidget::itemSelectionChanged, this,
          [this] { m_open->setEnabled(Chosen().has_value()); });
  connect(m_tree, &QTreeWidget::itemActivated, this, [this] {
    if (Chosen()) accept();
  });
  resize(640, 400);
}

std::optional<catalog::CaseSet> COpenCaseDlg::Chosen() const {
  const QTreeWidgetItem* item = m_tree->currentItem();
  if (!item || !item->isSelected()) return std::nullopt;
  const qulonglong i = item->data(0, Qt::UserRole).toULongLong();
  if (i == 0 || i > m_sets.size()) return std::nullopt;
  return m_sets[i - 1];
}

std::optional<std::vector<std::string>> ChooseCaseSet(QWidget* owner, IUserPrompts& prompts) {
  OpenFileRequest req;
  req.filter = "Case catalogs (*.sqlite *.db);;All files (*)";
  req.defaultExt = "sqlite";
  const std::optional<std::string> path = prompts.ChooseOpenFile(owner, req);
  if (!path) return std::nullopt;
  std::vector<catalog::CaseSet> sets;
  try {
    auto db = catalog::Database::Open(*path, catalog::Database::Mode::ReadOnly);
    sets = catalog::ListSets(*db);
  } catch (const std::exception& e) {
    MessageRequest m;
    m.text = e.what();
    m.icon = MessageIcon::Exclamation;
    prompts.ShowMessage(owner, m);
    return std::nullopt;
  }
  if (sets.empty()) {
    MessageRequest m;
    m.text = COpenCaseDlg::tr("The catalog holds no recording that opens.").toStdString();
    m.icon = MessageIcon::Exclamation;
    prompts.ShowMessage(owner, m);
    return std::nullopt;
  }
  COpenCaseDlg dlg(owner, QFileInfo(QString::fromStdString(*path)).fileName(), std::move(sets));
  if (dlg.exec() != QDialog::Accepted) return std::nullopt;
  const auto chosen = dlg.Chosen();
  if (!chosen) return std::nullopt;
  return chosen->paths;
}

}  // namespace ov
