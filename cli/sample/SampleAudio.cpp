#include "cli/sample/SampleAudio.h"

#include <cmath>
#include <numbers>

namespace ov::sample {

int AudioToneHz(int channel) { return 300 + 100 * (channel & 0xF); }

uint8_t LinearToMuLaw(int16_t sample) {
  constexpr int kBias = 0x84;
  constexpr int kClip = 32635;
  int s = sample;
  const uint8_t sign = s < 0 ? 0x80 : 0x00;
  if (s < 0) s = -s;
  if (s > kClip) s = kClip;
  s += kBias;
  int exponent = 7;
  for (int mask = 0x4000; (s & mask) == 0 && exponent > 0; mask >>= 1) --exponent;
  const int mantissa = (s >> (exponent + 3)) & 0x0F;
  return uint8_t(~(sign | (exponent << 4) | mantissa));
}

int16_t MuLawToLinear(uint8_t code) {
  code = uint8_t(~code);
  const int exponent = (code >> 4) & 0x07;
  const int mantissa = code & 0x0F;
  const int magnitude = ((mantissa << 3) + 0x84) << exponent;
  return int16_t((code & 0x80) ? 0x84 - magnitude : magnitude - 0x84);
}

void MakeAudioPayload(int channel, uint64_t firstSample, std::span<uint8_t, kAudioFrameBytes> out) {
  // A quarter of full scale: clearly audible, far from clipping.
  constexpr double kAmplitude = 8000.0;
  const int hz = AudioToneHz(channel);
  for (uint32_t i = 0; i < kAudioFrameBytes; ++i) {
    // The phase restarts every second (a whole number of cycles), which keeps it exact.
    const uint64_t n = (firstSample + i) % kAudioSampleRate;
    const double phase = 2.0 * std::numbers::pi * double(hz) * double(n) / kAudioSampleRate;
    out[i] = LinearToMuLaw(int16_t(std::lround(kAmplitude * std::sin(phase))));
  }
}

}  // namespace ov::sample
