#pragma once
// Key frames decoded small: a picture reduced to a grid of mean brightness per region, enough to
// tell where something changed between two key frames and nothing more.
//
// Threads: a decoder belongs to one thread.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>

namespace ov::activity {

inline constexpr int kGridW = 32;
inline constexpr int kGridH = 24;
using Grid = std::array<uint8_t, kGridW * kGridH>;

class KeyFrameDecoder {
 public:
  // coding as the file's header gives it: 2 = H.264, 0 or 1 = MPEG-4 Part 2.
  explicit KeyFrameDecoder(uint8_t coding);
  ~KeyFrameDecoder();
  KeyFrameDecoder(const KeyFrameDecoder&) = delete;
  KeyFrameDecoder& operator=(const KeyFrameDecoder&) = delete;
  bool IsOpen() const;
  // The grid of one key frame's payload; nothing when it does not decode (damage, no decoder).
  std::optional<Grid> Decode(std::span<const uint8_t> payload);

 private:
  struct Impl;
  std::unique_ptr<Impl> m_impl;
};

// How much changed between two grids, in brightness steps: an even change of the whole picture
// (light, exposure) is taken out first, then the regions that changed most count.
float GridChange(const Grid& a, const Grid& b);

}  // namespace ov::activity
