// A call's two halves, writing (WireCalls) and reading (kCalls), sit in the same order in both
// lists.
#include "decoder/DecoderWire.h"

#include <algorithm>
#include <array>
#include <string>

namespace ov {
namespace {

template <size_t N>
int32_t Call(IDecoderDispatch& c, int32_t id, const std::array<DispArg, N>& args) {
  return c.Invoke(id, std::span<const DispArg>(args.data(), args.size()));
}
int32_t Call0(IDecoderDispatch& c, int32_t id) { return c.Invoke(id, {}); }

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
  f.type = a.Int(5);
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
     [](IDecoderCalls& c, const Args& a) { return c.SetLayout(a.Int(1, 16)), 0; }},
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

// The writing side.

void WireCalls::Deactivate() { Call0(m_control, dispid::Deactivate); }
void WireCalls::SetOwnerWindow(int32_t window) {
  Call<1>(m_control, dispid::SetOwnerWindow, {DispArg::Int(window)});
}
// The first argument was never used; it is sent as -1, as it always was.
void WireCalls::SetLayout(int32_t paneCount) {
  Call<2>(m_control, dispid::SetLayout, {DispArg::Int(-1), DispArg::Int(paneCount)});
}
void WireCalls::SetMode(int32_t mode, int32_t hold) {
  Call<2>(m_control, dispid::SetMode, {DispArg::Int(mode), DispArg::Int(hold)});
}
int32_t WireCalls::CurrentAudioChannel() { return Call0(m_control, dispid::CurrentAudioChannel); }
void WireCalls::SetVolume(int32_t volume) {
  Call<1>(m_control, dispid::SetVolume, {DispArg::Int(volume)});
}
void WireCalls::SubmitFrame(const FrameCall& f) {
  const auto size = static_cast<int32_t>(f.payload.size());
  Call<9>(m_control, dispid::SubmitFrame,
          {DispArg::Bytes(f.payload.data(), f.payload.size()), DispArg::Int(f.time),
           DispArg::Int(f.msec), DispArg::Int(f.audio ? 1 : 0), DispArg::Int(size),
           DispArg::Int(f.type), DispArg::Int(f.channel), DispArg::Int(f.show ? 1 : 0),
           DispArg::Int(static_cast<int32_t>(f.tag))});
}
void WireCalls::ClearDecoder() { Call0(m_control, dispid::ClearDecoder); }
int32_t WireCalls::PictureDelay() { return Call0(m_control, dispid::PictureDelay); }
uint32_t WireCalls::ShownFrame(int32_t channel) {
  return static_cast<uint32_t>(Call<1>(m_control, dispid::ShownFrame, {DispArg::Int(channel)}));
}
void WireCalls::SetPaneTitle(int32_t pane, std::string_view title) {
  Call<2>(m_control, dispid::SetPaneTitle, {DispArg::Int(pane), DispArg::Text(std::string(title))});
}
void WireCalls::SetStartOption(int index, int32_t value) {
  if (index < 0 || index >= kStartOptions) return;
  Call<1>(m_control, dispid::SetStartOption44 + index, {DispArg::Int(value)});
}
int32_t WireCalls::QueryActive() {
  int32_t active = 0;
  Call<1>(m_control, dispid::QueryActive, {DispArg::IntRef(&active)});
  return active;
}
int32_t WireCalls::SetProductText(std::string_view text) {
  return Call<1>(m_control, dispid::SetProductText, {DispArg::Text(std::string(text))});
}
int32_t WireCalls::SetVersionText(std::string_view text) {
  return Call<1>(m_control, dispid::SetVersionText, {DispArg::Text(std::string(text))});
}
int32_t WireCalls::ZoomPane(int32_t channel, int32_t steps) {
  return Call<2>(m_control, dispid::ZoomPane, {DispArg::Int(channel), DispArg::Int(steps)});
}
int32_t WireCalls::SetPicture(int32_t channel, const PaneViewCall& v) {
  return Call<6>(m_control, dispid::SetPicture,
                 {DispArg::Int(channel), DispArg::Int(v.brightness), DispArg::Int(v.contrast),
                  DispArg::Int(v.gamma), DispArg::Int(v.saturation), DispArg::Int(v.deinterlace)});
}
int32_t WireCalls::GetPicture(int32_t channel, PaneViewCall& v) {
  int32_t acted = -1;
  Call<10>(m_control, dispid::GetPicture,
           {DispArg::Int(channel), DispArg::IntRef(&v.x), DispArg::IntRef(&v.y),
            DispArg::IntRef(&v.size), DispArg::IntRef(&v.brightness), DispArg::IntRef(&v.contrast),
            DispArg::IntRef(&v.gamma), DispArg::IntRef(&v.saturation),
            DispArg::IntRef(&v.deinterlace), DispArg::IntRef(&acted)});
  return acted;
}

// The reading side.

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
