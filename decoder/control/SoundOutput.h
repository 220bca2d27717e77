#pragma once
// Decodes the sound frames of the channel whose sound is selected and hands them to a sink, which
// applies the set volume as they are played. Sound of every other channel is ignored.
// The sound's coding: decoder/SoundFormat.h.
#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string_view>
#include <vector>

#include "decoder/SoundFormat.h"
#include "decoder/control/SoundSink.h"

namespace ov {

class SoundOutput {
 public:
  explicit SoundOutput(std::unique_ptr<ISoundSink> sink, SoundFormat format = SoundFormat::MuLaw);

  // Volume steps 0..15 to a linear gain: 0 is silent, 15 full, each step 3 dB (15 steps cover
  // 42 dB, about the range of a quiet room to loud speech).
  static float Gain(int volume);

  // Playback thread.
  void Submit(int channel, std::span<const uint8_t> payload);
  void SetVolume(int volume);  // clamped to 0..15; any thread
  int Volume() const { return m_volume.load(std::memory_order_relaxed); }

  // Any thread.
  void SetChannel(int channel);
  int Channel() const { return m_channel.load(std::memory_order_acquire); }
  void Discard();
  // Playback paused: the sound stops at once, and sound frames are dropped until Release (the
  // clear that comes before playback goes on), so a frame handed over just after the pause
  // cannot start it again.
  void Hold();
  void Release();
  std::chrono::milliseconds Latency() const;
  double LagNowMs() const;

 private:
  std::unique_ptr<ISoundSink> m_sink;
  const SoundFormat m_format;
  std::atomic<int> m_volume{0};
  std::mutex m_volumeMutex;
  std::atomic<int> m_channel{0};
  std::atomic<bool> m_held{false};
  std::mutex m_mutex;  // guards the scratch buffer and the sink's writes
  std::vector<int16_t> m_scratch;
  std::array<int16_t, 256> m_table{};  // companded byte to linear
};

}  // namespace ov
