#pragma once
// The decoder control's dispatch interface: every operation is one Invoke by DISPID. This numbered
// form is what a module loaded by name must at least answer; code on either side speaks the typed
// calls of DecoderCalls.h, and only DecoderWire.cpp uses these numbers.
// Threads: SubmitFrame, SetVolume and CurrentAudioChannel arrive on the playback thread, every
// other call on the window thread; an implementation accepts both without the caller locking.
// Memory: pointer and text arguments are valid only for the duration of the call.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace ov {

namespace dispid {
inline constexpr int32_t Deactivate = 2;
inline constexpr int32_t SetOwnerWindow = 4;
inline constexpr int32_t SetLayout = 6;
inline constexpr int32_t SetMode = 10;
inline constexpr int32_t CurrentAudioChannel = 15;
inline constexpr int32_t SetVolume = 24;
inline constexpr int32_t SubmitFrame = 36;
inline constexpr int32_t ClearDecoder = 40;
inline constexpr int32_t SetPaneTitle = 41;
inline constexpr int32_t SetStartOption44 = 44;
inline constexpr int32_t SetStartOption48 = 48;
inline constexpr int32_t QueryActive = 56;
inline constexpr int32_t SetProductText = 63;
inline constexpr int32_t SetVersionText = 64;
inline constexpr int32_t ShownFrame = 70;
inline constexpr int32_t PictureDelay = 71;
inline constexpr int32_t ZoomPane = 80;
inline constexpr int32_t SetPicture = 81;
inline constexpr int32_t GetPicture = 82;
// Events the control raises towards its host.
namespace event {
inline constexpr int32_t DecodeFailed = 3;
inline constexpr int32_t PaneSelected = 4;
inline constexpr int32_t AloneChanged = 6;
}  // namespace event
}  // namespace dispid

// One argument of a dispatch call. Integers are signed 32-bit; texts are UTF-8; a byte buffer is a
// pointer and a size (never an address squeezed into an integer); an out integer is a pointer.
struct DispArg {
  enum class Kind { Int, Text, Bytes, IntRef };
  Kind kind = Kind::Int;
  int32_t i = 0;
  std::string text;
  const uint8_t* data = nullptr;
  size_t size = 0;
  int32_t* ref = nullptr;

  static DispArg Int(int32_t v) {
    DispArg a;
    a.i = v;
    return a;
  }
  static DispArg Text(std::string s) {
    DispArg a;
    a.kind = Kind::Text;
    a.text = std::move(s);
    return a;
  }
  static DispArg Bytes(const uint8_t* p, size_t n) {
    DispArg a;
    a.kind = Kind::Bytes;
    a.data = p;
    a.size = n;
    return a;
  }
  static DispArg IntRef(int32_t* p) {
    DispArg a;
    a.kind = Kind::IntRef;
    a.ref = p;
    return a;
  }
};

class IDecoderDispatch {
 public:
  virtual ~IDecoderDispatch() = default;
  // Carries out one operation and returns its result (0 for operations without one). Returns only
  // after the arguments have been used or copied.
  virtual int32_t Invoke(int32_t dispid, std::span<const DispArg> args) = 0;
};

// Events the control raises towards its host (DISPID 3 with three integers, 4 and 6 with two).
class IDecoderEvents {
 public:
  virtual ~IDecoderEvents() = default;
  virtual void OnDecoderEvent(int32_t dispid, std::span<const int32_t> args) = 0;
};

class IDecoderCalls;

// A hosted control: the dispatch interface plus the window it draws into. The widget pointer is a
// QWidget* for the Qt host; the core never dereferences it.
class IDecoderControl : public IDecoderDispatch {
 public:
  virtual void* Widget() = 0;
  // The typed calls, for a control that offers them; null sends every call through Invoke.
  virtual IDecoderCalls* TypedCalls() { return nullptr; }
};

}  // namespace ov

// Exports of the decoder control module (libCQL_Ctrl_Player.so), resolved by name at start-up.
extern "C" {
// Registers the control's class with the host's component runtime; 0 on success.
typedef int32_t (*OvDllRegisterServerFn)();
// Creates a control whose widget is a child of parent (a QWidget*); events may be null.
typedef ov::IDecoderControl* (*OvCreateControlFn)(void* parent, ov::IDecoderEvents* events);
// Destroys a control made by the creation entry point.
typedef void (*OvDestroyControlFn)(ov::IDecoderControl* control);
}
#define OV_DECODER_REGISTER_SYMBOL "DllRegisterServer"
#define OV_DECODER_CREATE_SYMBOL "CQL_CreateControl"
#define OV_DECODER_DESTROY_SYMBOL "CQL_DestroyControl"
