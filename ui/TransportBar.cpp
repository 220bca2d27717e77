#include "ui/TransportBar.h"

#include <QCoreApplication>
#include <algorithm>

#include "controls/SkinButton.h"
#include "controls/SkinSlider.h"
#include "controls/VolumeSlider.h"
#include "playback/PlaybackEngine.h"
#include "ui/ButtonLooks.h"
#include "ui/CommandIds.h"
#include "ui/PlayerDlg.h"
#include "ui/PlayerKeys.h"

namespace ov {

TransportBar::TransportBar(CPlayerDlg& window) : m_window(window) {}

CSkinButton* TransportBar::AddButton(int id, const char* text) {
  auto* b = new CSkinButton(id, &m_window);
  b->setText(QString::fromUtf8(text));
  b->setAutoDefault(false);
  QObject::connect(b, &CSkinButton::command, &m_window, &CPlayerDlg::OnCommand);
  m_buttons[id] = b;
  return b;
}

void TransportBar::AddVolumeSlider() {
  m_volume = new CVolumeSlider(idc::kVolume, &m_window);
  m_volume->setOrientation(Qt::Horizontal);
  QObject::connect(m_volume, &CVolumeSlider::scrollNotify, &m_window, &CPlayerDlg::OnHScroll);
}

void TransportBar::AddSeekSlider() {
  m_seek = new CSkinSlider(idc::kSeek, &m_window);
  m_seek->setOrientation(Qt::Horizontal);
  QObject::connect(m_seek, &CSkinSlider::scrollNotify, &m_window, &CPlayerDlg::OnHScroll);
}

CSkinButton* TransportBar::Button(int id) const {
  auto it = m_buttons.find(id);
  return it == m_buttons.end() ? nullptr : it->second;
}

QWidget* TransportBar::Control(int id) const {
  if (CSkinButton* b = Button(id)) return b;
  if (id == idc::kVolume) return m_volume;
  if (id == idc::kSeek) return m_seek;
  return nullptr;
}

void TransportBar::PlaceButton(int id, int x, int y, int w, int h, const ButtonLook& look) {
  CSkinButton* b = Button(id);
  if (b == nullptr) return;
  b->setGeometry(x, y, w, h);
  b->SetBitmaps(look.normal, look.pressed, look.hover, look.checkOn, 0, 0, 0, 1, 1, 4);
  b->Invalidate();
}

void TransportBar::Layout(int top, int width) {
  const int W = width, T = top;
  PlaceButton(idc::kPlay, W / 2, T + 3, 43, 48, kPlayLook);
  PlaceButton(idc::kBack59, W / 2 - 36, T + 3, 36, 48, kBackLook);
  PlaceButton(idc::kRew, W / 2 - 72, T + 3, 36, 48, kRewLook);
  PlaceButton(idc::kForward59, W / 2 + 43, T + 3, 36, 48, kForwardLook);
  PlaceButton(idc::kFF, W / 2 + 79, T + 3, 36, 48, kFFLook);
  m_volume->setGeometry(W - 100, T + 20, 115, 14);
  PlaceButton(idc::kSpeakerMin, W - 114, T + 20, 14, 15, kSpeakerLook);
  PlaceButton(idc::kSpeakerMax, W - 5, T + 20, 14, 15, kSpeakerLook);
  PlaceButton(idc::kMinimize, W - 21, 3, 19, 19, kMinimizeLook);
  PlaceButton(idc::kMaximize, W - 21, 3, 19, 19, kMaximizeLook);
  PlaceButton(idc::kExit, W - 2, 3, 19, 19, kCloseLook);
  m_seek->setGeometry(10, 694, 713, 20);
  PlaceButton(idc::kFileOpen, 659, T + 80, 53, 22, kFileOpenLook);
}

void TransportBar::LayoutPaneButtons(int top) {
  const struct {
    int id, x;
    ButtonLook look;
  } panes[] = {{idc::kCh1, 641, kCh1Look},
               {idc::kCh4, 661, kCh4Look},
               {idc::kCh9, 681, kCh9Look},
               {idc::kCh16, 701, kCh16Look}};
  for (const auto& p : panes) PlaceButton(p.id, p.x, top - 19, 19, 19, p.look);
}

void TransportBar::ApplySeekColours(const QColor& back) {
  QPalette seek = m_seek->palette();
  seek.setColor(QPalette::Window, back);
  m_seek->setPalette(seek);
  m_seek->setAutoFillBackground(true);
}

void TransportBar::SetKeyToolTips() {
  const struct {
    int id;
    const char* text;
    KeyAction action;
  } tips[] = {
      {idc::kPlay, QT_TRANSLATE_NOOP("PlayerDlg", "Play / Pause"), KeyAction::PlayPause},
      {idc::kRew, QT_TRANSLATE_NOOP("PlayerDlg", "Rewind, next rewind speed"),
       KeyAction::NextRewSpeed},
      {idc::kBack59, QT_TRANSLATE_NOOP("PlayerDlg", "59 seconds back"), KeyAction::Back59},
      {idc::kForward59, QT_TRANSLATE_NOOP("PlayerDlg", "59 seconds forward"), KeyAction::Forward59},
      {idc::kFF, QT_TRANSLATE_NOOP("PlayerDlg", "Fast forward, next speed"),
       KeyAction::NextFFSpeed},
      {idc::kSpeakerMin, QT_TRANSLATE_NOOP("PlayerDlg", "Sound on / off"), KeyAction::Mute},
      {idc::kCh1, QT_TRANSLATE_NOOP("PlayerDlg", "1 pane"), KeyAction::Layout1},
      {idc::kCh4, QT_TRANSLATE_NOOP("PlayerDlg", "4 panes"), KeyAction::Layout4},
      {idc::kCh9, QT_TRANSLATE_NOOP("PlayerDlg", "9 panes"), KeyAction::Layout9},
      {idc::kCh16, QT_TRANSLATE_NOOP("PlayerDlg", "16 panes"), KeyAction::Layout16},
      {idc::kFileOpen, QT_TRANSLATE_NOOP("PlayerDlg", "Open a file"), KeyAction::Open},
      {idc::kExit, QT_TRANSLATE_NOOP("PlayerDlg", "Exit"), KeyAction::Quit},
  };
  for (const auto& t : tips) {
    m_keyTips[t.id] = QStringLiteral("%1 (%2)").arg(
        QCoreApplication::translate("PlayerDlg", t.text), QString::fromStdString(KeysOf(t.action)));
    ShowToolTip(t.id);
  }
  if (m_seek)
    m_seek->setToolTip(
        QCoreApplication::translate("PlayerDlg", "Seek (Left / Right: 5 seconds, Home, End)"));
  if (m_volume)
    m_volume->setToolTip(QCoreApplication::translate("PlayerDlg", "Volume (0: up, 9: down)"));
  if (CSkinButton* b = Button(idc::kMinimize))
    b->setToolTip(QCoreApplication::translate("PlayerDlg", "Minimize"));
}

void TransportBar::ShowToolTip(int id) {
  CSkinButton* b = Button(id);
  if (b == nullptr) return;
  QString tip = m_keyTips[id];
  // The speed a speed button reached goes under what the button does.
  if (auto it = m_speedTips.find(id); it != m_speedTips.end() && !it->second.empty())
    tip += QLatin1Char('\n') + QString::fromStdString(it->second);
  b->setToolTip(tip);
}

void TransportBar::SetSpeedTip(int id, const std::string& text) {
  m_speedTips[id] = text;
  ShowToolTip(id);
}

std::string TransportBar::SpeedTip(int id) const {
  auto it = m_speedTips.find(id);
  return it == m_speedTips.end() ? std::string() : it->second;
}

void TransportBar::OnScroll(PlaybackEngine& engine, int controlId, SlideMove move) {
  if (controlId == idc::kSeek && m_seek) {
    // Only a release moves playback; the position is read when the notification is handled.
    if (move == SlideMove::ThumbReleased && m_seek->IsButtonUp())
      engine.SeekSliderReleased(m_seek->value());
  } else if (controlId == idc::kVolume && m_volume) {
    if (move == SlideMove::Ended) engine.SetVolume(m_volume->GetLevel());
  }
}

void TransportBar::StepVolume(PlaybackEngine& engine, int delta) {
  if (!m_volume) return;
  const int level = std::clamp(m_volume->GetLevel() + delta, 0, m_volume->RangeMax());
  m_volume->SetLevel(level);
  engine.SetVolume(level);
}

void TransportBar::ShowLook(int id, const ButtonLook& look) {
  // The button queues these itself when called off the window thread, in call order.
  if (CSkinButton* b = Button(id)) {
    b->SetBitmaps(look.normal, look.pressed, look.hover, look.checkOn, 0, 0, 0, 1, 1, 4);
    b->Invalidate();
  }
}

void TransportBar::ShowPlayButtonAs(PlayButtonLook look) {
  ShowLook(idc::kPlay, look == PlayButtonLook::Pause ? kPauseLook : kPlayLook);
}

void TransportBar::ShowSoundOn(bool on) {
  ShowLook(idc::kSpeakerMin, on ? kSpeakerLook : kSpeakerOffLook);
}

void TransportBar::ShowResting() {
  for (const auto& [id, look] : kRestingLooks) ShowLook(id, look);
}

void TransportBar::Forget() {
  m_buttons.clear();
  m_seek = nullptr;
  m_volume = nullptr;
}

}  // namespace ov
