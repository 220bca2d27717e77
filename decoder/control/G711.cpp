#include "decoder/control/G711.h"

namespace ov::g711 {

int16_t MuLawToLinear(uint8_t u) {
  u = static_cast<uint8_t>(~u);
  const int exponent = (u >> 4) & 0x07;
  const int mantissa = u & 0x0f;
  const int magnitude = (((mantissa << 3) + 0x84) << exponent) - 0x84;
  return static_cast<int16_t>((u & 0x80) ? -magnitude : magnitude);
}

int16_t ALawToLinear(uint8_t a) {
  a ^= 0x55;
  const int exponent = (a >> 4) & 0x07;
  const int mantissa = a & 0x0f;
  int magnitude = (mantissa << 4) + 8;
  if (exponent != 0) magnitude = (magnitude + 0x100) << (exponent - 1);
  return static_cast<int16_t>((a & 0x80) ? magnitude : -magnitude);
}

}  // namespace ov::g711
