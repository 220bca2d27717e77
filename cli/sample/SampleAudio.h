#pragma once
// Sound payloads of the samples: G.711 mu-law, 8 kHz mono, 200 ms (1600 bytes) a frame, a sine
// tone of 300 Hz + 100 Hz x channel so a listener or a test can tell the channels apart.
#include <cstdint>
#include <span>

namespace ov::sample {

inline constexpr int kAudioSampleRate = 8000;
inline constexpr int kAudioFrameMs = 200;
inline constexpr uint32_t kAudioFrameBytes = 1600;

int AudioToneHz(int channel);
uint8_t LinearToMuLaw(int16_t sample);
int16_t MuLawToLinear(uint8_t code);
// Fills one frame with the channel's tone from sample index firstSample on (continuous phase).
void MakeAudioPayload(int channel, uint64_t firstSample, std::span<uint8_t, kAudioFrameBytes> out);

}  // namespace ov::sample
