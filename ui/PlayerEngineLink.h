#pragma once
// Wires the player window to the playback engine: owns the open file, the clock and the engine,
// and is the engine's view, handing each view call to the part of the window it concerns (the
// transport bar, the status texts, the pane area), applied on the window thread in call order.
// Window thread only, except the view operations.
#include <memory>
#include <string>

#include "archive/BackupFile.h"
#include "playback/PlaybackEngine.h"
#include "playback/PlayerView.h"
#include "playback/SteadyClock.h"

namespace ov {

class CPlayerDlg;

class PlayerEngineLink final : public IPlayerView {
 public:
  PlayerEngineLink(CPlayerDlg& dlg, CQuelmar_Ctrl_Player& decoder);
  ~PlayerEngineLink() override;

  PlaybackEngine& Engine() { return *m_engine; }
  PlaybackState& State() { return m_engine->State(); }

  // Start values of the window's initialisation; the display mode is 0 until the layout is done.
  void InitState();
  void SetDisplayModeReady();
  void InitVolume(int volume);
  void SetIFrameOnly(bool on) { m_engine->SetIFrameOnly(on); }
  void SetTimeFormat(int format) { m_engine->SetTimeFormat(format); }
  bool FileChosen() const { return m_engine->State().m_FileChosen.load() != 0; }
  // Text of control 1032 with no time elapsed.
  std::string TotalTimeText() const;
  void Shutdown() { m_engine->Shutdown(); }

  // IPlayerView.
  void SetText(ViewText which, std::string utf8) override;
  void SetSeekPos(int pos) override;
  void SetSeekRange(int min, int max) override;
  void SetSeekTrackFilled(bool filled) override;
  void ResetControls() override;
  void ShowPlayButtonAs(PlayButtonLook look) override;
  void ShowSoundOn(bool on) override;
  void ShowSearching(bool shown) override;
  void SetSpeedTip(SpeedButton button, std::string utf8) override;
  void RepaintPictures() override;
  void RepaintSeekSlider() override;

 private:
  // The control that shows a text.
  static int TextControl(ViewText which);
  void Repaint(int id);

  CPlayerDlg& m_dlg;
  BackupFile m_file;
  SteadyClock m_clock;
  std::unique_ptr<PlaybackEngine> m_engine;  // last: stopped before the file and clock go
};

}  // namespace ov
