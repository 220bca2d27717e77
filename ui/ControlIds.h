#pragma once
// Ids of the player window's controls and commands; buttons and menu items route through one
// command table keyed by these.
namespace ov::idc {

inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;
inline constexpr int kRew = 1001;
inline constexpr int kR = 1002;
inline constexpr int kPlay = 1003;
inline constexpr int kF = 1004;
inline constexpr int kFF = 1005;
inline constexpr int kVolume = 1006;
inline constexpr int kFileOpen = 1007;
inline constexpr int kOpenYrxFile = 1008;
inline constexpr int kPathBox = 1009;
inline constexpr int kStorageCombo = 1013;
inline constexpr int kMakeChdFile = 1014;
inline constexpr int kCombineFiles = 1015;
inline constexpr int kSeek = 1016;
inline constexpr int kSpeakerMin = 1017;
inline constexpr int kSpeakerMax = 1018;
inline constexpr int kMaximize = 1022;
inline constexpr int kMinimize = 1023;
inline constexpr int kExit = 1024;
inline constexpr int kOsd = 1026;
inline constexpr int kSpeed = 1027;
inline constexpr int kVer = 1028;
inline constexpr int kName = 1029;
inline constexpr int kTotalTime = 1032;
inline constexpr int kAboutVersion = 1033;
inline constexpr int kCh1 = 1039;
inline constexpr int kCh4 = 1040;
inline constexpr int kCh9 = 1041;
inline constexpr int kCh16 = 1042;
inline constexpr int kDecoder = 1043;
inline constexpr int kSearching = 1044;

inline constexpr int kAboutBoxSys = 16;  // system menu item, low four bits ignored
inline constexpr int kCmdAbout = 32772;
inline constexpr int kCmdIFrameOnly = 32773;
inline constexpr int kCmdFmtYmdDash = 32775;
inline constexpr int kCmdFmtMdyDash = 32776;
inline constexpr int kCmdFmtDmyDash = 32777;
inline constexpr int kCmdFmtYmdSlash = 32778;
inline constexpr int kCmdFmtDmySlash = 32779;
inline constexpr int kCmdFmtMdySlash = 32781;

// Trackbar notification codes carried by the sliders' scroll notification.
inline constexpr int kTbThumbPosition = 4;
inline constexpr int kTbThumbTrack = 5;
inline constexpr int kTbEndTrack = 8;

}  // namespace ov::idc
