#pragma once
// A submitted frame written as the recorder's fields in one line, for tests that hand over many.
#include <cstdint>

#include "decoder/DecoderCalls.h"

namespace ov::test {

inline FrameCall Frame(const uint8_t* data, int32_t time, int32_t msec, int32_t audio, int32_t size,
                       int32_t type, int32_t channel, bool show = true, uint32_t tag = 0) {
  FrameCall f;
  if (data && size > 0) f.payload = {data, static_cast<size_t>(size)};
  f.time = time;
  f.msec = msec;
  f.audio = audio == 1;
  f.type = type;
  f.channel = channel;
  f.show = show;
  f.tag = tag;
  return f;
}

}  // namespace ov::test
