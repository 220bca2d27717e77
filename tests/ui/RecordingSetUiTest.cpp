// A recording set in the window: several files on one slider, the files left out named to the
// user, the pauses between files on the activity timeline, a folder chosen from the menu.
#include <QLineEdit>
#include <filesystem>

#include "archive/RecordingSet.h"
#include "controls/SkinSlider.h"
#include "tests/ui/PlayerDlgFixture.h"
#include "ui/ActivityTimeline.h"
#include "ui/CommandIds.h"

namespace ov {
namespace {

namespace fs = std::filesystem;
using test::PlayerDlgFixture;

class RecordingSetUiTest : public PlayerDlgFixture {
 protected:
  static fs::path Folder(const std::string& name) {
    const fs::path dir = test::TestDir("ui-set") / name;
    fs::create_directories(dir);
    return dir;
  }
  static const std::string kShape;
};
const std::string RecordingSetUiTest::kShape = "--channels 2 --duration 6 --size 176x144 --flat";

TEST_F(RecordingSetUiTest, AFolderPlaysOnOneSliderAndNamesTheFilesLeftOut) {
  const fs::path dir = Folder("mixed");
  // Three files of two seconds: rec-01.ysk .. rec-03.ysk (no rec.ysk itself).
  test::MakeSample(dir / "rec.ysk", kShape + " --split 0.0334");
  ASSERT_TRUE(fs::exists(dir / "rec-03.ysk"));
  ASSERT_TRUE(test::MakeSample(dir / "zz-other.ysk", "--channels 3 --duration 2 --flat"));
  prompts.folderAnswer = dir.string();
  dlg->OnCommand(idc::kCmdOpenFolder);
  QApplication::processEvents();
  ASSERT_NE(dlg->OpenSet(), nullptr);
  EXPECT_EQ(dlg->OpenSet()->members.size(), 3u);
  EXPECT_TRUE(State().m_FileReady.load());
  // One slider over the three files: the length of the whole recording.
  EXPECT_EQ(dlg->SeekSlider()->maximum(), 5);
  EXPECT_EQ(Text(idc::kTotalTime), "00 : 00 : 00 / 00 : 00 : 06");
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_NE(prompts.messages[0].text.find("zz-other.ysk: another recorder"), std::string::npos);
  // One file opened afterwards is one file again.
  Open(dir / "rec-02.ysk");
  EXPECT_EQ(dlg->OpenSet(), nullptr);
  EXPECT_EQ(dlg->SeekSlider()->maximum(), 1);
}

TEST_F(RecordingSetUiTest, APauseBetweenFilesIsDrawnOnTheTimeline) {
  const fs::path dir = Folder("pause");
  ASSERT_TRUE(test::MakeSample(dir / "a.ysk", "--channels 1 --duration 2 --flat --no-audio"));
  ASSERT_TRUE(test::MakeSample(dir / "b.ysk",
                               "--channels 1 --duration 2 --flat --no-audio --start "
                               "'2024-03-01 12:00:12' --start-msec 13000"));
  ASSERT_TRUE(dlg->OpenFiles({(dir / "b.ysk").string(), (dir / "a.ysk").string()}));
  EXPECT_TRUE(prompts.messages.empty());
  EXPECT_EQ(dlg->SeekSlider()->maximum(), 13);
  ASSERT_NE(dlg->Timeline(), nullptr);
  ASSERT_EQ(dlg->Timeline()->Gaps().size(), 1u);
  EXPECT_EQ(dlg->Timeline()->Gaps()[0], std::make_pair(int32_t(2), int32_t(12)));
}

TEST_F(RecordingSetUiTest, NothingThatFormsARecordingSaysSo) {
  const fs::path dir = Folder("none");
  fs::remove_all(dir);
  fs::create_directories(dir);
  EXPECT_FALSE(dlg->OpenFiles({dir.string()}));
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_NE(prompts.messages[0].text.find("None of the files"), std::string::npos);
  EXPECT_FALSE(State().m_FileReady.load());
}

}  // namespace
}  // namespace ov
