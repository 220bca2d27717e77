#pragma once
// The player window's way out of a backup: "Export Clip..." (a dialog beside the window, one at a
// time), "Save Snapshot" and "Save View" (the selected pane's picture, or what it shows, saved by
// SnapshotSaver), and the export folder offered again for the rest of the run.
//
// Threads: the window thread; the snapshot's note comes back through the event loop.
#include <QPointer>
#include <QString>
#include <memory>
#include <string>

namespace ov {

class CPlayerDlg;
class CExportClipDlg;
class SnapshotSaver;

class ExportCommands {
 public:
  explicit ExportCommands(CPlayerDlg& window);
  ~ExportCommands();

  // The dialog, prefilled from the selected pane and the current second; null without a file.
  std::unique_ptr<CExportClipDlg> MakeDialog();
  // Shows the dialog, or brings the open one to the front.
  void ExportClip();
  CExportClipDlg* OpenDialog() const { return m_dialog.data(); }
  // view false: the recorded picture; true: what the pane shows. The path it goes to, or empty.
  std::string Save(bool view);
  bool Saving() const;
  // Stops a snapshot being saved and waits for it.
  void Stop();
  void Wait();

  QString Folder() const { return m_folder; }
  void SetFolder(const QString& folder) { m_folder = folder; }

 private:
  CPlayerDlg& m_window;
  std::unique_ptr<SnapshotSaver> m_snapshots;
  QString m_folder;  // the folder chosen last, offered again for the rest of the run
  // The export dialog while it is open: beside the window, which stays usable meanwhile.
  QPointer<CExportClipDlg> m_dialog;
};

}  // namespace ov
