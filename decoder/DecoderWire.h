#pragma once
// The numbered form of every decoder call, in one place: WireCalls writes a typed call as
// Invoke(DISPID, arguments) and DispatchCall reads the same arguments back into the typed call.
// Used only where a control answers by number alone (a module that offers no typed calls, the
// trace's recorder, test stand-ins); the program's own control is called typed.
#include <cstdint>
#include <span>

#include "decoder/DecoderCalls.h"
#include "decoder/DecoderDispatch.h"

namespace ov {

// Turns one numbered call into the typed call on target and returns its result. Unknown numbers,
// and calls whose arguments are missing or of the wrong kind, do nothing and return 0.
int32_t DispatchCall(IDecoderCalls& target, int32_t dispid, std::span<const DispArg> args);

// Typed calls sent as numbered calls to a control that only answers Invoke.
class WireCalls final : public IDecoderCalls {
 public:
  explicit WireCalls(IDecoderDispatch& control) : m_control(control) {}

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

 private:
  IDecoderDispatch& m_control;
};

}  // namespace ov
