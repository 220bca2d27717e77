#include "ui/SelectedChannel.h"

#include "archive/BackupFile.h"
#include "decoder/Quelmar_Ctrl_Player.h"
#include "playback/PlaybackEngine.h"

namespace ov {

int SelectedChannel(CQuelmar_Ctrl_Player& decoder, const BackupFile& file) {
  const int32_t n = decoder.CurrentAudioChannel();
  if (n >= 0 && n < kSlots && file.Recording().m_Header.video[size_t(n)].HasData()) return n;
  for (int i = 0; i < kSlots; ++i)
    if (file.Recording().m_Header.video[size_t(i)].HasData()) return i;
  return -1;
}

int32_t CurrentSecond(PlaybackEngine& e) {
  const CalendarTime now = e.State().m_CurrentTime.Load();
  const bool played = e.State().m_FreshOpen.load() == 0 && now.year != 0;
  return played ? CalendarToSeconds(now) : e.StartSecond();
}

}  // namespace ov
