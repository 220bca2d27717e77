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
  m_State.m_DisplayMode.store(3, kRel);
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

void PlaybackPresenter::SecondTexts(const OpenRecording& rec, int32_t displaySecond, uint32_t key,
                                    bool forward) {
  auto& st = m_State;
  const int32_t fmt = st.m_TimeFormat.load(kAcq);
  if (st.m_SeekDone.load(kAcq) == 1 && (forward || (fmt >= 1 && fmt <= 6)))
    m_View.SetControlText(ctl::kOsd, FormatDateTime(SecondsToCalendar(displaySecond), fmt));
  const int32_t total = rec.m_Index.m_TotalSeconds;
  const int32_t slider = st.m_SliderSecond.load(kAcq);
  if (forward && slider <= total) {
    m_View.SetSeekPos(slider);
    if (slider < INT32_MAX) st.m_SliderSecond.store(slider + 1, kRel);
  } else if (!forward) {
    // Reverse play skips from key frame to key frame, so counting seconds would drift: the thumb
    // takes the second of the picture. Damaged times lie anywhere in 32 bits: the difference
    // needs 64.
    const int64_t startSecond = rec.m_Index.m_StartInfo[0].f_time;
    const int32_t at = int32_t(
        std::clamp<int64_t>(int64_t(displaySecond) - startSecond, 0, std::max<int32_t>(0, total)));
    m_View.SetSeekPos(at);
    st.m_SliderSecond.store(at, kRel);
  }
  const uint32_t elapsed = (key - uint32_t(rec.m_Index.m_StartMsec)) / 1000u;
  m_View.SetControlText(ctl::kTotalTime, FormatElapsedTotal(elapsed, rec.m_Index.m_TotalTime));
}

void PlaybackPresenter::EndOfRecording(const OpenRecording& rec) {
  ResetPlayerControls(rec, false);
  m_View.SetSeekPos(0);
  PlayButtonImages(ctl::kPlayImages);
}

void PlaybackPresenter::FrameSkipped() {
  if (m_State.m_SkipReported.exchange(1, std::memory_order_acq_rel) == 0)
    m_View.SetControlText(ctl::kSpeed, kSkipText);
}

}  // namespace ov
