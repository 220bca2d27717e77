#include "ui/PlayerDlg.h"

#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QThread>
#include <QWindow>
#include <vector>

#include "controls/SkinButton.h"
#include "controls/SkinSlider.h"
#include "controls/VolumeSlider.h"
#include "res/BitmapIds.h"
#include "res/SkinPalette.h"
#include "res/SkinResources.h"
#include "ui/AboutDlg.h"
#include "ui/ActivityTimeline.h"
#include "ui/CommandIds.h"
#include "ui/DialogFonts.h"
#include "ui/ExportClipDlg.h"
#include "ui/ExportCommands.h"
#include "ui/FileCommands.h"
#include "ui/FullScreenMode.h"
#include "ui/KeyCommands.h"
#include "ui/PaneArea.h"
#include "ui/PlayerAccessibility.h"
#include "ui/PlayerContextMenu.h"
#include "ui/PlayerEngineLink.h"
#include "ui/SkinPainter.h"
#include "ui/StatusTexts.h"
#include "ui/StorageCommands.h"
#include "ui/StringTable.h"
#include "ui/TimelinePanel.h"
#include "ui/TransportBar.h"
#include "ui/WindowDrag.h"

static void InitUiResources() { Q_INIT_RESOURCE(ui); }

namespace ov {

CPlayerDlg::CPlayerDlg(PlayerDlgContext ctx)
    : QDialog(nullptr, Qt::Window | Qt::FramelessWindowHint), m_ctx(std::move(ctx)) {
  InitUiResources();
  m_icon = QIcon(QStringLiteral(":/ostravue/ostravue.png"));
  m_fntDialog = DialogFont();
  setFont(m_fntDialog);
  setAttribute(Qt::WA_OpaquePaintEvent);
  m_bar = std::make_unique<TransportBar>(*this);
  m_texts = std::make_unique<StatusTexts>(*this);
  m_panes = std::make_unique<PaneArea>(*this, m_decoder);
  m_engine = std::make_unique<PlayerEngineLink>(*this, m_decoder);
  m_files = std::make_unique<FileCommands>(*this);
  m_keys = std::make_unique<KeyCommands>(*this);
  m_export = std::make_unique<ExportCommands>(*this);
  m_timeline = std::make_unique<TimelinePanel>(*this);
  m_full = std::make_unique<FullScreenMode>(*this);
  m_storage = std::make_unique<StorageCommands>(*this, m_ctx.prompts);
  OnInitDialog();
}

CPlayerDlg::~CPlayerDlg() { DestroyWindow(); }

bool CPlayerDlg::BuildingChannelFiles() const { return m_storage->Building(); }
void CPlayerDlg::WaitForChannelFiles() { m_storage->Wait(); }

int CPlayerDlg::DoModal() {
  if (m_destroyed) return QDialog::Rejected;
  return exec();
}

void CPlayerDlg::OnInitDialog() {
  CreateControls();
  m_timeline->Create();
  setWindowIcon(m_icon);
  m_fntTitle = BoldFontWithCellHeight(18);
  setWindowTitle(QString::fromUtf8(LoadResString(IDS_PRODUCT)));
  m_engine->InitState();

  m_panes->Create(m_ctx.createControl, this);
  m_panes->ConfigureAtStart();

  m_bmpBarStrip = LoadBitmapResource(IDB_BAR_STRIP);
  m_bmpTimeLine = LoadBitmapResource(IDB_LABEL_TIMELINE);
  m_bmpFileName = LoadBitmapResource(IDB_LABEL_FILENAME);

  setGeometry(500, 300, kWidth, kHeight);
  setFixedSize(kWidth, kHeight);
  CentreOnScreen();
  m_nBarTop = 641;
  LayoutControls();
  MakePlayerAccessible(*this, m_panes->Widget());

  CVolumeSlider* volume = m_bar->Volume();
  volume->SetLevelRange(0, 15);
  volume->SetLevel(8);
  m_engine->InitVolume(8);

  CSkinSlider* seek = m_bar->Seek();
  seek->setTickPosition(QSlider::NoTicks);
  seek->setValue(0);
  seek->update();

  // Keys belong to the window, never to whichever button last took the focus.
  setFocusPolicy(Qt::StrongFocus);
  m_texts->PathBox()->installEventFilter(this);
  m_keys->CreateShortcuts();
  m_bar->SetKeyToolTips();
  setAcceptDrops(true);
}

// Children are made in this order because it is their stacking and tab order.
void CPlayerDlg::CreateControls() {
  m_bar->AddButton(idc::kRew, "rew");
  m_bar->AddButton(idc::kBack59, "r");
  m_bar->AddButton(idc::kPlay, "Play");
  m_bar->AddButton(idc::kForward59, "f");
  m_bar->AddButton(idc::kFF, "ff");
  m_bar->AddVolumeSlider();
  m_bar->AddButton(idc::kFileOpen, "FileOpen")->setDefault(true);
  CreateHiddenControls();
  m_bar->AddSeekSlider();
  m_bar->AddButton(idc::kSpeakerMin, "SpeakerMin");
  m_bar->AddButton(idc::kSpeakerMax, "SpeakerMax")->hide();
  m_bar->AddButton(idc::kMaximize, "Maximize")->hide();
  m_bar->AddButton(idc::kMinimize, "Minimize");
  m_bar->AddButton(idc::kExit, "Exit");
  m_texts->AddStatusLines();
  ApplyStatusColours();
  CreateLogo();
  m_bar->AddButton(idc::kCh1, "CH1");
  m_bar->AddButton(idc::kCh4, "CH4");
  m_bar->AddButton(idc::kCh9, "CH9");
  m_bar->AddButton(idc::kCh16, "CH16");
}

// The storage tools' controls, kept hidden, between the open button and the path box.
void CPlayerDlg::CreateHiddenControls() {
  const struct {
    int id;
    const char* text;
  } hidden[] = {{idc::kOpenYrxFile, "Open YRXFile"},
                {idc::kMakeChdFile, "Make ChdFile"},
                {idc::kCombineFiles, "Combine Files"}};
  for (size_t i = 0; i < 3; ++i) {
    auto* b = new QPushButton(QString::fromUtf8(hidden[i].text), this);
    b->setAutoDefault(false);
    b->setEnabled(false);
    b->hide();
    const int id = hidden[i].id;
    connect(b, &QPushButton::clicked, this, [this, id] { OnCommand(id); });
    m_otherButtons[i] = b;
  }
  m_texts->AddPathBox();
  m_cmbStorage = new QComboBox(this);
  m_cmbStorage->setEnabled(false);
  m_cmbStorage->hide();
}

void CPlayerDlg::CreateLogo() {
  // The small logo stays where the template puts it (9 x 9 dialog units at (9, 3)).
  auto* logo = new QWidget(this);
  logo->setAttribute(Qt::WA_TransparentForMouseEvents);
  QImage pic = LoadBitmapResource(IDB_LOGO_SMALL);
  logo->setGeometry(14, 6, pic.isNull() ? 14 : pic.width(), pic.isNull() ? 17 : pic.height());
  logo->setAutoFillBackground(true);
  if (!pic.isNull()) {
    QPalette pal = logo->palette();
    pal.setBrush(QPalette::Window, QBrush(QPixmap::fromImage(pic)));
    logo->setPalette(pal);
  }
  m_logo = logo;
}

void CPlayerDlg::ApplyStatusColours() {
  m_bar->ApplySeekColours(skin::kTitleBand);
  m_texts->ApplyColours();
}

void CPlayerDlg::LayoutControls() {
  const int T = m_nBarTop;
  m_bar->Layout(T, kVideoWidth);
  QWidget* video = m_panes->Widget();
  video->setGeometry(15, 30, 704, 576);
  video->raise();
  video->show();
  m_engine->SetDisplayModeReady();
  m_texts->Layout(m_engine->TotalTimeText());
  m_bar->LayoutPaneButtons(T);
}

void CPlayerDlg::DestroyWindow() {
  if (m_destroyed) return;
  SetVideoFullScreen(false);
  m_destroyed = true;
  // Workers first: the playback thread calls the decoder control and sets control texts, and a
  // channel file build reports its progress to the window.
  m_storage->Cancel();
  m_storage->Wait();
  m_export->Stop();
  m_timeline->Stop();
  m_engine->Shutdown();
  // Whatever the control left behind goes with the other children, before the module unloads.
  m_panes->Destroy(m_ctx.destroyControl);
  hide();
  // children() is the live list, which every delete edits, and deleting one child may take
  // others with it: delete from a guarded copy.
  std::vector<QPointer<QWidget>> widgets;
  for (QObject* child : children())
    if (child->isWidgetType()) widgets.emplace_back(static_cast<QWidget*>(child));
  for (QPointer<QWidget>& w : widgets) delete w.data();
  m_bar->Forget();
  m_texts->Forget();
  m_timeline->Forget();
  m_cmbStorage = nullptr;
  m_logo = nullptr;
  for (auto& b : m_otherButtons) b = nullptr;
  destroy();
  if (m_ctx.afterChildrenDestroyed) m_ctx.afterChildrenDestroyed();
}

void CPlayerDlg::OnDecoderEvent(int32_t, std::span<const int32_t>) {}

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
      if (e.ShowPanes(panes)) m_timeline->SetPanes(panes);
      m_timeline->Poll();
      break;
    }
    case idc::kMinimize:
      showMinimized();
      break;
    case idc::kExit:
      accept();
      break;
    case idc::kFileOpen:
      m_files->Open();
      break;
    case idc::kCmdOpenFolder:
      m_files->OpenFolder();
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
      m_export->ExportClip();
      break;
    case idc::kCmdSaveSnapshot:
      SaveSnapshot();
      break;
    case idc::kCmdShortcuts:
      m_keys->ShowShortcuts();
      break;
    case idc::kCmdOpenCase:
      m_files->OpenCase();
      break;
    case idc::kCmdGoToTime:
      m_keys->GoToTime();
      break;
    case idc::kCmdTimeline:
      SetTimelineShown(!TimelineShown());
      break;
    case idc::kCmdNextEvent:
      JumpToEvent(1, false);
      break;
    case idc::kCmdPreviousEvent:
      JumpToEvent(-1, false);
      break;
    case idc::kCmdZoomIn:
      m_panes->Zoom(1);
      break;
    case idc::kCmdZoomOut:
      m_panes->Zoom(-1);
      break;
    case idc::kCmdZoomReset:
      m_panes->Zoom(0);
      break;
    case idc::kCmdSaveView:
      SaveView();
      break;
    case idc::kCmdPictureAdjust:
      m_panes->OnPictureAdjust();
      break;
    case idc::kCmdDeintOff:
    case idc::kCmdDeintOn:
    case idc::kCmdDeintAuto:
      m_panes->SetDeinterlace(DeinterlaceOfCommand(id));
      break;
    case idc::kCombineFiles:
    case idc::kSpeakerMax:
    case idc::kMaximize:
    default:
      break;
  }
}

