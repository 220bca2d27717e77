#pragma once
// Control, bitmap and notification ids the engine writes to or reads from the window. Plain
// std-only constants; the window's id table builds on these.
#include <array>

#include "res/BitmapIds.h"

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

// The first four SetBitmaps values of a button (normal, pressed, hover, check-on); the window adds
// the fixed tail 0, 0, 0, 1, 1, 4.
using ButtonImages = std::array<int, 4>;
inline constexpr ButtonImages kPlayImages{IDB_PLAY_NORMAL, IDB_PLAY_PRESSED, IDB_PLAY_HOVER,
                                          IDB_PLAY_PRESSED};
inline constexpr ButtonImages kPauseImages{IDB_PAUSE, IDB_PAUSE, IDB_PAUSE, IDB_PAUSE};
inline constexpr ButtonImages kSoundOnImages{IDB_SPEAKER_ON_NORMAL, IDB_SPEAKER_ON_PRESSED,
                                             IDB_SPEAKER_ON_NORMAL, IDB_SPEAKER_ON_PRESSED};
inline constexpr ButtonImages kSoundOffImages{IDB_SPEAKER_OFF_NORMAL, IDB_SPEAKER_OFF_PRESSED,
                                              IDB_SPEAKER_OFF_NORMAL, IDB_SPEAKER_OFF_PRESSED};

// Texts the engine writes.
// The hidden label's fixed text after every reset; it is not the program version (ov/Version.h)
// and keeps its own value.
inline constexpr const char* kVersionText = "Ver 1.1.0.2";
inline constexpr const char* kProductText = "Ostravue";

}  // namespace ov::ctl
