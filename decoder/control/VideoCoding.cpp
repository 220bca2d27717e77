#include "decoder/control/VideoCoding.h"

namespace ov {

VideoCoding DetectCoding(std::span<const uint8_t> p) {
  if (p.size() >= 5 && p[0] == 0 && p[1] == 0 && p[2] == 0 && p[3] == 1 && (p[4] & 0x1f) == 7)
    return VideoCoding::H264;
  // Some encoders use the three-byte form of the Annex B start code.
  if (p.size() >= 4 && p[0] == 0 && p[1] == 0 && p[2] == 1 && (p[3] & 0x80) == 0 &&
      (p[3] & 0x1f) == 7)
    return VideoCoding::H264;
  if (p.size() >= 4 && p[0] == 0 && p[1] == 0 && p[2] == 1) {
    const uint8_t code = p[3];
    // 0xB0 visual object sequence, 0xB5 visual object, 0x00..0x1F video object, 0x20..0x2F VOL.
    if (code == 0xB0 || code == 0xB5 || code <= 0x2F) return VideoCoding::Mpeg4;
  }
  return VideoCoding::Unknown;
}

}  // namespace ov
