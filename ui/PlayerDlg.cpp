#include "ui/PlayerDlg.h"

#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QThread>
#include <QWindow>
#include <vector>

#include "activity/Activity.h"
#include "controls/SkinButton.h"
#include "controls/SkinSlider.h"
#include "controls/VolumeSlider.h"
#include "ov/Version.h"
#include "res/BitmapIds.h"
#include "res/SkinPalette.h"
#include "res/SkinResources.h"
#include "tools/StorageTools.h"
#include "ui/AboutDlg.h"
#include "ui/ActivityTimeline.h"
#include "ui/CommandIds.h"
#include "ui/DialogFonts.h"
#include "ui/PlayerAccessibility.h"
#include "ui/PlayerContextMenu.h"
#include "ui/PlayerEngineLink.h"
#include "ui/PlayerFullScreen.h"
#include "ui/PreviewWorker.h"
#include "ui/SkinPainter.h"
#include "ui/StatusTextControl.h"
#include "ui/StringTable.h"
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
  m_engine = std::make_unique<PlayerEngineLink>(*this, m_decoder);
  OnInitDialog();
}

CPlayerDlg::~CPlayerDlg() { DestroyWindow(); }

int CPlayerDlg::DoModal() {
  if (m_destroyed) return QDialog::Rejected;
  return exec();
}

void CPlayerDlg::OnInitDialog() {
  CreateControls();
  CreateTimeline();
  InstallSnapshotKey();
  // No system menu exists on a frameless window here, so there is no About item to add.
  setWindowIcon(m_icon);
  m_fntTitle = BoldFontWithCellHeight(18);
  setWindowTitle(QString::fromUtf8(LoadResString(IDS_PRODUCT)));
  m_engine->InitState();

  CreateDecoderControl();
  ConfigureDecoderAtStart();

  m_bmpBarStrip = LoadBitmapResource(IDB_BAR_STRIP);
  m_bmpTimeLine = LoadBitmapResource(IDB_LABEL_TIMELINE);
  m_bmpFileName = LoadBitmapResource(IDB_LABEL_FILENAME);

  setGeometry(500, 300, kWidth, kHeight);
  setFixedSize(kWidth, kHeight);
  CentreOnScreen();
  m_nBarTop = 641;
  m_toolTips.clear();
  LayoutControls();
  MakePlayerAccessible(*this, m_decoderWidget);

  m_sldVolume->SetLevelRange(0, 15);
  m_sldVolume->SetLevel(8);
  m_engine->InitVolume(8);

  m_sldSeek->setTickPosition(QSlider::NoTicks);
  m_sldSeek->setValue(0);
  m_sldSeek->update();

  // Keys belong to the window, never to whichever button last took the focus.
  setFocusPolicy(Qt::StrongFocus);
  m_edtPath->installEventFilter(this);
  CreateShortcuts();
  setAcceptDrops(true);
}

CSkinButton* CPlayerDlg::AddButton(int id, const char* text) {
  auto* b = new CSkinButton(id, this);
  b->setText(QString::fromUtf8(text));
  b->setAutoDefault(false);
  connect(b, &CSkinButton::command, this, &CPlayerDlg::OnCommand);
  m_buttons[id] = b;
  return b;
}

// Children are made in this order because it is their stacking and tab order.
void CPlayerDlg::CreateControls() {
  AddButton(idc::kRew, "rew");
  AddButton(idc::kBack59, "r");
  AddButton(idc::kPlay, "Play");
  AddButton(idc::kForward59, "f");
  AddButton(idc::kFF, "ff");
  m_sldVolume = new CVolumeSlider(idc::kVolume, this);
  m_sldVolume->setOrientation(Qt::Horizontal);
  connect(m_sldVolume, &CVolumeSlider::scrollNotify, this, &CPlayerDlg::OnHScroll);
  CSkinButton* open = AddButton(idc::kFileOpen, "FileOpen");
  open->setDefault(true);
  CreateFileAndStorageControls();

  m_sldSeek = new CSkinSlider(idc::kSeek, this);
  m_sldSeek->setOrientation(Qt::Horizontal);
  connect(m_sldSeek, &CSkinSlider::scrollNotify, this, &CPlayerDlg::OnHScroll);

  AddButton(idc::kSpeakerMin, "SpeakerMin");
  AddButton(idc::kSpeakerMax, "SpeakerMax")->hide();
  AddButton(idc::kMaximize, "Maximize")->hide();
  AddButton(idc::kMinimize, "Minimize");
  AddButton(idc::kExit, "Exit");
  CreateStatusTexts();
  CreateLogo();
  AddButton(idc::kCh1, "CH1");
  AddButton(idc::kCh4, "CH4");
  AddButton(idc::kCh9, "CH9");
  AddButton(idc::kCh16, "CH16");
}