bool CPlayerDlg::PreFilterCommand(int id) {
  if (id == idc::kCmdIFrameOnly) {
    m_IFrameOnly = m_IFrameOnly == 0 ? 1 : 0;
    m_engine->SetIFrameOnly(m_IFrameOnly != 0);
    return true;
  }
  if (int fmt = TimeFormatOfCommand(id); fmt != 0) {
    m_TimeFormat = fmt;
    m_engine->SetTimeFormat(fmt);
    return true;
  }
  return false;
}

void CPlayerDlg::OnHScroll(int controlId, SlideMove move, int /*pos*/) {
  if (m_destroyed) return;
  m_bar->OnScroll(m_engine->Engine(), controlId, move);
}

void CPlayerDlg::OnKeyAction(KeyAction action) { m_keys->OnKeyAction(action); }

void CPlayerDlg::OnFileOpen() { m_files->Open(); }
bool CPlayerDlg::OpenPath(const std::string& path, bool echoToStderr) {
  return m_files->OpenPath(path, echoToStderr);
}
bool CPlayerDlg::OpenFiles(const std::vector<std::string>& paths, bool echoToStderr) {
  return m_files->OpenFiles(paths, echoToStderr);
}
const RecordingSetPlan* CPlayerDlg::OpenSet() const { return m_files->Set().get(); }
const std::string& CPlayerDlg::OpenedPath() const { return m_files->OpenedPath(); }
void CPlayerDlg::ResetFileDisplay() { m_files->Reset(); }
void CPlayerDlg::FileOpened(const std::string& path) {
  if (m_ctx.onFileOpened) m_ctx.onFileOpened(path);
}

