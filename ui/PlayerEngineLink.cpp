#include "ui/PlayerEngineLink.h"

#include "playback/StatusText.h"
#include "ui/ButtonLooks.h"
#include "ui/CommandIds.h"
#include "ui/PlayerDlg.h"

namespace ov {

PlayerEngineLink::PlayerEngineLink(CPlayerDlg& dlg, CQuelmar_Ctrl_Player& decoder)
    : m_dlg(dlg), m_engine(std::make_unique<PlaybackEngine>(m_file, *this, decoder, m_clock)) {}

PlayerEngineLink::~PlayerEngineLink() { m_engine->Shutdown(); }

void PlayerEngineLink::InitState() { m_engine->ResetToStartValues(); }

void PlayerEngineLink::SetDisplayModeReady() { m_engine->SetDisplayMode(kDisplayReady); }

void PlayerEngineLink::InitVolume(int volume) { m_engine->StartVolume(volume); }

std::string PlayerEngineLink::TotalTimeText() const {
  return FormatElapsedTotal(0, m_file.Recording().m_Index.m_TotalTime);
}

void PlayerEngineLink::SetText(ViewText which, std::string utf8) {
  m_dlg.SetControlText(TextControl(which), utf8);
}
void PlayerEngineLink::SetSeekPos(int pos) { m_dlg.SetSeekPos(pos); }
void PlayerEngineLink::SetSeekRange(int min, int max) { m_dlg.SetSeekRange(min, max); }
void PlayerEngineLink::SetSeekTrackFilled(bool filled) { m_dlg.SetSeekTrackFilled(filled); }
void PlayerEngineLink::ResetControls() { m_dlg.ResetControlImages(); }
void PlayerEngineLink::ShowPlayButtonAs(PlayButtonLook look) {
  const ButtonLook& l = look == PlayButtonLook::Pause ? kPauseLook : kPlayLook;
  m_dlg.SetButtonBitmaps(idc::kPlay, l.normal, l.pressed, l.hover, l.checkOn);
}
void PlayerEngineLink::ShowSoundOn(bool on) {
  const ButtonLook& l = on ? kSpeakerLook : kSpeakerOffLook;
  m_dlg.SetButtonBitmaps(idc::kSpeakerMin, l.normal, l.pressed, l.hover, l.checkOn);
}
void PlayerEngineLink::ShowSearching(bool shown) { m_dlg.ShowControl(idc::kSearching, shown); }
void PlayerEngineLink::SetSpeedTip(SpeedButton button, std::string utf8) {
  m_dlg.SetToolTipText(button == SpeedButton::Rew ? idc::kRew : idc::kFF, utf8);
}
void PlayerEngineLink::RepaintPictures() { m_dlg.InvalidateControl(idc::kDecoder); }
void PlayerEngineLink::RepaintSeekSlider() { m_dlg.InvalidateControl(idc::kSeek); }

int PlayerEngineLink::TextControl(ViewText which) {
  switch (which) {
    case ViewText::Date:
      return idc::kOsd;
    case ViewText::Speed:
      return idc::kSpeed;
    case ViewText::TotalTime:
      return idc::kTotalTime;
    case ViewText::Version:
      return idc::kVer;
    case ViewText::Product:
      return idc::kName;
    case ViewText::Path:
      return idc::kPathBox;
  }
  return idc::kOsd;
}

}  // namespace ov
