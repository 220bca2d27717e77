#include "decoder/control/SoundOutput.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "decoder/control/G711Table.h"

namespace ov {

SoundOutput::SoundOutput(std::unique_ptr<ISoundSink> sink, SoundFormat format)
    : m_sink(std::move(sink)), m_format(format) {
  if (m_sink) m_sink->SetGain(Gain(Volume()));
  if (format == SoundFormat::Pcm16) return;
  const auto table =
      g711::DecodeTable(format == SoundFormat::ALaw ? g711::Law::ALaw : g711::Law::MuLaw);
  if (table) {
    m_table = *table;
  } else {
    // The table stays all zero: the sound plays as silence, which keeps the device's clock.
    std::fputs("CQL_Ctrl_Player: libavcodec has no G.711 decoder; sound is silent\n", stderr);
  }
}

float SoundOutput::Gain(int volume) {
  if (volume <= 0) return 0.0f;
  if (volume >= 15) return 1.0f;
  return static_cast<float>(std::pow(10.0, (volume - 15) * 3.0 / 20.0));
}

void SoundOutput::SetVolume(int volume) {
  volume = std::clamp(volume, 0, 15);
  // The window (mute, the volume slider) and the playback thread (with every sound frame) both
  // set it: under the lock the sink's gain always ends up matching the last volume stored.
  std::lock_guard lock(m_volumeMutex);
  if (m_volume.exchange(volume, std::memory_order_relaxed) != volume && m_sink)
    m_sink->SetGain(Gain(volume));
}

void SoundOutput::SetChannel(int channel) {
  if (channel < 0 || channel > 15) return;
  if (m_channel.exchange(channel, std::memory_order_acq_rel) != channel) Discard();
}

void SoundOutput::Discard() {
  if (m_sink) m_sink->Discard();
}

void SoundOutput::Hold() {
  // Under the write lock: once the pause returns, no frame is half way into the sink.
  std::lock_guard lock(m_mutex);
  m_held.store(true, std::memory_order_release);
  if (m_sink) m_sink->Hold();
}

void SoundOutput::Release() { m_held.store(false, std::memory_order_release); }

std::chrono::milliseconds SoundOutput::Latency() const {
  return m_sink ? m_sink->Latency() : std::chrono::milliseconds(0);
}

double SoundOutput::LagNowMs() const { return m_sink ? m_sink->LagNowMs() : -1.0; }

void SoundOutput::Submit(int channel, std::span<const uint8_t> payload) {
  if (!m_sink || channel != Channel() || payload.empty()) return;
  std::lock_guard lock(m_mutex);
  if (m_held.load(std::memory_order_acquire)) return;
  m_scratch.clear();
  if (m_format == SoundFormat::Pcm16) {
    for (size_t i = 0; i + 1 < payload.size(); i += 2)
      m_scratch.push_back(static_cast<int16_t>(payload[i] | (payload[i + 1] << 8)));
  } else {
    for (uint8_t b : payload) m_scratch.push_back(m_table[b]);
  }
  // Written at full level even when muted: the sink applies the gain as the samples leave, and
  // a muted channel keeps the device's clock running.
  m_sink->Write(m_scratch);
}

}  // namespace ov