void CPlayerDlg::CreateFileAndStorageControls() {
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
  m_edtPath = new QLineEdit(this);
  m_edtPath->setReadOnly(true);
  m_edtPath->setFrame(false);
  m_edtPath->setFocusPolicy(Qt::ClickFocus);
  m_cmbStorage = new QComboBox(this);
  m_cmbStorage->setEnabled(false);
  m_cmbStorage->hide();
}

void CPlayerDlg::CreateStatusTexts() {
  auto status = [this](int id, Qt::Alignment align, const char* text, bool visible) {
    auto* s = new CStatusText(id, align, this);
    s->SetText(QString::fromUtf8(text));
    s->setVisible(visible);
    m_statics[id] = s;
  };
  status(idc::kOsd, Qt::AlignHCenter, "OSD", true);
  status(idc::kSpeed, Qt::AlignHCenter, "SPEED", true);
  status(idc::kVer, Qt::AlignLeft, "VER", false);
  status(idc::kName, Qt::AlignLeft, "NAME", false);
  status(idc::kTotalTime, Qt::AlignLeft, "TOTALTIME", true);
  status(idc::kSearching, Qt::AlignLeft, "Searching...", false);
  ApplyStatusColours();
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
  const QColor &cyan = skin::kAccentText, &panel = skin::kPanel, &dark = skin::kTitleBand;
  Status(idc::kOsd)->SetColours(cyan, panel, panel);
  Status(idc::kSpeed)->SetColours(cyan, panel, panel);
  Status(idc::kVer)->SetColours(cyan, panel, panel);
  Status(idc::kTotalTime)->SetColours(dark, skin::kTimeFace, panel);
  Status(idc::kName)->SetColours(QColor(255, 255, 255), dark, panel);
  Status(idc::kSearching)->SetColours(cyan, panel, std::nullopt);

  QPalette seek = m_sldSeek->palette();
  seek.setColor(QPalette::Window, dark);
  m_sldSeek->setPalette(seek);
  m_sldSeek->setAutoFillBackground(true);
  SetPathText(m_edtPath->text().toStdString(), m_pathChosenLook);
}

void CPlayerDlg::CreateDecoderControl() {
  if (m_ctx.createControl) m_control = m_ctx.createControl(static_cast<QWidget*>(this), this);
  if (m_control != nullptr) m_decoderWidget = static_cast<QWidget*>(m_control->Widget());
  if (m_decoderWidget == nullptr) {
    // Without a control the area stays black so the window still lays out and paints.
    m_decoderWidget = new QWidget(this);
    m_decoderWidget->setAutoFillBackground(true);
    QPalette pal = m_decoderWidget->palette();
    pal.setColor(QPalette::Window, Qt::black);
    m_decoderWidget->setPalette(pal);
  }
  m_decoder.Attach(m_control);
}

void CPlayerDlg::ConfigureDecoderAtStart() {
  m_decoder.SetOwnerWindow(static_cast<int32_t>(winId()));
  char title[20];
  for (int i = 0; i < 16; ++i) {
    std::snprintf(title, sizeof title, "CH-%d", i + 1);
    m_decoder.SetPaneTitle(i, title);
  }
  m_decoder.SetProductText(LoadResString(IDS_PRODUCT));
  m_decoder.SetVersionText("                  Ver " OV_VERSION);
  m_decoder.SetVolume(0);
  for (int index : {3, 2, 1, 0, 4}) m_decoder.SetStartOption(index, 0);
  m_decoderWidget->setEnabled(true);
  m_decoderWidget->show();
}

