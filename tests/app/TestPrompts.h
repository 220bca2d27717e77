#pragma once
// Prompts that answer from a script and remember what was shown.
#include <deque>
#include <string>
#include <vector>

#include "ui/UserPrompts.h"

namespace ov::test {

class RecordingPrompts final : public IUserPrompts {
 public:
  std::vector<MessageRequest> messages;
  std::vector<OpenFileRequest> fileRequests;
  std::deque<std::optional<std::string>> fileAnswers;  // empty: cancel
  std::optional<std::string> folderAnswer;             // nothing: cancel
  std::optional<std::string> textAnswer;               // nothing: cancel
  std::vector<std::string> textRequests;               // the labels asked

  void ShowMessage(QWidget*, const MessageRequest& request) override {
    messages.push_back(request);
  }
  std::optional<std::string> ChooseOpenFile(QWidget*, const OpenFileRequest& request) override {
    fileRequests.push_back(request);
    if (fileAnswers.empty()) return std::nullopt;
    auto a = fileAnswers.front();
    fileAnswers.pop_front();
    return a;
  }
  std::optional<std::string> ChooseFolder(QWidget*, const std::string&,
                                          const std::string&) override {
    return folderAnswer;
  }
  std::optional<std::string> AskText(QWidget*, const std::string&, const std::string& label,
                                     const std::string&) override {
    textRequests.push_back(label);
    return textAnswer;
  }
};

}  // namespace ov::test
