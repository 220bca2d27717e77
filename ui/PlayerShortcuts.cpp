// The player window's keys, the dropped file and the neighbouring files: every key goes through
// the window's command table or the engine, so it obeys the same rules as the button or slider it
// stands for.
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QShortcut>
#include <QUrl>
#include <algorithm>

#include "controls/SkinButton.h"
#include "controls/SkinSlider.h"
#include "controls/VolumeSlider.h"
#include "playback/GoToTime.h"
#include "playback/StatusText.h"
#include "ui/CommandIds.h"
#include "ui/PlayerDlg.h"
#include "ui/PlayerEngineLink.h"

namespace ov {

namespace {
constexpr int kSmallJumpSeconds = 5;
}  // namespace

void CPlayerDlg::CreateShortcuts() {
  for (const KeyBinding& b : KeyBindings()) {
    for (const char* keys : b.keys) {
      if (keys == nullptr) continue;
      // The window is the context: a focused button or slider never takes the key instead.
      auto* s = new QShortcut(QKeySequence(QString::fromUtf8(keys)), this);
      s->setContext(Qt::WindowShortcut);
      s->setAutoRepeat(b.action != KeyAction::PlayPause && b.action != KeyAction::FullScreen);
      const KeyAction action = b.action;
      connect(s, &QShortcut::activated, this, [this, action] { OnKeyAction(action); });
    }
  }
  SetKeyToolTips();
}

void CPlayerDlg::SetKeyToolTips() {
  const struct {
    int id;
    const char* text;
    KeyAction action;
  } tips[] = {
      {idc::kPlay, QT_TRANSLATE_NOOP("PlayerDlg", "Play / Pause"), KeyAction::PlayPause},
      {idc::kRew, QT_TRANSLATE_NOOP("PlayerDlg", "Rewind, next rewind speed"),
       KeyAction::NextRewSpeed},
      {idc::kBack59, QT_TRANSLATE_NOOP("PlayerDlg", "59 seconds back"), KeyAction::Back59},
      {idc::kForward59, QT_TRANSLATE_NOOP("PlayerDlg", "59 seconds forward"), KeyAction::Forward59},
      {idc::kFF, QT_TRANSLATE_NOOP("PlayerDlg", "Fast forward, next speed"),
       KeyAction::NextFFSpeed},
      {idc::kSpeakerMin, QT_TRANSLATE_NOOP("PlayerDlg", "Sound on / off"), KeyAction::Mute},
      {idc::kCh1, QT_TRANSLATE_NOOP("PlayerDlg", "1 pane"), KeyAction::Layout1},
      {idc::kCh4, QT_TRANSLATE_NOOP("PlayerDlg", "4 panes"), KeyAction::Layout4},
      {idc::kCh9, QT_TRANSLATE_NOOP("PlayerDlg", "9 panes"), KeyAction::Layout9},
      {idc::kCh16, QT_TRANSLATE_NOOP("PlayerDlg", "16 panes"), KeyAction::Layout16},
      {idc::kFileOpen, QT_TRANSLATE_NOOP("PlayerDlg", "Open a file"), KeyAction::Open},
      {idc::kExit, QT_TRANSLATE_NOOP("PlayerDlg", "Exit"), KeyAction::Quit},
  };
  for (const auto& t : tips) {
    if (QWidget* w = Control(t.id))
      w->setToolTip(QStringLiteral("%1 (%2)").arg(QCoreApplication::translate("PlayerDlg", t.text),
                                                  QString::fromStdString(KeysOf(t.action))));
  }
  if (m_sldSeek)
    m_sldSeek->setToolTip(
        QCoreApplication::translate("PlayerDlg", "Seek (Left / Right: 5 seconds, Home, End)"));
  if (m_sldVolume)
    m_sldVolume->setToolTip(QCoreApplication::translate("PlayerDlg", "Volume (0: up, 9: down)"));
  if (QWidget* w = Control(idc::kMinimize))
    w->setToolTip(QCoreApplication::translate("PlayerDlg", "Minimize"));
}

void CPlayerDlg::OnKeyAction(KeyAction action) {
  if (m_destroyed) return;
  PlaybackEngine& e = m_engine->Engine();
  switch (action) {
    case KeyAction::PlayPause:
      return OnCommand(idc::kPlay);
    case KeyAction::Forward5:
      return SeekBy(kSmallJumpSeconds);
    case KeyAction::Back5:
      return SeekBy(-kSmallJumpSeconds);
    case KeyAction::Forward59:
      return OnCommand(idc::kForward59);
    case KeyAction::Back59:
      return OnCommand(idc::kBack59);
    case KeyAction::NextFFSpeed:
      return OnCommand(idc::kFF);
    case KeyAction::NextRewSpeed:
      return OnCommand(idc::kRew);
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
      return StepVolume(1);
    case KeyAction::VolumeDown:
      return StepVolume(-1);
    case KeyAction::Mute:
      return OnCommand(idc::kSpeakerMin);
    case KeyAction::Layout1:
      return OnCommand(idc::kCh1);
    case KeyAction::Layout4:
      return OnCommand(idc::kCh4);
    case KeyAction::Layout9:
      return OnCommand(idc::kCh9);
    case KeyAction::Layout16:
      return OnCommand(idc::kCh16);
    case KeyAction::FullScreen:
      return SetVideoFullScreen(!IsVideoFullScreen());
    case KeyAction::ZoomIn:
      return OnCommand(idc::kCmdZoomIn);
    case KeyAction::ZoomOut:
      return OnCommand(idc::kCmdZoomOut);
    case KeyAction::ZoomReset:
      return OnCommand(idc::kCmdZoomReset);
    case KeyAction::PictureAdjust:
      return OnCommand(idc::kCmdPictureAdjust);
    case KeyAction::DeinterlaceNext: {
      PaneViewCall v;
      if (m_decoder.GetPicture(-1, v) < 0) return;
      return SetDeinterlace((v.deinterlace + 1) % 3);
    }
    case KeyAction::SaveSnapshot:
      return OnCommand(idc::kCmdSaveSnapshot);
    case KeyAction::SaveView:
      return OnCommand(idc::kCmdSaveView);
    case KeyAction::Open:
      return OnCommand(idc::kFileOpen);
    case KeyAction::NextFile:
      return OpenNeighbour(1);
    case KeyAction::PreviousFile:
      return OpenNeighbour(-1);
    case KeyAction::Quit:
      if (IsVideoFullScreen()) SetVideoFullScreen(false);
      return OnCommand(idc::kExit);
    case KeyAction::Timeline:
      return SetTimelineShown(!TimelineShown());
    case KeyAction::NextEvent:
      return JumpToEvent(1, false);
    case KeyAction::PreviousEvent:
      return JumpToEvent(-1, false);
    case KeyAction::NextEventAny:
      return JumpToEvent(1, true);
    case KeyAction::PreviousEventAny:
      return JumpToEvent(-1, true);
    case KeyAction::Swallow:
      return;
  }
}

void CPlayerDlg::SeekBy(int seconds) {
  PlaybackEngine& e = m_engine->Engine();
  (void)e.SeekToSecond(e.State().m_SliderSecond.load() + seconds);
}

void CPlayerDlg::StepVolume(int delta) {
  if (!m_sldVolume) return;
  const int level = std::clamp(m_sldVolume->GetLevel() + delta, 0, m_sldVolume->RangeMax());
  m_sldVolume->SetLevel(level);
  m_engine->Engine().SetVolume(level);
}

void CPlayerDlg::OpenNeighbour(int direction) {
  if (m_openedPath.empty()) return;
  if (std::optional<std::string> next = NeighbourYskFile(m_openedPath, direction)) OpenPath(*next);
}

void CPlayerDlg::GoToTime() {
  PlaybackEngine& e = m_engine->Engine();
  if (!e.State().m_FileReady.load()) return;
  const std::string now = FormatDateTime(
      SecondsToCalendar(int32_t(int64_t(e.StartSecond()) + e.State().m_SliderSecond.load())), 1);
  const std::optional<std::string> typed = m_ctx.prompts->AskText(
      this, QCoreApplication::translate("PlayerDlg", "Go to Time").toStdString(),
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
    m_ctx.prompts->ShowMessage(this, msg);
    return;
  }
  (void)e.MoveTo(*second);
}

void CPlayerDlg::ShowShortcuts() {
  MessageRequest msg;
  msg.caption = QCoreApplication::translate("PlayerDlg", "Keyboard shortcuts").toStdString();
  msg.text = ShortcutsHelpText([](const char* text) {
    return QCoreApplication::translate("PlayerKeys", text).toStdString();
  });
  m_ctx.prompts->ShowMessage(this, msg);
}

void CPlayerDlg::keyPressEvent(QKeyEvent* event) {
  // Esc leaves full screen and never quits: a second Esc must not end a review by accident.
  if (event->key() == Qt::Key_Escape) {
    if (IsVideoFullScreen()) SetVideoFullScreen(false);
    return;
  }
  // The default button must not answer Enter: only a click or Ctrl+O opens the file dialog.
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) return;
  QDialog::keyPressEvent(event);
}

void CPlayerDlg::dragEnterEvent(QDragEnterEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (!urls.isEmpty() &&
      std::all_of(urls.begin(), urls.end(), [](const QUrl& u) { return u.isLocalFile(); }))
    event->acceptProposedAction();
}

void CPlayerDlg::dropEvent(QDropEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  std::vector<std::string> paths;
  for (const QUrl& u : urls) {
    if (!u.isLocalFile()) return;
    paths.push_back(u.toLocalFile().toStdString());
  }
  if (paths.empty()) return;
  event->acceptProposedAction();
  // Opened once the drop has returned, as the drag source waits for it. Several files (or a
  // folder) dropped together play as one recording set.
  QMetaObject::invokeMethod(
      this, [this, paths] { OpenFiles(paths); }, Qt::QueuedConnection);
}

}  // namespace ov
