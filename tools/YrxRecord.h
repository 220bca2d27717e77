#pragma once
// The recorder's ".yrx" frame record: a 96-byte little-endian header followed by the payload.
// A ".yrx" file is nothing but a sequence of such records.
#include <cstddef>
#include <cstdint>
#include <span>

#include "archive/Calendar.h"

namespace ov::tools {

inline constexpr size_t kYrxHeaderSize = 96;
inline constexpr int kMaxChannelFiles = 16;  // the builder's output table

struct YrxRecordHeader {
  uint32_t leadIn = 0;       // offset 0; its presence marks a record
  uint32_t frameType = 0;    // offset 40; becomes f_type
  CalendarTime time;         // offset 44, eight u16 fields (the weekday third)
  int32_t channel = 0;       // offset 72, 0-based
  int32_t channelCount = 0;  // offset 76; read from the run's first record only
  uint32_t payloadSize = 0;  // offset 80
};

YrxRecordHeader DecodeYrxRecordHeader(std::span<const uint8_t, kYrxHeaderSize> bytes);
// Bytes the builder does not read are written as 0.
void EncodeYrxRecordHeader(const YrxRecordHeader& h, std::span<uint8_t, kYrxHeaderSize> out);

}  // namespace ov::tools
