#pragma once
// A player view that records every call into an event log, under the ids of the window's controls
// and skin pictures that show each meaning (the numbers the trace has always printed).
#include "playback/ControlIds.h"
#include "playback/PlayerView.h"
#include "playback/trace/EventLog.h"
#include "res/BitmapIds.h"

namespace ov {

class RecordingView final : public IPlayerView {
 public:
  explicit RecordingView(EventLog& log) : m_log(log) {}
  void SetText(ViewText which, std::string utf8) override {
    Log(ViewOp::Text, {TextId(which)}, std::move(utf8));
  }
  void SetSeekPos(int pos) override { Log(ViewOp::SeekPos, {pos}); }
  void SetSeekRange(int min, int max) override { Log(ViewOp::SeekRange, {min, max}); }
  void SetSeekTrackFilled(bool filled) override { Log(ViewOp::TrackFilled, {filled ? 1 : 0}); }
  void ResetControls() override { Log(ViewOp::Reset, {}); }
  void ShowPlayButtonAs(PlayButtonLook look) override {
    if (look == PlayButtonLook::Pause)
      Log(ViewOp::Bitmaps, {ctl::kPlay, IDB_PAUSE, IDB_PAUSE, IDB_PAUSE, IDB_PAUSE});
    else
      Log(ViewOp::Bitmaps,
          {ctl::kPlay, IDB_PLAY_NORMAL, IDB_PLAY_PRESSED, IDB_PLAY_HOVER, IDB_PLAY_PRESSED});
  }
  void ShowSoundOn(bool on) override {
    if (on)
      Log(ViewOp::Bitmaps, {ctl::kSpeakerMin, IDB_SPEAKER_ON_NORMAL, IDB_SPEAKER_ON_PRESSED,
                            IDB_SPEAKER_ON_NORMAL, IDB_SPEAKER_ON_PRESSED});
    else
      Log(ViewOp::Bitmaps, {ctl::kSpeakerMin, IDB_SPEAKER_OFF_NORMAL, IDB_SPEAKER_OFF_PRESSED,
                            IDB_SPEAKER_OFF_NORMAL, IDB_SPEAKER_OFF_PRESSED});
  }
  void ShowSearching(bool shown) override { Log(ViewOp::Searching, {shown ? 1 : 0}); }
  void SetSpeedTip(SpeedButton button, std::string utf8) override {
    Log(ViewOp::ToolTip, {button == SpeedButton::Rew ? ctl::kRew : ctl::kFF}, std::move(utf8));
  }
  void RepaintPictures() override { Log(ViewOp::Invalidate, {ctl::kDecoder}); }
  void RepaintSeekSlider() override { Log(ViewOp::Invalidate, {ctl::kSeek}); }

 private:
  static int32_t TextId(ViewText which) {
    switch (which) {
      case ViewText::Date:
        return ctl::kOsd;
      case ViewText::Speed:
        return ctl::kSpeed;
      case ViewText::TotalTime:
        return ctl::kTotalTime;
      case ViewText::Version:
        return ctl::kVer;
      case ViewText::Product:
        return ctl::kName;
      case ViewText::Path:
        return ctl::kPathBox;
    }
    return 0;
  }
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
