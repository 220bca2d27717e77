// A library function with a signed overflow for some inputs, built with the libraries' flags: the
// replay guard shows that such a finding outside a target's own file fails the replay.
#include <cstdint>
#include <cstring>

int32_t PlantedSum(const uint8_t* data, size_t size) {
  int32_t sum = 0;
  for (size_t i = 0; i + 4 <= size; i += 4) {
    int32_t v = 0;
    std::memcpy(&v, data + i, 4);
    sum += v;  // overflows for large values
  }
  return sum + int32_t(size) * 0x40000000;  // and here for 4 bytes or more
}
