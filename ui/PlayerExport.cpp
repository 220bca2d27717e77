// The window's way out of a backup: "Export Clip...", "Save Snapshot" (also the key S) and "Save
// View" (Shift+S: what the selected pane shows, zoom and adjustments included); the pictures are
// saved by SnapshotSaver.
#include <QFileInfo>
#include <QLineEdit>
#include <QTimer>

#include "controls/NameText.h"
#include "export/ClipNames.h"
#include "ui/CommandIds.h"
#include "ui/ExportClipDlg.h"
#include "ui/PlayerDlg.h"
#include "ui/PlayerEngineLink.h"
#include "ui/SelectedChannel.h"
#include "ui/SnapshotSaver.h"

extern "C" {
#include <libavutil/log.h>
}

namespace ov {
namespace {

constexpr int kNoteMs = 8000;  // long enough to read a path, then the file's path comes back

}  // namespace

int CPlayerDlg::SelectedSlot() {
  PlaybackEngine& e = m_engine->Engine();
  if (!e.State().m_FileReady.load()) return -1;
  return SelectedChannel(m_decoder, e.File());
}

void CPlayerDlg::ShowNote(const QString& text) {
  if (!m_edtPath) return;
  // A note over a note gives way to what was there before the first one.
  if (m_lastNote.isNull() || m_edtPath->text() != m_lastNote) m_textBeforeNote = m_edtPath->text();
  m_lastNote = text;
  m_edtPath->setText(text);
  QTimer::singleShot(kNoteMs, this, [this, text] {
    if (m_edtPath && m_edtPath->text() == text) m_edtPath->setText(m_textBeforeNote);
  });
}

std::unique_ptr<CExportClipDlg> CPlayerDlg::MakeExportDialog() {
  PlaybackEngine& e = m_engine->Engine();
  if (!e.State().m_FileReady.load()) return nullptr;
  const BackupFile& file = e.File();
  const int selected = SelectedChannel(m_decoder, file);
  std::vector<ExportChannelChoice> channels;
  for (int n = 0; n < kSlots; ++n)
    if (file.Recording().m_Header.video[size_t(n)].HasData())
      channels.push_back(
          {n + 1, NameText(file.Recording().m_Header.video[size_t(n)].name), n == selected});
  if (m_exportFolder.isEmpty())
    m_exportFolder = QFileInfo(QString::fromStdString(e.FilePath())).absolutePath();
  const int32_t from = CurrentSecond(e);
  auto dlg = std::make_unique<CExportClipDlg>(
      this, e.FilePath(), channels, QString::fromStdString(exporter::DisplayStamp(from)),
      QString::fromStdString(exporter::DisplayStamp(from + 60)), m_exportFolder);
  dlg->SetRecordingSet(m_set);
  return dlg;
}

CExportClipDlg* CPlayerDlg::OpenExportDialog() const { return m_exportDlg.data(); }

void CPlayerDlg::OnExportClip() {
  if (m_exportDlg) {  // one at a time: the open one comes to the front
    m_exportDlg->raise();
    m_exportDlg->activateWindow();
    return;
  }
  std::unique_ptr<CExportClipDlg> dlg = MakeExportDialog();
  if (!dlg) return;
  av_log_set_level(AV_LOG_ERROR);
  // Not modal: playback, the keys and Exit stay usable while the clip is cut, and the dialog's
  // progress and Cancel stay beside the window.
  dlg->setModal(false);
  CExportClipDlg* d = dlg.release();
  m_exportDlg = d;
  connect(d, &QDialog::finished, this, [this, d] {
    m_exportFolder = d->Folder();
    d->deleteLater();
  });
  d->show();
}

std::string CPlayerDlg::SaveSnapshot() {
  if (m_destroyed) return {};
  return m_snapshots->Save(m_engine->Engine(), m_decoder, m_exportFolder, false, m_set);
}

std::string CPlayerDlg::SaveView() {
  if (m_destroyed) return {};
  return m_snapshots->Save(m_engine->Engine(), m_decoder, m_exportFolder, true, m_set);
}

bool CPlayerDlg::SavingSnapshot() const { return m_snapshots->Saving(); }

void CPlayerDlg::WaitForSnapshot() { m_snapshots->Wait(); }

}  // namespace ov
