#pragma once
// The skin's colours, in one place for the pictures, the skinned controls and the window's own
// painting, so that a colour changed here changes everywhere it shows.
#include <QColor>

namespace ov::skin {

inline const QColor kTitleBand{57, 57, 57};     // title band, window edge, slider background
inline const QColor kPanel{100, 100, 100};      // status panels, video frame, slider thumb
inline const QColor kAccent{35, 205, 246};      // lit volume steps, filled seek track, pressed keys
inline const QColor kAccentText{0, 192, 255};   // status texts
inline const QColor kLowerBand{225, 225, 225};  // band under the transport row
inline const QColor kUnlit{91, 91, 91};         // unlit volume steps, empty seek channel
inline const QColor kTimeFace{169, 169, 169};   // face of the total-time box

}  // namespace ov::skin
