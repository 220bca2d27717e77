#pragma once
// The decoder control: the dispatch interface the program calls, hosting the pane view, one
// decoder per channel and the sound output.
//
// Threads: SubmitFrame, SetVolume and CurrentAudioChannel may come from the playback thread, all
// else from the window thread; calls that touch the view from another thread are posted to it.
//
// What the control makes of the values only it knows:
// - SetLayout(n): n panes (1, 4, 9 or 16; other counts round up).
// - SetMode(mode, 1): playback paused; sound not yet heard is dropped, the device's buffer
//   included, and sound stays off until the next clear; pictures not yet up are dropped too, so
//   every pane holds the picture it shows at that moment (ShownFrame names it). Otherwise SetMode,
//   SetStartOption 44..48 and SetOwnerWindow are remembered, no effect.
// - ClearDecoder forgets queued frames and decoding state (the next picture of a channel comes
//   from its next key frame) but leaves the pictures up until new ones replace them, so a pause,
//   a resume or a seek never shows blank panes in between.
// - QueryActive writes 1 while any pane shows a picture; Deactivate and the reset call
//   SubmitFrame(..., -1) clear like ClearDecoder and blank every pane (a newly opened file).
// - SetProductText, SetVersionText return 0.
// - CurrentAudioChannel: the selected pane's channel (0 at start), whose sound plays.
// - ZoomPane, SetPicture, GetPicture (window thread): a pane's zoom, adjustments and
//   deinterlacing; the reset call and Deactivate (a new file) show every picture whole again.
// Events (raised on the window thread; the host may be null):
// - 3 (code, a, b): code 101 = a frame of channel a failed to decode (b: the libavcodec error),
//   its frames are dropped up to its next key frame.
// - 4 (pane, channel): a pane was clicked and its channel selected.
// - 6 (channel, alone): a double click showed that channel alone (1) or the grid again (0).
#include <QPointer>
#include <array>
#include <atomic>
#include <memory>
#include <mutex>

#include "decoder/DecoderCalls.h"
#include "decoder/DecoderDispatch.h"
#include "decoder/control/ChannelDecoder.h"
#include "decoder/control/PictureBoard.h"
#include "decoder/control/SoundOutput.h"

class QWidget;

namespace ov {

class PaneView;

// The program calls the typed members below directly; Invoke hands a numbered call to
// DispatchCall, which calls the same members.
class DecoderControl : public IDecoderControl, public IDecoderCalls {
 public:
  // Window thread. sink: where sound goes; null picks the sound device (or silence without one).
  DecoderControl(QWidget* parent, IDecoderEvents* events,
                 std::unique_ptr<ISoundSink> sink = nullptr);
  ~DecoderControl() override;

  int32_t Invoke(int32_t dispid, std::span<const DispArg> args) override;
  void* Widget() override;
  IDecoderCalls* TypedCalls() override { return this; }

  void Deactivate() override;
  void SetOwnerWindow(int32_t window) override;
  void SetLayout(int32_t paneCount) override;
  void SetMode(int32_t mode, int32_t hold) override;
  int32_t CurrentAudioChannel() override;
  void SetVolume(int32_t volume) override;
  void SubmitFrame(const FrameCall& frame) override;
  void ClearDecoder() override;
  uint32_t ShownFrame(int32_t channel) override;
  int32_t PictureDelay() override;
  void SetPaneTitle(int32_t pane, std::string_view title) override;
  void SetStartOption(int index, int32_t value) override;
  int32_t QueryActive() override;
  int32_t SetProductText(std::string_view text) override;
  int32_t SetVersionText(std::string_view text) override;
  int32_t ZoomPane(int32_t channel, int32_t steps) override;
  int32_t SetPicture(int32_t channel, const PaneViewCall& view) override;
  int32_t GetPicture(int32_t channel, PaneViewCall& view) override;

  PaneView* View() const;
  // Sum over the channels (or one channel's), for tests and measurements.
  ChannelDecoder::Stats Stats(int channel = -1) const;
  size_t QueuedFrames(int channel = -1) const;

 private:
  void ClearAll(bool blank);
  // The channel a view call means (-1: the selected pane's), or -1.
  int32_t ViewChannel(int32_t channel) const;
  ChannelDecoder& Channel(int channel);
  void Raise(const DecoderEvent& event);
  template <typename F>
  void OnViewThread(F&& f);

  IDecoderEvents* const m_events;
  PictureBoard m_board;
  QPointer<PaneView> m_view;
  SoundOutput m_sound;
  mutable std::mutex m_channelsMutex;  // guards creation of the decoders
  std::array<std::unique_ptr<ChannelDecoder>, kChannels> m_channels;
  std::array<std::atomic<ChannelDecoder*>, kChannels> m_channelPtr{};
  std::atomic<int32_t> m_mode{0};
  std::array<std::atomic<int32_t>, kStartOptions> m_startOptions{};
  std::atomic<int32_t> m_owner{0};
};

}  // namespace ov
