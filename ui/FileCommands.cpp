#include "ui/FileCommands.h"

#include <QApplication>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>
#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "archive/RecordingSet.h"
#include "ui/CommandIds.h"
#include "ui/OpenCaseDlg.h"
#include "ui/OpenProblemText.h"
#include "ui/PlayerDlg.h"
#include "ui/PlayerEngineLink.h"
#include "ui/PlayerKeys.h"
#include "ui/StatusTexts.h"
#include "ui/TimelinePanel.h"

namespace ov {

// The texts keep the window's translation context: their translations were made for it.
FileCommands::FileCommands(CPlayerDlg& window) : m_window(window) {}

void FileCommands::Open() {
  OpenFileRequest req;
  req.filter = "Ysk Files (*.ysk)";
  req.defaultExt = "ysk";
  req.initialName = "Ysk File";
  // Next to the open file: the next recording is usually in the same folder.
  req.initialDir = m_window.Texts().PathFolder();
  // Several files chosen together play as one recording set.
  const std::vector<std::string> paths = m_window.Prompts().ChooseOpenFiles(nullptr, req);
  if (paths.empty()) return;
  OpenFiles(paths, false);
}

void FileCommands::OpenFolder() {
  const std::optional<std::string> dir = m_window.Prompts().ChooseFolder(
      &m_window,
      QCoreApplication::translate("ov::CPlayerDlg",
                                  "Open the backup files of a folder as one recording")
          .toStdString(),
      m_window.Texts().PathFolder());
  if (dir) OpenFiles({*dir}, false);
}

void FileCommands::OpenCase() {
  if (const auto set = ChooseCaseSet(&m_window, m_window.Prompts())) OpenFiles(*set, false);
}

bool FileCommands::OpenPath(const std::string& path, bool echoToStderr) {
  if (m_window.Destroyed()) return false;
  m_openedPath = path;
  m_set.reset();
  QApplication::setOverrideCursor(Qt::WaitCursor);
  OpenOutcome out = m_window.Engine().Engine().OpenFile(path);
  QApplication::restoreOverrideCursor();
  return AfterOpen(path, out, echoToStderr);
}

bool FileCommands::OpenFiles(const std::vector<std::string>& paths, bool echoToStderr) {
  if (m_window.Destroyed() || paths.empty()) return false;
  std::error_code ec;
  if (paths.size() == 1 && !std::filesystem::is_directory(paths.front(), ec))
    return OpenPath(paths.front(), echoToStderr);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  auto plan = std::make_shared<RecordingSetPlan>(PlanRecordingSet(paths));
  OpenOutcome out;
  if (!plan->Empty()) {
    m_openedPath = plan->members.front().path;
    m_set = plan;
    out = m_window.Engine().Engine().OpenSet(*plan, m_openedPath);
    if (!out.accepted) m_set.reset();
  }
  QApplication::restoreOverrideCursor();
  const bool ready = !plan->Empty() && AfterOpen(m_openedPath, out, echoToStderr);
  // Every file left out is named with its reason: nothing given to the player disappears.
  QString text;
  if (plan->Empty())
    text =
        QCoreApplication::translate("ov::CPlayerDlg", "None of the files given forms a recording.");
  if (!plan->Empty() && !out.accepted && !out.refusal.empty())
    text = QCoreApplication::translate("ov::CPlayerDlg", "The recording set was not opened: %1")
               .arg(QString::fromStdString(out.refusal));
  if (!plan->misfits.empty()) {
    if (!text.isEmpty()) text += QStringLiteral("\n\n");
    text += QCoreApplication::translate("ov::CPlayerDlg", "Not part of the recording set:");
    for (const SetMisfit& m : plan->misfits)
      text += QStringLiteral("\n%1: %2")
                  .arg(QString::fromStdString(m.path), QString::fromStdString(m.reason));
  }
  if (ready && plan->members.size() > 1)
    m_window.Texts().ShowNote(
        QCoreApplication::translate("ov::CPlayerDlg", "%n files play as one recording (%1 ... %2)",
                                    nullptr, int(plan->members.size()))
            .arg(QFileInfo(QString::fromStdString(plan->members.front().path)).fileName(),
                 QFileInfo(QString::fromStdString(plan->members.back().path)).fileName()));
  if (!text.isEmpty()) {
    if (echoToStderr) std::fprintf(stderr, "ostravue: %s\n", text.toStdString().c_str());
    MessageRequest msg;
    msg.text = text.toStdString();
    msg.icon = MessageIcon::Exclamation;
    m_window.Prompts().ShowMessage(&m_window, msg);
  }
  return ready;
}

bool FileCommands::AfterOpen(const std::string& path, const OpenOutcome& out, bool echoToStderr) {
  StatusTexts& texts = m_window.Texts();
  // The path box turns white once a file passed the length check, grey again after a reset.
  texts.SetPathText(texts.Text(idc::kPathBox).toStdString(), m_window.FileChosen());
  const bool ready = out.accepted && m_window.Engine().State().m_FileReady.load();
  // The analysis of whatever is open now; the one of the file before ends.
  m_window.TimelinePart().Start();
  if (echoToStderr && !ready) {
    const std::string why = out.message.empty() ? "not a backup file (.ysk)" : out.message;
    std::fprintf(stderr, "ostravue: %s: %s\n", path.c_str(), why.c_str());
  }
  if (!out.message.empty()) {
    MessageRequest msg;
    msg.text = out.message;
    msg.detail = ExplainProblem(out.problem);
    m_window.Prompts().ShowMessage(&m_window, msg);
  }
  // A set is not one file to reopen from the recent list.
  if (ready && !m_set) m_window.FileOpened(path);
  return ready;
}

void FileCommands::OpenNeighbour(int direction) {
  if (m_openedPath.empty()) return;
  if (std::optional<std::string> next = NeighbourYskFile(m_openedPath, direction))
    OpenPath(*next, false);
}

void FileCommands::Reset() {
  m_window.TimelinePart().Stop();
  m_window.Engine().Engine().ResetFileDisplay();
  m_window.Texts().SetPathText({}, false);
}

bool FileCommands::Accepts(const QMimeData& data) {
  const QList<QUrl> urls = data.urls();
  return !urls.isEmpty() &&
         std::all_of(urls.begin(), urls.end(), [](const QUrl& u) { return u.isLocalFile(); });
}

void FileCommands::Drop(QDropEvent& event) {
  const QList<QUrl> urls = event.mimeData()->urls();
  std::vector<std::string> paths;
  for (const QUrl& u : urls) {
    if (!u.isLocalFile()) return;
    paths.push_back(u.toLocalFile().toStdString());
  }
  if (paths.empty()) return;
  event.acceptProposedAction();
  // Opened once the drop has returned, as the drag source waits for it. Several files (or a
  // folder) dropped together play as one recording set.
  QMetaObject::invokeMethod(
      &m_window, [this, paths] { OpenFiles(paths, false); }, Qt::QueuedConnection);
}

}  // namespace ov
