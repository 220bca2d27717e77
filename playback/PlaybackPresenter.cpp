#include "playback/PlaybackPresenter.h"

#include <algorithm>
#include <cstdint>

#include "playback/StatusText.h"

namespace ov {
namespace {
constexpr auto kAcq = std::memory_order_acquire;
constexpr auto kRel = std::memory_order_release;
constexpr const char* kSkipText = "Frame too large: skipped";
}  // namespace

void PlaybackPresenter::TotalTimeText(const OpenRecording& rec, int32_t elapsed) {
  m_View.SetControlText(ctl::kTotalTime,
                        FormatElapsedTotal(uint32_t(elapsed), rec.m_Index.m_TotalTime));
}

void PlaybackPresenter::PlayButtonImages(const ctl::ButtonImages& images) {
  m_View.SetButtonBitmaps(ctl::kPlay, images);
}

void PlaybackPresenter::ResetPlayerControls(const OpenRecording& rec, bool clearPictures) {
  m_State.m_DisplayMode.store(kDisplayReady, kRel);
  m_View.ResetControls();
  m_View.SetControlText(ctl::kOsd, "");
  m_View.SetControlText(ctl::kSpeed, "");
  TotalTimeText(rec, 0);
  m_View.SetControlText(ctl::kVer, ctl::kVersionText);
  m_View.SetControlText(ctl::kName, ctl::kProductText);
  m_Decoder.SetVolume(m_State.m_Volume.load(kAcq));
  if (clearPictures) m_Decoder.ClearDecoder();
  m_View.ShowSearching(false);
}

void PlaybackPresenter::SecondTexts(const OpenRecording& rec, int32_t displaySecond, uint32_t,
                                    bool) {
  auto& st = m_State;
  const int32_t fmt = st.m_TimeFormat.load(kAcq);
  m_View.SetControlText(ctl::kOsd, FormatDateTime(SecondsToCalendar(displaySecond), fmt));
  // The thumb, the elapsed time and every move made from here count from the picture's own
  // second, in 64 bits: a damaged time stamp may lie anywhere.
  const int64_t startSecond = rec.m_Index.m_StartInfo[0].f_time;
  const int64_t total = std::max<int64_t>(0, rec.m_Index.m_TotalSeconds);
  const int32_t at = int32_t(std::clamp<int64_t>(int64_t(displaySecond) - startSecond, 0, total));
  m_View.SetSeekPos(at);
  st.m_SliderSecond.store(at, kRel);
  m_View.SetControlText(ctl::kTotalTime, FormatElapsedTotal(uint32_t(at), rec.m_Index.m_TotalTime));
}

void PlaybackPresenter::EndOfRecording(const OpenRecording&) {
  // The last picture, its date line, its elapsed time and the thumb stay where the recording ended.
  m_View.ResetControls();
  m_View.SetControlText(ctl::kSpeed, "");
  m_Decoder.SetVolume(m_State.m_Volume.load(kAcq));
  m_View.ShowSearching(false);
  PlayButtonImages(ctl::kPlayImages);
}

void PlaybackPresenter::FrameSkipped() {
  if (m_State.m_SkipReported.exchange(1, std::memory_order_acq_rel) == 0)
    m_View.SetControlText(ctl::kSpeed, kSkipText);
}

}  // namespace ov
