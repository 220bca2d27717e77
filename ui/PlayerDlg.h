#pragma once
// The player window: a borderless 734 x 766 skinned dialog. It composes its parts (the transport
// bar, the pane area, the status texts, the file, key and export commands, the activity timeline,
// full screen), routes every button and menu command, and owns the engine, whose view
// (PlayerEngineLink) hands each view operation to the part it concerns.
//
// Threads: the window thread; the parts say which of their members other threads may call.
#include <QDialog>
#include <QFont>
#include <QIcon>
#include <QImage>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "controls/SlideMove.h"
#include "decoder/DecoderDispatch.h"
#include "decoder/Quelmar_Ctrl_Player.h"
#include "ui/PlayerKeys.h"
#include "ui/UserPrompts.h"

class QComboBox;
class QMenu;

namespace ov {
class CSkinButton;
class CSkinSlider;
class CVolumeSlider;
class PlayerEngineLink;
class CActivityTimeline;
class ActivityJob;
class StorageCommands;
class TransportBar;
class StatusTexts;
class PaneArea;
class FileCommands;
class KeyCommands;
class ExportCommands;
class TimelinePanel;
class FullScreenMode;
struct RecordingSetPlan;

struct PlayerDlgContext {
  IUserPrompts* prompts = nullptr;
  OvCreateControlFn createControl = nullptr;  // null: the video area stays empty
  OvDestroyControlFn destroyControl = nullptr;
  // Runs once the child windows are gone: unloads the decoder module.
  std::function<void()> afterChildrenDestroyed;
  // Optional observers for the remembered settings: every command, every file opened, and the
  // context menu before it is shown.
  std::function<void(int id)> onCommand;
  std::function<void(const std::string& path)> onFileOpened;
  std::function<void(QMenu& menu)> extendContextMenu;
};

class CPlayerDlg : public QDialog, public IDecoderEvents {
  Q_OBJECT

 public:
  static constexpr int kWidth = 734;
  static constexpr int kHeight = 766;
  static constexpr int kVideoWidth = 704;  // VIDEO_WIDTH: fixed, not measured

  explicit CPlayerDlg(PlayerDlgContext ctx);
  ~CPlayerDlg() override;

  // Runs the window modally; returns the dialog result.
  int DoModal();
  // Shutdown: seek thread, playback thread, locks, file descriptors, child windows, then the
  // context's afterChildrenDestroyed. Runs once; later calls do nothing.
  void DestroyWindow();

  // The open command of the FileOpen button: file dialog, then OpenPath.
  void OnFileOpen();
  // The open command from the chosen path on.
  // True when the file is open and ready to play. echoToStderr: a rejection is also written on
  // standard error (a file named on the command line).
  bool OpenPath(const std::string& path, bool echoToStderr = false);
  // Several files, or folders (their ".ysk" files, not their subfolders): the recording set they
  // form plays as one recording; the files left out are shown with their reasons. One file goes
  // to OpenPath. True when a recording is open and ready to play.
  bool OpenFiles(const std::vector<std::string>& paths, bool echoToStderr = false);
  // The set open now; null while one file (or none) is open.
  const RecordingSetPlan* OpenSet() const;
  // Puts the file display back to its no-file state.
  void ResetFileDisplay();

  // Every command id (buttons and menu items) after the display-option pre-filter.
  void OnCommand(int id);
  // A slider's scroll notification.
  void OnHScroll(int controlId, SlideMove move, int pos);
  // What a key does; the commands go through OnCommand and the engine, under their own rules.
  void OnKeyAction(KeyAction action);
  // The video area over the whole screen, the transport over it on mouse move. Esc or F leaves.
  void SetVideoFullScreen(bool on);
  bool IsVideoFullScreen() const;
  // True while the full-screen transport is shown.
  bool FullScreenTransportShown() const;
  // The file last given to OpenPath (empty before the first).
  const std::string& OpenedPath() const;

  // Widgets by control id (null for an unknown id), for painting, tests and screenshots.
  QWidget* Control(int id) const;
  CSkinButton* Button(int id) const;
  CSkinSlider* SeekSlider() const;
  CVolumeSlider* VolumeSlider() const;
  QString ControlText(int id) const;
  // The speed the Rew or FF button reached (shown in its tooltip), empty before the first.
  std::string ToolTipText(int id) const;
  CQuelmar_Ctrl_Player& Decoder() { return m_decoder; }
  PlayerEngineLink& Engine() { return *m_engine; }
  int BarTop() const { return m_nBarTop; }
  bool FileChosen() const;
  // True while a channel file build runs on its worker thread.
  bool BuildingChannelFiles() const;
  void WaitForChannelFiles();

