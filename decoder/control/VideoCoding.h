#pragma once
// Recognises a key frame's coding from the start code at the head of its payload.
#include <cstddef>
#include <cstdint>
#include <span>

namespace ov {

enum class VideoCoding { Unknown, Mpeg4, H264 };

// H.264 key frames open with an Annex B start code and a sequence parameter set; MPEG-4 visual
// ones with a visual object sequence, video object or video object layer start code.
VideoCoding DetectCoding(std::span<const uint8_t> payload);

}  // namespace ov
