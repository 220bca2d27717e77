#include "tests/playback/Fixture.h"

namespace ov::test {

std::vector<Fx> Fixture::Regular(int n, uint32_t msec0, uint32_t stepMs, int gop, uint32_t size) {
  std::vector<Fx> v;
  for (int i = 0; i < n; ++i) {
    Fx f;
    f.msec = msec0 + uint32_t(i) * stepMs;
    f.time = kT0 + int32_t((f.msec - msec0) / 1000);
    f.type = i % gop == 0 ? 1 : 0;
    f.size = size;
    v.push_back(f);
  }
  return v;
}

std::vector<Fx> Fixture::Sound(int seconds, uint32_t stepMs, uint32_t size) {
  std::vector<Fx> v;
  for (int s = 0; s < seconds; ++s) {
    for (uint32_t ms = 0; ms < 1000; ms += stepMs) {
      Fx f;
      f.time = kT0 + s;
      f.msec = ms;
      f.size = size;
      v.push_back(f);
    }
  }
  return v;
}

namespace {
void Payload(std::vector<uint8_t>& out, const Fx& f, bool audio, uint8_t seed) {
  const size_t at = out.size();
  out.resize(at + f.size, uint8_t(0xA0 | (seed & 0x0F)));
  for (size_t i = 0; i < f.size; ++i) out[at + i] = uint8_t(0x80 | ((seed + i) & 0x7F));
  if (audio || f.size < 5) return;
  // H.264 start code; NAL 7 (sequence parameter set) opens a key frame, NAL 1 any other.
  const uint8_t code[5] = {0, 0, 0, 1, uint8_t(f.type == 1 ? 0x67 : 0x41)};
  for (int i = 0; i < 5; ++i) out[at + size_t(i)] = code[i];
}
}  // namespace

std::shared_ptr<std::vector<uint8_t>> Fixture::Build(size_t truncateBy) {
  auto bytes = std::make_shared<std::vector<uint8_t>>(kYskHeaderSize, 0);
  auto& out = *bytes;
  YskHeader h;
  h.kind = 0;
  h.channelCount = uint8_t(m_channels);
  h.videoCoding = 2;
  uint8_t seed = 1;
  auto writeRun = [&](std::vector<Fx>& frames, std::vector<uint32_t>& offsets,
                      YskChannelRecord& rec, bool audio) {
    offsets.clear();
    rec.startOffset = uint32_t(out.size() - kDataStartKind0);
    uint32_t prevSize = 0;
    for (const Fx& f : frames) {
      offsets.push_back(uint32_t(out.size()));
      YskFrameHeader fh{f.time, f.msec, f.sizeField != 0xFFFFFFFF ? f.sizeField : f.size,
                        f.info != 0xFFFFFFFF ? f.info : prevSize, f.type};
      const size_t at = out.size();
      out.resize(at + kYskFrameHeaderSize);
      EncodeFrameHeader(
          fh, std::span<uint8_t, kYskFrameHeaderSize>(out.data() + at, kYskFrameHeaderSize));
      Payload(out, f, audio, seed++);
      prevSize = f.size;
    }
    rec.endOffset = uint32_t(out.size() - kDataStartKind0);
  };
  for (int n = 0; n < kSlots; ++n) {
    h.video[size_t(n)].channelNo = uint8_t(n);
    h.audio[size_t(n)].channelNo = uint8_t(n);
    h.video[size_t(n)].name = "Cam " + std::to_string(n + 1);
    if (!m_video[n].empty()) {
      h.videoMask |= 1u << n;
      writeRun(m_video[n], m_videoOffsets[n], h.video[size_t(n)], false);
      m_videoEnd[n] = kDataStartKind0 + h.video[size_t(n)].endOffset;
    }
    if (!m_audio[n].empty()) {
      h.audioMask |= 1u << n;
      writeRun(m_audio[n], m_audioOffsets[n], h.audio[size_t(n)], true);
    }
  }
  EncodeHeader(h, std::span<uint8_t, kYskHeaderSize>(out.data(), kYskHeaderSize));
  out.resize(out.size() - std::min(truncateBy, out.size() - kYskHeaderSize));
  return bytes;
}

}  // namespace ov::test
