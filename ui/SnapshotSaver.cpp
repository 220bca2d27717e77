#include "ui/SnapshotSaver.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <filesystem>
#include <system_error>

#include "archive/FileSource.h"
#include "archive/RecordingSet.h"
#include "decoder/Quelmar_Ctrl_Player.h"
#include "export/Snapshot.h"
#include "playback/PlaybackEngine.h"
#include "ui/SelectedChannel.h"

extern "C" {
#include <libavutil/log.h>
}

namespace ov {
namespace {

// The notes of Save Snapshot and Save View, whole sentences so that each language can word them.
QString SavedNote(bool view, const QString& path) {
  return (view ? QCoreApplication::translate("PlayerDlg", "View saved to %1")
               : QCoreApplication::translate("PlayerDlg", "Snapshot saved to %1"))
      .arg(path);
}
QString NotSavedNote(bool view, const QString& why) {
  return (view ? QCoreApplication::translate("PlayerDlg", "View not saved: %1")
               : QCoreApplication::translate("PlayerDlg", "Snapshot not saved: %1"))
      .arg(why);
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

SnapshotSaver::SnapshotSaver(QObject* context, std::function<void(const QString&)> note)
    : m_context(context), m_note(std::move(note)) {}

SnapshotSaver::~SnapshotSaver() {
  Cancel();
  Wait();
}

std::string SnapshotSaver::Save(PlaybackEngine& e, CQuelmar_Ctrl_Player& decoder,
                                const QString& folder, bool asShown,
                                std::shared_ptr<const RecordingSetPlan> set) {
  if (!e.State().m_FileReady.load()) return {};
  if (m_saving) {
    m_note(NotSavedNote(
        asShown, QCoreApplication::translate("PlayerDlg", "the last one is still being saved")));
    return {};
  }
  const BackupFile& file = e.File();
  const int n = SelectedChannel(decoder, file);
  if (n < 0) return {};
  const exporter::SnapshotTarget target = CurrentPicture(e, n);
  exporter::SnapshotView view;
  if (asShown) {
    PaneViewCall shown;
    view.view = true;
    if (decoder.GetPicture(n, shown) == n) {
      view.region = zoom::FromWire(shown.x, shown.y, shown.size);
      view.adjust = {shown.brightness, shown.contrast, shown.gamma, shown.saturation};
      view.deinterlace = shown.deinterlace == 1   ? Deinterlace::On
                         : shown.deinterlace == 2 ? Deinterlace::Auto
                                                  : Deinterlace::Off;
    }
  }

  // The export folder when one was chosen, else beside the recording when that is writable.
  QString dir = folder;
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
  Wait();  // the last one has ended: its note came
  m_cancel = false;
  // The worker reads the recording through its own descriptors: the window may open another file
  // (and close this one) while the picture is searched for.
  try {
    m_thread = std::thread([this, source = e.FilePath(), set = std::move(set), n, target, view,
                            asShown, out = path.string()] {
      BackupFile own;
      const OpenOutcome opened = set ? own.ReadRecordingSet(*set) : own.ReadBackupHeader(source);
      exporter::SnapshotOutcome result;
      if (opened.accepted) {
        result = exporter::TakeSnapshot(own, source, n, target, out, &m_cancel, view);
      } else {
        result.error = "cannot open " + source;
      }
      QMetaObject::invokeMethod(
          m_context,
          [this, result, out, asShown] {
            m_saving = false;
            m_note(result.ok ? SavedNote(asShown, QString::fromStdString(out))
                             : NotSavedNote(asShown, QString::fromStdString(result.error)));
          },
          Qt::QueuedConnection);
    });
  } catch (const std::system_error& err) {  // out of threads or memory
    m_note(NotSavedNote(asShown, QString::fromLocal8Bit(err.what())));
    return {};
  }
  m_saving = true;
  return path.string();
}

void SnapshotSaver::Wait() {
  if (m_thread.joinable()) m_thread.join();
}

}  // namespace ov
