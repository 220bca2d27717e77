#include "playback/trace/Crc32.h"

#include <zlib.h>

namespace ov {

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc) {
  // zlib answers a null buffer with its initial value, not with crc.
  if (data == nullptr) return crc;
  return static_cast<uint32_t>(crc32_z(crc, data, size));
}

}  // namespace ov
