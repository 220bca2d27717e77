#pragma once
// The engine's tests describe their files frame by frame: chosen frame headers with fake payloads
// that start with the right start codes (the engine never decodes), laid out by YskBuilder.
#include <cstdint>
#include <memory>
#include <vector>

#include "archive/FileSource.h"
#include "archive/YskFormat.h"
#include "tests/archive/YskBuilder.h"

namespace ov::test {

struct Fx {
  int32_t time = kT0;
  uint32_t msec = 0;
  uint32_t size = 64;
  uint32_t type = 0;  // 1 = key frame
  // Damage: values written instead of the true ones (0xFFFFFFFF = keep).
  uint32_t info = 0xFFFFFFFF;
  uint32_t sizeField = 0xFFFFFFFF;
};

class Fixture {
 public:
  explicit Fixture(int channelCount = 1) : m_channels(channelCount) {}
  // Frames of one channel's run, in file order.
  void Video(int slot, std::vector<Fx> frames) { m_video[size_t(slot)] = std::move(frames); }
  void Audio(int slot, std::vector<Fx> frames) { m_audio[size_t(slot)] = std::move(frames); }
  // Regular video: n frames every stepMs from msec0, a key frame every gop frames; f_time follows
  // the running clock (msec0 is second 0).
  static std::vector<Fx> Regular(int n, uint32_t msec0, uint32_t stepMs, int gop,
                                 uint32_t size = 64);
  // Sound frames every stepMs over seconds [0, seconds): f_msec is the millisecond of the second.
  static std::vector<Fx> Sound(int seconds, uint32_t stepMs, uint32_t size = 32);

  // Lays the runs out after a kind 0 header; truncateBy cuts bytes off the end.
  std::shared_ptr<std::vector<uint8_t>> Build(size_t truncateBy = 0);
  // Header offset of frame i of a run (valid after Build).
  uint32_t VideoAt(int slot, size_t i) const { return m_videoOffsets[size_t(slot)].at(i); }
  uint32_t AudioAt(int slot, size_t i) const { return m_audioOffsets[size_t(slot)].at(i); }
  uint32_t VideoRunEnd(int slot) const { return m_videoEnd[size_t(slot)]; }

  static std::unique_ptr<IFileSource> Source(std::shared_ptr<std::vector<uint8_t>> bytes) {
    return std::make_unique<MemoryFile>(std::move(bytes));
  }

 private:
  int m_channels;
  std::vector<Fx> m_video[kSlots];
  std::vector<Fx> m_audio[kSlots];
  std::vector<uint32_t> m_videoOffsets[kSlots];
  std::vector<uint32_t> m_audioOffsets[kSlots];
  uint32_t m_videoEnd[kSlots] = {};
};

}  // namespace ov::test