void CPlayerDlg::SetVideoFullScreen(bool on) { m_full->Set(on); }
bool CPlayerDlg::IsVideoFullScreen() const { return m_full->Active(); }
bool CPlayerDlg::FullScreenTransportShown() const { return m_full->TransportShown(); }

std::unique_ptr<CExportClipDlg> CPlayerDlg::MakeExportDialog() { return m_export->MakeDialog(); }
CExportClipDlg* CPlayerDlg::OpenExportDialog() const { return m_export->OpenDialog(); }
std::string CPlayerDlg::SaveSnapshot() { return m_export->Save(false); }
std::string CPlayerDlg::SaveView() { return m_export->Save(true); }
bool CPlayerDlg::SavingSnapshot() const { return m_export->Saving(); }
void CPlayerDlg::WaitForSnapshot() { m_export->Wait(); }
QString CPlayerDlg::ExportFolder() const { return m_export->Folder(); }
void CPlayerDlg::SetExportFolder(const QString& folder) { m_export->SetFolder(folder); }

void CPlayerDlg::SetTimelineShown(bool on) { m_timeline->SetShown(on); }
bool CPlayerDlg::TimelineShown() const { return m_timeline->Shown(); }
CActivityTimeline* CPlayerDlg::Timeline() const { return m_timeline->Widget(); }
const ActivityJob* CPlayerDlg::Activity() const { return m_timeline->Activity(); }
void CPlayerDlg::SetActivityCacheDir(std::optional<std::string> dir) {
  m_timeline->SetCacheDir(std::move(dir));
}
void CPlayerDlg::JumpToEvent(int direction, bool anyChannel) {
  m_timeline->JumpToEvent(direction, anyChannel);
}

