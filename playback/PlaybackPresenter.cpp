#include "playback/PlaybackPresenter.h"

#include <algorithm>
#include <cstdint>

#include "playback/StatusText.h"

namespace ov {
namespace {
constexpr auto kAcq = std::memory_order_acquire;
constexpr auto kRel = std::memory_order_release;
constexpr const char* kSkipText = "Frame too large: skipped";
// The hidden labels' fixed texts after every reset; the version is not the program's own
// (ov/Version.h) and keeps its value.
constexpr const char* kVersionText = "Ver 1.1.0.2";
constexpr const char* kProductText = "Ostravue";
}  // namespace

void PlaybackPresenter::TotalTimeText(const OpenRecording& rec, int32_t elapsed) {
  m_View.SetText(ViewText::TotalTime,
                 FormatElapsedTotal(uint32_t(elapsed), rec.m_Index.m_TotalTime));
}

void PlaybackPresenter::PlayButtonAs(PlayButtonLook look) { m_View.ShowPlayButtonAs(look); }

void PlaybackPresenter::ResetPlayerControls(const OpenRecording& rec, bool clearPictures) {
  m_State.m_DisplayMode.store(kDisplayReady, kRel);
  m_View.ResetControls();
  m_View.SetText(ViewText::Date, "");
  m_View.SetText(ViewText::Speed, "");
  TotalTimeText(rec, 0);
  m_View.SetText(ViewText::Version, kVersionText);
  m_View.SetText(ViewText::Product, kProductText);
  m_Decoder.SetVolume(m_State.m_Volume.load(kAcq));
  if (clearPictures) m_Decoder.ClearDecoder();
  m_View.ShowSearching(false);
}

void PlaybackPresenter::SecondTexts(const OpenRecording& rec, int32_t displaySecond, uint32_t,
                                    bool) {
  auto& st = m_State;
  const int32_t fmt = st.m_TimeFormat.load(kAcq);
  m_View.SetText(ViewText::Date, FormatDateTime(SecondsToCalendar(displaySecond), fmt));
  // The thumb, the elapsed time and every move made from here count from the picture's own
  // second, in 64 bits: a damaged time stamp may lie anywhere.
  const int64_t startSecond = rec.m_Index.m_StartInfo[0].f_time;
  const int64_t total = std::max<int64_t>(0, rec.m_Index.m_TotalSeconds);
  const int32_t at = int32_t(std::clamp<int64_t>(int64_t(displaySecond) - startSecond, 0, total));
  m_View.SetSeekPos(at);
  st.m_SliderSecond.store(at, kRel);
  m_View.SetText(ViewText::TotalTime, FormatElapsedTotal(uint32_t(at), rec.m_Index.m_TotalTime));
}

void PlaybackPresenter::EndOfRecording(const OpenRecording&) {
  // The last picture, its date line, its elapsed time and the thumb stay where the recording ended.
  m_View.ResetControls();
  m_View.SetText(ViewText::Speed, "");
  m_Decoder.SetVolume(m_State.m_Volume.load(kAcq));
  m_View.ShowSearching(false);
  PlayButtonAs(PlayButtonLook::Play);
}

void PlaybackPresenter::FrameSkipped() {
  if (m_State.m_SkipReported.exchange(1, std::memory_order_acq_rel) == 0)
    m_View.SetText(ViewText::Speed, kSkipText);
}

}  // namespace ov
