#pragma once
// Plays samples through the default sound device with QAudioSink. The device pulls from a ring
// that the playback thread fills, so neither side waits for the other. The device runs from the
// first sound on and is stopped by a pause, which drops what it still holds.
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
