#include "playback/PlaybackEngine.h"

#include <pthread.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <system_error>

#include "archive/RecordingSet.h"
#include "playback/KeyFrameSearch.h"
#include "playback/PlaybackLoop.h"
#include "playback/StatusText.h"
#include "playback/TransportRules.h"

namespace ov {
namespace {
constexpr auto kAcq = std::memory_order_acquire;
constexpr auto kRel = std::memory_order_release;

// The offset a share x (0..1) of the way through a channel's run of frames, counted from its first
// frame. Runs may pass 2 GiB (offsets are unsigned 32-bit): the length must not turn negative.
uint32_t AtShare(uint32_t first, const YskChannelRecord& run, double x) {
  const int64_t len = int64_t(run.endOffset) - int64_t(run.startOffset);
  return uint32_t(int64_t(first) + int64_t(std::trunc(x * len)));
}
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
  m_State.m_SoundBehind.store(0, kRel);
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
    m_State.m_SoundBehind.store(0, kRel);
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
  bool soundBehind = false;
  {
    // After the bump no pass of the loop can say it left the sound behind any more: one that did
    // before it has said so by now.
    std::lock_guard<std::mutex> g(m_State.m_PosLock);
    soundBehind = m_State.m_SoundBehind.load(kAcq) != 0;
  }
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
  // The sound positions fast forward or reverse play left behind may lie further off than a
  // search walks: the sound is looked for near where the target time puts it, as a move by the
  // slider does.
  if (soundBehind) in.audioResume = SoundNear(in.target);
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
          m_State.m_SoundBehind.store(0, kRel);
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

// Transport ----------------------------------------------------------------------------------
// Buttons, sliders, keys and display options, on the window thread; each ends by waking the
// playback thread. Only the frame step (m_Stepper) and the held texts read the file, under the
// file lock.

void PlaybackEngine::EstimateResume() {
  const OpenRecording& rec = m_File.Recording();
  const int32_t total = rec.m_Index.m_TotalSeconds;
  // A recording under two seconds has no whole second to divide by: resume from its start.
  const double x = total == 0 ? 0.0 : double(m_State.m_SliderSecond.load(kAcq)) / double(total);
  for (int n = 0; n < kSlots; ++n) {
    if (!rec.m_HasVideo[size_t(n)]) continue;
    m_VideoResume[size_t(n)] =
        AtShare(rec.m_VideoFirst[size_t(n)], rec.m_Header.video[size_t(n)], x);
    const auto& a = rec.m_Header.audio[size_t(n)];
    if (a.HasData()) m_AudioResume[size_t(n)] = AtShare(rec.m_AudioFirst[size_t(n)], a, x);
  }
}

std::array<uint32_t, kSlots> PlaybackEngine::SoundNear(int32_t second) const {
  const OpenRecording& rec = m_File.Recording();
  const int32_t total = rec.m_Index.m_TotalSeconds;
  const double x =
      total <= 0 ? 0.0 : std::clamp(double(second - StartSecond()) / double(total), 0.0, 1.0);
  std::array<uint32_t, kSlots> near{};
  for (int n = 0; n < kSlots; ++n) {
    if (!rec.m_HasAudio[size_t(n)]) continue;
    const auto& a = rec.m_Header.audio[size_t(n)];
    const uint32_t first = rec.m_AudioFirst[size_t(n)];
    near[size_t(n)] = a.HasData() ? AtShare(first, a, x) : first;
  }
  return near;
}

void PlaybackEngine::OnPlay() {
  auto& st = m_State;
  if (!FileReady()) return;
  const TransportState before = st.m_PlayState.load(kAcq);
  if (IsFFState(before) || before == TransportState::Playing || IsRewState(before)) {
    // A pause holds the picture on screen at this moment: no frame is handed over after it, and
    // the decoder drops the pictures and the sound it has not yet shown.
    {
      std::lock_guard<std::mutex> g(st.m_PosLock);
      st.m_PlayState.store(TransportState::Paused, kRel);
      st.m_SeekDone.store(0, kRel);
      st.m_SeekGen.fetch_add(1, std::memory_order_acq_rel);
    }
    Kick();
    m_ResumeTime = st.m_CurrentTime.Load();
    if (!IsFFState(before)) st.m_Speed.store(0, kRel);
    m_Decoder.SetMode(st.m_DisplayMode.load(kAcq), 1);
    // The texts ran ahead with pictures still on their way to the screen: they name the held one.
    ShowHeldTexts();
    ShowPaused();
  } else if (before == TransportState::Paused) {
    std::array<uint32_t, kSlots> after{};
    if (st.m_AtEnd.load(kAcq) == 1) {
      ResetPositionsToFirst();
      st.m_SliderSecond.store(0, kRel);
      m_ResumeTime = SecondsToCalendar(StartSecond());
      st.m_AtEnd.store(0, kRel);
      st.m_PlaceSerial.fetch_add(1, std::memory_order_acq_rel);
    } else {
      // Play goes on with the picture after the one each pane holds.
      after = ShownPictures();
      const bool held = std::any_of(after.begin(), after.end(), [](uint32_t t) { return t != 0; });
      if (!held && st.m_SliderSecond.load(kAcq) == 0) ResetPositionsToFirst();
    }
    CopyPositionsToResume();
    HaltAndClear();
    st.m_Preview.store(0, kRel);
    StartExactSeek(m_ResumeTime, after);
    st.m_FreshOpen.store(0, kRel);
    st.m_PlayState.store(TransportState::Playing, kRel);
    st.m_Speed.store(1, kRel);
    ShowPlaying();
  }
  m_View.SetText(ViewText::Speed, "");
  Kick();
}

std::array<uint32_t, kSlots> PlaybackEngine::ShownPictures() {
  auto& st = m_State;
  std::array<uint32_t, kSlots> shown{};
  for (int n = 0; n < kSlots; ++n) shown[size_t(n)] = m_Stepper.HeldPicture(n);
  // A step just made may not be decoded yet; it is the place all the same.
  if (const auto step = m_Stepper.LastStep(st.m_SeekGen.load(kAcq)))
    shown[size_t(step->channel)] = step->pos;
  return shown;
}

void PlaybackEngine::ShowHeldTexts() {
  const int sel = m_Decoder.CurrentAudioChannel();
  if (sel < 0 || sel >= kSlots) return;
  const uint32_t held = ShownPictures()[size_t(sel)];
  if (held == 0) return;
  std::lock_guard<std::mutex> g(m_FileLock);
  YskFrameHeader h{};
  if (!m_File.IsOpen() || !m_File.PlayReader().Header(held, h)) return;
  m_Presenter.SecondTexts(m_File.Recording(), h.f_time, h.f_msec, true);
}

bool PlaybackEngine::MoveTo(int64_t second) {
  auto& st = m_State;
  if (!FileReady()) return false;
  const int32_t total = std::max<int32_t>(0, m_File.Recording().m_Index.m_TotalSeconds);
  const int32_t s = int32_t(std::clamp<int64_t>(second, 0, total));
  const bool paused = st.m_PlayState.load(kAcq) == TransportState::Paused;
  // The old place's queued pictures and sound go; the pictures on screen stay until the new ones.
  HaltAndClear();
  if (s < st.m_SliderSecond.load(kAcq)) ResetPositionsToFirst();
  st.m_AtEnd.store(0, kRel);
  st.m_FreshOpen.store(0, kRel);
  const uint32_t place = st.m_PlaceSerial.fetch_add(1, std::memory_order_acq_rel) + 1;
  if (paused) st.m_PreviewPlace.store(place, kRel);
  st.m_SliderSecond.store(s, kRel);
  EstimateResume();
  const CalendarTime t = SecondsToCalendar(AddSeconds(StartSecond(), s));
  m_ResumeTime = t;
  st.m_CurrentTime.Store(t);
  m_View.SetSeekPos(s);
  // Paused, the move shows its picture and stays paused; reverse play goes on from a key frame.
  st.m_Preview.store(paused ? 1 : 0, kRel);
  if (!paused && st.m_Speed.load(kAcq) < 0)
    StartSeek(t);
  else
    StartExactSeek(t);
  Kick();
  return true;
}

bool PlaybackEngine::FileReady() const {
  return m_State.m_FileChosen.load(kAcq) && m_State.m_FileReady.load(kAcq);
}

void PlaybackEngine::ShowPlaying() {
  m_View.ResetControls();
  PlayButtonAs(PlayButtonLook::Pause);
}

void PlaybackEngine::ShowPaused() {
  m_View.ResetControls();
  PlayButtonAs(PlayButtonLook::Play);
}

void PlaybackEngine::HaltAndClear() {
  {
    std::lock_guard<std::mutex> g(m_State.m_PosLock);
    m_State.m_SeekDone.store(0, kRel);
    m_State.m_SeekGen.fetch_add(1, std::memory_order_acq_rel);
  }
  Kick();
  m_Decoder.ClearDecoder();
}

void PlaybackEngine::OnRew() {
  auto& st = m_State;
  if (!FileReady() || st.m_DisplayMode.load(kAcq) != kDisplayReady) return;
  const TransportState before = st.m_PlayState.load(kAcq);
  if (before == TransportState::Paused) return;
  const bool search = !IsRewState(before) && st.m_FreshOpen.load(kAcq) == 0;
  if (search) HaltAndClear();
  if (!IsRewState(before)) ResetPlayerControls(!search);
  const StateStep step = NextRewState(before);
  st.m_PlayState.store(step.state, kRel);
  if (step.toolTip) m_View.SetSpeedTip(SpeedButton::Rew, step.toolTip);
  const int32_t speed = SpeedOfState(step.state);
  st.m_Speed.store(speed, kRel);
  if (search) {
    CopyPositionsToResume();
    StartSeek(st.m_CurrentTime.Load());
    st.m_AtEnd.store(0, kRel);
    ShowPlaying();
  }
  m_View.SetText(ViewText::Speed, FormatRewSpeed(speed));
  Kick();
}

void PlaybackEngine::OnFF() {
  auto& st = m_State;
  if (!FileReady() || st.m_DisplayMode.load(kAcq) != kDisplayReady) return;
  const TransportState before = st.m_PlayState.load(kAcq);
  if (before == TransportState::Paused) return;
  if (IsRewState(before)) HaltAndClear();
  if (!IsFFState(before) && before != TransportState::Playing)
    ResetPlayerControls(!IsRewState(before));
  const StateStep step = NextFFState(before);
  st.m_PlayState.store(step.state, kRel);
  if (step.toolTip) m_View.SetSpeedTip(SpeedButton::FF, step.toolTip);
  const int32_t speed = SpeedOfState(step.state);
  st.m_Speed.store(speed, kRel);
  if (IsRewState(before)) {
    // Forward play out of reverse goes on after the picture reverse play showed last.
    const std::array<uint32_t, kSlots> after = ShownPictures();
    CalendarTime t = st.m_CurrentTime.Load();
    t.millisecond = 0;
    const int64_t at = int64_t(CalendarToSeconds(t)) - StartSecond();
    st.m_SliderSecond.store(
        int32_t(std::clamp<int64_t>(at, 0, std::max(0, m_File.Recording().m_Index.m_TotalSeconds))),
        kRel);
    if (st.m_SliderSecond.load(kAcq) == 0) ResetPositionsToFirst();
    m_ResumeTime = t;
    EstimateResume();
    st.m_Preview.store(0, kRel);
    StartExactSeek(m_ResumeTime, after);
    st.m_FreshOpen.store(0, kRel);
    st.m_AtEnd.store(0, kRel);
    ShowPlaying();
  }
  m_View.SetText(ViewText::Speed, FormatFFSpeed(speed));
  Kick();
}

void PlaybackEngine::Jump(int seconds) {
  const int64_t target = int64_t(m_State.m_SliderSecond.load(kAcq)) + seconds;
  if (FileReady() && target >= 0 && target <= int64_t(m_File.Recording().m_Index.m_TotalSeconds))
    MoveTo(target);
}

void PlaybackEngine::SeekSliderReleased(int pos) {
  auto& st = m_State;
  if (st.m_FileChosen.load(kAcq) != 1 || !st.m_FileReady.load(kAcq)) return;
  if (pos == st.m_SliderSecond.load(kAcq) && st.m_SeekDone.load(kAcq) == 1) return;
  MoveTo(pos);
}

void PlaybackEngine::SetVolume(int level) {
  if (m_State.m_SoundOn.load(kAcq)) m_Decoder.SetVolume(level);
  m_State.m_Volume.store(level, kRel);
}

void PlaybackEngine::OnSound() {
  auto& st = m_State;
  const int32_t on = st.m_SoundOn.load(kAcq);
  if (on) {
    m_View.ShowSoundOn(false);
    m_Decoder.SetVolume(0);
  } else {
    m_View.ShowSoundOn(true);
    m_Decoder.SetVolume(st.m_Volume.load(kAcq));
  }
  st.m_SoundOn.store(1 - on, kRel);
}

bool PlaybackEngine::ShowPanes(int panes) {
  const int channels = m_File.Recording().m_Header.channelCount;
  const bool fits =
      panes == 1 || panes == 4 || (panes == 9 && channels >= 8) || (panes == 16 && channels >= 16);
  if (fits) m_Decoder.SetLayout(panes);
  return fits;
}

void PlaybackEngine::SetIFrameOnly(bool on) { m_State.m_IFrameOnly.store(on ? 1 : 0, kRel); }
void PlaybackEngine::ToggleIFrameOnly() {
  m_State.m_IFrameOnly.store(m_State.m_IFrameOnly.load(kAcq) ? 0 : 1, kRel);
}
void PlaybackEngine::SetTimeFormat(int format) { m_State.m_TimeFormat.store(format, kRel); }
void PlaybackEngine::SetDisplayMode(int mode) { m_State.m_DisplayMode.store(mode, kRel); }

void PlaybackEngine::ResetToStartValues() {
  auto& st = m_State;
  st.m_PlayState.store(TransportState::Paused, kRel);
  st.m_FreshOpen.store(1, kRel);
  st.m_AtEnd.store(0, kRel);
  st.m_FileChosen.store(0, kRel);
  SetTimeFormat(1);
  SetIFrameOnly(false);
  SetDisplayMode(kDisplayNotReady);
}

void PlaybackEngine::StartVolume(int level) {
  auto& st = m_State;
  st.m_Volume.store(level, kRel);
  st.m_SoundOn.store(1, kRel);
  st.m_SliderSecond.store(0, kRel);
  m_Decoder.SetVolume(level);
}

bool PlaybackEngine::SeekToSecond(int32_t second) { return MoveTo(second); }

bool PlaybackEngine::StartAt(int64_t second, bool paused) {
  auto& st = m_State;
  if (!FileReady() || st.m_PlayState.load(kAcq) != TransportState::Paused) return false;
  const int32_t total = std::max<int32_t>(0, m_File.Recording().m_Index.m_TotalSeconds);
  const int32_t s = int32_t(std::clamp<int64_t>(second, 0, total));
  // Paused, the window shows the picture Play will go on from.
  if (paused) return MoveTo(s);
  if (s > 0) {
    // The positions stay at the channels' first frames: the search walks from there to the time.
    st.m_SliderSecond.store(s, kRel);
    m_ResumeTime = SecondsToCalendar(StartSecond() + s);
    m_View.SetSeekPos(s);
  }
  OnPlay();
  return true;
}

bool PlaybackEngine::StepFrame() { return Step(true); }
bool PlaybackEngine::StepBack() { return Step(false); }

bool PlaybackEngine::Step(bool forward) {
  if (!FileReady() || m_State.m_PlayState.load(kAcq) != TransportState::Paused) return false;
  const std::optional<CalendarTime> at = m_Stepper.Step(forward);
  if (!at) return false;
  m_ResumeTime = *at;
  return true;
}

}  // namespace ov