QWidget* CPlayerDlg::Control(int id) const {
  if (QWidget* w = m_bar->Control(id)) return w;
  if (QWidget* w = m_texts->Control(id)) return w;
  switch (id) {
    case idc::kStorageCombo:
      return m_cmbStorage;
    case idc::kOpenYrxFile:
      return m_otherButtons[0];
    case idc::kMakeChdFile:
      return m_otherButtons[1];
    case idc::kCombineFiles:
      return m_otherButtons[2];
    case idc::kDecoder:
      return m_panes->Widget();
    default:
      return nullptr;
  }
}

CSkinButton* CPlayerDlg::Button(int id) const { return m_bar->Button(id); }
CSkinSlider* CPlayerDlg::SeekSlider() const { return m_bar->Seek(); }
CVolumeSlider* CPlayerDlg::VolumeSlider() const { return m_bar->Volume(); }
QString CPlayerDlg::ControlText(int id) const { return m_texts->Text(id); }
std::string CPlayerDlg::ToolTipText(int id) const { return m_bar->SpeedTip(id); }

bool CPlayerDlg::FileChosen() const { return m_engine->FileChosen(); }

void CPlayerDlg::RunOnWindowThread(std::function<void()> fn) {
  if (QThread::currentThread() == thread()) {
    fn();
  } else {
    QMetaObject::invokeMethod(this, std::move(fn), Qt::QueuedConnection);
  }
}

void CPlayerDlg::SetSeekPos(int pos) {
  // Always queued, from the window thread too: a thumb the playback thread posted just before a
  // move must not land after the move's own.
  QMetaObject::invokeMethod(
      this,
      [this, pos] {
        if (CSkinSlider* seek = m_bar->Seek()) seek->PostSetPos(pos);
        if (CActivityTimeline* timeline = m_timeline->Widget()) timeline->SetPlayhead(pos);
      },
      Qt::QueuedConnection);
}

void CPlayerDlg::CentreOnScreen() {
  if (m_centring) return;
  m_centring = true;
  QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
  if (s != nullptr) {
    QRect area = s->geometry();
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
  }
  m_centring = false;
}

void CPlayerDlg::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  if (m_full->Active())
    m_full->Layout();
  else if (!isMinimized())
    CentreOnScreen();
}

