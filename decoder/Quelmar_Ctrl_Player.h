#pragma once
// Typed wrapper over the decoder control's dispatch interface: one member per DISPID.
// Holds no state of its own besides the control it calls; calls on a null control do nothing.
#include <cstdint>
#include <string_view>

#include "decoder/DecoderCalls.h"
#include "decoder/DecoderDispatch.h"

namespace ov {

class CQuelmar_Ctrl_Player {
 public:
  CQuelmar_Ctrl_Player() = default;
  explicit CQuelmar_Ctrl_Player(IDecoderDispatch* control) : m_control(control) {}
  void Attach(IDecoderDispatch* control) { m_control = control; }
  IDecoderDispatch* Control() const { return m_control; }

  void Deactivate();
  void SetOwnerWindow(int32_t window);
  void SetLayout(int32_t a, int32_t paneCount);
  void SetMode(int32_t mode, int32_t b);
  int32_t CurrentAudioChannel();
  void SetVolume(int32_t volume);
  // data/size: the payload (copied by the control before it returns). The reset call is
  // SubmitFrame(nullptr, 0, 0, 0, 0, 0, -1). show false: decode, do not show; tag: see FrameCall.
  void SubmitFrame(const uint8_t* data, int32_t fTime, int32_t msec, int32_t audio, int32_t size,
                   int32_t fType, int32_t channel, bool show = true, uint32_t tag = 0);
  void ClearDecoder();
  uint32_t ShownFrame(int32_t channel);
  int32_t PictureDelay();
  void SetPaneTitle(int32_t pane, std::string_view title);
  // dispid is 44..48.
  void SetStartOption(int32_t dispid, int32_t value);
  void QueryActive(int32_t& active);
  int32_t SetProductText(std::string_view text);
  int32_t SetVersionText(std::string_view text);
  // Channel -1: the selected pane. Each returns the channel acted on, -1 for none.
  int32_t ZoomPane(int32_t channel, int32_t steps);
  int32_t SetPicture(int32_t channel, const PaneViewCall& view);
  int32_t GetPicture(int32_t channel, PaneViewCall& view);

 private:
  IDecoderDispatch* m_control = nullptr;
};

}  // namespace ov
