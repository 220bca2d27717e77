#pragma once
// The program's prompts: Qt message boxes and file dialogs.
#include "ui/UserPrompts.h"

namespace ov {

class QtUserPrompts final : public IUserPrompts {
 public:
  void ShowMessage(QWidget* owner, const MessageRequest& request) override;
  std::optional<std::string> ChooseOpenFile(QWidget* owner,
                                            const OpenFileRequest& request) override;
  std::vector<std::string> ChooseOpenFiles(QWidget* owner, const OpenFileRequest& request) override;
  std::optional<std::string> ChooseFolder(QWidget* owner, const std::string& title,
                                          const std::string& initial) override;
  std::optional<std::string> AskText(QWidget* owner, const std::string& title,
                                     const std::string& label, const std::string& initial) override;
};

}  // namespace ov
