#pragma once
// The program's handle on the decoder control: the typed calls of DecoderCalls.h, sent straight to
// a control that offers them and through the numbered form (DecoderWire.h) to one that does not.
// Calls with no control attached do nothing and return 0 (-1 for the pane calls).
#include <cstdint>
#include <memory>
#include <string_view>

#include "decoder/DecoderCalls.h"
#include "decoder/DecoderDispatch.h"

namespace ov {

class CQuelmar_Ctrl_Player {
 public:
  CQuelmar_Ctrl_Player();
  // A control that answers by number only (the trace's recorder, test stand-ins).
  explicit CQuelmar_Ctrl_Player(IDecoderDispatch* control);
  explicit CQuelmar_Ctrl_Player(IDecoderControl* control) { Attach(control); }
  ~CQuelmar_Ctrl_Player();
  CQuelmar_Ctrl_Player(const CQuelmar_Ctrl_Player&) = delete;
  CQuelmar_Ctrl_Player& operator=(const CQuelmar_Ctrl_Player&) = delete;

  // A hosted control: typed when it offers its calls, numbered otherwise; null detaches.
  void Attach(IDecoderControl* control);
  bool Attached() const { return m_calls != nullptr; }

  void Deactivate();
  void SetOwnerWindow(int32_t window);
  void SetLayout(int32_t paneCount);
  // hold 1: playback paused.
  void SetMode(int32_t mode, int32_t hold);
  int32_t CurrentAudioChannel();
  void SetVolume(int32_t volume);
  // The payload is copied by the control before the call returns.
  void SubmitFrame(const FrameCall& frame);
  void ClearDecoder();
  uint32_t ShownFrame(int32_t channel);
  int32_t PictureDelay();
  void SetPaneTitle(int32_t pane, std::string_view title);
  // index 0..4: the five start options, in wire order.
  void SetStartOption(int index, int32_t value);
  int32_t QueryActive();
  int32_t SetProductText(std::string_view text);
  int32_t SetVersionText(std::string_view text);
  // Channel -1: the selected pane. Each returns the channel acted on, -1 for none.
  int32_t ZoomPane(int32_t channel, int32_t steps);
  int32_t SetPicture(int32_t channel, const PaneViewCall& view);
  int32_t GetPicture(int32_t channel, PaneViewCall& view);

 private:
  std::unique_ptr<IDecoderCalls> m_wire;  // set when the control answers by number only
  IDecoderCalls* m_calls = nullptr;
};

}  // namespace ov
