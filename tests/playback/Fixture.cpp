#include "tests/playback/Fixture.h"

#include <algorithm>
#include <string>

#include "tests/archive/YskBuilder.h"

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
  YskBuilder b;
  b.header.channelCount = uint8_t(m_channels);
  for (int n = 0; n < kSlots; ++n) b.header.video[size_t(n)].name = "Cam " + std::to_string(n + 1);
  uint8_t seed = 1;
  // Runs in file order: each slot's video, then its sound.
  struct Laid {
    std::vector<uint32_t>* offsets;
    size_t run;
  };
  std::vector<Laid> laid;
  for (int n = 0; n < kSlots; ++n) {
    for (const bool audio : {false, true}) {
      const std::vector<Fx>& frames = audio ? m_audio[n] : m_video[n];
      if (frames.empty()) continue;
      RunSpec r;
      r.slot = n;
      r.audio = audio;
      for (const Fx& f : frames) {
        FrameSpec spec;
        spec.f_time = f.time;
        spec.f_msec = f.msec;
        spec.f_type = f.type;
        spec.size = f.size;
        Payload(spec.prefix, f, audio, seed++);
        if (f.info != 0xFFFFFFFF) spec.infoOverride = f.info;
        if (f.sizeField != 0xFFFFFFFF) spec.sizeOverride = f.sizeField;
        r.frames.push_back(std::move(spec));
      }
      b.runs.push_back(std::move(r));
      laid.push_back({audio ? &m_audioOffsets[n] : &m_videoOffsets[n], b.runs.size() - 1});
    }
  }
  auto bytes = std::make_shared<std::vector<uint8_t>>(b.Build());
  for (const Laid& l : laid) {
    l.offsets->clear();
    for (size_t i = 0; i < b.runs[l.run].frames.size(); ++i)
      l.offsets->push_back(uint32_t(b.FrameOffset(l.run, i)));
    const RunSpec& r = b.runs[l.run];
    if (!r.audio) {
      const FrameSpec& last = r.frames.back();
      m_videoEnd[r.slot] = l.offsets->back() + kYskFrameHeaderSize + last.size;
    }
  }
  auto& out = *bytes;
  out.resize(out.size() - std::min(truncateBy, out.size() - kYskHeaderSize));
  return bytes;
}

}  // namespace ov::test
