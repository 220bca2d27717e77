#pragma once
// The player window's keys: one shortcut per binding of the key table, each going through the
// window's command table or the engine, so it obeys the same rules as the button or slider it
// stands for; and the two commands that ask first (Go to Time, the shortcut list).
//
// Threads: the window thread.
#include "ui/PlayerKeys.h"

namespace ov {

class CPlayerDlg;

class KeyCommands {
 public:
  explicit KeyCommands(CPlayerDlg& window);

  // The window is the shortcuts' context: a focused button or slider never takes the key.
  void CreateShortcuts();
  void OnKeyAction(KeyAction action);
  // Asks for a recording time or an elapsed time and lands on its first picture.
  void GoToTime();
  void ShowShortcuts();

 private:
  void SeekBy(int seconds);

  CPlayerDlg& m_window;
};

}  // namespace ov
