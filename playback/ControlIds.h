#pragma once
// The ids of the window's controls, as the window's id table and the trace's log name them. The
// engine addresses the window by meaning (playback/PlayerView.h) and never by these.

namespace ov::ctl {

inline constexpr int kRew = 1001;
inline constexpr int kBack59 = 1002;  // "r": 59 seconds back
inline constexpr int kPlay = 1003;
inline constexpr int kForward59 = 1004;  // "f": 59 seconds forward
inline constexpr int kFF = 1005;
inline constexpr int kVolume = 1006;
inline constexpr int kPathBox = 1009;
inline constexpr int kSeek = 1016;
inline constexpr int kSpeakerMin = 1017;
inline constexpr int kOsd = 1026;    // date and time of the second being played
inline constexpr int kSpeed = 1027;  // "( Rew %dX )", "( FF %dX )", "Buffering"
inline constexpr int kVer = 1028;
inline constexpr int kName = 1029;
inline constexpr int kTotalTime = 1032;  // "hh : mm : ss / hh : mm : ss"
inline constexpr int kCh1 = 1039;
inline constexpr int kCh4 = 1040;
inline constexpr int kCh9 = 1041;
inline constexpr int kCh16 = 1042;
inline constexpr int kDecoder = 1043;
inline constexpr int kSearching = 1044;

}  // namespace ov::ctl
