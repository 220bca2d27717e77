#pragma once
// The frame step while paused: reads the selected channel's run of the file around the picture
// its pane holds, hands the decoder the next (or previous) picture, decoded from its key frame
// unless the decoder holds the chain already, and makes it the place.
//
// Threads: the window thread, under the engine's file lock (the playback thread reads the same
// file under it).
#include <cstdint>
#include <mutex>
#include <optional>

#include "archive/BackupFile.h"
#include "archive/Calendar.h"
#include "decoder/Quelmar_Ctrl_Player.h"
#include "playback/PlaybackPresenter.h"
#include "playback/PlaybackState.h"

namespace ov {

class FrameStepper {
 public:
  FrameStepper(PlaybackState& state, BackupFile& file, CQuelmar_Ctrl_Player& decoder,
               PlaybackPresenter& presenter, std::mutex& fileLock);

  // The caller checked that a file is ready and playback is paused. The second of the picture
  // shown, which becomes where Play goes on; nothing when no step was made.
  std::optional<CalendarTime> Step(bool forward);
  // The picture the last step showed, while no move or play came after it (seekGen unchanged):
  // its channel and header offset.
  struct Place {
    int channel;
    uint32_t pos;
  };
  std::optional<Place> LastStep(uint32_t seekGen) const;
  // Header offset of the picture pane n holds at the current place, the one a step or Play goes
  // on from; 0 when it holds none of this place.
  uint32_t HeldPicture(int n) const;

 private:
  // One channel's run as a step reads it, under the file lock.
  struct Run {
    const OpenRecording& rec;
    const FrameReader& file;
    int channel;
    // A whole frame with a picture inside the channel's run.
    bool Readable(uint64_t pos, YskFrameHeader& h) const;
  };
  std::optional<CalendarTime> Show(const Run& run, uint64_t target, bool continuing);

  PlaybackState& m_State;
  BackupFile& m_File;
  CQuelmar_Ctrl_Player& m_Decoder;
  PlaybackPresenter& m_Presenter;
  std::mutex& m_FileLock;
  // Where the last step left off: channel, header offset and the m_SeekGen it belongs to.
  int m_Channel = -1;
  uint32_t m_Pos = 0;
  uint32_t m_Gen = 0;
};

}  // namespace ov
