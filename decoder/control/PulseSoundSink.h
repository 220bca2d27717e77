#pragma once
// Plays samples through a PulseAudio server (PipeWire's pulse server too) with a stream of our own
// and a long device period: the server asks for more sound about every 50 ms instead of every
// 10-20 ms, so the client thread wakes far less while sound plays. The stream opens with the
// first sound and closes at a pause, a move, a change of channel and when sound stops flowing, so
// an idle player has no stream and no timer. The volume is set on the server's side of the stream,
// which mixes at the new level what it already holds, so a long buffer does not delay a mute.
#include <pulse/def.h>
#include <pulse/volume.h>

#include <cstddef>
#include <memory>

#include "decoder/control/SoundSink.h"

namespace ov {

class SampleRing;

namespace pulse {

// The server's buffer for 8 kHz mono 16-bit samples: `targetMs` of sound kept queued at the
// server (device included), asked for again in `periodMs` pieces. Playback starts once one period
// is there, so a short last burst of sound still plays.
pa_buffer_attr BufferAttr(int targetMs, int periodMs);

// A linear gain (0 silent, 1 full) as the server's volume; out-of-range values are clamped.
pa_volume_t VolumeOf(float gain);

// Moves whole samples from the ring into `dst` (room for `bytes`); returns the bytes filled.
size_t HandOver(SampleRing& ring, void* dst, size_t bytes);

}  // namespace pulse

class PulseSoundSink {
 public:
  // Connects to `server` (nullptr: the user's, as PULSE_SERVER or the session says). Returns
  // nullptr when no server answers within a second.
  static std::unique_ptr<ISoundSink> Create(const char* server = nullptr);
};

}  // namespace ov
