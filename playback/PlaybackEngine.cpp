#include "playback/PlaybackEngine.h"

#include <pthread.h>

#include <cstdio>
#include <system_error>

#include "archive/RecordingSet.h"
#include "playback/KeyFrameSearch.h"
#include "playback/PlaybackLoop.h"
#include "playback/StatusText.h"

namespace ov {
namespace {
constexpr auto kAcq = std::memory_order_acquire;
constexpr auto kRel = std::memory_order_release;
}  // namespace

PlaybackEngine::PlaybackEngine(BackupFile& file, IPlayerView& view, CQuelmar_Ctrl_Player& decoder,
                               IClock& clock)
    : m_File(file), m_View(view), m_Decoder(decoder), m_Clock(clock) {}

PlaybackEngine::~PlaybackEngine() { Shutdown(); }

void PlaybackEngine::Kick() {
  m_State.m_WakeSeq.fetch_add(1, std::memory_order_acq_rel);
  m_Clock.Wake();
}

int32_t PlaybackEngine::StartSecond() const {
  return m_File.Recording().m_Index.m_StartInfo[0].f_time;
}

void PlaybackEngine::ResetFileDisplay() {
  m_State.m_FileChosen.store(0, kRel);
  m_State.m_FileReady.store(false, kRel);
  m_State.m_PlayState.store(TransportState::Paused, kRel);
  Kick();
  ResetPlayerControls();
  m_View.SetText(ViewText::TotalTime, FormatElapsedTotal(0, CalendarTime{}));
  m_View.SetText(ViewText::Path, "");
  // Nothing of the file before may stay: the window looks as it did with no file.
  m_View.SetSeekTrackFilled(false);
  m_View.SetSeekPos(0);
  if (m_Decoder.QueryActive() != 0) m_Decoder.Deactivate();
  m_Decoder.SetLayout(kSlots);
  for (int i = 0; i < kSlots; ++i) {
    char title[20];
    std::snprintf(title, sizeof title, "CH-%d", i + 1);
    m_Decoder.SetPaneTitle(i, title);
  }
}

void PlaybackEngine::ResetPositionsToFirst() {
  // A search still running would publish its positions over these.
  StopSeekThread();
  const OpenRecording& rec = m_File.Recording();
  std::lock_guard<std::mutex> g(m_State.m_PosLock);
  m_State.m_SeekGen.fetch_add(1, std::memory_order_acq_rel);
  for (int n = 0; n < kSlots; ++n) {
    m_State.m_VideoPos[size_t(n)].store(rec.m_VideoFirst[size_t(n)], kRel);
    m_State.m_AudioPos[size_t(n)].store(rec.m_AudioFirst[size_t(n)], kRel);
  }
}

void PlaybackEngine::CopyPositionsToResume() {
  StopSeekThread();  // the positions copied must be final
  for (int n = 0; n < kSlots; ++n) {
    m_VideoResume[size_t(n)] = m_State.m_VideoPos[size_t(n)].load(kAcq);
    m_AudioResume[size_t(n)] = m_State.m_AudioPos[size_t(n)].load(kAcq);
  }
}

void PlaybackEngine::ConfigureDecoder(const DecoderConfig& cfg) {
  if (m_Decoder.QueryActive() != 0) m_Decoder.Deactivate();
  m_Decoder.SetMode(m_State.m_DisplayMode.load(kAcq), 0);
  m_Decoder.SetMode(kDisplayReady, 0);
  m_View.RepaintPictures();
  m_Decoder.SetLayout(cfg.paneCount);
  for (int i = 0; i < kSlots; ++i) {
    char title[32];
    std::snprintf(title, sizeof title, "CH %d", i + 1);
    m_Decoder.SetPaneTitle(i, title);
  }
  for (int i = 0; i < cfg.paneCount && i < kSlots; ++i) m_Decoder.SetPaneTitle(i, "");
  for (int i = 0; i < cfg.channelCount && i < kSlots; ++i)
    m_Decoder.SetPaneTitle(i, cfg.paneTitles[size_t(i)]);
}

OpenOutcome PlaybackEngine::OpenFile(const std::string& path) {
  const PreOpenResult pre = CheckBeforeOpen(path);
  if (pre.status == PreOpenStatus::Ignored) {
    OpenOutcome out;
    out.refusal = IgnoredReason(path, pre);
    return out;
  }
  return OpenSources(path, pre.length, nullptr, nullptr);
}

OpenOutcome PlaybackEngine::OpenSet(const RecordingSetPlan& plan, const std::string& shownPath) {
  std::string why;
  auto file = SetSource::Open(plan, &why);
  auto scan = file ? SetSource::Open(plan, &why) : nullptr;
  if (!file || !scan) {
    OpenOutcome out;
    out.refusal = why;
    return out;
  }
  const uint64_t length = file->Size();
  return OpenSources(shownPath, length, std::move(file), std::move(scan));
}

OpenOutcome PlaybackEngine::OpenSources(const std::string& path, uint64_t length,
                                        std::unique_ptr<IFileSource> file,
                                        std::unique_ptr<IFileSource> scan) {
  m_strFilePath = path;
  StopSeekThread();
  m_State.m_SliderSecond.store(0, kRel);
  m_View.SetSeekPos(0);
  m_View.RepaintSeekSlider();
  if (length <= kYskHeaderSize) {
    m_View.SetSeekTrackFilled(false);
    ResetFileDisplay();
    OpenOutcome out;
    out.code = 1001;
    out.message = kMsgC1001;
    out.problem = TooShortProblem(length);
    return out;
  }
  m_State.m_FileChosen.store(1, kRel);
  m_View.SetSeekTrackFilled(true);
  m_State.m_PlayState.store(TransportState::Paused, kRel);
  m_State.m_Speed.store(0, kRel);
  m_State.m_AtEnd.store(0, kRel);
  m_State.m_FreshOpen.store(1, kRel);
  m_State.m_SkipReported.store(0, kRel);
  m_State.m_SeekGen.fetch_add(1, std::memory_order_acq_rel);
  Kick();
  ResetPlayerControls();
  m_View.SetText(ViewText::Path, path);
  m_Decoder.ClearDecoder();

  OpenOutcome out;
  {
    // The loop may be inside an iteration that began before the stop: wait for it to let go of
    // the file before the file is replaced.
    std::lock_guard<std::mutex> g(m_FileLock);
    m_State.m_FileReady.store(false, kRel);
    out = file ? m_File.ReadBackupHeader(std::move(file), std::move(scan))
               : m_File.ReadBackupHeader(path);
    if (out.accepted) {
      const OpenRecording& rec = m_File.Recording();
      for (int n = 0; n < kSlots; ++n) {
        m_State.m_VideoPos[size_t(n)].store(rec.m_VideoPos[size_t(n)], kRel);
        m_State.m_AudioPos[size_t(n)].store(rec.m_AudioPos[size_t(n)], kRel);
      }
    }
  }
  if (out.bufferingShown) m_View.SetText(ViewText::Speed, "Buffering");
  if (out.decoder) ConfigureDecoder(*out.decoder);
  if (out.sliderMax) {
    m_View.SetSeekRange(0, *out.sliderMax);
    m_View.SetSeekPos(0);
  }
  out = FinishOpen(std::move(out));
  m_View.SetText(ViewText::Date, "");
  return out;
}

OpenOutcome PlaybackEngine::FinishOpen(OpenOutcome out) {
  if (!out.accepted) {
    ResetFileDisplay();
    return out;
  }
  m_View.SetText(ViewText::Speed, "");
  m_View.SetText(ViewText::TotalTime, out.totalTimeText);
  m_ResumeTime = m_File.Recording().m_Index.m_ResumeTime;
  m_State.m_FileReady.store(true, kRel);
  m_State.m_PlayState.store(TransportState::Paused, kRel);
  if (!m_PlaybackStarted) {
    m_PlaybackStarted = true;
    StartPlaybackThread();
  }
  m_View.SetText(ViewText::Date, "");
  m_State.m_ResetDecoder.store(1, kRel);
  return out;
}

void PlaybackEngine::Shutdown() {
  if (m_ShutDown) return;
  m_ShutDown = true;
  StopSeekThread();
  StopPlaybackThread();
  std::lock_guard<std::mutex> g(m_FileLock);
  m_File.Close();
}

// Threads ------------------------------------------------------------------------------------

void PlaybackEngine::StartPlaybackThread() {
  StopPlaybackThread();
  m_PlaybackCtl.events = std::make_shared<ManualResetEvents>();
  m_PlaybackCtl.eventCount = 2;
  m_Clock.AddParticipant();
  try {
    m_PlaybackCtl.thread =
        std::thread(&PlaybackEngine::PlaybackThreadProc, this, m_PlaybackCtl.events);
  } catch (const std::system_error& e) {
    // Out of threads or memory: the window stays, says so, and the next open tries again.
    m_Clock.RemoveParticipant();
    m_PlaybackCtl = ThreadControl{};
    m_PlaybackStarted = false;
    m_View.SetText(ViewText::Speed, std::string("Cannot play: ") + e.what());
    return;
  }
  // Named, so a profile or a count of wake-ups tells the playback thread from the window's.
  pthread_setname_np(m_PlaybackCtl.thread.native_handle(), "ov-playback");
  m_PlaybackCtl.running = 1;
  m_PlaybackCtl.events->Set(EVENT_RUN);
}

void PlaybackEngine::StartSeekThread() {
  StopSeekThread();
  m_State.m_SeekDone.store(0, kRel);
  m_State.m_SeekGen.fetch_add(1, std::memory_order_acq_rel);
  Kick();
  m_SeekCtl.events = std::make_shared<ManualResetEvents>();
  m_SeekCtl.eventCount = 2;
  // The search gets its inputs by value: the window thread may write the next resume offsets
  // while this search still runs.
  SearchInput in;
  in.videoResume = m_VideoResume;
  in.audioResume = m_AudioResume;
  for (int n = 0; n < kSlots; ++n) {
    in.videoPos[size_t(n)] = m_State.m_VideoPos[size_t(n)].load(kAcq);
    in.audioPos[size_t(n)] = m_State.m_AudioPos[size_t(n)].load(kAcq);
  }
  // The target is a whole second: a milliseconds field of 1000 or more (the recording start keeps
  // the low bits of a running millisecond clock there) must not move it into a later second.
  CalendarTime whole = m_SeekTarget;
  whole.millisecond = 0;
  in.target = CalendarToSeconds(whole);
  in.iFrameOnly = m_State.m_IFrameOnly.load(kAcq) != 0;
  in.exact = m_SeekExact;
  in.after = m_SeekAfter;
  m_SeekExact = false;
  m_SeekAfter = {};
  try {
    m_SeekCtl.thread = std::thread(&PlaybackEngine::SeekThreadProc, this, m_SeekCtl.events, in);
  } catch (const std::system_error& e) {
    // The place stays as it was; the next command tries again.
    m_SeekCtl = ThreadControl{};
    m_View.SetText(ViewText::Speed, std::string("Cannot search: ") + e.what());
    return;
  }
  pthread_setname_np(m_SeekCtl.thread.native_handle(), "ov-search");
  m_SeekCtl.running = 1;
  m_SeekCtl.events->Set(EVENT_RUN);
}

namespace {
// Both stops join: no worker may outlive the engine and the file it reads. Quitting wakes the
// playback thread from any wait at once and cancels a search between two of its steps.
void StopThread(ThreadControl& ctl, const std::function<void()>& wake) {
  if (!ctl.HasThread()) return;
  ctl.events->Set(EVENT_QUIT);
  ctl.events->Reset(EVENT_RUN);
  wake();
  ctl.thread.join();
  ctl = ThreadControl{};
}
}  // namespace

void PlaybackEngine::StopPlaybackThread() {
  StopThread(m_PlaybackCtl, [this] { Kick(); });
}
void PlaybackEngine::StopSeekThread() {
  StopThread(m_SeekCtl, [this] { Kick(); });
}

void PlaybackEngine::WaitForSeek() {
  if (!m_SeekCtl.HasThread()) return;
  m_SeekCtl.thread.join();
  m_SeekCtl = ThreadControl{};
}

bool PlaybackEngine::StartSeek(CalendarTime target) {
  m_SeekTarget = target;
  StartSeekThread();
  return true;
}

void PlaybackEngine::StartExactSeek(CalendarTime target,
                                    const std::array<uint32_t, kSlots>& after) {
  m_SeekExact = true;
  m_SeekAfter = after;
  StartSeek(target);
}

SearchResult PlaybackEngine::LastSearch() const {
  std::lock_guard<std::mutex> g(m_SearchLock);
  return m_LastSearch;
}

void PlaybackEngine::PlaybackThreadProc(std::shared_ptr<ManualResetEvents> events) {
  m_State.m_PlaybackDone.store(0, kRel);
  {
    PlaybackLoop loop({m_State, m_FileLock, m_File, m_Clock, m_Decoder, m_Presenter}, *events);
    while (events->WaitAny(2) == EVENT_RUN) loop.Iterate();
  }
  m_State.m_PlaybackDone.store(1, kRel);
  m_Clock.RemoveParticipant();
}

void PlaybackEngine::SeekThreadProc(std::shared_ptr<ManualResetEvents> events, SearchInput in) {
  m_Clock.SeekGate([&events] { return events->IsSet(EVENT_QUIT); });
  m_View.ShowSearching(true);
  {
    m_State.m_SeekDone.store(0, kRel);
    if (events->WaitAny(2) != EVENT_QUIT) {
      KeyFrameSearch search(m_File.SharedRecording(), m_File.ScanReader(), m_Clock,
                            [&events] { return events->IsSet(EVENT_QUIT); });
      const SearchResult r = search.Run(in);
      if (!r.cancelled) {
        {
          std::lock_guard<std::mutex> g(m_SearchLock);
          m_LastSearch = r;
        }
        {
          std::lock_guard<std::mutex> g(m_State.m_PosLock);
          for (int n = 0; n < kSlots; ++n) {
            const auto i = size_t(n);
            if (r.videoMoved)
              m_State.m_VideoPos[i].store(in.exact ? r.landing[i] : r.video[i], kRel);
            m_State.m_ShowFrom[i].store(in.exact && r.videoMoved ? r.showFrom[i] : 0, kRel);
            m_State.m_AudioPos[i].store(in.exact ? r.audioLanding[i] : r.audio[i], kRel);
          }
        }
        if (r.found) {
          m_State.m_SeekDone.store(1, kRel);
          Kick();
        }
      }
    }
    m_View.ShowSearching(false);
  }
}

}  // namespace ov
