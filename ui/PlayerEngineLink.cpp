#include "ui/PlayerEngineLink.h"

#include "playback/ControlIds.h"
#include "playback/StatusText.h"
#include "ui/CommandIds.h"
#include "ui/PlayerDlg.h"

namespace ov {

PlayerEngineLink::PlayerEngineLink(CPlayerDlg& dlg, CQuelmar_Ctrl_Player& decoder)
    : m_dlg(dlg), m_engine(std::make_unique<PlaybackEngine>(m_file, *this, decoder, m_clock)) {}

PlayerEngineLink::~PlayerEngineLink() { m_engine->Shutdown(); }

void PlayerEngineLink::InitState() {
  PlaybackState& s = m_engine->State();
  s.m_PlayState = TransportState::Paused;
  s.m_FreshOpen = 1;
  s.m_AtEnd = 0;
  s.m_FileChosen = 0;
  m_engine->SetTimeFormat(1);
  m_engine->SetIFrameOnly(false);
  m_engine->SetDisplayMode(kDisplayNotReady);
}

void PlayerEngineLink::SetDisplayModeReady() { m_engine->SetDisplayMode(kDisplayReady); }

void PlayerEngineLink::InitVolume(int volume) {
  PlaybackState& s = m_engine->State();
  s.m_Volume = volume;
  s.m_SoundOn = 1;
  s.m_SliderSecond = 0;
  m_dlg.Decoder().SetVolume(volume);
}

std::string PlayerEngineLink::TotalTimeText() const {
  return FormatElapsedTotal(0, m_file.Recording().m_Index.m_TotalTime);
}

void PlayerEngineLink::SetControlText(int id, std::string utf8) { m_dlg.SetControlText(id, utf8); }
void PlayerEngineLink::SetSeekPos(int pos) { m_dlg.SetSeekPos(pos); }
void PlayerEngineLink::SetSeekRange(int min, int max) { m_dlg.SetSeekRange(min, max); }
void PlayerEngineLink::SetSeekTrackFilled(bool filled) { m_dlg.SetSeekTrackFilled(filled); }
void PlayerEngineLink::ResetControls() { m_dlg.ResetControlImages(); }
void PlayerEngineLink::SetButtonBitmaps(int id, ctl::ButtonImages images) {
  m_dlg.SetButtonBitmaps(id, images[0], images[1], images[2], images[3]);
}
void PlayerEngineLink::ShowSearching(bool shown) { m_dlg.ShowControl(idc::kSearching, shown); }
void PlayerEngineLink::SetToolTipText(int id, std::string utf8) { m_dlg.SetToolTipText(id, utf8); }
void PlayerEngineLink::InvalidateControl(int id) { m_dlg.InvalidateControl(id); }

}  // namespace ov