  // The parts of the window.
  TransportBar& Bar() { return *m_bar; }
  StatusTexts& Texts() { return *m_texts; }
  PaneArea& Panes() { return *m_panes; }
  FileCommands& Files() { return *m_files; }
  TimelinePanel& TimelinePart() { return *m_timeline; }
  FullScreenMode& FullScreen() { return *m_full; }
  IUserPrompts& Prompts() { return *m_ctx.prompts; }
  // True once DestroyWindow ran: commands do nothing any more.
  bool Destroyed() const { return m_destroyed; }
  // The date format of the context menu (1..6).
  int TimeFormat() const { return m_TimeFormat; }
  // Tells the recent-files observer.
  void FileOpened(const std::string& path);
  // fn now when called on the window thread, else queued to it in call order.
  void RunOnWindowThread(std::function<void()> fn);
  // Keeps the window in the middle of its screen.
  void CentreOnScreen();

  // The engine's thumb, on the seek slider and the timeline's playhead. Any thread.
  void SetSeekPos(int pos);

  // Decoder control events: nothing is done with them.
  void OnDecoderEvent(int32_t dispid, std::span<const int32_t> args) override;

  // "Export Clip...": the dialog, prefilled from the selected pane and the current second; the
  // caller runs it. Null without an open file.
  std::unique_ptr<class CExportClipDlg> MakeExportDialog();
  // "Save Snapshot" and S: the selected pane's picture as PNG in the last export folder (else
  // beside the file, else home), found and written on a worker thread so the window stays
  // responsive over a damaged file. Returns the path it goes to, empty when none was started (no
  // file, or a snapshot still being saved); the path box says where it went, or why not.
  std::string SaveSnapshot();
  // "Save View" and Shift+S: the same for what the selected pane shows (its zoomed region at the
  // recorded pixel density, its adjustments and deinterlacing), named "..._view.png".
  std::string SaveView();
  // True from a snapshot's start to its note (window thread).
  bool SavingSnapshot() const;
  // Waits for the snapshot worker to end; its note still comes through the event loop.
  void WaitForSnapshot();
  QString ExportFolder() const;
  void SetExportFolder(const QString& folder);
  class CExportClipDlg* OpenExportDialog() const;

  // The composed background (without the product name), for tests.
  QImage SkinCanvas() const;

  // The activity timeline under the seek slider (T, or the context menu): the window grows by its
  // band; in full screen it runs along the bottom of the screen.
  void SetTimelineShown(bool on);
  bool TimelineShown() const;
  CActivityTimeline* Timeline() const;
  // The analysis of the open file (null without one), for tests and checks.
  const ActivityJob* Activity() const;
  // Where the analysis keeps its results; unset: the user's cache folder, empty: nowhere.
  void SetActivityCacheDir(std::optional<std::string> dir);
  // The next (direction > 0) or previous event of the selected channel, or of any channel.
  void JumpToEvent(int direction, bool anyChannel);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void changeEvent(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void OnInitDialog();
  void CreateControls();
  void CreateHiddenControls();
  void CreateLogo();
  void LayoutControls();
  void ApplyStatusColours();
  void OnContextMenu(QPoint globalPos);
  void OnAbout();
  bool PreFilterCommand(int id);

  PlayerDlgContext m_ctx;
  QIcon m_icon;
  QFont m_fntTitle;
  QFont m_fntDialog;
  QImage m_bmpBarStrip;
  QImage m_bmpTimeLine;
  QImage m_bmpFileName;
  int m_nBarTop = 641;

  QComboBox* m_cmbStorage = nullptr;
  QWidget* m_otherButtons[3] = {};  // 1008, 1014, 1015: hidden, disabled
  QWidget* m_logo = nullptr;

  CQuelmar_Ctrl_Player m_decoder;
  std::unique_ptr<TransportBar> m_bar;
  std::unique_ptr<StatusTexts> m_texts;
  std::unique_ptr<PaneArea> m_panes;
  std::unique_ptr<PlayerEngineLink> m_engine;
  std::unique_ptr<FileCommands> m_files;
  std::unique_ptr<KeyCommands> m_keys;
  std::unique_ptr<ExportCommands> m_export;
  std::unique_ptr<TimelinePanel> m_timeline;
  std::unique_ptr<FullScreenMode> m_full;
  std::unique_ptr<StorageCommands> m_storage;

  int m_IFrameOnly = 0;
  int m_TimeFormat = 1;
  bool m_destroyed = false;
  bool m_centring = false;
};

}  // namespace ov
