#pragma once
// What the player remembers between runs: volume, sound on or off, layout, date format, I-Frame
// Only, the export and snapshot folder, the window's place and the last ten files opened. Kept in
// an INI file (normally $XDG_CONFIG_HOME/ostravue/ostravue.conf); with no file (--no-settings, and
// every test that does not name one) nothing is read or written. Window thread only.
#include <QPoint>
#include <QString>
#include <QStringList>
#include <optional>

class QMenu;

namespace ov {

class CPlayerDlg;

struct PlayerSettingsData {
  static constexpr int kMaxRecent = 10;
  int volume = 8;  // 0..15, the volume slider's range
  bool soundOn = true;
  int layout = 0;      // 1, 4, 9 or 16 panes; 0: the recording's own
  int timeFormat = 1;  // 1..6, the context menu's order
  bool iFrameOnly = false;
  QString exportFolder;         // also where snapshots go
  std::optional<QPoint> where;  // the window's top-left corner
  QStringList recent;           // newest first, at most kMaxRecent
};

class PlayerSettings {
 public:
  // The user's settings file under the XDG config folder.
  static QString DefaultPath();

  // path empty: defaults, and nothing is ever written.
  explicit PlayerSettings(QString path);

  const PlayerSettingsData& Data() const { return m_data; }
  bool Persistent() const { return !m_path.isEmpty(); }

  // Puts the remembered values into a window that has just been created (before any file).
  void ApplyTo(CPlayerDlg& dlg) const;
  // Takes the window's present values and writes them.
  void CaptureFrom(CPlayerDlg& dlg);
  // A file opened: first in "Recent Files", written at once so a crash does not lose it.
  void NoteOpened(const QString& path);
  // A pane button pressed: the layout to start with next time.
  void NoteCommand(int id);
  // Forgets everything: the file, and the window back to the defaults.
  void Reset(CPlayerDlg& dlg);
  // "Recent Files" and "Reset settings" at the end of the context menu.
  void ExtendMenu(QMenu& menu, CPlayerDlg& dlg);

  void Load();
  void Save() const;

 private:
  QString m_path;
  PlayerSettingsData m_data;
};

}  // namespace ov
