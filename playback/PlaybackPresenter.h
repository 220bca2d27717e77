#pragma once
// How playback looks besides the pictures: the status texts, the seek slider's thumb and the Play
// button, at rest, once a second of play, and at the end of the recording.
//
// Threads: called by the engine on the window thread and by the loop on the playback thread. It
// holds no state of its own: what it shows comes from its arguments and the shared state, and the
// view queues every call to the window in call order.
#include <cstdint>

#include "archive/OpenRecording.h"
#include "decoder/Quelmar_Ctrl_Player.h"
#include "playback/PlaybackState.h"
#include "playback/PlayerView.h"

namespace ov {

class PlaybackPresenter {
 public:
  PlaybackPresenter(PlaybackState& state, IPlayerView& view, CQuelmar_Ctrl_Player& decoder)
      : m_State(state), m_View(view), m_Decoder(decoder) {}

  // Status texts and buttons at rest; clearPictures false keeps the pictures in the panes.
  void ResetPlayerControls(const OpenRecording& rec, bool clearPictures);
  // "elapsed / total" of the recording.
  void TotalTimeText(const OpenRecording& rec, int32_t elapsedSeconds);
  void PlayButtonAs(PlayButtonLook look);
  // The picture shown entered another second (displaySecond): the date line, the thumb and the
  // elapsed time show that second.
  void SecondTexts(const OpenRecording& rec, int32_t displaySecond, uint32_t key, bool forward);
  // The recording played to its end: the last pictures, their date line, the elapsed time and
  // the thumb stay; Play shows its play image.
  void EndOfRecording(const OpenRecording& rec);
  // A frame too large to play was skipped; the first since the open says so in the status text.
  void FrameSkipped();

 private:
  PlaybackState& m_State;
  IPlayerView& m_View;
  CQuelmar_Ctrl_Player& m_Decoder;
};

}  // namespace ov
