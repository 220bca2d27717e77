#include "ui/PlayerEngineLink.h"

#include <QWidget>

#include "controls/SkinSlider.h"
#include "playback/StatusText.h"
#include "ui/CommandIds.h"
#include "ui/PlayerDlg.h"
#include "ui/StatusTexts.h"
#include "ui/TransportBar.h"

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
  m_dlg.Texts().SetText(TextControl(which), utf8);
}
void PlayerEngineLink::SetSeekPos(int pos) { m_dlg.SetSeekPos(pos); }
void PlayerEngineLink::SetSeekRange(int min, int max) {
  m_dlg.RunOnWindowThread([this, min, max] {
    if (CSkinSlider* seek = m_dlg.Bar().Seek()) seek->setRange(min, max);
  });
}
void PlayerEngineLink::SetSeekTrackFilled(bool filled) {
  m_dlg.RunOnWindowThread([this, filled] {
    CSkinSlider* seek = m_dlg.Bar().Seek();
    if (!seek) return;
    seek->m_TrackFilled = filled;
    seek->update();
  });
}
void PlayerEngineLink::ResetControls() {
  // Resting button pictures, the seek slider and the pictures repainted.
  m_dlg.Bar().ShowResting();
  RepaintSeekSlider();
  m_dlg.RunOnWindowThread([this] {
    if (QWidget* w = m_dlg.Control(idc::kDecoder)) w->repaint();
  });
}
void PlayerEngineLink::ShowPlayButtonAs(PlayButtonLook look) { m_dlg.Bar().ShowPlayButtonAs(look); }
void PlayerEngineLink::ShowSoundOn(bool on) { m_dlg.Bar().ShowSoundOn(on); }
void PlayerEngineLink::ShowSearching(bool shown) {
  m_dlg.RunOnWindowThread([this, shown] {
    if (QWidget* w = m_dlg.Control(idc::kSearching)) w->setVisible(shown);
  });
}
void PlayerEngineLink::SetSpeedTip(SpeedButton button, std::string utf8) {
  m_dlg.RunOnWindowThread([this, button, utf8] {
    m_dlg.Bar().SetSpeedTip(button == SpeedButton::Rew ? idc::kRew : idc::kFF, utf8);
  });
}
void PlayerEngineLink::RepaintPictures() { Repaint(idc::kDecoder); }
void PlayerEngineLink::RepaintSeekSlider() { Repaint(idc::kSeek); }

void PlayerEngineLink::Repaint(int id) {
  m_dlg.RunOnWindowThread([this, id] {
    if (QWidget* w = m_dlg.Control(id)) w->update();
  });
}

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
