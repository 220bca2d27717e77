#pragma once
// Ids of the player window's controls and commands; buttons and menu items route through one
// command table keyed by these.
#include "playback/ControlIds.h"

namespace ov::idc {

// The ids the engine also uses come from its table, so the two can never disagree.
using namespace ov::ctl;

inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;
inline constexpr int kFileOpen = 1007;
inline constexpr int kOpenYrxFile = 1008;
inline constexpr int kStorageCombo = 1013;
inline constexpr int kMakeChdFile = 1014;
inline constexpr int kCombineFiles = 1015;
inline constexpr int kSpeakerMax = 1018;
inline constexpr int kMaximize = 1022;
inline constexpr int kMinimize = 1023;
inline constexpr int kExit = 1024;
inline constexpr int kAboutVersion = 1033;

inline constexpr int kAboutBoxSys = 16;  // system menu item, low four bits ignored
inline constexpr int kCmdAbout = 32772;
inline constexpr int kCmdIFrameOnly = 32773;
inline constexpr int kCmdFmtYmdDash = 32775;
inline constexpr int kCmdFmtMdyDash = 32776;
inline constexpr int kCmdFmtDmyDash = 32777;
inline constexpr int kCmdFmtYmdSlash = 32778;
inline constexpr int kCmdFmtDmySlash = 32779;
inline constexpr int kCmdFmtMdySlash = 32781;
// Evidence out of a backup: clips and snapshots (context menu; S saves a snapshot too).
inline constexpr int kCmdExportClip = 32790;
inline constexpr int kCmdSaveSnapshot = 32791;
inline constexpr int kCmdShortcuts = 32795;      // "Keyboard shortcuts"
inline constexpr int kCmdGoToTime = 32796;       // "Go to Time..." (also Ctrl+G)
inline constexpr int kCmdTimeline = 32797;       // "Activity Timeline" (also T)
inline constexpr int kCmdNextEvent = 32798;      // "Next Event" (also E)
inline constexpr int kCmdPreviousEvent = 32799;  // "Previous Event" (also Shift+E)
// Looking closer at the selected pane (context menu; keys too).
inline constexpr int kCmdZoomIn = 32800;
inline constexpr int kCmdZoomOut = 32801;
inline constexpr int kCmdZoomReset = 32802;
inline constexpr int kCmdSaveView = 32803;
inline constexpr int kCmdPictureAdjust = 32804;
inline constexpr int kCmdDeintOff = 32805;
inline constexpr int kCmdDeintOn = 32806;
inline constexpr int kCmdDeintAuto = 32807;
// A case catalog's recordings by recorder and day (context menu).
inline constexpr int kCmdOpenCase = 32820;
inline constexpr int kCmdOpenFolder = 32821;  // "Open Folder...": a folder's files as one set

}  // namespace ov::idc
