#include "archive/YskFormat.h"

#include <algorithm>
#include <cstring>

namespace ov {

YskChannelRecord DecodeChannelRecord(std::span<const uint8_t, kYskRecordSize> b) {
  YskChannelRecord r;
  const auto* nameEnd = std::find(b.data(), b.data() + kYskNameSize, uint8_t{0});
  r.name.assign(b.data(), nameEnd);
  r.channelNo = b[50];
  r.startOffset = LoadLE32(b.data() + 51);
  r.endOffset = LoadLE32(b.data() + 55);
  r.spare = LoadLE32(b.data() + 59);
  return r;
}

YskHeader DecodeHeader(std::span<const uint8_t, kYskHeaderSize> b) {
  YskHeader h;
  h.kind = b[2];
  h.channelCount = b[3];
  h.videoCoding = b[5];
  h.videoMask = LoadLE32(b.data() + 13);
  h.audioMask = LoadLE32(b.data() + 17);
  for (int n = 0; n < kSlots; ++n) {
    h.video[n] = DecodeChannelRecord(b.subspan(21 + kYskRecordSize * n).first<kYskRecordSize>());
    h.audio[n] = DecodeChannelRecord(b.subspan(1029 + kYskRecordSize * n).first<kYskRecordSize>());
  }
  return h;
}

YskFrameHeader DecodeFrameHeader(std::span<const uint8_t, kYskFrameHeaderSize> b) {
  YskFrameHeader f;
  f.f_time = static_cast<int32_t>(LoadLE32(b.data()));
  f.f_msec = LoadLE32(b.data() + 4);
  f.f_size = LoadLE32(b.data() + 8);
  f.f_info = LoadLE32(b.data() + 12);
  f.f_type = LoadLE32(b.data() + 16);
  return f;
}

void EncodeChannelRecord(const YskChannelRecord& r, std::span<uint8_t, kYskRecordSize> out) {
  std::fill(out.begin(), out.end(), uint8_t{0});
  std::memcpy(out.data(), r.name.data(), std::min(r.name.size(), kYskNameSize));
  out[50] = r.channelNo;
  StoreLE32(out.data() + 51, r.startOffset);
  StoreLE32(out.data() + 55, r.endOffset);
  StoreLE32(out.data() + 59, r.spare);
}

void EncodeHeader(const YskHeader& h, std::span<uint8_t, kYskHeaderSize> out) {
  std::fill(out.begin(), out.end(), uint8_t{0});
  out[2] = h.kind;
  out[3] = h.channelCount;
  out[5] = h.videoCoding;
  StoreLE32(out.data() + 13, h.videoMask);
  StoreLE32(out.data() + 17, h.audioMask);
  for (int n = 0; n < kSlots; ++n) {
    EncodeChannelRecord(h.video[n], out.subspan(21 + kYskRecordSize * n).first<kYskRecordSize>());
    EncodeChannelRecord(h.audio[n], out.subspan(1029 + kYskRecordSize * n).first<kYskRecordSize>());
  }
}

void EncodeFrameHeader(const YskFrameHeader& f, std::span<uint8_t, kYskFrameHeaderSize> out) {
  StoreLE32(out.data(), static_cast<uint32_t>(f.f_time));
  StoreLE32(out.data() + 4, f.f_msec);
  StoreLE32(out.data() + 8, f.f_size);
  StoreLE32(out.data() + 12, f.f_info);
  StoreLE32(out.data() + 16, f.f_type);
}

size_t KeyFrameStartCodeLength(uint8_t videoCoding) { return videoCoding == 2 ? 5 : 4; }

bool IsKeyFrameStartCode(uint8_t videoCoding, std::span<const uint8_t> b) {
  if (b.size() < KeyFrameStartCodeLength(videoCoding)) return false;
  if (videoCoding == 2)
    return b[0] == 0 && b[1] == 0 && b[2] == 0 && b[3] == 1 && (b[4] & 0x1F) == 7;
  return b[0] == 0 && b[1] == 0 && b[2] == 1 && (b[3] == 0xB0 || b[3] == 0x00);
}

}  // namespace ov
