#pragma once
// The playback state shared by the window thread, the playback thread and the seek threads.
//
// Hand-over order: the window thread writes the resume offsets and the target before it starts a
// seek thread (thread start orders them); the seek thread stores all positions, then sets
// m_SeekDone with release; the loop reads positions only after an acquire load of m_SeekDone = 1.
// Position writes by the loop and by the window thread, and a search's publishing, happen under
// m_PosLock and only while m_SeekGen still has the value the writer started from, so a stale
// iteration can never overwrite the positions of a newer search.
#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>

#include "archive/Calendar.h"
#include "archive/YskFormat.h"
#include "playback/LockedTime.h"
#include "playback/TransportRules.h"

namespace ov {

using PositionTable = std::array<std::atomic<uint32_t>, kSlots>;

// m_DisplayMode: 0 until the window has laid out its controls, then kDisplayReady; rew and ff
// wait for it.
inline constexpr int32_t kDisplayNotReady = 0;
inline constexpr int32_t kDisplayReady = 3;

struct PlaybackState {
  std::atomic<TransportState> m_PlayState{TransportState::Paused};
  std::atomic<int32_t> m_Speed{0};
  std::atomic<int32_t> m_SeekDone{0};
  std::atomic<int32_t> m_AtEnd{0};
  std::atomic<int32_t> m_IFrameOnly{0};
  std::atomic<int32_t> m_ResetDecoder{0};
  std::atomic<int32_t> m_TimeFormat{1};
  std::atomic<int32_t> m_SoundOn{1};
  std::atomic<int32_t> m_Volume{8};
  std::atomic<int32_t> m_SliderSecond{0};
  std::atomic<int32_t> m_PlaybackDone{0};
  // Set by the first frame skipped as too large since the open (the status text says so once).
  std::atomic<int32_t> m_SkipReported{0};
  // Window-thread flags, atomic only so tests and drivers may read them from elsewhere.
  std::atomic<int32_t> m_FileChosen{0};
  std::atomic<bool> m_FileReady{false};
  std::atomic<int32_t> m_FreshOpen{0};
  std::atomic<int32_t> m_DisplayMode{kDisplayReady};

  // Bumped by every seek, every reset of the positions and every open; the loop restarts its
  // double buffer and its schedule when the value it saw last changes.
  std::atomic<uint32_t> m_SeekGen{0};
  // Bumped (then IClock::Wake) by every change a sleeping worker must look at.
  std::atomic<uint32_t> m_WakeSeq{0};

  PositionTable m_VideoPos{};
  PositionTable m_AudioPos{};
  // Set (under m_PosLock, for the loop's own generation) while fast forward or reverse play leave
  // the sound positions where they were; the next search finds the sound again from its target
  // time and clears it when it publishes.
  std::atomic<int32_t> m_SoundBehind{0};
  // Header offset of each channel's first frame to show after a search; the frames before it,
  // from the key frame the channel starts on, are decoded only. 0: show every frame.
  PositionTable m_ShowFrom{};
  // Set with a search made while paused: the loop shows the landing picture of every channel,
  // then clears it and idles.
  std::atomic<int32_t> m_Preview{0};
  std::mutex m_PosLock;

  LockedTime m_CurrentTime;  // time of the last frame handed over in forward play

  // Bumped by every move to another place (not by a pause); m_ShownPlace[n] is its value when
  // channel n last had a picture handed over to be shown, so a resume knows which panes show the
  // current place.
  std::atomic<uint32_t> m_PlaceSerial{0};
  PositionTable m_ShownPlace{};
  // Header offset of the last picture of channel n handed over to be shown.
  PositionTable m_HandedPicture{};
  // The place a move made while paused went to: its landing pictures are handed over and not
  // flushed, so they are what the panes hold even before they are decoded.
  std::atomic<uint32_t> m_PreviewPlace{0};
};

}  // namespace ov
