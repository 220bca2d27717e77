#pragma once
// The transport bar of the player window: the skinned buttons, the seek and volume sliders, their
// places and pictures, and the mapping from the engine's play and sound state to those pictures.
// The window makes its children in stacking order, so it calls the Add members in that order.
//
// Threads: the window thread, apart from ShowLook (the button queues its own pictures) and the
// members that say otherwise.
#include <QString>
#include <map>
#include <string>

#include "controls/SlideMove.h"
#include "playback/PlayerView.h"

class QColor;
class QWidget;

namespace ov {

class CPlayerDlg;
class CSkinButton;
class CSkinSlider;
class CVolumeSlider;
class PlaybackEngine;
struct ButtonLook;

class TransportBar {
 public:
  explicit TransportBar(CPlayerDlg& window);

  // A skinned button whose click becomes the window's command id.
  CSkinButton* AddButton(int id, const char* text);
  void AddVolumeSlider();
  void AddSeekSlider();
  // Every bar control at its pixel place under the video (top: the bar's top, width: the video's).
  void Layout(int top, int width);
  // The pane buttons sit above the bar, at the right of the status line.
  void LayoutPaneButtons(int top);
  void ApplySeekColours(const QColor& back);
  // The key of each button and slider in its tooltip.
  void SetKeyToolTips();

  CSkinButton* Button(int id) const;
  CSkinSlider* Seek() const { return m_seek; }
  CVolumeSlider* Volume() const { return m_volume; }
  // A control of the bar by id (buttons and sliders), null for others.
  QWidget* Control(int id) const;

  // A slider's scroll notification, as the engine's operation it stands for.
  void OnScroll(PlaybackEngine& engine, int controlId, SlideMove move);
  // The volume slider one level up or down, heard at once.
  void StepVolume(PlaybackEngine& engine, int delta);

  // The engine's view state as pictures. Any thread.
  void ShowLook(int id, const ButtonLook& look);
  void ShowPlayButtonAs(PlayButtonLook look);
  void ShowSoundOn(bool on);
  // Every button at rest.
  void ShowResting();
  // The speed the Rew or FF button reached, shown under its key tip. Window thread.
  void SetSpeedTip(int id, const std::string& text);
  std::string SpeedTip(int id) const;

  // The widgets are gone with the window's children.
  void Forget();

 private:
  void PlaceButton(int id, int x, int y, int w, int h, const ButtonLook& look);
  void ShowToolTip(int id);

  CPlayerDlg& m_window;
  std::map<int, CSkinButton*> m_buttons;
  std::map<int, QString> m_keyTips;
  std::map<int, std::string> m_speedTips;
  CSkinSlider* m_seek = nullptr;
  CVolumeSlider* m_volume = nullptr;
};

}  // namespace ov