void CPlayerDlg::DestroyWindow() {
  if (m_destroyed) return;
  SetVideoFullScreen(false);
  m_destroyed = true;
  // Workers first: the playback thread calls the decoder control and sets control texts, and a
  // channel file build reports its progress to the window.
  m_buildCancel = true;
  WaitForChannelFiles();
  m_snapshotCancel = true;
  WaitForSnapshot();
  StopActivity();
  m_engine->Shutdown();
  if (m_control != nullptr && m_ctx.destroyControl) m_ctx.destroyControl(m_control);
  m_control = nullptr;
  m_decoder.Attach(nullptr);
  // Whatever the control left behind goes with the other children, before the module unloads.
  m_decoderWidget = nullptr;
  hide();
  // children() is the live list, which every delete edits, and deleting one child may take
  // others with it: delete from a guarded copy.
  std::vector<QPointer<QWidget>> widgets;
  for (QObject* child : children())
    if (child->isWidgetType()) widgets.emplace_back(static_cast<QWidget*>(child));
  for (QPointer<QWidget>& w : widgets) delete w.data();
  m_buttons.clear();
  m_statics.clear();
  m_sldSeek = nullptr;
  m_sldVolume = nullptr;
  m_edtPath = nullptr;
  m_cmbStorage = nullptr;
  m_logo = nullptr;
  m_timeline = nullptr;
  for (auto& b : m_otherButtons) b = nullptr;
  destroy();
  if (m_ctx.afterChildrenDestroyed) m_ctx.afterChildrenDestroyed();
}

void CPlayerDlg::OnDecoderEvent(int32_t, std::span<const int32_t>) {}

QWidget* CPlayerDlg::Control(int id) const {
  if (auto it = m_buttons.find(id); it != m_buttons.end()) return it->second;
  if (auto it = m_statics.find(id); it != m_statics.end()) return it->second;
  switch (id) {
    case idc::kVolume:
      return m_sldVolume;
    case idc::kSeek:
      return m_sldSeek;
    case idc::kPathBox:
      return m_edtPath;
    case idc::kStorageCombo:
      return m_cmbStorage;
    case idc::kOpenYrxFile:
      return m_otherButtons[0];
    case idc::kMakeChdFile:
      return m_otherButtons[1];
    case idc::kCombineFiles:
      return m_otherButtons[2];
    case idc::kDecoder:
      return m_decoderWidget;
    default:
      return nullptr;
  }
}

CSkinButton* CPlayerDlg::Button(int id) const {
  auto it = m_buttons.find(id);
  return it == m_buttons.end() ? nullptr : it->second;
}

CStatusText* CPlayerDlg::Status(int id) const {
  auto it = m_statics.find(id);
  return it == m_statics.end() ? nullptr : it->second;
}

QString CPlayerDlg::ControlText(int id) const {
  if (CStatusText* s = Status(id)) return s->Text();
  if (id == idc::kPathBox && m_edtPath) return m_edtPath->text();
  return {};
}

std::string CPlayerDlg::ToolTipText(int id) const {
  auto it = m_toolTips.find(id);
  return it == m_toolTips.end() ? std::string() : it->second;
}

bool CPlayerDlg::FileChosen() const { return m_engine->FileChosen(); }

void CPlayerDlg::RunOnWindowThread(std::function<void()> fn) {
  if (QThread::currentThread() == thread()) {
    fn();
  } else {
    QMetaObject::invokeMethod(this, std::move(fn), Qt::QueuedConnection);
  }
}

void CPlayerDlg::SetControlText(int id, const std::string& text) {
  RunOnWindowThread([this, id, text] {
    QString t = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    if (CStatusText* s = Status(id)) {
      s->SetText(t);
    } else if (id == idc::kPathBox && m_edtPath) {
      m_edtPath->setText(t);
    }
  });
}

void CPlayerDlg::SetButtonBitmaps(int id, uint32_t normal, uint32_t pressed, uint32_t hover,
                                  uint32_t checkOn) {
  // The button queues these itself when called off the window thread, in call order.
  if (CSkinButton* b = Button(id)) {
    b->SetBitmaps(normal, pressed, hover, checkOn, 0, 0, 0, 1, 1, 4);
    b->Invalidate();
  }
}

void CPlayerDlg::InvalidateControl(int id) {
  RunOnWindowThread([this, id] {
    if (QWidget* w = Control(id)) w->update();
  });
}

void CPlayerDlg::ShowControl(int id, bool show) {
  RunOnWindowThread([this, id, show] {
    if (QWidget* w = Control(id)) w->setVisible(show);
  });
}

void CPlayerDlg::SetSeekPos(int pos) {
  // Always queued, from the window thread too: a thumb the playback thread posted just before a
  // move must not land after the move's own.
  QMetaObject::invokeMethod(
      this,
      [this, pos] {
        if (m_sldSeek) m_sldSeek->PostSetPos(pos);
        if (m_timeline) m_timeline->SetPlayhead(pos);
      },
      Qt::QueuedConnection);
}

