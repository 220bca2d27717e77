// The window's export commands: the context menu items, S for a snapshot, the export dialog.
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include "export/ClipNames.h"
#include "export/HashCache.h"
#include "tests/ui/PlayerDlgFixture.h"
#include "ui/CommandIds.h"
#include "ui/ExportClipDlg.h"
#include "ui/PlayerContextMenu.h"

namespace ov {
namespace {

namespace fs = std::filesystem;
using test::PlayerDlgFixture;

class ExportUiTest : public PlayerDlgFixture {
 protected:
  // A recording alone in a fresh folder, opened in the window.
  fs::path OpenFresh(const std::string& name) {
    const fs::path sample = test::TestDir("samples") / "export-ui.ysk";
    EXPECT_TRUE(test::MakeSample(sample, "--channels 2 --duration 6 --size 176x144"));
    const fs::path dir = test::TestDir(name);
    fs::remove_all(dir);
    fs::create_directories(dir);
    fs::copy_file(sample, dir / "rec.ysk");
    Open(dir / "rec.ysk");
    EXPECT_TRUE(State().m_FileReady.load());
    return dir;
  }
};

TEST_F(ExportUiTest, TheContextMenuOffersExportAndSnapshot) {
  auto menu = CreatePlayerContextMenu(dlg.get(), false, 1);
  std::vector<std::pair<QString, int>> items;
  for (QAction* a : menu->actions())
    if (!a->isSeparator() && !a->menu()) items.emplace_back(a->text(), CommandOfAction(a));
  EXPECT_NE(std::find(items.begin(), items.end(),
                      std::make_pair(QStringLiteral("Export Clip..."), idc::kCmdExportClip)),
            items.end());
  EXPECT_NE(std::find(items.begin(), items.end(),
                      std::make_pair(QStringLiteral("Save Snapshot"), idc::kCmdSaveSnapshot)),
            items.end());
}

TEST_F(ExportUiTest, KeySSavesTheSelectedPanesPictureBesideTheFileAndSaysWhere) {
  EXPECT_EQ(dlg->SaveSnapshot(), "") << "nothing to save without a file";
  const fs::path dir = OpenFresh("snapshot-ui");
  // Shortcuts reach only the active window.
  QApplication::setActiveWindow(dlg.get());
  ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
  const std::string before = Text(idc::kPathBox);
  QTest::keyClick(dlg.get(), Qt::Key_S);
  // Saved on a worker: the window hears of it through its event loop.
  EXPECT_TRUE(dlg->SavingSnapshot());
  ASSERT_TRUE(test::WaitUntil([&] { return !dlg->SavingSnapshot(); }, 20000));
  const fs::path first = dir / "Camera 1_2024-03-01_12-00-00.png";
  ASSERT_TRUE(fs::exists(first)) << Text(idc::kPathBox);
  EXPECT_EQ(Text(idc::kPathBox), "Snapshot saved to " + first.string());
  // A second picture of the same second gets a name of its own; a third asked for while that
  // one is being saved is refused with a note, and the path box comes back after the notes.
  const fs::path second = dir / "Camera 1_2024-03-01_12-00-00-2.png";
  EXPECT_EQ(dlg->SaveSnapshot(), second.string());
  EXPECT_EQ(dlg->SaveSnapshot(), "");
  EXPECT_EQ(Text(idc::kPathBox), "Snapshot not saved: the last one is still being saved");
  ASSERT_TRUE(test::WaitUntil([&] { return !dlg->SavingSnapshot(); }, 20000));
  EXPECT_TRUE(fs::exists(second));
  EXPECT_EQ(Text(idc::kPathBox), "Snapshot saved to " + second.string());
  EXPECT_TRUE(test::WaitUntil([&] { return Text(idc::kPathBox) == before; }, 12000))
      << Text(idc::kPathBox);
  QImage png(QString::fromStdString(first.string()));
  EXPECT_EQ(png.size(), QSize(176, 144));
  EXPECT_EQ(png.text("Creation Time"), "2024-03-01 12:00:00");
  EXPECT_EQ(png.text("Source"), QString::fromStdString((dir / "rec.ysk").string()));
}

TEST_F(ExportUiTest, TheDialogExportsOnAWorkerWhilePlaybackGoesOn) {
  const fs::path cache = test::TestDir("export-ui-cache");
  setenv("XDG_CACHE_HOME", cache.c_str(), 1);  // digests remembered here, not in the user's
  EXPECT_EQ(dlg->MakeExportDialog(), nullptr);
  const fs::path dir = OpenFresh("export-ui");
  dlg->OnCommand(idc::kPlay);
  ASSERT_TRUE(test::WaitUntil([&] { return control->Frames() > 5; }, 10000));

  auto exp = dlg->MakeExportDialog();
  ASSERT_NE(exp, nullptr);
  ASSERT_EQ(exp->Channels()->count(), 2);
  EXPECT_EQ(exp->Channels()->item(0)->checkState(), Qt::Checked);  // the selected pane
  EXPECT_EQ(exp->Channels()->item(1)->checkState(), Qt::Unchecked);
  const auto from = exp->FromEdit()->text().toStdString();
  ASSERT_EQ(from.substr(0, 17), "2024-03-01 12:00:");
  EXPECT_EQ(exp->ToEdit()->text().toStdString(),
            exporter::DisplayStamp(*exporter::ParseTimeArg(from, 0) + 60));
  EXPECT_EQ(exp->Folder().toStdString(), dir.string());

  exp->FromEdit()->setText(QStringLiteral("0"));
  exp->ToEdit()->setText(QStringLiteral("4"));
  const int framesBefore = control->Frames();
  ASSERT_TRUE(exp->StartExport());
  ASSERT_TRUE(test::WaitUntil([&] { return !exp->Running(); }, 20000));
  EXPECT_TRUE(exp->Outcome().ok) << exp->StatusText().toStdString();
  EXPECT_EQ(exp->ProgressPercent(), 100);
  EXPECT_TRUE(fs::exists(dir / "Camera 1_20240301-120000.mp4"));
  EXPECT_TRUE(fs::exists(dir / "export-report.txt"));
  EXPECT_TRUE(test::WaitUntil([&] { return control->Frames() > framesBefore + 2; }, 3000))
      << "playback stood still";
  EXPECT_EQ(State().m_PlayState.load(), TransportState::Playing);
  exp.reset();

  // The folder chosen in the dialog is offered the next time.
  const fs::path other = test::TestDir("export-ui-other");
  fs::remove_all(cache);  // forget the digest the export above remembered
  dlg->OnCommand(idc::kCmdExportClip);
  CExportClipDlg* d = dlg->OpenExportDialog();
  ASSERT_NE(d, nullptr);
  EXPECT_FALSE(d->isModal());  // the window stays usable beside it
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  dlg->OnCommand(idc::kCmdExportClip);  // a second request brings the same one forward
  EXPECT_EQ(dlg->OpenExportDialog(), d);
  // Shown, it takes the source's digest while the user chooses, so the export need not.
  const auto id = IdentityOfPath((dir / "rec.ysk").string());
  ASSERT_TRUE(id);
  EXPECT_TRUE(test::WaitUntil(
      [&] { return exporter::CachedSha256(exporter::DefaultHashCacheFile(), *id).has_value(); },
      10000))
      << "the digest was not taken while the dialog stood open";
  d->FolderEdit()->setText(QString::fromStdString(other.string()));
  d->reject();
  QApplication::processEvents();
  EXPECT_EQ(dlg->ExportFolder().toStdString(), other.string());
  EXPECT_EQ(dlg->MakeExportDialog()->Folder().toStdString(), other.string());
}

TEST_F(ExportUiTest, TheChannelListShowsControlBytesOfANameHarmlessly) {
  const fs::path sample = test::TestDir("samples") / "export-names.ysk";
  ASSERT_TRUE(test::MakeSample(sample,
                               "--channels 2 --duration 2 --size 176x144 --names "
                               "'Gate\tEast,Yard'"));
  Open(sample);
  auto exp = dlg->MakeExportDialog();
  ASSERT_NE(exp, nullptr);
  ASSERT_EQ(exp->Channels()->count(), 2);
  EXPECT_EQ(exp->Channels()->item(0)->text(), QString::fromUtf16(u"1  Gate\uFFFDEast"));
  EXPECT_EQ(exp->Channels()->item(1)->text(), QStringLiteral("2  Yard"));
}

}  // namespace
}  // namespace ov
