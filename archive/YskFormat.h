#pragma once
// The ".ysk" backup file layout: header, channel records and frame headers, decoded field by
// field from little-endian bytes (records are packed; no struct is ever cast over file bytes).
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace ov {

inline constexpr size_t kYskHeaderSize = 2037;
inline constexpr size_t kYskRecordSize = 63;
inline constexpr size_t kYskNameSize = 50;
inline constexpr size_t kYskFrameHeaderSize = 20;
inline constexpr size_t kYskTailSize = 4096;  // a kind 2 header sits this far before the end
inline constexpr uint32_t kDataStartKind0 = 2037;
inline constexpr uint32_t kDataStartKind12 = 4096;
inline constexpr uint32_t kMaxPayload = 131072;  // playback's frame slot size
// Frames up to this size play; a slot grows to it only when a frame needs it. Far above any real
// picture, so only a damaged size field reaches it.
inline constexpr uint32_t kMaxFrameBytes = 8u << 20;
inline constexpr int kSlots = 16;

struct YskChannelRecord {
  std::string name;  // at most 50 bytes, stops at the first NUL
  uint8_t channelNo = 0;
  uint32_t startOffset = 0;
  uint32_t endOffset = 0;
  uint32_t spare = 0;  // not used by the player; kept so a written record round-trips

  bool HasData() const { return endOffset > startOffset; }
};

struct YskHeader {
  uint8_t kind = 0;
  uint8_t channelCount = 0;
  uint8_t videoCoding = 0;
  uint32_t videoMask = 0;
  uint32_t audioMask = 0;
  std::array<YskChannelRecord, kSlots> video{};
  std::array<YskChannelRecord, kSlots> audio{};
};

struct YskFrameHeader {
  int32_t f_time = 0;
  uint32_t f_msec = 0;
  uint32_t f_size = 0;
  uint32_t f_info = 0;
  uint32_t f_type = 0;
};

inline uint32_t LoadLE32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
inline void StoreLE32(uint8_t* p, uint32_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
  p[2] = uint8_t(v >> 16);
  p[3] = uint8_t(v >> 24);
}

YskChannelRecord DecodeChannelRecord(std::span<const uint8_t, kYskRecordSize> bytes);
YskHeader DecodeHeader(std::span<const uint8_t, kYskHeaderSize> bytes);
YskFrameHeader DecodeFrameHeader(std::span<const uint8_t, kYskFrameHeaderSize> bytes);

// Writers for the sample maker and the storage tools. Bytes the reader skips are written as 0.
void EncodeChannelRecord(const YskChannelRecord& r, std::span<uint8_t, kYskRecordSize> out);
void EncodeHeader(const YskHeader& h, std::span<uint8_t, kYskHeaderSize> out);
void EncodeFrameHeader(const YskFrameHeader& f, std::span<uint8_t, kYskFrameHeaderSize> out);

// True when bytes (a key frame's payload start) carry the key-frame start code of the coding:
// 2 = H.264 (00 00 00 01, NAL type 7), 0 or 1 = MPEG-4 visual (00 00 01 B0 or 00 00 01 00).
bool IsKeyFrameStartCode(uint8_t videoCoding, std::span<const uint8_t> bytes);
// Number of bytes IsKeyFrameStartCode examines for the coding (5 for H.264, 4 for MPEG-4).
size_t KeyFrameStartCodeLength(uint8_t videoCoding);

}  // namespace ov
