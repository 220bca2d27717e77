#pragma once
// A player view that records every call into an event log.
#include "playback/PlayerView.h"
#include "playback/trace/EventLog.h"

namespace ov {

class RecordingView final : public IPlayerView {
 public:
  explicit RecordingView(EventLog& log) : m_log(log) {}
  void SetControlText(int id, std::string utf8) override {
    Log(ViewOp::Text, {id}, std::move(utf8));
  }
  void SetSeekPos(int pos) override { Log(ViewOp::SeekPos, {pos}); }
  void SetSeekRange(int min, int max) override { Log(ViewOp::SeekRange, {min, max}); }
  void SetSeekTrackFilled(bool filled) override { Log(ViewOp::TrackFilled, {filled ? 1 : 0}); }
  void ResetControls() override { Log(ViewOp::Reset, {}); }
  void SetButtonBitmaps(int id, ctl::ButtonImages i) override {
    Log(ViewOp::Bitmaps, {id, i[0], i[1], i[2], i[3]});
  }
  void ShowSearching(bool shown) override { Log(ViewOp::Searching, {shown ? 1 : 0}); }
  void SetToolTipText(int id, std::string utf8) override {
    Log(ViewOp::ToolTip, {id}, std::move(utf8));
  }
  void InvalidateControl(int id) override { Log(ViewOp::Invalidate, {id}); }

 private:
  void Log(ViewOp op, std::vector<int32_t> ints, std::string text = {}) {
    LoggedEvent e;
    e.view = op;
    e.ints = std::move(ints);
    e.text = std::move(text);
    m_log.Append(std::move(e));
  }
  EventLog& m_log;
};

}  // namespace ov
