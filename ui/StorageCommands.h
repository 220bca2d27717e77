#pragma once
// The hidden storage tool commands of the player window: the storage folder scan fills the
// recording list; the channel file build runs on a worker thread and reports its progress on the
// speed line.
//
// Threads: the window thread, apart from the build, whose progress goes through the window's status
// texts (StatusTexts::SetText, callable from any thread).
#include <atomic>
#include <memory>
#include <thread>

namespace ov {
namespace tools {
class IStorageView;
class StorageTools;
}  // namespace tools

class CPlayerDlg;
class IUserPrompts;

class StorageCommands {
 public:
  // prompts: asked for folders when a command runs.
  StorageCommands(CPlayerDlg& window, IUserPrompts* prompts);
  // Stops a build and waits for it.
  ~StorageCommands();

  // "Open storage folder": scan a folder and list its recordings.
  void OpenStorage();
  // "Make channel files" for the recording chosen in the list; nothing while a build runs.
  void MakeChannelFiles();
  bool Building() const { return m_building.load(); }
  // Asks a running build to stop; Wait then ends it.
  void Cancel() { m_cancel = true; }
  void Wait();

 private:
  // Throws std::system_error when the worker thread cannot start.
  void StartBuild(const std::string& folder);

  CPlayerDlg& m_window;
  IUserPrompts* m_prompts;
  std::unique_ptr<tools::IStorageView> m_view;
  std::unique_ptr<tools::StorageTools> m_tools;
  std::thread m_thread;
  std::atomic<bool> m_building{false};
  std::atomic<bool> m_cancel{false};
};

}  // namespace ov
