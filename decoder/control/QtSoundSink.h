#pragma once
// Plays samples through the default sound device with QAudioSink. The device pulls from a small
// ring that the playback thread fills; an empty ring plays silence, a full one drops its oldest
// samples, so neither side ever waits for the other.
#include <memory>

#include "decoder/control/SoundSink.h"

namespace ov {

class QtSoundSink {
 public:
  // Window thread. Returns a sink that discards everything (and says so once on stderr) when
  // there is no sound device.
  static std::unique_ptr<ISoundSink> Create();
};

}  // namespace ov
