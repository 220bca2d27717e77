#include "ui/PlayerSettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QTimer>

#include "controls/VolumeSlider.h"
#include "playback/ControlIds.h"
#include "ui/CommandIds.h"
#include "ui/PlayerContextMenu.h"
#include "ui/PlayerDlg.h"
#include "ui/PlayerEngineLink.h"

namespace ov {

namespace {
constexpr int kLayoutCommands[][2] = {
    {1, idc::kCh1}, {4, idc::kCh4}, {9, idc::kCh9}, {16, idc::kCh16}};
constexpr int kFormatCommands[] = {idc::kCmdFmtYmdDash,  idc::kCmdFmtMdyDash,
                                   idc::kCmdFmtDmyDash,  idc::kCmdFmtYmdSlash,
                                   idc::kCmdFmtMdySlash, idc::kCmdFmtDmySlash};

// The window's corner only where a screen still shows it (a monitor may have gone since).
bool OnAScreen(const QPoint& p) {
  for (const QScreen* s : QGuiApplication::screens())
    if (s->availableGeometry().contains(p)) return true;
  return false;
}
}  // namespace

QString PlayerSettings::DefaultPath() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/ostravue/ostravue.conf");
}

PlayerSettings::PlayerSettings(QString path) : m_path(std::move(path)) { Load(); }

void PlayerSettings::Load() {
  m_data = {};
  if (m_path.isEmpty()) return;
  QSettings s(m_path, QSettings::IniFormat);
  // Whatever a hand-edited file holds, only values the window accepts are taken.
  const int volume = s.value(QStringLiteral("sound/volume"), 8).toInt();
  if (volume >= 0 && volume <= 15) m_data.volume = volume;
  m_data.soundOn = s.value(QStringLiteral("sound/on"), true).toBool();
  const int layout = s.value(QStringLiteral("view/layout"), 0).toInt();
  if (layout == 1 || layout == 4 || layout == 9 || layout == 16) m_data.layout = layout;
  const int format = s.value(QStringLiteral("view/dateFormat"), 1).toInt();
  if (format >= 1 && format <= 6) m_data.timeFormat = format;
  m_data.iFrameOnly = s.value(QStringLiteral("view/iFrameOnly"), false).toBool();
  m_data.exportFolder = s.value(QStringLiteral("export/folder")).toString();
  if (s.contains(QStringLiteral("window/position")))
    m_data.where = s.value(QStringLiteral("window/position")).toPoint();
  for (const QString& f : s.value(QStringLiteral("files/recent")).toStringList())
    if (!f.isEmpty() && !m_data.recent.contains(f) &&
        m_data.recent.size() < PlayerSettingsData::kMaxRecent)
      m_data.recent.append(f);
}

void PlayerSettings::Save() const {
  if (m_path.isEmpty()) return;
  QDir().mkpath(QFileInfo(m_path).absolutePath());
  QSettings s(m_path, QSettings::IniFormat);
  s.setValue(QStringLiteral("sound/volume"), m_data.volume);
  s.setValue(QStringLiteral("sound/on"), m_data.soundOn);
  s.setValue(QStringLiteral("view/layout"), m_data.layout);
  s.setValue(QStringLiteral("view/dateFormat"), m_data.timeFormat);
  s.setValue(QStringLiteral("view/iFrameOnly"), m_data.iFrameOnly);
  s.setValue(QStringLiteral("export/folder"), m_data.exportFolder);
  if (m_data.where)
    s.setValue(QStringLiteral("window/position"), *m_data.where);
  else
    s.remove(QStringLiteral("window/position"));
  s.setValue(QStringLiteral("files/recent"), m_data.recent);
  s.sync();
}

void PlayerSettings::ApplyTo(CPlayerDlg& dlg) const {
  PlaybackEngine& e = dlg.Engine().Engine();
  const PlaybackState& st = dlg.Engine().State();
  if (CVolumeSlider* v = dlg.VolumeSlider()) v->SetLevel(m_data.volume);
  e.SetVolume(m_data.volume);
  if ((st.m_SoundOn.load() != 0) != m_data.soundOn) dlg.OnCommand(idc::kSpeakerMin);
  if ((st.m_IFrameOnly.load() != 0) != m_data.iFrameOnly) dlg.OnCommand(idc::kCmdIFrameOnly);
  if (st.m_TimeFormat.load() != m_data.timeFormat)
    dlg.OnCommand(kFormatCommands[m_data.timeFormat - 1]);
  dlg.SetExportFolder(m_data.exportFolder);
  if (m_data.where && OnAScreen(*m_data.where)) dlg.move(*m_data.where);
}

void PlayerSettings::CaptureFrom(CPlayerDlg& dlg) {
  const PlaybackState& st = dlg.Engine().State();
  m_data.volume = st.m_Volume.load();
  m_data.soundOn = st.m_SoundOn.load() != 0;
  m_data.iFrameOnly = st.m_IFrameOnly.load() != 0;
  m_data.timeFormat = st.m_TimeFormat.load();
  m_data.exportFolder = dlg.ExportFolder();
  if (!dlg.isFullScreen()) m_data.where = dlg.pos();
  Save();
}

void PlayerSettings::NoteOpened(const QString& path) {
  m_data.recent.removeAll(path);
  m_data.recent.prepend(path);
  while (m_data.recent.size() > PlayerSettingsData::kMaxRecent) m_data.recent.removeLast();
  Save();
}

void PlayerSettings::NoteCommand(int id) {
  for (const auto& l : kLayoutCommands)
    if (l[1] == id) m_data.layout = l[0];
}

void PlayerSettings::Reset(CPlayerDlg& dlg) {
  if (!m_path.isEmpty()) QSettings(m_path, QSettings::IniFormat).clear();
  m_data = {};
  ApplyTo(dlg);
}

void PlayerSettings::ExtendMenu(QMenu& menu, CPlayerDlg& dlg) {
  menu.addSeparator();
  QMenu* recent = menu.addMenu(QCoreApplication::translate("PlayerSettings", "Recent Files"));
  recent->setEnabled(!m_data.recent.isEmpty());
  for (const QString& f : m_data.recent) {
    QAction* a = recent->addAction(QFileInfo(f).fileName());
    a->setToolTip(f);
    a->setStatusTip(f);
    // After the menu has closed: opening shows dialogs of its own.
    QObject::connect(a, &QAction::triggered, &dlg, [&dlg, f] {
      QTimer::singleShot(0, &dlg, [&dlg, f] { (void)dlg.OpenPath(f.toStdString()); });
    });
  }
  QAction* reset = menu.addAction(QCoreApplication::translate("PlayerSettings", "Reset settings"));
  QObject::connect(reset, &QAction::triggered, &dlg, [this, &dlg] { Reset(dlg); });
}

}  // namespace ov
