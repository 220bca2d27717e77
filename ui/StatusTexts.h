#pragma once
// The player window's texts: the status lines (date line, speed, total time, searching, product
// name and version) and the path box under the bar, with its short notes that give way to the
// path again.
//
// Threads: the window thread, apart from SetText and SetPathText, which any thread may call; they
// are applied on the window thread in the order they were called.
#include <QString>
#include <map>
#include <string>

class QLineEdit;
class QPoint;
class QWidget;

namespace ov {

class CPlayerDlg;
class CStatusText;

class StatusTexts {
 public:
  explicit StatusTexts(CPlayerDlg& window);

  void AddPathBox();
  void AddStatusLines();
  // Places and start texts; totalTime: the total time line with no file open.
  void Layout(const std::string& totalTime);
  void ApplyColours();

  CStatusText* Status(int id) const;
  QLineEdit* PathBox() const { return m_path; }
  // A status line or the path box by id, null for others.
  QWidget* Control(int id) const;
  QString Text(int id) const;
  // A status line's or the path box's text. Any thread.
  void SetText(int id, const std::string& text);
  // The path box's text and its colour: white once a file was chosen, grey without. Any thread.
  void SetPathText(const std::string& text, bool fileChosen);
  // A note in the path box for a few seconds (window thread).
  void ShowNote(const QString& text);
  // The folder of the file in the path box, empty without one.
  std::string PathFolder() const;
  // True on the visible date line (window coordinates).
  bool OnDateLine(QPoint p) const;

  // The widgets are gone with the window's children.
  void Forget();

 private:
  CPlayerDlg& m_window;
  std::map<int, CStatusText*> m_lines;
  QLineEdit* m_path = nullptr;
  bool m_pathChosenLook = false;
  QString m_lastNote, m_textBeforeNote;  // the path box's note, and what it covers
};

}  // namespace ov
