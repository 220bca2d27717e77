#pragma once
// Where decoded sound goes: 8 kHz mono signed 16-bit samples. The product plays them through the
// sound device; tests capture them.
#include <cstdint>
#include <span>

namespace ov {

inline constexpr int kSoundRate = 8000;

class ISoundSink {
 public:
  virtual ~ISoundSink() = default;
  // Playback thread. Must not block for long; a sink that is full drops its oldest samples.
  virtual void Write(std::span<const int16_t> samples) = 0;
  // Any thread: forgets samples not yet played (the sound channel changed, or a clear).
  virtual void Discard() = 0;
};

}  // namespace ov
