#pragma once
// The body of the playback thread: merges the channels' next frames by merge key, keeps a double
// buffer of read frames, presents each frame when its successor has been read, and paces
// presentation against an absolute schedule.
//
// Threads: constructed, iterated and destroyed on the playback thread only.
#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "archive/BackupFile.h"
#include "archive/YskFormat.h"
#include "decoder/Quelmar_Ctrl_Player.h"
#include "playback/Clock.h"
#include "playback/PaceSchedule.h"
#include "playback/PlaybackPresenter.h"
#include "playback/PlaybackState.h"

namespace ov {

class ManualResetEvents;

// Everything the loop may touch; all of it outlives the playback thread.
struct LoopContext {
  PlaybackState& state;  // read and written under its own hand-over rules
  // Held while the loop reads the file; an open takes it before it replaces the file.
  std::mutex& fileLock;
  const BackupFile& file;  // the recording and the play reader, taken under fileLock
  IClock& clock;
  CQuelmar_Ctrl_Player& decoder;  // pictures and sound
  PlaybackPresenter& presenter;   // everything else the window shows
};

// A channel's next frame as the merge chose it: its header as read, and where it goes.
struct FrameCandidate {
  YskFrameHeader header;
  uint32_t key = 0;  // merge key: f_msec for pictures, a time on the same clock for sound
  int32_t channel = 0;
  int32_t audio = 0;
  uint32_t pos = 0;  // header offset
  bool show = true;  // false: decoded on the way to the landing picture, not shown
};

// A frame read for presenting: the candidate and its payload.
struct FrameSlot {
  std::vector<uint8_t> buffer;  // kMaxPayload bytes at first, grown up to kMaxFrameBytes
  FrameCandidate frame;
};

class PlaybackLoop {
 public:
  PlaybackLoop(const LoopContext& context, const ManualResetEvents& events);
  // One iteration, after the thread's event wait reported EVENT_RUN.
  void Iterate();

 private:
  enum class After { Flip, Keep, Restart };
  void Restart();
  // A channel's next frame header, remembered by position: the file does not change under the
  // loop, so only a channel that moved (or a restart) needs a read.
  struct CachedHeader {
    bool valid = false;
    uint32_t pos = 0;
    YskFrameHeader h{};
  };
  bool HeaderAt(CachedHeader& c, uint32_t pos, YskFrameHeader& h);
  static void Remember(CachedHeader& c, uint32_t pos, const YskFrameHeader& h);
  bool Live() const;  // a search is in place and no newer one has begun
  bool Quitting() const;
  void IdleSleep(uint32_t seen);
  void BriefSleep(std::unique_lock<std::mutex>& fileLock);
  bool Commit(bool audio, int channel, uint64_t value);
  // Says the sound positions no longer follow the pictures (fast forward and reverse play).
  void LeaveSoundBehind();
  void Forward(std::unique_lock<std::mutex>& fileLock);
  void Reverse(std::unique_lock<std::mutex>& fileLock);
  // A move while paused: hands over each channel's frames up to its landing picture, unpaced,
  // then ends the preview.
  void Preview(std::unique_lock<std::mutex>& fileLock);
  void EndPreview();
  // Takes the landing the last search published (read once it is live).
  void LoadLanding();
  // A frame's position moves past it without handing it over; false when a newer search owns it.
  bool Pass(const FrameCandidate& c, uint64_t runEnd);
  // Reads c's payload into slot k; false (position moved on or not) when there is nothing to hand.
  bool ReadPayload(const FrameCandidate& c, uint64_t runEnd,
                   std::unique_lock<std::mutex>& fileLock);
  // Where the channel goes on after the empty frame c: the next frame with a payload (its header
  // remembered), the run's end, or the run's end when empty frames go on beyond a bound.
  uint64_t PastEmptyFrames(const FrameCandidate& c, uint64_t runEnd);
  // Fills slot k from a candidate whose payload was read into it; false until primed.
  bool Prime(const FrameCandidate& c);
  void Submit(const FrameSlot& f, bool forward);
  After Present(std::unique_lock<std::mutex>& fileLock, bool forward);
  // Presents the held frame, then flips the slots, keeps them, or restarts after a new search.
  void PresentAndAdvance(std::unique_lock<std::mutex>& fileLock, bool forward);
  bool WaitForKey(uint32_t key, std::unique_lock<std::mutex>& fileLock);
  // True when the step from key `from` to key `to` passes over a pause between a set's files.
  bool CrossesGap(uint32_t from, uint32_t to, bool forward) const;
  void EndOfRecording(bool forward);
  // A frame too large to play (or larger than its run) is skipped.
  void ReportSkip();
  bool Paused() const;
  int32_t DisplaySecond(const FrameSlot& f) const;
  void TakeBase(const FrameSlot& f);
  // The date line, elapsed time and thumb follow the pictures of the selected pane's channel.
  void FollowPicture(const FrameSlot& f, bool forward);
  // Writes texts held back with their picture once it is shown (force: now).
  void FlushTexts(bool force);

  LoopContext m_ctx;
  const ManualResetEvents& m_Events;
  // The open file as this iteration found it under the file lock.
  std::shared_ptr<const OpenRecording> m_rec = std::make_shared<const OpenRecording>();
  FrameReader m_reader;
  FrameSlot m_FrameSlots[2];
  int m_k = 0;
  bool m_primed = false;
  int32_t m_baseSecond = 0;
  uint32_t m_baseKey = 0;
  uint32_t m_gen = 0;
  bool m_baseSet = false;
  bool m_landingLoaded = false;
  std::array<uint32_t, kSlots> m_showFrom{};
  bool m_previewing = false;     // this pass shows a paused move's landing pictures
  bool m_awaitShown = false;     // no picture shown since the landing: its sound waits too
  uint32_t m_firstShownKey = 0;  // the earliest landing picture's key
  uint32_t m_previewLeft = 0;    // channels whose landing picture a preview has yet to show
  uint32_t m_place = 0;
  int32_t m_textSecond = 0;
  bool m_textShown = false;
  // The texts of a picture the decoder holds back (to come out with its sound), and when it shows.
  struct PendingTexts {
    bool set = false;
    int32_t second = 0;
    uint32_t key = 0;
    bool forward = true;
    IClock::Ns due{0};
  } m_pendingTexts;
  PaceSchedule m_sched;
  CachedHeader m_videoHeaders[kSlots];
  CachedHeader m_audioHeaders[kSlots];
};

}  // namespace ov
