#include "decoder/Quelmar_Ctrl_Player.h"

#include <array>
#include <string>

namespace ov {
namespace {
template <size_t N>
int32_t Call(IDecoderDispatch* c, int32_t id, const std::array<DispArg, N>& args) {
  return c ? c->Invoke(id, std::span<const DispArg>(args.data(), args.size())) : 0;
}
int32_t Call0(IDecoderDispatch* c, int32_t id) { return c ? c->Invoke(id, {}) : 0; }
}  // namespace

void CQuelmar_Ctrl_Player::Deactivate() { Call0(m_control, dispid::Deactivate); }
void CQuelmar_Ctrl_Player::SetOwnerWindow(int32_t window) {
  Call<1>(m_control, dispid::SetOwnerWindow, {DispArg::Int(window)});
}
void CQuelmar_Ctrl_Player::SetLayout(int32_t a, int32_t paneCount) {
  Call<2>(m_control, dispid::SetLayout, {DispArg::Int(a), DispArg::Int(paneCount)});
}
void CQuelmar_Ctrl_Player::SetMode(int32_t mode, int32_t b) {
  Call<2>(m_control, dispid::SetMode, {DispArg::Int(mode), DispArg::Int(b)});
}
int32_t CQuelmar_Ctrl_Player::CurrentAudioChannel() {
  return Call0(m_control, dispid::CurrentAudioChannel);
}
void CQuelmar_Ctrl_Player::SetVolume(int32_t volume) {
  Call<1>(m_control, dispid::SetVolume, {DispArg::Int(volume)});
}
void CQuelmar_Ctrl_Player::SubmitFrame(const uint8_t* data, int32_t fTime, int32_t msec,
                                       int32_t audio, int32_t size, int32_t fType,
                                       int32_t channel) {
  const size_t n = (data && size > 0) ? static_cast<size_t>(size) : 0;
  Call<7>(m_control, dispid::SubmitFrame,
          {DispArg::Bytes(data, n), DispArg::Int(fTime), DispArg::Int(msec), DispArg::Int(audio),
           DispArg::Int(size), DispArg::Int(fType), DispArg::Int(channel)});
}
void CQuelmar_Ctrl_Player::ClearDecoder() { Call0(m_control, dispid::ClearDecoder); }
void CQuelmar_Ctrl_Player::SetPaneTitle(int32_t pane, std::string_view title) {
  Call<2>(m_control, dispid::SetPaneTitle, {DispArg::Int(pane), DispArg::Text(std::string(title))});
}
void CQuelmar_Ctrl_Player::SetStartOption(int32_t id, int32_t value) {
  if (id < dispid::SetStartOption44 || id > dispid::SetStartOption48) return;
  Call<1>(m_control, id, {DispArg::Int(value)});
}
void CQuelmar_Ctrl_Player::QueryActive(int32_t& active) {
  Call<1>(m_control, dispid::QueryActive, {DispArg::IntRef(&active)});
}
int32_t CQuelmar_Ctrl_Player::SetProductText(std::string_view text) {
  return Call<1>(m_control, dispid::SetProductText, {DispArg::Text(std::string(text))});
}
int32_t CQuelmar_Ctrl_Player::SetVersionText(std::string_view text) {
  return Call<1>(m_control, dispid::SetVersionText, {DispArg::Text(std::string(text))});
}

}  // namespace ov
