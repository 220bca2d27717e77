#include "decoder/Quelmar_Ctrl_Player.h"

#include "decoder/DecoderWire.h"

namespace ov {

CQuelmar_Ctrl_Player::CQuelmar_Ctrl_Player() = default;
CQuelmar_Ctrl_Player::~CQuelmar_Ctrl_Player() = default;

CQuelmar_Ctrl_Player::CQuelmar_Ctrl_Player(IDecoderDispatch* control) {
  if (control) m_wire = std::make_unique<WireCalls>(*control);
  m_calls = m_wire.get();
}

void CQuelmar_Ctrl_Player::Attach(IDecoderControl* control) {
  m_wire.reset();
  m_calls = control ? control->TypedCalls() : nullptr;
  if (control && !m_calls) {
    m_wire = std::make_unique<WireCalls>(*control);
    m_calls = m_wire.get();
  }
}

void CQuelmar_Ctrl_Player::Deactivate() {
  if (m_calls) m_calls->Deactivate();
}
void CQuelmar_Ctrl_Player::SetOwnerWindow(int32_t window) {
  if (m_calls) m_calls->SetOwnerWindow(window);
}
void CQuelmar_Ctrl_Player::SetLayout(int32_t paneCount) {
  if (m_calls) m_calls->SetLayout(paneCount);
}
void CQuelmar_Ctrl_Player::SetMode(int32_t mode, int32_t hold) {
  if (m_calls) m_calls->SetMode(mode, hold);
}
int32_t CQuelmar_Ctrl_Player::CurrentAudioChannel() {
  return m_calls ? m_calls->CurrentAudioChannel() : 0;
}
void CQuelmar_Ctrl_Player::SetVolume(int32_t volume) {
  if (m_calls) m_calls->SetVolume(volume);
}
void CQuelmar_Ctrl_Player::SubmitFrame(const FrameCall& frame) {
  if (m_calls) m_calls->SubmitFrame(frame);
}
void CQuelmar_Ctrl_Player::ClearDecoder() {
  if (m_calls) m_calls->ClearDecoder();
}
uint32_t CQuelmar_Ctrl_Player::ShownFrame(int32_t channel) {
  return m_calls ? m_calls->ShownFrame(channel) : 0;
}
int32_t CQuelmar_Ctrl_Player::PictureDelay() { return m_calls ? m_calls->PictureDelay() : 0; }
void CQuelmar_Ctrl_Player::SetPaneTitle(int32_t pane, std::string_view title) {
  if (m_calls) m_calls->SetPaneTitle(pane, title);
}
void CQuelmar_Ctrl_Player::SetStartOption(int index, int32_t value) {
  if (m_calls && index >= 0 && index < kStartOptions) m_calls->SetStartOption(index, value);
}
int32_t CQuelmar_Ctrl_Player::QueryActive() { return m_calls ? m_calls->QueryActive() : 0; }
int32_t CQuelmar_Ctrl_Player::SetProductText(std::string_view text) {
  return m_calls ? m_calls->SetProductText(text) : 0;
}
int32_t CQuelmar_Ctrl_Player::SetVersionText(std::string_view text) {
  return m_calls ? m_calls->SetVersionText(text) : 0;
}
int32_t CQuelmar_Ctrl_Player::ZoomPane(int32_t channel, int32_t steps) {
  return m_calls ? m_calls->ZoomPane(channel, steps) : -1;
}
int32_t CQuelmar_Ctrl_Player::SetPicture(int32_t channel, const PaneViewCall& view) {
  return m_calls ? m_calls->SetPicture(channel, view) : -1;
}
int32_t CQuelmar_Ctrl_Player::GetPicture(int32_t channel, PaneViewCall& view) {
  return m_calls ? m_calls->GetPicture(channel, view) : -1;
}

}  // namespace ov
