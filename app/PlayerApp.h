#pragma once
// The application object: checks that there is a widget application to host the decoder control
// in, loads and registers the decoder module, runs the player window modally and sees the
// shutdown through. Window thread only.
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/DecoderModule.h"
#include "ui/UserPrompts.h"

namespace ov {

class CPlayerDlg;

class CPlayerApp {
 public:
  struct Config {
    std::string programDir;  // empty: QCoreApplication::applicationDirPath()
    std::string moduleName = DecoderModule::kFileName;
    std::string openPath;  // a file to open once the window runs, as if chosen in the dialog
    // Several files or a folder (--folder): opened as one recording set instead of openPath.
    std::vector<std::string> setPaths;
    // Where the opened file starts: seconds from its start, or (calendar) a recording time in
    // seconds since 1970. Nothing: at the start.
    struct StartPoint {
      bool calendar = false;
      int64_t seconds = 0;
    };
    std::optional<StartPoint> start;
    bool paused = true;  // false: the opened file plays at once
    int layout = 0;      // 1, 4, 9 or 16 panes, as the pane buttons (refused as they are); 0: none
    bool fullScreen = false;          // the video area full screen once the window runs
    bool noSettings = false;          // --no-settings: main leaves settingsPath empty
    std::string settingsPath;         // the remembered settings; empty: none read or written
    IUserPrompts* prompts = nullptr;  // null: Qt dialogs
    // Called once the modal run has started (tests look at and close the window from here).
    std::function<void(CPlayerDlg&)> onRunning;
  };

  enum class Outcome { NotStarted, NoWidgetHost, LoadFailed, NoRegisterExport, Ran };

  explicit CPlayerApp(Config config);
  ~CPlayerApp();
  CPlayerApp(const CPlayerApp&) = delete;
  CPlayerApp& operator=(const CPlayerApp&) = delete;

  // The whole program: start-up, the modal run, shutdown. Always false: nothing runs on after it.
  bool InitInstance();

  // Shows text captioned "RegSvr32" with the exclamation icon (texts with insertions:
  // QString::arg).
  void ShowStartupMessage(const QString& text);

  Outcome LastOutcome() const { return m_outcome; }
  bool ModuleLoaded() const { return m_module && m_module->IsLoaded(); }
  // The file of the configuration was missing or rejected.
  bool FileRejected() const { return m_fileRejected; }

 private:
  void ReleaseModule();
  // The file, start point, layout and full screen of the configuration, once the window runs.
  void ApplyCommandLine(CPlayerDlg& dlg);

  Config m_config;
  std::unique_ptr<IUserPrompts> m_ownPrompts;
  std::unique_ptr<DecoderModule> m_module;
  Outcome m_outcome = Outcome::NotStarted;
  bool m_fileRejected = false;
};

}  // namespace ov
