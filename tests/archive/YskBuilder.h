#pragma once
// Builds small backup files in memory for tests and fuzz seeds: one run per recorded slot.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "archive/YskFormat.h"

namespace ov::test {

struct FrameSpec {
  int32_t f_time = 0;
  uint32_t f_msec = 0;
  uint32_t f_type = 0;
  uint32_t size = 64;
  std::vector<uint8_t> prefix;  // payload start; the rest is filler
  int64_t infoOverride = -1;    // f_info to write instead of the previous size
  int64_t sizeOverride = -1;    // f_size to write instead of the real size
};

struct RunSpec {
  int slot = 0;
  bool audio = false;
  std::vector<FrameSpec> frames;
};

class YskBuilder {
 public:
  YskHeader header;
  std::vector<RunSpec> runs;
  uint8_t filler = 0x55;

  YskBuilder();
  // Adds a video run of `count` frames, one every `stepMs`, key frames every `gop`.
  RunSpec& AddVideo(int slot, int32_t t0, uint32_t ms0, int count, uint32_t stepMs, int gop,
                    uint8_t coding = 2);
  RunSpec& AddAudio(int slot, int32_t t0, int count);
  // Lays out header and runs; sets offsets and masks from the runs unless keepHeader.
  std::vector<uint8_t> Build(bool keepHeader = false);
  std::shared_ptr<const std::vector<uint8_t>> BuildShared(bool keepHeader = false) {
    return std::make_shared<const std::vector<uint8_t>>(Build(keepHeader));
  }
  // Absolute offset of frame i of run r in the last Build.
  uint64_t FrameOffset(size_t run, size_t i) const { return m_offsets.at(run).at(i); }

 private:
  std::vector<std::vector<uint64_t>> m_offsets;
};

std::vector<uint8_t> KeyPrefix(uint8_t coding);
// 2024-03-01 12:00:00
inline constexpr int32_t kT0 = 1709294400;

}  // namespace ov::test
