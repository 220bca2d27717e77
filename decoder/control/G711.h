#pragma once
// G.711 companded samples to 16-bit linear.
#include <cstdint>

namespace ov::g711 {

int16_t MuLawToLinear(uint8_t u);
int16_t ALawToLinear(uint8_t a);

}  // namespace ov::g711
