#pragma once
// A decoder control that records every call (DISPID and arguments, byte buffers by CRC-32) and
// shows nothing. CurrentAudioChannel answers a settable channel.
//
// Threads: calls may arrive from any thread.
#include <atomic>

#include "decoder/DecoderDispatch.h"
#include "playback/trace/EventLog.h"

namespace ov {

class RecordingDecoder final : public IDecoderDispatch {
 public:
  explicit RecordingDecoder(EventLog& log) : m_log(log) {}
  int32_t Invoke(int32_t dispid, std::span<const DispArg> args) override;
  void SetAudioChannel(int32_t channel) { m_audioChannel.store(channel); }
  void SetActive(int32_t active) { m_active.store(active); }

 private:
  EventLog& m_log;
  std::atomic<int32_t> m_audioChannel{0};
  std::atomic<int32_t> m_active{0};
};

}  // namespace ov
