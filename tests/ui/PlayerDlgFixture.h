#pragma once
// A player window with recording prompts and a recording decoder control, shown but not run
// modally, so tests drive it directly.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "tests/app/TestPrompts.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/PlayerDlg.h"
#include "ui/PlayerEngineLink.h"

namespace ov::test {

class PlayerDlgFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    PlayerDlgContext ctx;
    ctx.prompts = &prompts;
    ctx.createControl = &CreateRecordingControl;
    ctx.destroyControl = &DestroyRecordingControl;
    ctx.afterChildrenDestroyed = [this] { ++afterChildren; };
    dlg = std::make_unique<CPlayerDlg>(std::move(ctx));
    control = g_lastControl;
    dlg->show();
    QApplication::processEvents();
  }
  void TearDown() override { dlg.reset(); }

  PlaybackState& State() { return dlg->Engine().State(); }
  bool WaitSeekDone() {
    return test::WaitUntil([&] { return State().m_SeekDone.load() == 1; }, 10000);
  }
  bool HasCall(const std::string& call) {
    auto c = control->Calls();
    return std::find(c.begin(), c.end(), call) != c.end();
  }
  TransportState PlayState() { return State().m_PlayState.load(); }
  std::string Text(int id) { return dlg->ControlText(id).toStdString(); }

  // Opens path the way the FileOpen button does, answering the dialog with it.
  void Open(const std::filesystem::path& path) {
    prompts.fileAnswers.push_back(path.string());
    dlg->OnCommand(1007);
    QApplication::processEvents();
  }

  RecordingPrompts prompts;
  std::unique_ptr<CPlayerDlg> dlg;
  RecordingControl* control = nullptr;
  int afterChildren = 0;
};

}  // namespace ov::test
