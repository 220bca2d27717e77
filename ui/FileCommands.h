#pragma once
// The player window's file commands: Open (one file or several as a set), Open Folder, Open Case,
// the neighbouring files, a drop, and the recent-files observer told of each file opened. Each
// open goes through the engine; the texts, messages and the activity analysis follow it.
//
// Threads: the window thread.
#include <QString>
#include <memory>
#include <string>
#include <vector>

class QDropEvent;
class QMimeData;

namespace ov {

class CPlayerDlg;
struct OpenOutcome;
struct RecordingSetPlan;

class FileCommands {
 public:
  explicit FileCommands(CPlayerDlg& window);

  // A file dialog (several files play as one set), then OpenFiles.
  void Open();
  // A folder chooser, then OpenFiles.
  void OpenFolder();
  // The case catalog's chooser, then OpenFiles.
  void OpenCase();
  bool OpenPath(const std::string& path, bool echoToStderr);
  bool OpenFiles(const std::vector<std::string>& paths, bool echoToStderr);
  // The file after (direction > 0) or before the open one in its folder.
  void OpenNeighbour(int direction);
  // The path box and the engine back to no file.
  void Reset();

  // Local files only; a drop opens them once the drop has returned.
  static bool Accepts(const QMimeData& data);
  void Drop(QDropEvent& event);

  const std::string& OpenedPath() const { return m_openedPath; }
  const std::shared_ptr<const RecordingSetPlan>& Set() const { return m_set; }

 private:
  // The window's part of an open, once the engine has opened the file or set.
  bool AfterOpen(const std::string& path, const OpenOutcome& out, bool echoToStderr);

  CPlayerDlg& m_window;
  std::string m_openedPath;
  std::shared_ptr<const RecordingSetPlan> m_set;  // the set open now, or null
};

}  // namespace ov
