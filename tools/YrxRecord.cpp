#include "tools/YrxRecord.h"

#include <algorithm>

#include "archive/YskFormat.h"

namespace ov::tools {
namespace {
constexpr size_t kTypeAt = 40;
constexpr size_t kTimeAt = 44;
constexpr size_t kChannelAt = 72;
constexpr size_t kCountAt = 76;
constexpr size_t kSizeAt = 80;

uint16_t Load16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
void Store16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}
}  // namespace

YrxRecordHeader DecodeYrxRecordHeader(std::span<const uint8_t, kYrxHeaderSize> bytes) {
  const uint8_t* p = bytes.data();
  YrxRecordHeader h;
  h.leadIn = LoadLE32(p);
  h.frameType = LoadLE32(p + kTypeAt);
  const uint8_t* t = p + kTimeAt;
  h.time.year = Load16(t);
  h.time.month = Load16(t + 2);
  // t + 4 holds the weekday, which follows from the date.
  h.time.day = Load16(t + 6);
  h.time.hour = Load16(t + 8);
  h.time.minute = Load16(t + 10);
  h.time.second = Load16(t + 12);
  h.time.millisecond = Load16(t + 14);
  h.channel = static_cast<int32_t>(LoadLE32(p + kChannelAt));
  h.channelCount = static_cast<int32_t>(LoadLE32(p + kCountAt));
  h.payloadSize = LoadLE32(p + kSizeAt);
  return h;
}

void EncodeYrxRecordHeader(const YrxRecordHeader& h, std::span<uint8_t, kYrxHeaderSize> out) {
  uint8_t* p = out.data();
  std::fill(out.begin(), out.end(), uint8_t{0});
  StoreLE32(p, h.leadIn);
  StoreLE32(p + kTypeAt, h.frameType);
  uint8_t* t = p + kTimeAt;
  Store16(t, h.time.year);
  Store16(t + 2, h.time.month);
  Store16(t + 4, static_cast<uint16_t>(Weekday(h.time).c_encoding()));  // 0 = Sunday
  Store16(t + 6, h.time.day);
  Store16(t + 8, h.time.hour);
  Store16(t + 10, h.time.minute);
  Store16(t + 12, h.time.second);
  Store16(t + 14, h.time.millisecond);
  StoreLE32(p + kChannelAt, static_cast<uint32_t>(h.channel));
  StoreLE32(p + kCountAt, static_cast<uint32_t>(h.channelCount));
  StoreLE32(p + kSizeAt, h.payloadSize);
}

}  // namespace ov::tools