void CPlayerDlg::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  // A restore from the taskbar brings the window back to the middle of the screen.
  if (event->type() == QEvent::WindowStateChange && !isMinimized() && !m_full->Active())
    CentreOnScreen();
}

void CPlayerDlg::mousePressEvent(QMouseEvent* event) {
  QWidget* video = m_panes->Widget();
  if (event->button() != Qt::LeftButton || video == nullptr) {
    QDialog::mousePressEvent(event);
    return;
  }
  // Full screen does not move; the date line keeps its press for the double click.
  if (m_full->Active() || m_texts->OnDateLine(event->position().toPoint())) return;
  WinRect area = WinRect::FromQRect(video->geometry());
  if (!IsWindowDragPoint(area, event->position().toPoint())) return;
  if (windowHandle() != nullptr) windowHandle()->startSystemMove();
  QDialog::mousePressEvent(event);
}

void CPlayerDlg::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && m_texts->OnDateLine(event->position().toPoint())) {
    SetVideoFullScreen(!IsVideoFullScreen());
    return;
  }
  QDialog::mouseDoubleClickEvent(event);
}

void CPlayerDlg::mouseMoveEvent(QMouseEvent* event) {
  if (m_full->Active()) m_full->ShowTransport(true);
  QDialog::mouseMoveEvent(event);
}

bool CPlayerDlg::eventFilter(QObject* watched, QEvent* event) {
  m_full->Filter(watched, event);
  // The read-only path box would take the arrow, Home and End keys from the window's shortcuts;
  // it keeps only copying and selecting all.
  if (watched == m_texts->PathBox() && event->type() == QEvent::ShortcutOverride) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (!key->matches(QKeySequence::Copy) && !key->matches(QKeySequence::SelectAll)) return true;
  }
  return QDialog::eventFilter(watched, event);
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
  if (FileCommands::Accepts(*event->mimeData())) event->acceptProposedAction();
}

void CPlayerDlg::dropEvent(QDropEvent* event) { m_files->Drop(*event); }

void CPlayerDlg::contextMenuEvent(QContextMenuEvent* event) { OnContextMenu(event->globalPos()); }

void CPlayerDlg::OnContextMenu(QPoint globalPos) {
  std::unique_ptr<QMenu> menu = CreatePlayerContextMenu(this, m_IFrameOnly != 0, m_TimeFormat,
                                                        TimelineShown(), m_panes->Deinterlace());
  if (m_ctx.extendContextMenu) m_ctx.extendContextMenu(*menu);
  QAction* chosen = menu->exec(globalPos);
  int id = CommandOfAction(chosen);
  menu.reset();
  if (id != 0) OnCommand(id);
}

void CPlayerDlg::OnAbout() {
  CAboutDlg about(this);
  (void)about.exec();
}

QImage CPlayerDlg::SkinCanvas() const {
  SkinGeometry g{width(), height(), {}, {}};
  if (QWidget* video = m_panes->Widget()) g.video = WinRect::FromQRect(video->geometry());
  if (QLineEdit* path = m_texts->PathBox()) g.pathBox = WinRect::FromQRect(path->geometry());
  g.timelineHeight = m_timeline->Band();
  return ComposeSkinCanvas(g, {m_bmpBarStrip, m_bmpTimeLine, m_bmpFileName});
}

void CPlayerDlg::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (isMinimized()) {
    const int icon = 32;
    p.fillRect(rect(), palette().window());
    m_icon.paint(&p, (width() - icon + 1) / 2, (height() - icon + 1) / 2, icon, icon);
    return;
  }
  if (m_full->Active()) {
    p.fillRect(rect(), Qt::black);
    return;
  }
  SkinGeometry g{width(), height(), {}, {}};
  if (QWidget* video = m_panes->Widget()) g.video = WinRect::FromQRect(video->geometry());
  if (QLineEdit* path = m_texts->PathBox()) g.pathBox = WinRect::FromQRect(path->geometry());
  g.timelineHeight = m_timeline->Band();
  QRegion region = SkinWindowRegion(width(), height());
  if (mask() != region) setMask(region);
  m_nBarTop = SkinBarTop(g.video);
  PaintSkin(p, g, {m_bmpBarStrip, m_bmpTimeLine, m_bmpFileName}, m_fntTitle);
}

}  // namespace ov
