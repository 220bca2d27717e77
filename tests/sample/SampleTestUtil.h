#pragma once
// Reading back what the sample writer produced, for the tests of this folder.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "archive/YskFormat.h"

namespace ov::sample::test {

inline std::string TempPath(const std::string& name) {
  const char* dir = std::getenv("OV_TEST_TMP");
  std::filesystem::path p = dir ? dir : std::filesystem::temp_directory_path().string();
  p /= "sample";
  std::filesystem::create_directories(p);
  return (p / name).string();
}

inline std::vector<uint8_t> ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline nlohmann::json ReadJson(const std::string& path) {
  std::ifstream in(path);
  return nlohmann::json::parse(in);
}

inline YskFrameHeader FrameAt(const std::vector<uint8_t>& file, uint64_t offset) {
  return DecodeFrameHeader(
      std::span<const uint8_t, kYskFrameHeaderSize>(file.data() + offset, kYskFrameHeaderSize));
}

// The header the player would use: at the tail for kind 2, else at the front.
inline YskHeader HeaderOf(const std::vector<uint8_t>& file) {
  const size_t at = file.at(2) == 2 ? file.size() - kYskTailSize : 0;
  return DecodeHeader(std::span<const uint8_t, kYskHeaderSize>(file.data() + at, kYskHeaderSize));
}

struct WalkedFrame {
  uint64_t offset;
  YskFrameHeader h;
};

// Walks a run from its first header by f_size; fails the test when it does not land on the end.
inline std::vector<WalkedFrame> WalkRun(const std::vector<uint8_t>& file, uint64_t begin,
                                        uint64_t end) {
  std::vector<WalkedFrame> frames;
  uint64_t pos = begin;
  while (pos + kYskFrameHeaderSize <= end) {
    const auto h = FrameAt(file, pos);
    frames.push_back({pos, h});
    pos += kYskFrameHeaderSize + h.f_size;
  }
  if (pos != end) frames.clear();
  return frames;
}

}  // namespace ov::sample::test
