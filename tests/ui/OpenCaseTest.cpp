// "Open Case...": a catalog's sets by recorder and day, the chosen set opened in the window, and
// a damaged catalog answered with a message.
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <fstream>

#include "catalog/CatalogRun.h"
#include "catalog/Database.h"
#include "tests/archive/YskBuilder.h"
#include "tests/ui/PlayerDlgFixture.h"
#include "ui/CommandIds.h"
#include "ui/OpenCaseDlg.h"

namespace ov {
namespace {
namespace fs = std::filesystem;
using test::PlayerDlgFixture;

void WriteRecording(const fs::path& p, int32_t t0, const std::string& name) {
  test::YskBuilder b;
  b.header.channelCount = 1;
  b.header.video[0].name = name;
  // The recorder's running clock goes on from file to file, as in a real day of backups.
  b.AddVideo(0, t0, uint32_t(t0 - test::kT0) * 1000, 10, 1000, 5);
  const auto bytes = b.Build();
  fs::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

catalog::CaseSet Set(const std::string& layout, const std::string& day, int files) {
  catalog::CaseSet s{layout, day, {}, 0, 3600};
  for (int i = 0; i < files; ++i) s.paths.push_back("/case/" + day + "/" + std::to_string(i));
  return s;
}

TEST(OpenCaseDlg, ListsSetsUnderTheirRecorder) {
  COpenCaseDlg dlg(
      nullptr, "case.sqlite",
      {Set("4ch/coding2/A|B|C|D", "2024-03-01", 2), Set("4ch/coding2/A|B|C|D", "2024-03-02", 1),
       Set("1ch/coding1/Gate\\|North", "2024-03-01", 3)});
  QTreeWidget* t = dlg.Tree();
  ASSERT_EQ(t->topLevelItemCount(), 2);
  EXPECT_EQ(t->topLevelItem(0)->text(0).toStdString(), "4 channels: A, B, C, D");
  EXPECT_EQ(t->topLevelItem(1)->text(0).toStdString(), "1 channel: Gate|North");  // unescaped
  ASSERT_EQ(t->topLevelItem(0)->childCount(), 2);
  EXPECT_EQ(t->topLevelItem(0)->child(1)->text(0).toStdString(), "2024-03-02");
  EXPECT_EQ(t->topLevelItem(1)->child(0)->text(3).toStdString(), "3");
  // A recorder is no set to open.
  t->setCurrentItem(t->topLevelItem(1));
  EXPECT_FALSE(dlg.Chosen());
  EXPECT_FALSE(dlg.OpenButton()->isEnabled());
  t->setCurrentItem(t->topLevelItem(1)->child(0));
  ASSERT_TRUE(dlg.Chosen());
  EXPECT_EQ(dlg.Chosen()->paths.size(), 3u);
  EXPECT_TRUE(dlg.OpenButton()->isEnabled());
}

class OpenCaseTest : public PlayerDlgFixture {};

TEST_F(OpenCaseTest, OpensTheChosenSet) {
  const fs::path dir = test::TestDir("open-case");
  fs::remove_all(dir);
  WriteRecording(dir / "drive/a/early.ysk", test::kT0, "Gate");
  WriteRecording(dir / "drive/a/late.ysk", test::kT0 + 600, "Gate");
  WriteRecording(dir / "drive/b/other.ysk", test::kT0, "Yard");
  const std::string db = (dir / "case.sqlite").string();
  {
    auto d = catalog::Database::Open(db, catalog::Database::Mode::Write);
    catalog::RunCatalog(*d, {{(dir / "drive").string()}, false, false, 1});
  }
  prompts.fileAnswers.push_back(db);
  int rows = -1;
  QTimer::singleShot(0, [&] {
    auto* open = qobject_cast<COpenCaseDlg*>(QApplication::activeModalWidget());
    if (!open) return;
    QTreeWidget* t = open->Tree();
    rows = t->topLevelItemCount();
    for (int i = 0; i < t->topLevelItemCount(); ++i)
      if (t->topLevelItem(i)->text(0).contains("Gate"))
        t->setCurrentItem(t->topLevelItem(i)->child(0));
    open->OpenButton()->click();
  });
  dlg->OnCommand(idc::kCmdOpenCase);
  EXPECT_EQ(rows, 2);
  EXPECT_TRUE(prompts.messages.empty()) << prompts.messages.front().text << "\n"
                                        << prompts.messages.front().detail;
  EXPECT_EQ(fs::path(dlg->OpenedPath()).filename(), "early.ysk");
}

TEST_F(OpenCaseTest, SaysWhyADamagedCatalogDoesNotOpen) {
  const fs::path bad = test::TestDir("open-case") / "bad.sqlite";
  std::ofstream(bad) << std::string(4096, 'z');
  prompts.fileAnswers.push_back(bad.string());
  dlg->OnCommand(idc::kCmdOpenCase);
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_NE(prompts.messages[0].text.find("not a catalog"), std::string::npos);
  EXPECT_TRUE(dlg->OpenedPath().empty());
  // Cancelling the chooser does nothing at all.
  dlg->OnCommand(idc::kCmdOpenCase);
  EXPECT_EQ(prompts.messages.size(), 1u);
}

}  // namespace
}  // namespace ov
