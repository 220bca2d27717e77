#pragma once
// Where decoded sound goes: 8 kHz mono signed 16-bit samples at full level. The product plays them
// through the sound device; tests capture them. The volume is applied as samples leave for the
// listener, so a change reaches the samples already queued too.
#include <chrono>
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
  // Any thread: the linear gain applied to samples from now on, queued ones included.
  virtual void SetGain(float) {}
  // Any thread: playback paused. Forgets samples not yet heard, those already in the device
  // included, so the sound stops at once; the next Write starts it again.
  virtual void Hold() { Discard(); }
  // Any thread: how long a sample takes from Write to the listener's ear (queued samples and the
  // device's own latency); pictures are held back by as much. 0 for a sink that plays nothing.
  virtual std::chrono::milliseconds Latency() const { return std::chrono::milliseconds(0); }
  // Any thread: the latest unsmoothed reading of the same, while sound flows; negative otherwise.
  virtual double LagNowMs() const { return -1.0; }
};

}  // namespace ov
