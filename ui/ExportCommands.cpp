#include "ui/ExportCommands.h"

#include <QFileInfo>

#include "archive/RecordingSet.h"
#include "controls/NameText.h"
#include "export/ClipNames.h"
#include "ui/ExportClipDlg.h"
#include "ui/FileCommands.h"
#include "ui/PlayerDlg.h"
#include "ui/PlayerEngineLink.h"
#include "ui/SelectedChannel.h"
#include "ui/SnapshotSaver.h"
#include "ui/StatusTexts.h"

extern "C" {
#include <libavutil/log.h>
}

namespace ov {

ExportCommands::ExportCommands(CPlayerDlg& window)
    : m_window(window),
      m_snapshots(std::make_unique<SnapshotSaver>(
          &window, [this](const QString& note) { m_window.Texts().ShowNote(note); })) {}

ExportCommands::~ExportCommands() = default;

std::unique_ptr<CExportClipDlg> ExportCommands::MakeDialog() {
  PlaybackEngine& e = m_window.Engine().Engine();
  if (!e.State().m_FileReady.load()) return nullptr;
  const BackupFile& file = e.File();
  const int selected = SelectedChannel(m_window.Decoder(), file);
  std::vector<ExportChannelChoice> channels;
  for (int n = 0; n < kSlots; ++n)
    if (file.Recording().m_Header.video[size_t(n)].HasData())
      channels.push_back(
          {n + 1, NameText(file.Recording().m_Header.video[size_t(n)].name), n == selected});
  if (m_folder.isEmpty()) m_folder = QFileInfo(QString::fromStdString(e.FilePath())).absolutePath();
  const int32_t from = CurrentSecond(e);
  auto dlg = std::make_unique<CExportClipDlg>(
      &m_window, e.FilePath(), channels, QString::fromStdString(exporter::DisplayStamp(from)),
      QString::fromStdString(exporter::DisplayStamp(from + 60)), m_folder);
  dlg->SetRecordingSet(m_window.Files().Set());
  return dlg;
}

void ExportCommands::ExportClip() {
  if (m_dialog) {  // one at a time: the open one comes to the front
    m_dialog->raise();
    m_dialog->activateWindow();
    return;
  }
  std::unique_ptr<CExportClipDlg> dlg = MakeDialog();
  if (!dlg) return;
  av_log_set_level(AV_LOG_ERROR);
  // Not modal: playback, the keys and Exit stay usable while the clip is cut, and the dialog's
  // progress and Cancel stay beside the window.
  dlg->setModal(false);
  CExportClipDlg* d = dlg.release();
  m_dialog = d;
  QObject::connect(d, &QDialog::finished, &m_window, [this, d] {
    m_folder = d->Folder();
    d->deleteLater();
  });
  d->show();
}

std::string ExportCommands::Save(bool view) {
  if (m_window.Destroyed()) return {};
  return m_snapshots->Save(m_window.Engine().Engine(), m_window.Decoder(), m_folder, view,
                           m_window.Files().Set());
}

bool ExportCommands::Saving() const { return m_snapshots->Saving(); }

void ExportCommands::Stop() {
  m_snapshots->Cancel();
  m_snapshots->Wait();
}

void ExportCommands::Wait() { m_snapshots->Wait(); }

}  // namespace ov
