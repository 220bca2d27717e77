#pragma once
// The skin pictures of the window's push buttons at rest (normal, pressed, hover, checked), shared
// by the layout and by the reset after a file is closed.
#include <cstdint>

#include "res/BitmapIds.h"
#include "ui/CommandIds.h"

namespace ov {

struct ButtonLook {
  uint32_t normal, pressed, hover, checkOn;
};

// A button whose hover and checked looks repeat its normal and pressed pictures.
constexpr ButtonLook TwoStateLook(uint32_t normal, uint32_t pressed) {
  return {normal, pressed, normal, pressed};
}

inline constexpr ButtonLook kPlayLook{IDB_PLAY_NORMAL, IDB_PLAY_PRESSED, IDB_PLAY_HOVER,
                                      IDB_PLAY_PRESSED};
inline constexpr ButtonLook kBackLook{IDB_BACK_NORMAL, IDB_BACK_PRESSED, IDB_BACK_HOVER,
                                      IDB_BACK_PRESSED};
inline constexpr ButtonLook kRewLook{IDB_REW_NORMAL, IDB_REW_PRESSED, IDB_REW_HOVER,
                                     IDB_REW_PRESSED};
inline constexpr ButtonLook kForwardLook{IDB_FWD_NORMAL, IDB_FWD_PRESSED, IDB_FWD_HOVER,
                                         IDB_FWD_PRESSED};
inline constexpr ButtonLook kFFLook{IDB_FF_NORMAL, IDB_FF_PRESSED, IDB_FF_HOVER, IDB_FF_PRESSED};
inline constexpr ButtonLook kFileOpenLook = TwoStateLook(IDB_FILEOPEN_NORMAL, IDB_FILEOPEN_PRESSED);
inline constexpr ButtonLook kSpeakerLook =
    TwoStateLook(IDB_SPEAKER_ON_NORMAL, IDB_SPEAKER_ON_PRESSED);
inline constexpr ButtonLook kSpeakerOffLook =
    TwoStateLook(IDB_SPEAKER_OFF_NORMAL, IDB_SPEAKER_OFF_PRESSED);
// Play while playing: one picture in every state.
inline constexpr ButtonLook kPauseLook{IDB_PAUSE, IDB_PAUSE, IDB_PAUSE, IDB_PAUSE};
inline constexpr ButtonLook kMinimizeLook = TwoStateLook(IDB_MINIMIZE_NORMAL, IDB_MINIMIZE_PRESSED);
inline constexpr ButtonLook kMaximizeLook = TwoStateLook(IDB_MAXIMIZE_NORMAL, IDB_MAXIMIZE_PRESSED);
inline constexpr ButtonLook kCloseLook = TwoStateLook(IDB_CLOSE_NORMAL, IDB_CLOSE_PRESSED);
inline constexpr ButtonLook kCh1Look = TwoStateLook(IDB_CH1_NORMAL, IDB_CH1_PRESSED);
inline constexpr ButtonLook kCh4Look = TwoStateLook(IDB_CH4_NORMAL, IDB_CH4_PRESSED);
inline constexpr ButtonLook kCh9Look = TwoStateLook(IDB_CH9_NORMAL, IDB_CH9_PRESSED);
inline constexpr ButtonLook kCh16Look = TwoStateLook(IDB_CH16_NORMAL, IDB_CH16_PRESSED);

// The buttons a closed file puts back to rest.
inline constexpr struct {
  int id;
  ButtonLook look;
} kRestingLooks[] = {
    {idc::kPlay, kPlayLook},
    {idc::kBack59, kBackLook},
    {idc::kRew, kRewLook},
    {idc::kForward59, kForwardLook},
    {idc::kFF, kFFLook},
    {idc::kFileOpen, kFileOpenLook},
    {idc::kSpeakerMin, kSpeakerLook},
    {idc::kSpeakerMax, kSpeakerLook},
    {idc::kMinimize, kMinimizeLook},
    {idc::kMaximize, kMaximizeLook},
    {idc::kExit, kCloseLook},
};

}  // namespace ov
