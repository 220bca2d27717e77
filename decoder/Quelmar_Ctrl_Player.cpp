// The wire form of every decoder call, in one place: the wrapper's members write a typed call as
// Invoke(DISPID, arguments) and kCalls reads the same arguments back into the typed call on the
// control's side. A call's two halves sit in the same order in both lists.
#include "decoder/Quelmar_Ctrl_Player.h"

#include <algorithm>
#include <array>
#include <string>

#include "decoder/DecoderCalls.h"

namespace ov {
namespace {

template <size_t N>
int32_t Call(IDecoderDispatch* c, int32_t id, const std::array<DispArg, N>& args) {
  return c ? c->Invoke(id, std::span<const DispArg>(args.data(), args.size())) : 0;
}
int32_t Call0(IDecoderDispatch* c, int32_t id) { return c ? c->Invoke(id, {}) : 0; }

// Reads arguments by position; a missing one or one of another kind reads as absent.
class Args {
 public:
  explicit Args(std::span<const DispArg> a) : m_a(a) {}
  size_t Count() const { return m_a.size(); }
  int32_t Int(size_t i, int32_t fallback = 0) const {
    return Is(i, DispArg::Kind::Int) ? m_a[i].i : fallback;
  }
  const std::string* Text(size_t i) const {
    return Is(i, DispArg::Kind::Text) ? &m_a[i].text : nullptr;
  }
  const DispArg* Bytes(size_t i) const { return Is(i, DispArg::Kind::Bytes) ? &m_a[i] : nullptr; }
  int32_t* IntRef(size_t i) const { return Is(i, DispArg::Kind::IntRef) ? m_a[i].ref : nullptr; }

 private:
  bool Is(size_t i, DispArg::Kind k) const { return i < m_a.size() && m_a[i].kind == k; }
  std::span<const DispArg> m_a;
};

// The frame's buffer is only ever a pointer and a size, cut to the declared size; an integer is
// never taken for an address.
int32_t ReadFrame(IDecoderCalls& c, const Args& a) {
  if (a.Count() < 7) return 0;
  FrameCall f;
  const DispArg* bytes = a.Bytes(0);
  const int32_t declared = a.Int(4);
  if (bytes && bytes->data && declared > 0)
    f.payload = {bytes->data, std::min(bytes->size, static_cast<size_t>(declared))};
  f.time = a.Int(1);
  f.msec = a.Int(2);
  f.audio = a.Int(3) == 1;
  f.key = a.Int(5) == 1;
  f.channel = a.Int(6, -2);
  f.show = a.Int(7, 1) != 0;
  f.tag = static_cast<uint32_t>(a.Int(8));
  c.SubmitFrame(f);
  return 0;
}

int32_t ReadText(const Args& a, int32_t (IDecoderCalls::*set)(std::string_view), IDecoderCalls& c) {
  const std::string* t = a.Text(0);
  return t ? (c.*set)(*t) : 0;
}

int32_t ReadSetPicture(IDecoderCalls& c, const Args& a) {
  if (a.Count() < 6) return -1;
  PaneViewCall v;
  v.brightness = a.Int(1);
  v.contrast = a.Int(2, 100);
  v.gamma = a.Int(3, 100);
  v.saturation = a.Int(4, 100);
  v.deinterlace = a.Int(5);
  return c.SetPicture(a.Int(0, -1), v);
}

// The out values come back through nine integer references, in the order of PaneViewCall.
int32_t ReadGetPicture(IDecoderCalls& c, const Args& a) {
  int32_t* out[9];
  for (size_t i = 0; i < 9; ++i)
    if (!(out[i] = a.IntRef(i + 1))) return -1;
  PaneViewCall v;
  const int32_t channel = c.GetPicture(a.Int(0, -1), v);
  const int32_t values[9] = {v.x,          v.y,           v.size, v.brightness, v.contrast, v.gamma,
                             v.saturation, v.deinterlace, 0};
  for (size_t i = 0; i < 8; ++i) *out[i] = values[i];
  *out[8] = channel;
  return channel;
}

struct CallRow {
  int32_t id;
  int32_t (*read)(IDecoderCalls&, const Args&);
};

const CallRow kCalls[] = {
    {dispid::Deactivate, [](IDecoderCalls& c, const Args&) { return c.Deactivate(), 0; }},
    {dispid::SetOwnerWindow,
     [](IDecoderCalls& c, const Args& a) { return c.SetOwnerWindow(a.Int(0)), 0; }},
    {dispid::SetLayout,
     [](IDecoderCalls& c, const Args& a) { return c.SetLayout(a.Int(0), a.Int(1, 16)), 0; }},
    {dispid::SetMode,
     [](IDecoderCalls& c, const Args& a) { return c.SetMode(a.Int(0), a.Int(1)), 0; }},
    {dispid::CurrentAudioChannel,
     [](IDecoderCalls& c, const Args&) { return c.CurrentAudioChannel(); }},
    {dispid::SetVolume, [](IDecoderCalls& c, const Args& a) { return c.SetVolume(a.Int(0)), 0; }},
    {dispid::SubmitFrame, ReadFrame},
    {dispid::ClearDecoder, [](IDecoderCalls& c, const Args&) { return c.ClearDecoder(), 0; }},
    {dispid::PictureDelay, [](IDecoderCalls& c, const Args&) { return c.PictureDelay(); }},
    {dispid::ShownFrame,
     [](IDecoderCalls& c, const Args& a) {
       return static_cast<int32_t>(c.ShownFrame(a.Int(0, -1)));
     }},
    {dispid::SetPaneTitle,
     [](IDecoderCalls& c, const Args& a) {
       if (const std::string* t = a.Text(1)) c.SetPaneTitle(a.Int(0, -1), *t);
       return 0;
     }},
    {dispid::QueryActive,
     [](IDecoderCalls& c, const Args& a) {
       if (int32_t* out = a.IntRef(0)) *out = c.QueryActive();
       return 0;
     }},
    {dispid::SetProductText,
     [](IDecoderCalls& c, const Args& a) {
       return ReadText(a, &IDecoderCalls::SetProductText, c);
     }},
    {dispid::SetVersionText,
     [](IDecoderCalls& c, const Args& a) {
       return ReadText(a, &IDecoderCalls::SetVersionText, c);
     }},
    {dispid::ZoomPane,
     [](IDecoderCalls& c, const Args& a) { return c.ZoomPane(a.Int(0, -1), a.Int(1)); }},
    {dispid::SetPicture, ReadSetPicture},
    {dispid::GetPicture, ReadGetPicture},
};

static_assert(dispid::SetStartOption48 - dispid::SetStartOption44 + 1 == kStartOptions);

}  // namespace

// The calling side.

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
                                       int32_t audio, int32_t size, int32_t fType, int32_t channel,
                                       bool show, uint32_t tag) {
  const size_t n = (data && size > 0) ? static_cast<size_t>(size) : 0;
  Call<9>(m_control, dispid::SubmitFrame,
          {DispArg::Bytes(data, n), DispArg::Int(fTime), DispArg::Int(msec), DispArg::Int(audio),
           DispArg::Int(size), DispArg::Int(fType), DispArg::Int(channel),
           DispArg::Int(show ? 1 : 0), DispArg::Int(static_cast<int32_t>(tag))});
}
void CQuelmar_Ctrl_Player::ClearDecoder() { Call0(m_control, dispid::ClearDecoder); }
int32_t CQuelmar_Ctrl_Player::PictureDelay() { return Call0(m_control, dispid::PictureDelay); }
uint32_t CQuelmar_Ctrl_Player::ShownFrame(int32_t channel) {
  return static_cast<uint32_t>(Call<1>(m_control, dispid::ShownFrame, {DispArg::Int(channel)}));
}
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

