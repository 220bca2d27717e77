#pragma once
// A decoder control that records every call (DISPID and arguments, byte buffers by CRC-32) and
// shows nothing. CurrentAudioChannel answers channel 0, QueryActive a settable state, ShownFrame
// the tag of the last video frame handed over to be shown (as if shown at once).
//
// Threads: calls may arrive from any thread.
#include <array>
#include <atomic>

#include "decoder/DecoderCalls.h"
#include "decoder/DecoderDispatch.h"
#include "playback/trace/EventLog.h"

namespace ov {

class RecordingDecoder final : public IDecoderDispatch {
 public:
  explicit RecordingDecoder(EventLog& log) : m_log(log) {}
  int32_t Invoke(int32_t dispid, std::span<const DispArg> args) override;
  void SetActive(int32_t active) { m_answers.active.store(active); }
  // While set, pictures handed over are not shown yet (a decoder still busy): ShownFrame keeps
  // answering the one shown before.
  void HoldPictures(bool hold) { m_answers.hold.store(hold); }

 private:
  // Answers the calls that return something; every other call only leaves its record.
  struct Answers final : IDecoderCalls {
    void Deactivate() override {
      for (auto& t : shown) t.store(0);
    }
    void SetOwnerWindow(int32_t) override {}
    void SetLayout(int32_t) override {}
    void SetMode(int32_t, int32_t) override {}
    int32_t CurrentAudioChannel() override { return 0; }
    void SetVolume(int32_t) override {}
    void SubmitFrame(const FrameCall& f) override {
      if (f.channel == -1)
        for (auto& t : shown) t.store(0);
      else if (f.channel >= 0 && f.channel < int32_t(shown.size()) && !f.audio && f.show &&
               !f.payload.empty() && !hold.load())
        shown[size_t(f.channel)].store(f.tag);
    }
    void ClearDecoder() override {}
    int32_t PictureDelay() override { return 0; }
    uint32_t ShownFrame(int32_t channel) override {
      return channel >= 0 && channel < int32_t(shown.size()) ? shown[size_t(channel)].load() : 0;
    }
    void SetPaneTitle(int32_t, std::string_view) override {}
    void SetStartOption(int, int32_t) override {}
    int32_t QueryActive() override { return active.load(); }
    int32_t SetProductText(std::string_view) override { return 0; }
    int32_t SetVersionText(std::string_view) override { return 0; }

    std::atomic<int32_t> active{0};
    std::atomic<bool> hold{false};
    std::array<std::atomic<uint32_t>, 16> shown{};
  };

  EventLog& m_log;
  Answers m_answers;
};

}  // namespace ov
