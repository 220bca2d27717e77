#pragma once
// How the recorder stored its sound. The recording does not say; G.711 mu-law at 8 kHz mono is
// assumed, and OV_SOUND_FORMAT chooses another: "mulaw" (default; "ulaw" too), "alaw" or "pcm16"
// (signed 16-bit little-endian). Playback and export read the same setting.
#include <cstdlib>
#include <string_view>

namespace ov {

enum class SoundFormat { MuLaw, ALaw, Pcm16 };

// Unknown names give mu-law.
inline SoundFormat ParseSoundFormat(std::string_view name) {
  if (name == "alaw") return SoundFormat::ALaw;
  if (name == "pcm16") return SoundFormat::Pcm16;
  return SoundFormat::MuLaw;
}

inline SoundFormat SoundFormatFromEnvironment() {
  const char* v = std::getenv("OV_SOUND_FORMAT");
  return v ? ParseSoundFormat(v) : SoundFormat::MuLaw;
}

}  // namespace ov
