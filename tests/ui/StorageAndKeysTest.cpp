// The hidden storage tools through the window, and the keys the dialog answers.
#include <QComboBox>
#include <QTest>

#include "tests/ui/PlayerDlgFixture.h"
#include "ui/CommandIds.h"
#include "ui/QtUserPrompts.h"

namespace ov {
namespace {

namespace fs = std::filesystem;
using test::PlayerDlgFixture;
using StorageAndKeysTest = PlayerDlgFixture;

TEST_F(StorageAndKeysTest, ScanFillsTheListAndTheBuildWritesChannelFiles) {
  fs::path storage = test::TestDir("storage") / "store";
  if (!fs::exists(storage)) {
    std::string cmd = std::string(OV_CLI_PATH) + " make-sample '" + storage.string() +
                      "' --storage --channels 2 --duration 3 --size 96x64 --yrx-files 2"
                      " --recording 20310704 > /dev/null 2>&1";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
  }
  prompts.folderAnswer = storage.string();
  dlg->OnCommand(idc::kOpenYrxFile);
  auto* combo = qobject_cast<QComboBox*>(dlg->Control(idc::kStorageCombo));
  ASSERT_GE(combo->count(), 1);
  EXPECT_EQ(Text(idc::kPathBox), storage.string() + "/");
  combo->setCurrentIndex(0);
  const std::string entry = combo->currentText().toStdString();

  dlg->OnCommand(idc::kMakeChdFile);
  ASSERT_TRUE(test::WaitUntil([&] { return !dlg->BuildingChannelFiles(); }, 20000));
  dlg->WaitForChannelFiles();
  QApplication::processEvents();
  int chv = 0;
  for (auto& e : fs::directory_iterator(storage / entry / "Ch"))
    if (e.path().extension() == ".chv") ++chv;
  EXPECT_EQ(chv, 2);
  EXPECT_EQ(Text(idc::kSpeed), "");
}

TEST_F(StorageAndKeysTest, EnterLeavesTheFileDialogShutAndEscNeverEndsTheRun) {
  QTest::keyClick(dlg.get(), Qt::Key_Return);
  EXPECT_TRUE(prompts.fileRequests.empty());
  QTest::keyClick(dlg.get(), Qt::Key_Escape);
  QTest::keyClick(dlg.get(), Qt::Key_Escape);
  EXPECT_TRUE(dlg->isVisible());
  QTest::keyClick(dlg.get(), Qt::Key_Q, Qt::ControlModifier);
  EXPECT_EQ(dlg->result(), QDialog::Accepted);
  EXPECT_FALSE(dlg->isVisible());
}

}  // namespace
}  // namespace ov