int32_t CQuelmar_Ctrl_Player::ZoomPane(int32_t channel, int32_t steps) {
  if (!m_control) return -1;
  return Call<2>(m_control, dispid::ZoomPane, {DispArg::Int(channel), DispArg::Int(steps)});
}
int32_t CQuelmar_Ctrl_Player::SetPicture(int32_t channel, const PaneViewCall& v) {
  if (!m_control) return -1;
  return Call<6>(m_control, dispid::SetPicture,
                 {DispArg::Int(channel), DispArg::Int(v.brightness), DispArg::Int(v.contrast),
                  DispArg::Int(v.gamma), DispArg::Int(v.saturation), DispArg::Int(v.deinterlace)});
}
int32_t CQuelmar_Ctrl_Player::GetPicture(int32_t channel, PaneViewCall& v) {
  if (!m_control) return -1;
  int32_t acted = -1;
  Call<10>(m_control, dispid::GetPicture,
           {DispArg::Int(channel), DispArg::IntRef(&v.x), DispArg::IntRef(&v.y),
            DispArg::IntRef(&v.size), DispArg::IntRef(&v.brightness), DispArg::IntRef(&v.contrast),
            DispArg::IntRef(&v.gamma), DispArg::IntRef(&v.saturation),
            DispArg::IntRef(&v.deinterlace), DispArg::IntRef(&acted)});
  return acted;
}

// The control's side.

int32_t DispatchCall(IDecoderCalls& target, int32_t id, std::span<const DispArg> args) {
  const Args a(args);
  if (id >= dispid::SetStartOption44 && id <= dispid::SetStartOption48) {
    target.SetStartOption(id - dispid::SetStartOption44, a.Int(0));
    return 0;
  }
  for (const CallRow& row : kCalls)
    if (row.id == id) return row.read(target, a);
  return 0;
}

// Events, from the control towards its host.

DecoderEvent DecoderEvent::DecodeFailed(int32_t channel, int32_t error) {
  constexpr int32_t kDecodeError = 101;  // the event's code for a frame that failed to decode
  return {dispid::event::DecodeFailed, {kDecodeError, channel, error}, 3};
}
DecoderEvent DecoderEvent::PaneSelected(int32_t pane, int32_t channel) {
  return {dispid::event::PaneSelected, {pane, channel, 0}, 2};
}
DecoderEvent DecoderEvent::AloneChanged(int32_t channel, bool alone) {
  return {dispid::event::AloneChanged, {channel, alone ? 1 : 0, 0}, 2};
}
void DecoderEvent::SendTo(IDecoderEvents& events) const {
  events.OnDecoderEvent(id, std::span<const int32_t>(args.data(), static_cast<size_t>(count)));
}

}  // namespace ov
