#pragma once
// Message boxes and file choosers, behind an interface so tests can answer them.
// Window thread only.
#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace ov {

enum class MessageIcon { None, Exclamation };

struct MessageRequest {
  std::string text;
  std::string caption;  // empty: the application's title
  MessageIcon icon = MessageIcon::None;
  bool taskModal = false;  // no owner, blocks every window of the program
  std::string detail;      // shown beneath the text: why, and what to do next
};

struct OpenFileRequest {
  std::string filter;       // Qt name filters, e.g. "Ysk Files (*.ysk)"; ";;" between several
  std::string defaultExt;   // without the dot
  std::string initialName;  // proposed file name
  std::string initialDir;   // folder the dialog opens in; empty: the dialog's own choice
};

class IUserPrompts {
 public:
  virtual ~IUserPrompts() = default;
  // Shows a message with an OK button and returns when it is dismissed.
  virtual void ShowMessage(QWidget* owner, const MessageRequest& request) = 0;
  // Returns the chosen path, or nothing when the user cancels.
  virtual std::optional<std::string> ChooseOpenFile(QWidget* owner,
                                                    const OpenFileRequest& request) = 0;
  // Returns the paths chosen together (several files play as one recording set), or none when the
  // user cancels. Prompts that choose one file at a time answer with that one file.
  virtual std::vector<std::string> ChooseOpenFiles(QWidget* owner, const OpenFileRequest& request) {
    if (std::optional<std::string> path = ChooseOpenFile(owner, request)) return {*path};
    return {};
  }
  // Returns the chosen folder, or nothing when the user cancels.
  virtual std::optional<std::string> ChooseFolder(QWidget* owner, const std::string& title,
                                                  const std::string& initial) = 0;
  // Returns the line typed, or nothing when the user cancels.
  virtual std::optional<std::string> AskText(QWidget* owner, const std::string& title,
                                             const std::string& label,
                                             const std::string& initial) = 0;
};

}  // namespace ov
