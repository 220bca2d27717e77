#pragma once
// The player window: a borderless 734 x 766 skinned dialog hosting the decoder control above the
// transport row, the sliders and the status lines. It owns the playback engine for its whole
// life, routes every button, slider and menu command to it, and is the engine's view.
//
// Threads: everything runs on the window thread except the view operations (SetControlText and
// its siblings), which worker threads may call; those are applied on the window thread in the
// order they were called.
#include <QDialog>
#include <QFont>
#include <QIcon>
#include <QImage>
#include <QPointer>
#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "controls/SlideMove.h"
#include "decoder/DecoderDispatch.h"
#include "decoder/Quelmar_Ctrl_Player.h"
#include "ui/PlayerKeys.h"
#include "ui/UserPrompts.h"

class QLineEdit;
class QComboBox;
class QMenu;
class QTimer;

namespace ov {
class CSkinButton;
class CSkinSlider;
class CVolumeSlider;
class CStatusText;
struct ButtonLook;
class PlayerEngineLink;
class CActivityTimeline;
class ActivityJob;
struct ActivitySnapshot;
class PreviewWorker;
class StorageCommands;
class SnapshotSaver;
struct RecordingSetPlan;
struct OpenOutcome;

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
  // "Open Folder...": a folder chooser, then OpenFiles.
  void OnOpenFolder();
  // The set open now; null while one file (or none) is open.
  const RecordingSetPlan* OpenSet() const { return m_set.get(); }
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
  bool IsVideoFullScreen() const { return m_full != nullptr; }
  // True while the full-screen transport is shown.
  bool FullScreenTransportShown() const;
  // The file last given to OpenPath (empty before the first).
  const std::string& OpenedPath() const { return m_openedPath; }

  // The display options of the context menu.

  // Widgets by control id (null for an unknown id), for painting, tests and screenshots.
  QWidget* Control(int id) const;
  CSkinButton* Button(int id) const;
  CSkinSlider* SeekSlider() const { return m_sldSeek; }
  CVolumeSlider* VolumeSlider() const { return m_sldVolume; }
  QString ControlText(int id) const;
  std::string ToolTipText(int id) const;
  CQuelmar_Ctrl_Player& Decoder() { return m_decoder; }
  PlayerEngineLink& Engine() { return *m_engine; }
  int BarTop() const { return m_nBarTop; }
  bool FileChosen() const;
  // True while a channel file build runs on its worker thread.
  bool BuildingChannelFiles() const;
  void WaitForChannelFiles();

  // View operations, callable from any thread.
  void SetControlText(int id, const std::string& text);
  void SetButtonBitmaps(int id, uint32_t normal, uint32_t pressed, uint32_t hover,
                        uint32_t checkOn);
  void InvalidateControl(int id);
  void ShowControl(int id, bool show);
  void SetSeekPos(int pos);
  void SetSeekRange(int min, int max);
  // The window's part of resetting the controls: resting button images, seek slider and decoder
  // window repainted.
  void ResetControlImages();
  void SetSeekTrackFilled(bool filled);
  void SetToolTipText(int id, const std::string& text);
  void UpdateDecoderWindow();
  void SetPathText(const std::string& text, bool fileChosen);

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
  // "Picture Adjustments...": brightness, contrast, gamma and saturation of the selected pane.
  void OnPictureAdjust();
  // True from a snapshot's start to its note (window thread).
  bool SavingSnapshot() const;
  // Waits for the snapshot worker to end; its note still comes through the event loop.
  void WaitForSnapshot();
  QString ExportFolder() const { return m_exportFolder; }
  void SetExportFolder(const QString& folder) { m_exportFolder = folder; }
  class CExportClipDlg* OpenExportDialog() const;

  // The composed background (without the product name), for tests.
  QImage SkinCanvas() const;

