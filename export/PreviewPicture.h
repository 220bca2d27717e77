#pragma once
// A small picture of one key frame, for previews: the frame's payload decoded alone and scaled to
// fit a box, as packed RGB rows.
//
// Threads: runs on the caller's thread; no shared state.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "archive/OpenRecording.h"

namespace ov::exporter {

struct PreviewPicture {
  int width = 0, height = 0;
  std::vector<uint8_t> rgb;  // width * 3 bytes a row, height rows
  int32_t second = 0;        // f_time of the key frame
  uint32_t msec = 0;
};

// The key frame whose header lies at offset inside [runBegin, runEnd), fitted into maxWidth x
// maxHeight (the aspect kept). Nothing when the header is no key frame of that run, its payload
// is larger than a frame can be or runs past the run, or it does not decode; error says why.
std::optional<PreviewPicture> DecodeKeyFramePreview(const FrameReader& reader, uint8_t videoCoding,
                                                    uint64_t offset, uint64_t runBegin,
                                                    uint64_t runEnd, int maxWidth, int maxHeight,
                                                    std::string* error = nullptr);

}  // namespace ov::exporter
