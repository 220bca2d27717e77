#include "playback/trace/RecordingDecoder.h"

#include "decoder/DecoderWire.h"
#include "playback/trace/Crc32.h"

namespace ov {

int32_t RecordingDecoder::Invoke(int32_t dispid, std::span<const DispArg> args) {
  LoggedEvent e;
  e.fromDecoder = true;
  e.dispid = dispid;
  for (const DispArg& a : args) {
    switch (a.kind) {
      case DispArg::Kind::Int:
        e.ints.push_back(a.i);
        break;
      case DispArg::Kind::Text:
        e.text = a.text;
        break;
      case DispArg::Kind::Bytes:
        e.hasBytes = true;
        e.bytes = a.size;
        e.crc = a.data ? Crc32(a.data, a.size) : 0;
        break;
      case DispArg::Kind::IntRef:
        break;
    }
  }
  m_log.Append(std::move(e));
  return DispatchCall(m_answers, dispid, args);
}

}  // namespace ov
