#pragma once
// G.711 companded bytes to 16-bit linear samples, as libavcodec's pcm_mulaw and pcm_alaw decoders
// give them. Sound frames are decoded by lookup in this table; the table is built once, by
// decoding all 256 codes.
#include <array>
#include <cstdint>
#include <optional>

namespace ov::g711 {

enum class Law { MuLaw, ALaw };

// Every code's sample, indexed by the code; nothing when libavcodec lacks the decoder.
std::optional<std::array<int16_t, 256>> DecodeTable(Law law);

}  // namespace ov::g711