  // The activity timeline under the seek slider (T, or the context menu): the window grows by its
  // band; in full screen it runs along the bottom of the screen.
  void SetTimelineShown(bool on);
  bool TimelineShown() const { return m_timelineShown; }
  CActivityTimeline* Timeline() const { return m_timeline; }
  // The analysis of the open file (null without one), for tests and checks.
  const ActivityJob* Activity() const { return m_activity.get(); }
  // Where the analysis keeps its results; unset: the user's cache folder, empty: nowhere.
  void SetActivityCacheDir(std::optional<std::string> dir) { m_activityCacheDir = std::move(dir); }
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
  struct FullScreenState;
  void CreateShortcuts();
  void SetKeyToolTips();
  void ShowShortcuts();
  // Asks for a recording time or an elapsed time and lands on its first picture.
  void GoToTime();
  void OpenNeighbour(int direction);
  void StepVolume(int delta);
  void SeekBy(int seconds);
  void LayoutFullScreen();
  void ShowFullScreenTransport(bool shown);
  bool OnDateLine(QPoint p) const;
  void OnInitDialog();
  void CreateControls();
  CSkinButton* AddButton(int id, const char* text);
  void CreateFileAndStorageControls();
  void CreateStatusTexts();
  void CreateLogo();
  void CreateDecoderControl();
  void ConfigureDecoderAtStart();
  void LayoutControls();
  void PlaceButton(int id, int x, int y, int w, int h, const ButtonLook& look);
  void ApplyStatusColours();
  void CentreOnScreen();
  void OnContextMenu(QPoint globalPos);
  void OnAbout();
  void OnExportClip();
  void SetDeinterlace(int mode);
  void ShowNote(const QString& text);
  bool PreFilterCommand(int id);
  // The window's part of an open, once the engine has opened the file or set.
  bool AfterOpen(const std::string& path, const OpenOutcome& out, bool echoToStderr);
  // The channel of the selected pane (-1: none).
  int SelectedSlot();
  void CreateTimeline();
  void StartActivity();
  void StopActivity();
  void PollActivity();
  void PlaceTimeline();
  void PlaceTimelineBand(int band);
  int TimelineBand() const;
  std::vector<int32_t> ShownSlots();
  void OnPreviewWanted(int slot, int32_t second);
  void RunOnWindowThread(std::function<void()> fn);
  CStatusText* Status(int id) const;

  PlayerDlgContext m_ctx;
  QIcon m_icon;
  QFont m_fntTitle;
  QFont m_fntDialog;
  QImage m_bmpBarStrip;
  QImage m_bmpTimeLine;
  QImage m_bmpFileName;
  int m_nBarTop = 641;

  std::map<int, CSkinButton*> m_buttons;
  std::map<int, CStatusText*> m_statics;
  std::map<int, std::string> m_toolTips;
  CSkinSlider* m_sldSeek = nullptr;
  CVolumeSlider* m_sldVolume = nullptr;
  QLineEdit* m_edtPath = nullptr;
  QComboBox* m_cmbStorage = nullptr;
  QWidget* m_otherButtons[3] = {};  // 1008, 1014, 1015: hidden, disabled
  QWidget* m_logo = nullptr;
  QWidget* m_decoderWidget = nullptr;

  IDecoderControl* m_control = nullptr;
  CQuelmar_Ctrl_Player m_decoder;
  std::unique_ptr<PlayerEngineLink> m_engine;
  std::unique_ptr<StorageCommands> m_storage;
  std::unique_ptr<SnapshotSaver> m_snapshots;

  int m_IFrameOnly = 0;
  int m_TimeFormat = 1;
  bool m_pathChosenLook = false;
  bool m_destroyed = false;
  bool m_centring = false;
  std::string m_openedPath;
  std::shared_ptr<const RecordingSetPlan> m_set;  // the set open now, or null
  std::unique_ptr<FullScreenState> m_full;
  QString m_exportFolder;  // the folder chosen last, offered again for the rest of the run
  // The export dialog while it is open: beside the window, which stays usable meanwhile.
  QPointer<class CExportClipDlg> m_exportDlg;
  QPointer<class CPictureAdjustDlg> m_adjustDlg;
  QString m_lastNote, m_textBeforeNote;  // the path box's note, and what it covers

  CActivityTimeline* m_timeline = nullptr;
  QTimer* m_timelineTimer = nullptr;
  bool m_timelineShown = false;
  int m_panes = 16;  // the layout the panes were last given
  std::unique_ptr<ActivityJob> m_activity;
  std::unique_ptr<PreviewWorker> m_previews;
  std::shared_ptr<const ActivitySnapshot> m_activitySnapshot;
  uint64_t m_activityRevision = 0;
  uint64_t m_activityGeneration = 0;  // previews of an earlier file are dropped
  std::optional<std::string> m_activityCacheDir;
};

}  // namespace ov