void CPlayerDlg::SetSeekRange(int min, int max) {
  RunOnWindowThread([this, min, max] {
    if (m_sldSeek) m_sldSeek->setRange(min, max);
  });
}

void CPlayerDlg::SetSeekTrackFilled(bool filled) {
  RunOnWindowThread([this, filled] {
    if (!m_sldSeek) return;
    m_sldSeek->m_TrackFilled = filled;
    m_sldSeek->update();
  });
}

void CPlayerDlg::SetToolTipText(int id, const std::string& text) {
  RunOnWindowThread([this, id, text] { m_toolTips[id] = text; });
}

void CPlayerDlg::UpdateDecoderWindow() {
  RunOnWindowThread([this] {
    if (m_decoderWidget) m_decoderWidget->repaint();
  });
}

void CPlayerDlg::SetPathText(const std::string& text, bool fileChosen) {
  RunOnWindowThread([this, text, fileChosen] {
    if (!m_edtPath) return;
    m_pathChosenLook = fileChosen;
    m_edtPath->setText(QString::fromStdString(text));
    QPalette pal = m_edtPath->palette();
    const QColor bk = fileChosen ? QColor(255, 255, 255) : QColor(238, 238, 238);
    pal.setColor(QPalette::Base, bk);
    pal.setColor(QPalette::Window, bk);
    pal.setColor(QPalette::Text, QColor(35, 35, 35));
    m_edtPath->setPalette(pal);
  });
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
  if (m_full)
    LayoutFullScreen();
  else if (!isMinimized())
    CentreOnScreen();
}

void CPlayerDlg::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  // A restore from the taskbar brings the window back to the middle of the screen.
  if (event->type() == QEvent::WindowStateChange && !isMinimized() && !m_full) CentreOnScreen();
}

void CPlayerDlg::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || m_decoderWidget == nullptr) {
    QDialog::mousePressEvent(event);
    return;
  }
  // Full screen does not move; the date line keeps its press for the double click.
  if (m_full || OnDateLine(event->position().toPoint())) return;
  WinRect video = WinRect::FromQRect(m_decoderWidget->geometry());
  if (!IsWindowDragPoint(video, event->position().toPoint())) return;
  if (windowHandle() != nullptr) windowHandle()->startSystemMove();
  QDialog::mousePressEvent(event);
}

void CPlayerDlg::contextMenuEvent(QContextMenuEvent* event) { OnContextMenu(event->globalPos()); }

void CPlayerDlg::OnContextMenu(QPoint globalPos) {
  PaneViewCall shown;
  (void)m_decoder.GetPicture(-1, shown);
  std::unique_ptr<QMenu> menu = CreatePlayerContextMenu(this, m_IFrameOnly != 0, m_TimeFormat,
                                                        m_timelineShown, shown.deinterlace);
  if (m_ctx.extendContextMenu) m_ctx.extendContextMenu(*menu);
  QAction* chosen = menu->exec(globalPos);
  int id = CommandOfAction(chosen);
  menu.reset();
  if (id != 0) OnCommand(id);
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

void CPlayerDlg::OnAbout() {
  CAboutDlg about(this);
  (void)about.exec();
}

QImage CPlayerDlg::SkinCanvas() const {
  SkinGeometry g{width(), height(), {}, {}};
  if (m_decoderWidget) g.video = WinRect::FromQRect(m_decoderWidget->geometry());
  if (m_edtPath) g.pathBox = WinRect::FromQRect(m_edtPath->geometry());
  g.timelineHeight = TimelineBand();
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
  if (m_full) {
    p.fillRect(rect(), Qt::black);
    return;
  }
  SkinGeometry g{width(), height(), {}, {}};
  if (m_decoderWidget) g.video = WinRect::FromQRect(m_decoderWidget->geometry());
  if (m_edtPath) g.pathBox = WinRect::FromQRect(m_edtPath->geometry());
  g.timelineHeight = TimelineBand();
  QRegion region = SkinWindowRegion(width(), height());
  if (mask() != region) setMask(region);
  m_nBarTop = SkinBarTop(g.video);
  PaintSkin(p, g, {m_bmpBarStrip, m_bmpTimeLine, m_bmpFileName}, m_fntTitle);
}

}  // namespace ov
