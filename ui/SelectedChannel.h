#pragma once
// What the window's commands act on: the selected pane's channel and the second being played.
#include <cstdint>

namespace ov {

class BackupFile;
class CQuelmar_Ctrl_Player;
class PlaybackEngine;

// The channel of the selected pane, as the decoder control reports it for the sound; the first
// channel with pictures when that one has none; -1 for none.
int SelectedChannel(CQuelmar_Ctrl_Player& decoder, const BackupFile& file);
// The second being played: the last frame handed over, else the recording's start.
int32_t CurrentSecond(PlaybackEngine& e);

}  // namespace ov
