#pragma once
// Streams the JSON manifest of a sample: the frames as they are written (a long sample has
// millions, so they are never held in memory), then the summary fields.
#include <cstdint>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "archive/YskFormat.h"

namespace ov::sample {

class ManifestWriter {
 public:
  // An empty path gives a writer that does nothing. Throws std::runtime_error when the file
  // cannot be created.
  explicit ManifestWriter(const std::string& path);
  ~ManifestWriter();
  ManifestWriter(const ManifestWriter&) = delete;
  ManifestWriter& operator=(const ManifestWriter&) = delete;

  // offset: absolute file offset of the frame header. stamp: the frame number in the picture.
  void Frame(uint64_t offset, int channel, bool audio, const YskFrameHeader& h,
             std::optional<uint32_t> stamp);
  // Closes the frame list and writes the members of summary (an object) after it.
  void Finish(const nlohmann::json& summary);

 private:
  std::FILE* file_ = nullptr;
  bool first_ = true;
};

}  // namespace ov::sample
