#pragma once
// CRC-32 (IEEE 802.3, reflected, as zlib computes it), for recording payloads compactly.
#include <cstddef>
#include <cstdint>

namespace ov {

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0);

}  // namespace ov
