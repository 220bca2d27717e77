#include "ui/ExportClipDlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <system_error>

#include "export/HashCache.h"

namespace ov {

CExportClipDlg::CExportClipDlg(QWidget* parent, std::string source,
                               const std::vector<ExportChannelChoice>& channels,
                               const QString& from, const QString& to, const QString& folder)
    : QDialog(parent), m_source(std::move(source)) {
  setWindowTitle(tr("Export Clip"));
  auto* form = new QFormLayout;
  m_channels = new QListWidget(this);
  for (const auto& c : channels) {
    auto* item =
        new QListWidgetItem(QStringLiteral("%1  %2").arg(c.channel).arg(c.name), m_channels);
    item->setData(Qt::UserRole, c.channel);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    item->setCheckState(c.checked ? Qt::Checked : Qt::Unchecked);
  }
  m_channels->setMaximumHeight(160);
  form->addRow(tr("Channels"), m_channels);
  m_from = new QLineEdit(from, this);
  m_to = new QLineEdit(to, this);
  form->addRow(tr("From"), m_from);
  form->addRow(tr("To"), m_to);
  auto* folderRow = new QHBoxLayout;
  m_folder = new QLineEdit(folder, this);
  auto* browse = new QPushButton(tr("Browse..."), this);
  folderRow->addWidget(m_folder);
  folderRow->addWidget(browse);
  form->addRow(tr("Folder"), folderRow);
  m_format = new QComboBox(this);
  m_format->addItem(tr("MP4 (sound as AAC)"), QStringLiteral("mp4"));
  m_format->addItem(tr("MKV (sound as recorded)"), QStringLiteral("mkv"));
  form->addRow(tr("Format"), m_format);
  m_progress = new QProgressBar(this);
  m_progress->setRange(0, 100);
  m_progress->setValue(0);
  m_status = new QLabel(this);
  m_status->setWordWrap(true);
  m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);

  auto* buttons = new QDialogButtonBox(this);
  m_export = buttons->addButton(tr("Export"), QDialogButtonBox::AcceptRole);
  m_close = buttons->addButton(QDialogButtonBox::Cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(m_progress);
  layout->addWidget(m_status);
  layout->addWidget(buttons);
  resize(460, 380);

  connect(browse, &QPushButton::clicked, this, [this] {
    const QString dir = QFileDialog::getExistingDirectory(this, tr("Export to"), m_folder->text());
    if (!dir.isEmpty()) m_folder->setText(dir);
  });
  connect(m_export, &QPushButton::clicked, this, [this] { StartExport(); });
  connect(m_close, &QPushButton::clicked, this, &CExportClipDlg::reject);
}

CExportClipDlg::~CExportClipDlg() {
  m_cancel.store(true);
  JoinWorker();
}

void CExportClipDlg::JoinWorker() {
  if (m_worker.joinable()) m_worker.join();
}

QString CExportClipDlg::Folder() const { return m_folder->text(); }
QString CExportClipDlg::StatusText() const { return m_status->text(); }
int CExportClipDlg::ProgressPercent() const { return m_progress->value(); }

bool CExportClipDlg::StartExport() {
  if (Running()) return false;
  JoinWorker();
  exporter::ExportRequest r;
  r.source = m_source;
  r.set = m_set;
  for (int i = 0; i < m_channels->count(); ++i)
    if (m_channels->item(i)->checkState() == Qt::Checked)
      r.channels.push_back(m_channels->item(i)->data(Qt::UserRole).toInt());
  if (r.channels.empty()) {
    m_status->setText(tr("Tick at least one channel."));
    return false;
  }
  r.from = m_from->text().trimmed().toStdString();
  r.to = m_to->text().trimmed().toStdString();
  r.outDir = m_folder->text().toStdString();
  r.format = m_format->currentData().toString() == QLatin1String("mkv")
                 ? exporter::ContainerFormat::Mkv
                 : exporter::ContainerFormat::Mp4;
  r.sound = exporter::SoundFormatFromEnvironment();
  r.hashCache = exporter::DefaultHashCacheFile();
  if (!m_set) r.ahead = m_ahead;
  m_cancel.store(false);
  m_done = false;
  m_progress->setValue(0);
  m_status->setText(tr("Exporting..."));
  m_export->setEnabled(false);
  m_close->setText(tr("Cancel"));
  try {
    StartWorker(r);
  } catch (const std::system_error& e) {  // out of threads or memory: the window stays
    m_done = true;
    m_status->setText(tr("Cannot start the export: ") + QString::fromLocal8Bit(e.what()));
    m_export->setEnabled(true);
    m_close->setText(tr("Close"));
    return false;
  }
  return true;
}

void CExportClipDlg::StartWorker(const exporter::ExportRequest& r) {
  m_worker = std::thread([this, r] {
    int lastPercent = -1;
    auto progress = [this, &lastPercent](const exporter::ExportProgress& p) {
      const int percent = p.totalBytes ? int(p.doneBytes * 100 / p.totalBytes) : 100;
      if (percent == lastPercent) return;
      lastPercent = percent;
      QMetaObject::invokeMethod(
          this, [this, percent] { m_progress->setValue(percent); }, Qt::QueuedConnection);
    };
    exporter::ExportOutcome out = exporter::RunExport(r, progress, m_cancel);
    QMetaObject::invokeMethod(
        this, [this, out] { Finished(out); }, Qt::QueuedConnection);
  });
}

void CExportClipDlg::Finished(exporter::ExportOutcome outcome) {
  JoinWorker();
  m_done = true;
  m_outcome = std::move(outcome);
  m_export->setEnabled(true);
  m_close->setText(tr("Close"));
  if (m_outcome.ok) {
    m_progress->setValue(100);
    QString text = tr("Wrote %1 clip(s) to %2").arg(m_outcome.clips.size()).arg(Folder());
    // The clips stand, but the path no longer names the file they were cut from.
    if (!m_outcome.sourceChanged.empty())
      text += tr("; the source file changed while it was read (%1), see the report")
                  .arg(QString::fromStdString(m_outcome.sourceChanged));
    m_status->setText(text);
  } else {
    m_progress->setValue(0);
    m_status->setText(QString::fromStdString(m_outcome.error));
  }
  emit exportFinished(m_outcome.ok);
}

void CExportClipDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Only a single file: a set's files are hashed one by one with the export. Without a cache the
  // digest could not outlive one export, and the export hashes beside its copy anyway.
  const std::string cache = exporter::DefaultHashCacheFile();
  if (!m_ahead && !m_set && !cache.empty())
    m_ahead = std::make_shared<exporter::DigestAhead>(m_source, cache);
}

void CExportClipDlg::reject() {
  if (Running()) {
    // The first press stops the export; the dialog stays to say so.
    m_cancel.store(true);
    m_status->setText(tr("Cancelling..."));
    return;
  }
  QDialog::reject();
}

}  // namespace ov
