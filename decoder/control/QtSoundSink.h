#pragma once
// Plays samples through the default sound device with QAudioSink, fed on a thread of its own with a
// short device buffer. The device pulls from a ring that the playback thread fills, so neither
// side waits for the other. The device runs while sound flows; a pause, a move or a change of
// channel stops it, which drops what it still holds.
#include <memory>

#include "decoder/control/SoundSink.h"

namespace ov {

class QtSoundSink {
 public:
  // Window thread. Returns the PulseAudio sink (decoder/control/PulseSoundSink.h) when a server
  // answers, else Qt's; a sink that discards everything (and says so once on stderr) when
  // there is no sound device.
  static std::unique_ptr<ISoundSink> Create();
};

}  // namespace ov
