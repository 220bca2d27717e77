#pragma once
// The playback engine: the open sequence around BackupFile, the transport commands, the playback
// thread (the loop) and the seek threads (the key-frame search).
//
// Threads: every public member runs on the window thread unless it says otherwise. The engine
// talks to the window only through IPlayerView and to the decoder only through the wrapper; both
// must outlive the engine, as must the file and the clock.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "archive/BackupFile.h"
#include "archive/Calendar.h"
#include "decoder/Quelmar_Ctrl_Player.h"
#include "playback/Clock.h"
#include "playback/FrameStepper.h"
#include "playback/KeyFrameSearch.h"
#include "playback/PlaybackPresenter.h"
#include "playback/PlaybackState.h"
#include "playback/PlayerView.h"
#include "playback/ThreadControl.h"

namespace ov {

struct RecordingSetPlan;

struct SearchInput;

class PlaybackEngine {
 public:
  PlaybackEngine(BackupFile& file, IPlayerView& view, CQuelmar_Ctrl_Player& decoder, IClock& clock);
  ~PlaybackEngine();  // Shutdown()
  PlaybackEngine(const PlaybackEngine&) = delete;
  PlaybackEngine& operator=(const PlaybackEngine&) = delete;

  // The open command after its file dialog: the ".ysk" and length checks, stopping the search,
  // the state reset, the header read and time index, the decoder configuration, and the end of the
  // open (state 20, the playback thread started once, m_ResetDecoder). Returns the outcome; the
  // window shows outcome.message when it is not empty. An ignored path returns code 0 and no text.
  OpenOutcome OpenFile(const std::string& path);
  // The same over given byte sources (tests); length is what the open's length check measures.
  OpenOutcome OpenSources(const std::string& path, uint64_t length,
                          std::unique_ptr<IFileSource> file, std::unique_ptr<IFileSource> scan);
  // A set of files (RecordingSet.h) as one recording, shown under shownPath; a set whose files
  // cannot be opened comes back not accepted with the reason as its refusal.
  OpenOutcome OpenSet(const RecordingSetPlan& plan, const std::string& shownPath);
  // Stops the seek thread, then the playback thread, and closes the file. Idempotent.
  void Shutdown();

  // Transport commands (buttons and sliders).
  void OnPlay();  // 1003
  void OnRew();   // 1001
  void OnFF();    // 1005
  // A move by seconds from the slider's second (the buttons jump kJumpSeconds either way);
  // refused when it would leave the recording.
  void Jump(int seconds);
  static constexpr int kJumpSeconds = 59;
  // The seek slider let go at a second: a search there, unless it already shows that second.
  void SeekSliderReleased(int second);
  // The volume level the sound plays at (heard at once unless the sound is off).
  void SetVolume(int level);
  void OnSound();  // 1017
  // 1, 4, 9 or 16 panes; 9 needs 8 channels and 16 needs 16, or nothing changes (false).
  bool ShowPanes(int panes);
  // Keyboard moves. SeekToSecond goes through the seek slider's search (and its rules), clamped
  // to the recording; true when a search started. StepFrame, while paused, hands the decoder the
  // picture after the last one shown of the selected channel; true when it did.
  bool SeekToSecond(int32_t second);
  // After an open: places the next Play at second (from the recording's start, clamped to it) and
  // plays from there unless paused. False when no file is ready or playback already left the stop.
  bool StartAt(int64_t second, bool paused);
  // While paused: the next (StepFrame) or the previous (StepBack) picture of the selected channel.
  bool StepFrame();
  bool StepBack();
  // Goes to a second of the recording (0 = its start) and lands on its first picture; playing or
  // paused, as before. False when no file is ready.
  bool MoveTo(int64_t second);
  // Display options of the context menu.
  void SetIFrameOnly(bool on);
  void ToggleIFrameOnly();
  void SetTimeFormat(int format);  // 1..6
  void SetDisplayMode(int mode);
  // The window's start values: paused, a fresh open pending, no file chosen, date format 1,
  // I-Frame Only off, the window not laid out yet.
  void ResetToStartValues();
  // The volume the window starts with, sound on, the slider at its start.
  void StartVolume(int level);

