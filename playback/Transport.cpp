// The transport commands of PlaybackEngine: buttons, sliders and display options. They run on the
// window thread, never touch the file, and end by waking the playback thread.
#include <algorithm>
#include <cmath>

#include "playback/PlaybackEngine.h"
#include "playback/StatusText.h"
#include "playback/TransportRules.h"

namespace ov {
namespace {
constexpr auto kAcq = std::memory_order_acquire;
constexpr auto kRel = std::memory_order_release;
}  // namespace

void PlaybackEngine::EstimateResume() {
  const OpenRecording& rec = m_File.Recording();
  const int32_t total = rec.m_Index.m_TotalSeconds;
  // A recording under two seconds has no whole second to divide by: resume from its start.
  const double x = total == 0 ? 0.0 : double(m_State.m_SliderSecond.load(kAcq)) / double(total);
  for (int n = 0; n < kSlots; ++n) {
    if (!rec.m_HasVideo[size_t(n)]) continue;
    const auto& v = rec.m_Header.video[size_t(n)];
    // Runs may pass 2 GiB (offsets are unsigned 32-bit): the length must not turn negative.
    const int64_t vLen = int64_t(v.endOffset) - int64_t(v.startOffset);
    m_VideoResume[size_t(n)] =
        uint32_t(int64_t(rec.m_VideoFirst[size_t(n)]) + int64_t(std::trunc(x * vLen)));
    const auto& a = rec.m_Header.audio[size_t(n)];
    const int64_t aLen = int64_t(a.endOffset) - int64_t(a.startOffset);
    if (aLen > 0)
      m_AudioResume[size_t(n)] =
          uint32_t(int64_t(rec.m_AudioFirst[size_t(n)]) + int64_t(std::trunc(x * aLen)));
  }
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
  const uint32_t place = st.m_PlaceSerial.load(kAcq);
  // 0: no paused move yet (the place serial starts at 0 too).
  const uint32_t preview = st.m_PreviewPlace.load(kAcq);
  for (int n = 0; n < kSlots; ++n) {
    // A pane may still show a picture of a place left since: that one is not where to go on.
    if (st.m_ShownPlace[size_t(n)].load(kAcq) != place) continue;
    // After a paused move a pane may not have decoded its landing picture yet and still show the
    // one from before the move; the landing is the place all the same.
    shown[size_t(n)] = preview != 0 && preview == place ? st.m_HandedPicture[size_t(n)].load(kAcq)
                                                        : m_Decoder.ShownFrame(n);
  }
  // A step just made may not be decoded yet; it is the place all the same.
  if (m_StepGen == st.m_SeekGen.load(kAcq) && m_StepChannel >= 0)
    shown[size_t(m_StepChannel)] = m_StepPos;
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
  const SystemTime t = SecondsToCalendar(AddSeconds(StartSecond(), s));
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
    SystemTime t = st.m_CurrentTime.Load();
    t.wMilliseconds = 0;
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

}  // namespace ov
