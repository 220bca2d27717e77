// The transport commands of PlaybackEngine: buttons, sliders and display options. They run on the
// window thread, never touch the file, and end by waking the playback thread.
#include <cmath>

#include "playback/PlaybackEngine.h"
#include "playback/StatusText.h"
#include "playback/TransportRules.h"

namespace ov {
namespace {
constexpr auto kAcq = std::memory_order_acquire;
constexpr auto kRel = std::memory_order_release;
constexpr int32_t kJumpSeconds = 59;
}  // namespace

void PlaybackEngine::EstimateResume() {
  const OpenRecording& rec = m_File.Recording();
  const int32_t total = rec.m_Index.m_TotalSeconds;
  // A recording under two seconds has no whole second to divide by: resume from its start.
  const double x = total == 0 ? 0.0 : double(m_State.m_SliderSecond.load(kAcq)) / double(total);
  for (int n = 0; n < kSlots; ++n) {
    if (!rec.m_HasVideo[size_t(n)]) continue;
    const auto& v = rec.m_Header.video[size_t(n)];
    const int32_t vLen = int32_t(v.endOffset - v.startOffset);
    m_VideoResume[size_t(n)] =
        uint32_t(int64_t(rec.m_VideoFirst[size_t(n)]) + int64_t(std::trunc(x * vLen)));
    const auto& a = rec.m_Header.audio[size_t(n)];
    const int32_t aLen = int32_t(a.endOffset - a.startOffset);
    if (aLen > 0)
      m_AudioResume[size_t(n)] =
          uint32_t(int64_t(rec.m_AudioFirst[size_t(n)]) + int64_t(std::trunc(x * aLen)));
  }
}

void PlaybackEngine::OnPlay() {
  auto& st = m_State;
  if (!FileReady()) return;
  const int32_t before = st.m_PlayState.load(kAcq);
  if (IsFFState(before) || before == kStatePlay || IsRewState(before)) {
    // A pause holds the picture and the texts of the moment it stopped at.
    st.m_PlayState.store(kStateStopped, kRel);
    m_ResumeTime = st.m_CurrentTime.Load();
    if (!IsFFState(before)) st.m_Speed.store(0, kRel);
    // The decoder stops the sound at once instead of playing out what it has queued.
    m_Decoder.SetMode(st.m_DisplayMode.load(kAcq), 1);
    ShowPaused();
  } else if (before == kStateStopped) {
    const bool fromStart = st.m_AtEnd.load(kAcq) == 1 || st.m_SliderSecond.load(kAcq) == 0;
    if (st.m_AtEnd.load(kAcq) == 1) {
      ResetPositionsToFirst();
      st.m_SliderSecond.store(0, kRel);
      m_ResumeTime = SecondsToCalendar(StartSecond());
      st.m_AtEnd.store(0, kRel);
    } else if (st.m_SliderSecond.load(kAcq) == 0) {
      ResetPositionsToFirst();
    }
    CopyPositionsToResume();
    // Cleared before the search starts, so nothing the search positions is lost; the decoder
    // then starts on the key frame of the target second. A resume keeps the paused pictures and
    // texts until new ones come.
    if (fromStart) ResetPlayerControls(false);
    HaltAndClear();
    StartSeek(m_ResumeTime);
    st.m_FreshOpen.store(0, kRel);
    st.m_PlayState.store(kStatePlay, kRel);
    st.m_Speed.store(1, kRel);
    ShowPlaying();
  }
  m_View.SetControlText(ctl::kSpeed, "");
  Kick();
}

bool PlaybackEngine::FileReady() const {
  return m_State.m_FileChosen.load(kAcq) && m_State.m_bFileReady.load(kAcq);
}

void PlaybackEngine::ShowPlaying() {
  m_View.ResetControls();
  PlayButtonImages(ctl::kPauseImages);
}

void PlaybackEngine::ShowPaused() {
  m_View.ResetControls();
  PlayButtonImages(ctl::kPlayImages);
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
  if (!FileReady() || st.m_DisplayMode.load(kAcq) != 3) return;
  const int32_t before = st.m_PlayState.load(kAcq);
  if (before == kStateStopped) return;
  const bool search = !IsRewState(before) && st.m_FreshOpen.load(kAcq) == 0;
  if (search) HaltAndClear();
  if (!IsRewState(before)) ResetPlayerControls(!search);
  const StateStep step = NextRewState(before);
  st.m_PlayState.store(step.state, kRel);
  if (step.toolTip) m_View.SetToolTipText(ctl::kRew, step.toolTip);
  const int32_t speed = SpeedOfState(step.state);
  st.m_Speed.store(speed, kRel);
  if (search) {
    CopyPositionsToResume();
    StartSeek(st.m_CurrentTime.Load());
    st.m_AtEnd.store(0, kRel);
    ShowPlaying();
  }
  m_View.SetControlText(ctl::kSpeed, FormatRewSpeed(speed));
  Kick();
}

void PlaybackEngine::OnFF() {
  auto& st = m_State;
  if (!FileReady() || st.m_DisplayMode.load(kAcq) != 3) return;
  const int32_t before = st.m_PlayState.load(kAcq);
  if (before == kStateStopped) return;
  if (IsRewState(before)) HaltAndClear();
  if (!IsFFState(before) && before != kStatePlay) ResetPlayerControls(!IsRewState(before));
  const StateStep step = NextFFState(before);
  st.m_PlayState.store(step.state, kRel);
  if (step.toolTip) m_View.SetToolTipText(ctl::kFF, step.toolTip);
  const int32_t speed = SpeedOfState(step.state);
  st.m_Speed.store(speed, kRel);
  if (IsRewState(before)) {
    // Forward play out of reverse needs positions from a new search.
    if (st.m_SliderSecond.load(kAcq) == 0) ResetPositionsToFirst();
    m_ResumeTime = SecondsToCalendar(AddSeconds(StartSecond(), st.m_SliderSecond.load(kAcq)));
    EstimateResume();
    StartSeek(m_ResumeTime);
    st.m_FreshOpen.store(0, kRel);
    st.m_AtEnd.store(0, kRel);
    ShowPlaying();
  }
  m_View.SetControlText(ctl::kSpeed, FormatFFSpeed(speed));
  Kick();
}

void PlaybackEngine::OnBack59() {
  auto& st = m_State;
  if (!FileReady()) return;
  const int32_t slider = st.m_SliderSecond.load(kAcq);
  if (slider < kJumpSeconds || st.m_PlayState.load(kAcq) == kStateStopped ||
      st.m_SeekDone.load(kAcq) != 1)
    return;
  st.m_SliderSecond.store(slider - kJumpSeconds, kRel);
  m_ResumeTime = SecondsToCalendar(AddSeconds(StartSecond(), int64_t(slider) - kJumpSeconds));
  EstimateResume();
  StartSeek(m_ResumeTime);
  Kick();
}

void PlaybackEngine::OnForward59() {
  auto& st = m_State;
  if (!FileReady()) return;
  const int32_t slider = st.m_SliderSecond.load(kAcq);
  if (int64_t(slider) > int64_t(m_File.Recording().m_Index.m_TotalSeconds) - kJumpSeconds ||
      st.m_PlayState.load(kAcq) == kStateStopped || st.m_SeekDone.load(kAcq) != 1)
    return;
  st.m_SliderSecond.store(slider + kJumpSeconds, kRel);
  m_ResumeTime = SecondsToCalendar(AddSeconds(StartSecond(), int64_t(slider) + kJumpSeconds));
  EstimateResume();
  StartSeek(m_ResumeTime);
  Kick();
}

void PlaybackEngine::OnSeekScroll(int code, int pos, bool isButtonUp) {
  auto& st = m_State;
  if (code != ctl::kTbThumbPosition || !isButtonUp || st.m_SeekDone.load(kAcq) != 1 ||
      st.m_FileChosen.load(kAcq) != 1 || !st.m_bFileReady.load(kAcq))
    return;
  if (pos == st.m_SliderSecond.load(kAcq)) return;
  {
    std::lock_guard<std::mutex> g(st.m_PosLock);
    st.m_SeekDone.store(0, kRel);
    st.m_SeekGen.fetch_add(1, std::memory_order_acq_rel);
  }
  Kick();
  m_Decoder.ClearDecoder();
  if (pos < st.m_SliderSecond.load(kAcq)) {
    st.m_AtEnd.store(0, kRel);
    st.m_FreshOpen.store(0, kRel);
    ResetPositionsToFirst();
  }
  st.m_SliderSecond.store(pos, kRel);
  EstimateResume();
  const SystemTime t = SecondsToCalendar(AddSeconds(StartSecond(), pos));
  StartSeek(t);
  st.m_CurrentTime.Store(t);
  Kick();
}

void PlaybackEngine::OnVolumeScroll(int code, int level) {
  if (code != ctl::kTbEndTrack) return;
  if (m_State.m_SoundOn.load(kAcq)) m_Decoder.SetVolume(level);
  m_State.m_Volume.store(level, kRel);
}

void PlaybackEngine::OnSound() {
  auto& st = m_State;
  const int32_t on = st.m_SoundOn.load(kAcq);
  if (on) {
    m_View.SetButtonBitmaps(ctl::kSpeakerMin, ctl::kSoundOffImages);
    m_Decoder.SetVolume(0);
  } else {
    m_View.SetButtonBitmaps(ctl::kSpeakerMin, ctl::kSoundOnImages);
    m_Decoder.SetVolume(st.m_Volume.load(kAcq));
  }
  st.m_SoundOn.store(1 - on, kRel);
}

void PlaybackEngine::OnLayout(int controlId) {
  const int channels = m_File.Recording().m_Header.channelCount;
  int panes = 0;
  if (controlId == ctl::kCh1) panes = 1;
  if (controlId == ctl::kCh4) panes = 4;
  if (controlId == ctl::kCh9 && channels >= 8) panes = 9;
  if (controlId == ctl::kCh16 && channels >= 16) panes = 16;
  if (panes) m_Decoder.SetLayout(-1, panes);
}

void PlaybackEngine::SetIFrameOnly(bool on) { m_State.m_IFrameOnly.store(on ? 1 : 0, kRel); }
void PlaybackEngine::ToggleIFrameOnly() {
  m_State.m_IFrameOnly.store(m_State.m_IFrameOnly.load(kAcq) ? 0 : 1, kRel);
}
void PlaybackEngine::SetTimeFormat(int format) { m_State.m_TimeFormat.store(format, kRel); }
void PlaybackEngine::SetDisplayMode(int mode) { m_State.m_DisplayMode.store(mode, kRel); }

}  // namespace ov
