#pragma once
// The decoder control's operations as typed calls: the one path from the playback engine and the
// window to the control. A control loaded from the module offers them directly (IDecoderControl::
// Calls); one that only speaks the numbered form is reached through DecoderWire.h.
// Threads and memory as in DecoderDispatch.h: views passed to a call are valid only during it.
#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "decoder/DecoderDispatch.h"

namespace ov {

// One submitted frame as the control sees it. payload is the buffer cut to the declared size
// (empty when the call carried no buffer or a size <= 0); channel -1 is the reset call.
struct FrameCall {
  std::span<const uint8_t> payload;
  int32_t time = 0;  // seconds since 1970
  int32_t msec = 0;
  bool audio = false;
  int32_t type = 0;  // the frame header's type, as recorded: 1 is a key frame
  int32_t channel = -2;
  // false: decode only (a frame on the way from a key frame to the picture that lands a move); the
  // pane keeps what it shows.
  bool show = true;
  uint32_t tag = 0;  // the caller's name for the frame (its header offset); 0: none

  bool Key() const { return type == 1; }
  // The call that clears every channel and blanks the panes (a new file, a move).
  static FrameCall Reset() {
    FrameCall f;
    f.channel = -1;
    return f;
  }
};

// How a pane shows its channel, in the calls' integers: the zoomed region in millionths of the
// picture (top left and side), the adjustments (brightness -100..100, the others in percent) and
// deinterlacing (0 off, 1 on, 2 as the stream marks its pictures).
struct PaneViewCall {
  int32_t x = 0, y = 0, size = 1000000;
  int32_t brightness = 0, contrast = 100, gamma = 100, saturation = 100;
  int32_t deinterlace = 0;
};

class IDecoderCalls {
 public:
  virtual ~IDecoderCalls() = default;
  virtual void Deactivate() = 0;
  virtual void SetOwnerWindow(int32_t window) = 0;
  virtual void SetLayout(int32_t paneCount) = 0;
  // hold 1: playback paused (the control stops its sound at once); the window passes 0 otherwise.
  virtual void SetMode(int32_t mode, int32_t hold) = 0;
  virtual int32_t CurrentAudioChannel() = 0;
  virtual void SetVolume(int32_t volume) = 0;
  virtual void SubmitFrame(const FrameCall& frame) = 0;
  virtual void ClearDecoder() = 0;
  // The tag of the picture a channel's pane shows now; 0 when it shows none or an untagged one.
  virtual uint32_t ShownFrame(int32_t channel) = 0;
  // How long a picture handed over now waits before it is shown (ms; held back for the sound).
  virtual int32_t PictureDelay() = 0;
  virtual void SetPaneTitle(int32_t pane, std::string_view title) = 0;
  // index 0..4: the five start options, in wire order.
  virtual void SetStartOption(int index, int32_t value) = 0;
  virtual int32_t QueryActive() = 0;
  virtual int32_t SetProductText(std::string_view text) = 0;
  virtual int32_t SetVersionText(std::string_view text) = 0;
  // Channel -1 means the selected pane's. Each returns the channel it acted on (-1: none); a
  // control without zoom or adjustments does nothing.
  // Zooms the pane by 1.25^steps about its centre; 0 steps shows the whole picture again.
  virtual int32_t ZoomPane(int32_t channel, int32_t steps) {
    return (void)channel, (void)steps, -1;
  }
  // Sets the adjustments and deinterlacing (the region in view is not used).
  virtual int32_t SetPicture(int32_t channel, const PaneViewCall& view) {
    return (void)channel, (void)view, -1;
  }
  virtual int32_t GetPicture(int32_t channel, PaneViewCall& view) {
    return (void)channel, (void)view, -1;
  }
};

inline constexpr int kStartOptions = 5;

// An event the control raises, in its wire form (number and up to three integers).
struct DecoderEvent {
  int32_t id = 0;
  std::array<int32_t, 3> args{};
  int count = 0;

  // A frame of channel failed to decode (error: the libavcodec code).
  static DecoderEvent DecodeFailed(int32_t channel, int32_t error);
  // A pane was clicked and its channel selected.
  static DecoderEvent PaneSelected(int32_t pane, int32_t channel);
  // A double click showed the channel alone, or the grid again.
  static DecoderEvent AloneChanged(int32_t channel, bool alone);
  void SendTo(IDecoderEvents& events) const;
};

}  // namespace ov