  // Status and button reset; clearPictures false keeps the pictures in the panes.
  void ResetPlayerControls(bool clearPictures = true) {
    m_Presenter.ResetPlayerControls(m_File.Recording(), clearPictures);
  }
  void ResetFileDisplay();

  // Threads.
  void StartPlaybackThread();
  void StopPlaybackThread();
  void StartSeekThread();
  void StopSeekThread();
  bool StartSeek(CalendarTime target);
  // A search that lands exactly: on the first picture of target's second, or for the channels
  // with an entry in after (a header offset), on the frame after that one.
  void StartExactSeek(CalendarTime target, const std::array<uint32_t, kSlots>& after = {});
  // The header offset of the picture each pane shows of the current place (0: none): where a
  // resume goes on from and what a snapshot saves.
  std::array<uint32_t, kSlots> ShownPictures();
  // The last search's outcome (its positions as published before the exact landing moved them).
  SearchResult LastSearch() const;
  // Waits until the current seek thread (if any) has ended its search, and joins it.
  void WaitForSeek();
  bool PlaybackThreadStarted() const { return m_PlaybackStarted; }

  // State, for the window, drivers and tests.
  PlaybackState& State() { return m_State; }
  const PlaybackState& State() const { return m_State; }
  BackupFile& File() { return m_File; }
  std::array<uint32_t, kSlots> VideoResume() const { return m_VideoResume; }
  std::array<uint32_t, kSlots> AudioResume() const { return m_AudioResume; }
  // The resume estimate for the current m_SliderSecond, into the resume offsets.
  void EstimateResume();
  // Where each channel's sound stands at a second (since 1970), by the share of the recording
  // before it: a place to look for it from.
  std::array<uint32_t, kSlots> SoundNear(int32_t second) const;
  // Path of the open file (empty before the first open).
  const std::string& FilePath() const { return m_strFilePath; }
  // Second count of the recording's start (the first start record's f_time).
  int32_t StartSecond() const;

 private:
  void Kick();
  void ResetPositionsToFirst();
  void CopyPositionsToResume();
  void PlayButtonAs(PlayButtonLook look) { m_Presenter.PlayButtonAs(look); }
  // A file was chosen and fully indexed: the transport has something to act on.
  bool FileReady() const;
  // Buttons at rest with the pause image on Play: what every command that starts playing shows,
  // after its search has been started. Texts and pictures stay.
  void ShowPlaying();
  // Buttons at rest with the play image: a pause. The pictures, the date line and the elapsed
  // time keep showing where playback stopped.
  void ShowPaused();
  // Stops the loop presenting (a search follows) and clears the decoder: the clear can then only
  // drop frames handed over before the command, never the first frames of the new position.
  void HaltAndClear();
  void ConfigureDecoder(const DecoderConfig& config);
  bool Step(bool forward);
  // The date line, elapsed time and thumb of the picture the selected pane holds.
  void ShowHeldTexts();

  OpenOutcome FinishOpen(OpenOutcome out);
  void PlaybackThreadProc(std::shared_ptr<ManualResetEvents> events);
  void SeekThreadProc(std::shared_ptr<ManualResetEvents> events, SearchInput in);

  BackupFile& m_File;
  IPlayerView& m_View;
  CQuelmar_Ctrl_Player& m_Decoder;
  IClock& m_Clock;
  PlaybackState m_State;
  PlaybackPresenter m_Presenter{m_State, m_View, m_Decoder};

  // Window-thread state.
  ThreadControl m_PlaybackCtl;
  ThreadControl m_SeekCtl;
  bool m_PlaybackStarted = false;
  bool m_ShutDown = false;
  std::string m_strFilePath;
  CalendarTime m_ResumeTime{};
  CalendarTime m_SeekTarget{};  // read by the seek thread after its start
  bool m_SeekExact = false;
  std::array<uint32_t, kSlots> m_SeekAfter{};
  mutable std::mutex m_SearchLock;
  SearchResult m_LastSearch;  // guarded by m_SearchLock
  std::array<uint32_t, kSlots> m_VideoResume{};
  std::array<uint32_t, kSlots> m_AudioResume{};

  // Held by the playback thread while it uses the file; taken by an open so the loop never reads
  // a file that is being replaced.
  std::mutex m_FileLock;
  FrameStepper m_Stepper{m_State, m_File, m_Decoder, m_Presenter, m_FileLock};
};

}  // namespace ov
