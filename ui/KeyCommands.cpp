#include "ui/KeyCommands.h"

#include <QCoreApplication>
#include <QShortcut>

#include "playback/GoToTime.h"
#include "playback/StatusText.h"
#include "ui/CommandIds.h"
#include "ui/FileCommands.h"
#include "ui/PaneArea.h"
#include "ui/PlayerDlg.h"
#include "ui/PlayerEngineLink.h"
#include "ui/TimelinePanel.h"
#include "ui/TransportBar.h"

namespace ov {

namespace {
constexpr int kSmallJumpSeconds = 5;
}  // namespace

KeyCommands::KeyCommands(CPlayerDlg& window) : m_window(window) {}

void KeyCommands::CreateShortcuts() {
  for (const KeyBinding& b : KeyBindings()) {
    for (const char* keys : b.keys) {
      if (keys == nullptr) continue;
      // The window is the context: a focused button or slider never takes the key instead.
      auto* s = new QShortcut(QKeySequence(QString::fromUtf8(keys)), &m_window);
      s->setContext(Qt::WindowShortcut);
      s->setAutoRepeat(b.action != KeyAction::PlayPause && b.action != KeyAction::FullScreen);
      const KeyAction action = b.action;
      QObject::connect(s, &QShortcut::activated, &m_window,
                       [this, action] { OnKeyAction(action); });
    }
  }
}

void KeyCommands::OnKeyAction(KeyAction action) {
  if (m_window.Destroyed()) return;
  PlaybackEngine& e = m_window.Engine().Engine();
  auto command = [this](int id) { m_window.OnCommand(id); };
  switch (action) {
    case KeyAction::PlayPause:
      return command(idc::kPlay);
    case KeyAction::Forward5:
      return SeekBy(kSmallJumpSeconds);
    case KeyAction::Back5:
      return SeekBy(-kSmallJumpSeconds);
    case KeyAction::Forward59:
      return command(idc::kForward59);
    case KeyAction::Back59:
      return command(idc::kBack59);
    case KeyAction::NextFFSpeed:
      return command(idc::kFF);
    case KeyAction::NextRewSpeed:
      return command(idc::kRew);
    case KeyAction::FrameStep:
      (void)e.StepFrame();
      return;
    case KeyAction::FrameBack:
      (void)e.StepBack();
      return;
    case KeyAction::GoToTime:
      return GoToTime();
    case KeyAction::First:
      (void)e.SeekToSecond(0);
      return;
    case KeyAction::Last:
      (void)e.SeekToSecond(e.File().Recording().m_Index.m_TotalSeconds);
      return;
    case KeyAction::VolumeUp:
      return m_window.Bar().StepVolume(e, 1);
    case KeyAction::VolumeDown:
      return m_window.Bar().StepVolume(e, -1);
    case KeyAction::Mute:
      return command(idc::kSpeakerMin);
    case KeyAction::Layout1:
      return command(idc::kCh1);
    case KeyAction::Layout4:
      return command(idc::kCh4);
    case KeyAction::Layout9:
      return command(idc::kCh9);
    case KeyAction::Layout16:
      return command(idc::kCh16);
    case KeyAction::FullScreen:
      return m_window.SetVideoFullScreen(!m_window.IsVideoFullScreen());
    case KeyAction::ZoomIn:
      return command(idc::kCmdZoomIn);
    case KeyAction::ZoomOut:
      return command(idc::kCmdZoomOut);
    case KeyAction::ZoomReset:
      return command(idc::kCmdZoomReset);
    case KeyAction::PictureAdjust:
      return command(idc::kCmdPictureAdjust);
    case KeyAction::DeinterlaceNext:
      return m_window.Panes().NextDeinterlace();
    case KeyAction::SaveSnapshot:
      return command(idc::kCmdSaveSnapshot);
    case KeyAction::SaveView:
      return command(idc::kCmdSaveView);
    case KeyAction::Open:
      return command(idc::kFileOpen);
    case KeyAction::NextFile:
      return m_window.Files().OpenNeighbour(1);
    case KeyAction::PreviousFile:
      return m_window.Files().OpenNeighbour(-1);
    case KeyAction::Quit:
      if (m_window.IsVideoFullScreen()) m_window.SetVideoFullScreen(false);
      return command(idc::kExit);
    case KeyAction::Timeline:
      return m_window.SetTimelineShown(!m_window.TimelineShown());
    case KeyAction::NextEvent:
      return m_window.JumpToEvent(1, false);
    case KeyAction::PreviousEvent:
      return m_window.JumpToEvent(-1, false);
    case KeyAction::NextEventAny:
      return m_window.JumpToEvent(1, true);
    case KeyAction::PreviousEventAny:
      return m_window.JumpToEvent(-1, true);
    case KeyAction::Swallow:
      return;
  }
}

void KeyCommands::SeekBy(int seconds) {
  PlaybackEngine& e = m_window.Engine().Engine();
  (void)e.SeekToSecond(e.State().m_SliderSecond.load() + seconds);
}

void KeyCommands::GoToTime() {
  PlaybackEngine& e = m_window.Engine().Engine();
  if (!e.State().m_FileReady.load()) return;
  const std::string now = FormatDateTime(
      SecondsToCalendar(int32_t(int64_t(e.StartSecond()) + e.State().m_SliderSecond.load())), 1);
  const std::optional<std::string> typed = m_window.Prompts().AskText(
      &m_window, QCoreApplication::translate("PlayerDlg", "Go to Time").toStdString(),
      QCoreApplication::translate("PlayerDlg",
                                  "Recording time (YYYY-MM-DD HH:MM:SS) or elapsed time (H:MM:SS):")
          .toStdString(),
      now);
  if (!typed) return;
  const std::optional<int64_t> second = ParseGoToTime(*typed, e.StartSecond());
  const int64_t total = e.File().Recording().m_Index.m_TotalSeconds;
  if (!second || *second < 0 || *second > total) {
    MessageRequest msg;
    msg.caption = QCoreApplication::translate("PlayerDlg", "Go to Time").toStdString();
    msg.text =
        QCoreApplication::translate("PlayerDlg",
                                    "\"%1\" is not a time of this recording. Type a time "
                                    "from %2 to %3, or an elapsed time such as 0:01:30.")
            .arg(QString::fromStdString(*typed),
                 QString::fromStdString(FormatDateTime(SecondsToCalendar(e.StartSecond()), 1)),
                 QString::fromStdString(
                     FormatDateTime(SecondsToCalendar(int32_t(e.StartSecond() + total)), 1)))
            .toStdString();
    m_window.Prompts().ShowMessage(&m_window, msg);
    return;
  }
  (void)e.MoveTo(*second);
}

void KeyCommands::ShowShortcuts() {
  MessageRequest msg;
  msg.caption = QCoreApplication::translate("PlayerDlg", "Keyboard shortcuts").toStdString();
  msg.text = ShortcutsHelpText([](const char* text) {
    return QCoreApplication::translate("PlayerKeys", text).toStdString();
  });
  m_window.Prompts().ShowMessage(&m_window, msg);
}

}  // namespace ov
