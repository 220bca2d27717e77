// The window's way out of a backup: "Export Clip...", "Save Snapshot" (also the key S) and "Save
// View" (Shift+S: what the selected pane shows, zoom and adjustments included).
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QShortcut>
#include <QTimer>
#include <filesystem>
#include <system_error>
#include <thread>

#include "archive/FileSource.h"
#include "archive/RecordingSet.h"
#include "controls/NameText.h"
#include "export/ClipNames.h"
#include "export/Snapshot.h"
#include "ui/CommandIds.h"
#include "ui/ExportClipDlg.h"
#include "ui/PlayerDlg.h"
#include "ui/PlayerEngineLink.h"

extern "C" {
#include <libavutil/log.h>
}

namespace ov {
namespace {

constexpr int kNoteMs = 8000;  // long enough to read a path, then the file's path comes back

// The channel of the selected pane, as the decoder control reports it for the sound.
int SelectedChannel(CQuelmar_Ctrl_Player& decoder, const BackupFile& file) {
  const int32_t n = decoder.CurrentAudioChannel();
  if (n >= 0 && n < kSlots && file.Recording().m_Header.video[size_t(n)].HasData()) return n;
  for (int i = 0; i < kSlots; ++i)
    if (file.Recording().m_Header.video[size_t(i)].HasData()) return i;
  return -1;
}

// The second being played: the last frame handed over, else the recording's start.
int32_t CurrentSecond(PlaybackEngine& e) {
  const SystemTime now = e.State().m_CurrentTime.Load();
  const bool played = e.State().m_FreshOpen.load() == 0 && now.wYear != 0;
  return played ? CalendarToSeconds(now) : e.StartSecond();
}

// The picture channel n's pane shows; without one, the first of the second being played.
exporter::SnapshotTarget CurrentPicture(PlaybackEngine& e, int n) {
  exporter::SnapshotTarget t;
  if (const uint32_t shown = e.ShownPictures()[size_t(n)]; shown != 0)
    t.frameOffset = shown;
  else
    t.second = CurrentSecond(e);
  return t;
}

}  // namespace

int CPlayerDlg::SelectedSlot() {
  PlaybackEngine& e = m_engine->Engine();
  if (!e.State().m_FileReady.load()) return -1;
  return SelectedChannel(m_decoder, e.File());
}

void CPlayerDlg::InstallSnapshotKey() {
  auto* key = new QShortcut(QKeySequence(Qt::Key_S), this);
  key->setContext(Qt::WindowShortcut);
  connect(key, &QShortcut::activated, this, [this] { OnCommand(idc::kCmdSaveSnapshot); });
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

std::string CPlayerDlg::SaveSnapshot() { return SavePicture(false); }

std::string CPlayerDlg::SaveView() { return SavePicture(true); }

std::string CPlayerDlg::SavePicture(bool asShown) {
  PlaybackEngine& e = m_engine->Engine();
  if (m_destroyed || !e.State().m_FileReady.load()) return {};
  const QString what = asShown ? QStringLiteral("View") : QStringLiteral("Snapshot");
  if (m_savingSnapshot) {
    ShowNote(what + QStringLiteral(" not saved: the last one is still being saved"));
    return {};
  }
  const BackupFile& file = e.File();
  const int n = SelectedChannel(m_decoder, file);
  if (n < 0) return {};
  const exporter::SnapshotTarget target = CurrentPicture(e, n);
  exporter::SnapshotView view;
  if (asShown) {
    PaneViewCall shown;
    view.view = true;
    if (m_decoder.GetPicture(n, shown) == n) {
      view.region = zoom::FromWire(shown.x, shown.y, shown.size);
      view.adjust = {shown.brightness, shown.contrast, shown.gamma, shown.saturation};
      view.deinterlace = shown.deinterlace == 1   ? Deinterlace::On
                         : shown.deinterlace == 2 ? Deinterlace::Auto
                                                  : Deinterlace::Off;
    }
  }

  // The export folder when one was chosen, else beside the recording when that is writable.
  QString dir = m_exportFolder;
  if (dir.isEmpty()) dir = QFileInfo(QString::fromStdString(e.FilePath())).absolutePath();
  if (::access(QFile::encodeName(dir).constData(), W_OK) != 0) dir = QDir::homePath();
  const int32_t second = target.second.value_or(0);
  const int32_t named = target.frameOffset ? [&] {
    YskFrameHeader h{};
    return file.PlayReader().Header(*target.frameOffset, h) ? h.f_time : second;
  }() : second;
  std::string name = exporter::SnapshotName(file, n, named, asShown);
  std::filesystem::path path = std::filesystem::path(dir.toStdString()) / name;
  for (int i = 2; std::filesystem::exists(path) && i < 1000; ++i)
    path.replace_filename(name.substr(0, name.size() - 4) + "-" + std::to_string(i) + ".png");

  av_log_set_level(AV_LOG_ERROR);
  WaitForSnapshot();  // the last one has ended: its note came
  m_snapshotCancel = false;
  // The worker reads the recording through its own descriptors: the window may open another file
  // (and close this one) while the picture is searched for.
  try {
    m_snapshotThread = std::thread([this, source = e.FilePath(), set = m_set, n, target, view, what,
                                    out = path.string()] {
      BackupFile own;
      const OpenOutcome opened = set ? own.ReadRecordingSet(*set) : own.ReadBackupHeader(source);
      exporter::SnapshotOutcome result;
      if (opened.accepted) {
        result = exporter::TakeSnapshot(own, source, n, target, out, &m_snapshotCancel, view);
      } else {
        result.error = "cannot open " + source;
      }
      QMetaObject::invokeMethod(
          this,
          [this, result, out, what] {
            m_savingSnapshot = false;
            ShowNote(result.ok ? what + QStringLiteral(" saved to ") + QString::fromStdString(out)
                               : what + QStringLiteral(" not saved: ") +
                                     QString::fromStdString(result.error));
          },
          Qt::QueuedConnection);
    });
  } catch (const std::system_error& err) {  // out of threads or memory
    ShowNote(what + QStringLiteral(" not saved: ") + QString::fromLocal8Bit(err.what()));
    return {};
  }
  m_savingSnapshot = true;
  return path.string();
}

void CPlayerDlg::WaitForSnapshot() {
  if (m_snapshotThread.joinable()) m_snapshotThread.join();
}

}  // namespace ov
