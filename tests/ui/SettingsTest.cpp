// Remembered settings: a window's choices survive into the next window, damaged values are not
// taken, the recent list stays short and without repeats, and no file means nothing is written.
#include <QFile>
#include <QMenu>
#include <QSettings>
#include <cstdlib>
#include <filesystem>

#include "controls/SlideMove.h"
#include "controls/VolumeSlider.h"
#include "playback/ControlIds.h"
#include "tests/ui/PlayerDlgFixture.h"
#include "ui/CommandIds.h"
#include "ui/PlayerSettings.h"

namespace ov {
namespace {

namespace fs = std::filesystem;
using test::PlayerDlgFixture;

class SettingsTest : public PlayerDlgFixture {
 protected:
  QString File(const std::string& name) {
    const fs::path p = test::TestDir("settings") / name;
    fs::remove(p);
    return QString::fromStdString(p.string());
  }
};

TEST_F(SettingsTest, ChoicesMadeInOneWindowAreThereInTheNext) {
  const QString file = File("roundtrip.conf");
  PlayerSettings first(file);
  first.ApplyTo(*dlg);
  dlg->VolumeSlider()->SetLevel(3);
  dlg->OnHScroll(idc::kVolume, SlideMove::Ended, 3);
  dlg->OnCommand(idc::kSpeakerMin);     // sound off
  dlg->OnCommand(idc::kCmdIFrameOnly);  // on
  dlg->OnCommand(idc::kCmdFmtDmySlash);
  first.NoteCommand(idc::kCh9);
  dlg->SetExportFolder(QStringLiteral("/tmp/clips here"));
  first.CaptureFrom(*dlg);

  PlayerSettings second(file);
  const PlayerSettingsData& d = second.Data();
  EXPECT_EQ(d.volume, 3);
  EXPECT_FALSE(d.soundOn);
  EXPECT_TRUE(d.iFrameOnly);
  EXPECT_EQ(d.timeFormat, 6);
  EXPECT_EQ(d.layout, 9);
  EXPECT_EQ(d.exportFolder, QStringLiteral("/tmp/clips here"));
  ASSERT_TRUE(d.where.has_value());

  // A fresh window takes them all.
  dlg.reset();
  SetUp();
  second.ApplyTo(*dlg);
  EXPECT_EQ(State().m_Volume.load(), 3);
  EXPECT_EQ(dlg->VolumeSlider()->GetLevel(), 3);
  EXPECT_EQ(State().m_SoundOn.load(), 0);
  EXPECT_EQ(State().m_IFrameOnly.load(), 1);
  EXPECT_EQ(State().m_TimeFormat.load(), 6);
  EXPECT_EQ(dlg->ExportFolder(), QStringLiteral("/tmp/clips here"));

  // Reset: the file is emptied and the window is back to the defaults.
  second.Reset(*dlg);
  EXPECT_EQ(State().m_Volume.load(), 8);
  EXPECT_EQ(State().m_SoundOn.load(), 1);
  EXPECT_EQ(State().m_IFrameOnly.load(), 0);
  EXPECT_EQ(State().m_TimeFormat.load(), 1);
  EXPECT_TRUE(QSettings(file, QSettings::IniFormat).allKeys().isEmpty());
}

TEST_F(SettingsTest, DamagedValuesFallBackToTheDefaults) {
  const QString file = File("damaged.conf");
  {
    QSettings s(file, QSettings::IniFormat);
    s.setValue("sound/volume", 99);
    s.setValue("view/layout", 5);
    s.setValue("view/dateFormat", -2);
    s.setValue("files/recent", QStringList{"a.ysk", "", "a.ysk", "b.ysk"});
  }
  PlayerSettings s(file);
  EXPECT_EQ(s.Data().volume, 8);
  EXPECT_EQ(s.Data().layout, 0);
  EXPECT_EQ(s.Data().timeFormat, 1);
  EXPECT_EQ(s.Data().recent, (QStringList{"a.ysk", "b.ysk"}));
}

TEST_F(SettingsTest, RecentFilesNewestFirstTenAtMostInTheMenu) {
  const QString file = File("recent.conf");
  PlayerSettings s(file);
  for (int i = 0; i < 12; ++i) s.NoteOpened(QStringLiteral("/r/%1.ysk").arg(i));
  s.NoteOpened(QStringLiteral("/r/5.ysk"));
  const QStringList recent = PlayerSettings(file).Data().recent;  // written at once
  ASSERT_EQ(recent.size(), 10);
  EXPECT_EQ(recent.front(), QStringLiteral("/r/5.ysk"));
  EXPECT_EQ(recent[1], QStringLiteral("/r/11.ysk"));
  EXPECT_EQ(recent.count(QStringLiteral("/r/5.ysk")), 1);

  QMenu menu;
  s.ExtendMenu(menu, *dlg);
  QMenu* sub = nullptr;
  for (QAction* a : menu.actions())
    if (a->menu() != nullptr) sub = a->menu();
  ASSERT_NE(sub, nullptr);
  EXPECT_EQ(sub->actions().size(), 10);
  EXPECT_EQ(sub->actions().front()->text(), QStringLiteral("5.ysk"));
}

TEST_F(SettingsTest, WithoutAFileNothingIsReadOrWritten) {
  // The tests run with their own config folder, never the user's.
  const fs::path user = PlayerSettings::DefaultPath().toStdString();
  EXPECT_NE(user.string().find("test-tmp"), std::string::npos) << user;
  fs::remove(user);
  PlayerSettings s{QString()};
  EXPECT_FALSE(s.Persistent());
  s.NoteOpened(QStringLiteral("/r/x.ysk"));
  s.CaptureFrom(*dlg);
  EXPECT_FALSE(fs::exists(user));
}

}  // namespace
}  // namespace ov
