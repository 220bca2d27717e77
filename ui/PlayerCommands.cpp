// The player window's command table: every button, slider and menu command, and opening a file.
#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <cstdio>
#include <filesystem>

#include "archive/RecordingSet.h"
#include "controls/SkinButton.h"
#include "controls/SkinSlider.h"
#include "controls/SlideMove.h"
#include "controls/VolumeSlider.h"
#include "ui/ButtonLooks.h"
#include "ui/CommandIds.h"
#include "ui/OpenCaseDlg.h"
#include "ui/OpenProblemText.h"
#include "ui/PlayerContextMenu.h"
#include "ui/PlayerDlg.h"
#include "ui/PlayerEngineLink.h"
#include "ui/StorageCommands.h"

namespace ov {

void CPlayerDlg::OnCommand(int id) {
  if (m_destroyed) return;
  if (m_ctx.onCommand) m_ctx.onCommand(id);
  // The display options change before the ordinary routing, which then ignores them.
  if (PreFilterCommand(id)) return;
  PlaybackEngine& e = m_engine->Engine();
  switch (id) {
    case idc::kPlay:
      e.OnPlay();
      break;
    case idc::kRew:
      e.OnRew();
      break;
    case idc::kFF:
      e.OnFF();
      break;
    case idc::kBack59:
      e.Jump(-PlaybackEngine::kJumpSeconds);
      break;
    case idc::kForward59:
      e.Jump(PlaybackEngine::kJumpSeconds);
      break;
    case idc::kSpeakerMin:
      e.OnSound();
      break;
    case idc::kCh1:
    case idc::kCh4:
    case idc::kCh9:
    case idc::kCh16: {
      const int panes = id == idc::kCh1 ? 1 : id == idc::kCh4 ? 4 : id == idc::kCh9 ? 9 : 16;
      // The strips follow the panes the file allows.
      if (e.ShowPanes(panes)) m_panes = panes;
      PollActivity();
      break;
    }
    case idc::kMinimize:
      showMinimized();
      break;
    case idc::kExit:
      accept();
      break;
    case idc::kFileOpen:
      OnFileOpen();
      break;
    case idc::kCmdOpenFolder:
      OnOpenFolder();
      break;
    case idc::kOpenYrxFile:
      m_storage->OpenStorage();
      break;
    case idc::kMakeChdFile:
      m_storage->MakeChannelFiles();
      break;
    case idc::kCmdAbout:
      OnAbout();
      break;
    case idc::kCmdExportClip:
      OnExportClip();
      break;
    case idc::kCmdSaveSnapshot:
      SaveSnapshot();
      break;
    case idc::kCmdShortcuts:
      ShowShortcuts();
      break;
    case idc::kCmdOpenCase:
      if (const auto set = ChooseCaseSet(this, *m_ctx.prompts)) OpenFiles(*set);
      break;
    case idc::kCmdGoToTime:
      GoToTime();
      break;
    case idc::kCmdTimeline:
      SetTimelineShown(!m_timelineShown);
      break;
    case idc::kCmdNextEvent:
      JumpToEvent(1, false);
      break;
    case idc::kCmdPreviousEvent:
      JumpToEvent(-1, false);
      break;
    case idc::kCmdZoomIn:
      m_decoder.ZoomPane(-1, 1);
      break;
    case idc::kCmdZoomOut:
      m_decoder.ZoomPane(-1, -1);
      break;
    case idc::kCmdZoomReset:
      m_decoder.ZoomPane(-1, 0);
      break;
    case idc::kCmdSaveView:
      SaveView();
      break;
    case idc::kCmdPictureAdjust:
      OnPictureAdjust();
      break;
    case idc::kCmdDeintOff:
    case idc::kCmdDeintOn:
    case idc::kCmdDeintAuto:
      SetDeinterlace(DeinterlaceOfCommand(id));
      break;
    case idc::kCombineFiles:
    case idc::kSpeakerMax:
    case idc::kMaximize:
    default:
      break;
  }
}

void CPlayerDlg::OnHScroll(int controlId, SlideMove move, int /*pos*/) {
  if (m_destroyed) return;
  PlaybackEngine& e = m_engine->Engine();
  if (controlId == idc::kSeek && m_sldSeek) {
    // Only a release moves playback; the position is read when the notification is handled.
    if (move == SlideMove::ThumbReleased && m_sldSeek->IsButtonUp())
      e.SeekSliderReleased(m_sldSeek->value());
  } else if (controlId == idc::kVolume && m_sldVolume) {
    if (move == SlideMove::Ended) e.SetVolume(m_sldVolume->GetLevel());
  }
}

void CPlayerDlg::OnFileOpen() {
  OpenFileRequest req;
  req.filter = "Ysk Files (*.ysk)";
  req.defaultExt = "ysk";
  req.initialName = "Ysk File";
  // Next to the open file: the next recording is usually in the same folder.
  if (m_edtPath && !m_edtPath->text().isEmpty())
    req.initialDir = QFileInfo(m_edtPath->text()).absolutePath().toStdString();
  // Several files chosen together play as one recording set.
  const std::vector<std::string> paths = m_ctx.prompts->ChooseOpenFiles(nullptr, req);
  if (paths.empty()) return;
  OpenFiles(paths);
}

void CPlayerDlg::OnOpenFolder() {
  std::string initial;
  if (m_edtPath && !m_edtPath->text().isEmpty())
    initial = QFileInfo(m_edtPath->text()).absolutePath().toStdString();
  const std::optional<std::string> dir = m_ctx.prompts->ChooseFolder(
      this, tr("Open the backup files of a folder as one recording").toStdString(), initial);
  if (dir) OpenFiles({*dir});
}

bool CPlayerDlg::OpenPath(const std::string& path, bool echoToStderr) {
  if (m_destroyed) return false;
  m_openedPath = path;
  m_set.reset();
  QApplication::setOverrideCursor(Qt::WaitCursor);
  OpenOutcome out = m_engine->Engine().OpenFile(path);
  QApplication::restoreOverrideCursor();
  return AfterOpen(path, out, echoToStderr);
}

bool CPlayerDlg::OpenFiles(const std::vector<std::string>& paths, bool echoToStderr) {
  if (m_destroyed || paths.empty()) return false;
  std::error_code ec;
  if (paths.size() == 1 && !std::filesystem::is_directory(paths.front(), ec))
    return OpenPath(paths.front(), echoToStderr);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  auto plan = std::make_shared<RecordingSetPlan>(PlanRecordingSet(paths));
  OpenOutcome out;
  if (!plan->Empty()) {
    m_openedPath = plan->members.front().path;
    m_set = plan;
    out = m_engine->Engine().OpenSet(*plan, m_openedPath);
    if (!out.accepted) m_set.reset();
  }
  QApplication::restoreOverrideCursor();
  const bool ready = !plan->Empty() && AfterOpen(m_openedPath, out, echoToStderr);
  // Every file left out is named with its reason: nothing given to the player disappears.
  QString text;
  if (plan->Empty()) text = tr("None of the files given forms a recording.");
  if (!plan->Empty() && !out.accepted && !out.refusal.empty())
    text = tr("The recording set was not opened: %1").arg(QString::fromStdString(out.refusal));
  if (!plan->misfits.empty()) {
    if (!text.isEmpty()) text += QStringLiteral("\n\n");
    text += tr("Not part of the recording set:");
    for (const SetMisfit& m : plan->misfits)
      text += QStringLiteral("\n%1: %2")
                  .arg(QString::fromStdString(m.path), QString::fromStdString(m.reason));
  }
  if (ready && plan->members.size() > 1)
    ShowNote(tr("%n files play as one recording (%1 ... %2)", nullptr, int(plan->members.size()))
                 .arg(QFileInfo(QString::fromStdString(plan->members.front().path)).fileName(),
                      QFileInfo(QString::fromStdString(plan->members.back().path)).fileName()));
  if (!text.isEmpty()) {
    if (echoToStderr) std::fprintf(stderr, "ostravue: %s\n", text.toStdString().c_str());
    MessageRequest msg;
    msg.text = text.toStdString();
    msg.icon = MessageIcon::Exclamation;
    m_ctx.prompts->ShowMessage(this, msg);
  }
  return ready;
}

bool CPlayerDlg::AfterOpen(const std::string& path, const OpenOutcome& out, bool echoToStderr) {
  // The path box turns white once a file passed the length check, grey again after a reset.
  SetPathText(m_edtPath ? m_edtPath->text().toStdString() : std::string(), FileChosen());
  const bool ready = out.accepted && m_engine->State().m_FileReady.load();
  // The analysis of whatever is open now; the one of the file before ends.
  StartActivity();
  if (echoToStderr && !ready) {
    const std::string why = out.message.empty() ? "not a backup file (.ysk)" : out.message;
    std::fprintf(stderr, "ostravue: %s: %s\n", path.c_str(), why.c_str());
  }
  if (!out.message.empty()) {
    MessageRequest msg;
    msg.text = out.message;
    msg.detail = ExplainProblem(out.problem);
    m_ctx.prompts->ShowMessage(this, msg);
  }
  // A set is not one file to reopen from the recent list.
  if (ready && m_ctx.onFileOpened && !m_set) m_ctx.onFileOpened(path);
  return ready;
}

void CPlayerDlg::ResetFileDisplay() {
  StopActivity();
  m_engine->Engine().ResetFileDisplay();
  SetPathText({}, false);
}

void CPlayerDlg::ResetControlImages() {
  for (const auto& [id, look] : kRestingLooks)
    SetButtonBitmaps(id, look.normal, look.pressed, look.hover, look.checkOn);
  InvalidateControl(idc::kSeek);
  UpdateDecoderWindow();
}

}  // namespace ov
