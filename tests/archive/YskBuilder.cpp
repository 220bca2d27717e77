#include "tests/archive/YskBuilder.h"

#include <algorithm>
#include <cstring>

namespace ov::test {

std::vector<uint8_t> KeyPrefix(uint8_t coding) {
  if (coding == 2) return {0, 0, 0, 1, 0x67, 0x42};
  return {0, 0, 1, 0xB0, 0x01};
}

YskBuilder::YskBuilder() {
  header.kind = 0;
  header.channelCount = 4;
  header.videoCoding = 2;
  for (int n = 0; n < kSlots; ++n) {
    header.video[n].name = "Camera " + std::to_string(n + 1);
    header.video[n].channelNo = static_cast<uint8_t>(n);
    header.audio[n].channelNo = static_cast<uint8_t>(n);
  }
}

RunSpec& YskBuilder::AddVideo(int slot, int32_t t0, uint32_t ms0, int count, uint32_t stepMs,
                              int gop, uint8_t coding) {
  RunSpec r;
  r.slot = slot;
  for (int i = 0; i < count; ++i) {
    FrameSpec f;
    const uint32_t ms = ms0 + uint32_t(i) * stepMs;
    f.f_msec = ms;
    f.f_time = t0 + int32_t((ms - ms0) / 1000);
    f.f_type = (gop > 0 && i % gop == 0) ? 1 : 0;
    f.size = f.f_type ? 300 : 80;
    if (f.f_type) f.prefix = KeyPrefix(coding);
    r.frames.push_back(f);
  }
  runs.push_back(r);
  return runs.back();
}

RunSpec& YskBuilder::AddAudio(int slot, int32_t t0, int count) {
  RunSpec r;
  r.slot = slot;
  r.audio = true;
  for (int i = 0; i < count; ++i) {
    FrameSpec f;
    f.f_time = t0 + i / 5;
    f.f_msec = uint32_t(i % 5) * 200;
    f.size = 1600;
    r.frames.push_back(f);
  }
  runs.push_back(r);
  return runs.back();
}

std::vector<uint8_t> YskBuilder::Build(bool keepHeader) {
  const uint32_t dataStart = header.kind == 0 ? kDataStartKind0 : kDataStartKind12;
  std::vector<uint8_t> out(dataStart, 0);
  m_offsets.assign(runs.size(), {});
  YskHeader h = header;
  if (!keepHeader) {
    h.videoMask = h.audioMask = 0;
    for (auto& r : runs) (r.audio ? h.audioMask : h.videoMask) |= 1u << r.slot;
  }
  for (size_t ri = 0; ri < runs.size(); ++ri) {
    const RunSpec& r = runs[ri];
    auto& rec = r.audio ? h.audio[r.slot] : h.video[r.slot];
    const uint32_t start = static_cast<uint32_t>(out.size() - dataStart);
    uint32_t prev = 0;
    for (const FrameSpec& f : r.frames) {
      m_offsets[ri].push_back(out.size());
      YskFrameHeader fh{f.f_time, f.f_msec, f.sizeOverride >= 0 ? uint32_t(f.sizeOverride) : f.size,
                        f.infoOverride >= 0 ? uint32_t(f.infoOverride) : prev, f.f_type};
      uint8_t raw[kYskFrameHeaderSize];
      EncodeFrameHeader(fh, raw);
      out.insert(out.end(), raw, raw + sizeof raw);
      std::vector<uint8_t> payload(f.size, filler);
      std::copy_n(f.prefix.begin(), std::min<size_t>(f.prefix.size(), f.size), payload.begin());
      out.insert(out.end(), payload.begin(), payload.end());
      prev = f.size;
    }
    if (!keepHeader) {
      rec.startOffset = start;
      rec.endOffset = static_cast<uint32_t>(out.size() - dataStart);
    }
  }
  uint8_t raw[kYskHeaderSize];
  EncodeHeader(h, raw);
  if (h.kind == 2) {
    // The copy at offset 0 is stale apart from its kind byte; the tail block holds the header.
    out[2] = 2;
    std::vector<uint8_t> tail(kYskTailSize, 0);
    std::memcpy(tail.data(), raw, sizeof raw);
    out.insert(out.end(), tail.begin(), tail.end());
  } else {
    std::memcpy(out.data(), raw, sizeof raw);
  }
  return out;
}

}  // namespace ov::test
