#include "app/PlayerApp.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>

#include "archive/BackupFile.h"
#include "decoder/DecoderDispatch.h"
#include "ui/CommandIds.h"
#include "ui/PlayerDlg.h"
#include "ui/PlayerEngineLink.h"
#include "ui/PlayerSettings.h"
#include "ui/QtUserPrompts.h"
#include "ui/StringTable.h"

namespace ov {

CPlayerApp::CPlayerApp(Config config) : m_config(std::move(config)) {
  if (m_config.prompts == nullptr) {
    m_ownPrompts = std::make_unique<QtUserPrompts>();
    m_config.prompts = m_ownPrompts.get();
  }
  if (m_config.programDir.empty())
    m_config.programDir = QCoreApplication::applicationDirPath().toStdString();
}

CPlayerApp::~CPlayerApp() { ReleaseModule(); }

void CPlayerApp::ShowStartupMessage(const QString& text) {
  MessageRequest req;
  req.text = text.toStdString();
  req.caption = "RegSvr32";
  req.icon = MessageIcon::Exclamation;
  req.taskModal = true;
  m_config.prompts->ShowMessage(nullptr, req);
}

void CPlayerApp::ReleaseModule() {
  if (m_module) m_module->Release();
}

void CPlayerApp::ApplyCommandLine(CPlayerDlg& dlg) {
  if (m_config.fullScreen) dlg.SetVideoFullScreen(true);
  const bool set = !m_config.setPaths.empty();
  if (!m_config.openPath.empty() || set) {
    if (set ? !dlg.OpenFiles(m_config.setPaths, true) : !dlg.OpenPath(m_config.openPath, true)) {
      m_fileRejected = true;
      // A damaged file has had its numbered message; a file that is not a backup at all is
      // passed over without one, so the window says why it stays empty. A set has named every
      // file it left out, and why.
      const PreOpenResult pre = CheckBeforeOpen(m_config.openPath);
      if (!set && pre.status == PreOpenStatus::Ignored) {
        MessageRequest msg;
        msg.text = QCoreApplication::translate(
                       "PlayerApp",
                       "%1 was not opened: %2.\n\nChoose a backup file (.ysk) with "
                       "the Open button or Ctrl+O.")
                       .arg(QString::fromStdString(m_config.openPath),
                            QString::fromStdString(IgnoredReason(m_config.openPath, pre)))
                       .toStdString();
        msg.icon = MessageIcon::Exclamation;
        m_config.prompts->ShowMessage(&dlg, msg);
      }
    } else if (m_config.start || !m_config.paused) {
      PlaybackEngine& e = dlg.Engine().Engine();
      int64_t second = 0;
      if (m_config.start)
        second = m_config.start->calendar ? m_config.start->seconds - e.StartSecond()
                                          : m_config.start->seconds;
      const int64_t total = e.File().Recording().m_Index.m_TotalSeconds;
      (void)e.StartAt(second, m_config.paused);
      // The start is clamped into the recording; say so rather than quietly show another time.
      if (m_config.start && (second < 0 || second > total)) {
        MessageRequest msg;
        msg.text =
            (second < 0 ? QCoreApplication::translate(
                              "PlayerApp",
                              "The start given with --start lies before the recording; it starts "
                              "at its first second instead.\n\nGive a time inside the "
                              "recording, or move with the seek slider.")
                        : QCoreApplication::translate(
                              "PlayerApp",
                              "The start given with --start lies past the end of the recording, "
                              "which runs %1 seconds; it starts at its last second instead.\n\n"
                              "Give a time inside the recording, or move with the seek slider.")
                              .arg(total))
                .toStdString();
        msg.icon = MessageIcon::None;
        m_config.prompts->ShowMessage(&dlg, msg);
      }
    }
  }
  static constexpr struct {
    int panes, id;
  } kLayouts[] = {{1, idc::kCh1}, {4, idc::kCh4}, {9, idc::kCh9}, {16, idc::kCh16}};
  for (const auto& l : kLayouts)
    if (l.panes == m_config.layout) dlg.OnCommand(l.id);
}

bool CPlayerApp::InitInstance() {
  // The control is a widget: without a widget application there is nothing to host it in.
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
    ShowStartupMessage(QString::fromUtf8(LoadResString(IDS_NO_WINDOW_HOST)));
    m_outcome = Outcome::NoWidgetHost;
    return false;
  }

  std::string why;
  m_module = DecoderModule::Load(m_config.programDir, m_config.moduleName, &why);
  if (!m_module) {
    // The box keeps its short text; the reason goes where a person starting it from a shell sees.
    std::fprintf(stderr, "ostravue: the decoder module did not load: %s\n", why.c_str());
    m_config.prompts->ShowMessage(nullptr, {"Load Dll Fail.", {}, MessageIcon::None, false, {}});
    m_outcome = Outcome::LoadFailed;
    return false;
  }
  auto registerServer =
      reinterpret_cast<OvDllRegisterServerFn>(m_module->Symbol(OV_DECODER_REGISTER_SYMBOL));
  if (registerServer == nullptr) {
    std::fprintf(stderr, "ostravue: %s has no %s entry point\n", m_module->Path().c_str(),
                 OV_DECODER_REGISTER_SYMBOL);
    m_config.prompts->ShowMessage(nullptr,
                                  {"Loading DLL Failed.", {}, MessageIcon::None, false, {}});
    ReleaseModule();
    m_outcome = Outcome::NoRegisterExport;
    return false;
  }
  // The result is deliberately not looked at: a failed registration still leaves a usable control.
  (void)registerServer();

  PlayerDlgContext ctx;
  ctx.prompts = m_config.prompts;
  ctx.createControl =
      reinterpret_cast<OvCreateControlFn>(m_module->Symbol(OV_DECODER_CREATE_SYMBOL));
  ctx.destroyControl =
      reinterpret_cast<OvDestroyControlFn>(m_module->Symbol(OV_DECODER_DESTROY_SYMBOL));
  ctx.afterChildrenDestroyed = [this] { ReleaseModule(); };
  PlayerSettings settings(QString::fromStdString(m_config.settingsPath));
  ctx.onCommand = [&settings](int id) { settings.NoteCommand(id); };
  ctx.onFileOpened = [&settings](const std::string& path) {
    settings.NoteOpened(QString::fromStdString(path));
  };
  if (m_config.layout == 0) m_config.layout = settings.Data().layout;
  CPlayerDlg* window = nullptr;
  ctx.extendContextMenu = [&settings, &window](QMenu& menu) {
    if (window != nullptr) settings.ExtendMenu(menu, *window);
  };

  // Heap, not stack: the window holds the engine's buffers.
  auto dlg = std::make_unique<CPlayerDlg>(std::move(ctx));
  CPlayerDlg* raw = dlg.get();
  window = raw;
  settings.ApplyTo(*raw);
  QTimer::singleShot(0, raw, [this, raw] { ApplyCommandLine(*raw); });
  if (m_config.onRunning) {
    auto hook = m_config.onRunning;
    QTimer::singleShot(0, raw, [raw, hook] { hook(*raw); });
  }
  (void)dlg->DoModal();
  settings.CaptureFrom(*dlg);
  dlg->DestroyWindow();  // does nothing if the modal run already tore the window down
  dlg.reset();
  m_outcome = Outcome::Ran;
  return false;
}

}  // namespace ov
