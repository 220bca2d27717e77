// The keyboard's own moves: a seek to any second through the slider's search, and the frame step
// while paused. Window thread.
#include <algorithm>
#include <vector>

#include "archive/FileSource.h"
#include "playback/PlaybackEngine.h"
#include "playback/StatusText.h"

namespace ov {
namespace {
constexpr auto kAcq = std::memory_order_acquire;
constexpr auto kRel = std::memory_order_release;
// Bounds the walk back to a key frame on a damaged chain (recorders use at most a few seconds).
constexpr int kMaxReplayFrames = 1000;
}  // namespace

bool PlaybackEngine::SeekToSecond(int32_t second) {
  const int32_t total = std::max<int32_t>(0, m_File.Recording().m_Index.m_TotalSeconds);
  second = std::clamp<int32_t>(second, 0, total);
  const uint32_t gen = m_State.m_SeekGen.load(kAcq);
  OnSeekScroll(ctl::kTbThumbPosition, second, true);
  if (m_State.m_SeekGen.load(kAcq) == gen) return false;
  m_View.SetSeekPos(second);
  return true;
}

bool PlaybackEngine::StartAt(int64_t second, bool paused) {
  auto& st = m_State;
  if (!FileReady() || st.m_PlayState.load(kAcq) != kStateStopped) return false;
  const int32_t total = std::max<int32_t>(0, m_File.Recording().m_Index.m_TotalSeconds);
  const int32_t s = int32_t(std::clamp<int64_t>(second, 0, total));
  if (s > 0) {
    // The positions stay at the channels' first frames: the search walks from there to the time.
    st.m_SliderSecond.store(s, kRel);
    m_ResumeTime = SecondsToCalendar(StartSecond() + s);
    m_View.SetSeekPos(s);
  }
  if (!paused) OnPlay();
  return true;
}

bool PlaybackEngine::StepFrame() {
  auto& st = m_State;
  if (!FileReady() || st.m_PlayState.load(kAcq) != kStateStopped) return false;
  const int ch = m_Decoder.CurrentAudioChannel();
  const OpenRecording& rec = m_File.Recording();
  if (ch < 0 || ch >= kSlots || !rec.m_HasVideo[size_t(ch)]) return false;
  // A search still running would move the positions under the step.
  if (st.m_SeekDone.load(kAcq) != 1) return false;

  std::lock_guard<std::mutex> g(m_FileLock);
  if (!m_File.IsOpen()) return false;
  const FrameReader& file = m_File.PlayReader();
  const uint64_t runStart = std::max<uint64_t>(rec.VideoRunStart(ch), rec.m_VideoFirst[size_t(ch)]);
  const uint64_t runEnd = rec.VideoRunEnd(ch);
  auto frameEnd = [&](uint64_t pos, const YskFrameHeader& h) {
    return pos + kYskFrameHeaderSize + h.f_size;
  };
  auto readable = [&](uint64_t pos, YskFrameHeader& h) {
    return pos >= runStart && pos + kYskFrameHeaderSize <= runEnd && file.Header(pos, h) &&
           h.f_size <= kMaxFrameBytes && frameEnd(pos, h) <= runEnd;
  };

  const uint32_t gen = st.m_SeekGen.load(kAcq);
  const bool continuing = m_StepGen == gen && m_StepChannel == ch;
  uint64_t target = 0;
  YskFrameHeader h{};
  if (continuing || (st.m_ShownGen.load(kAcq) == gen && st.m_VideoShown[size_t(ch)].load(kAcq))) {
    const uint64_t from = continuing ? m_StepPos : st.m_VideoShown[size_t(ch)].load(kAcq);
    if (!readable(from, h)) return false;
    target = frameEnd(from, h);
  } else {
    // Nothing shown since the last search: its key frame is the first picture.
    target = st.m_VideoPos[size_t(ch)].load(kAcq);
  }
  if (!readable(target, h)) return false;

  // The decoder may have been cleared since the last picture, so a step that does not go on from
  // its own previous one decodes again from the key frame.
  std::vector<uint64_t> chain{target};
  if (!continuing) {
    YskFrameHeader k = h;
    uint64_t p = target;
    while (k.f_type != 1) {
      if (int(chain.size()) >= kMaxReplayFrames || p < kYskFrameHeaderSize + uint64_t(k.f_info))
        return false;
      p -= kYskFrameHeaderSize + uint64_t(k.f_info);
      if (!readable(p, k)) return false;
      chain.push_back(p);
    }
    std::reverse(chain.begin(), chain.end());
  }
  std::vector<uint8_t> payload;
  for (uint64_t p : chain) {
    YskFrameHeader f{};
    if (!readable(p, f)) return false;
    payload.resize(f.f_size);
    if (file.Bytes(p + kYskFrameHeaderSize, payload.data(), f.f_size) < f.f_size) return false;
    m_Decoder.SubmitFrame(payload.data(), f.f_time, int32_t(f.f_msec % 1000), 0, int32_t(f.f_size),
                          int32_t(f.f_type), ch);
  }
  m_StepChannel = ch;
  m_StepPos = uint32_t(target);
  m_StepGen = gen;

  // The picture's own second becomes the place: the date line shows it and Play resumes there.
  SystemTime t = SecondsToCalendar(h.f_time);
  m_ResumeTime = t;
  m_View.SetControlText(ctl::kOsd, FormatDateTime(t, st.m_TimeFormat.load(kAcq)));
  t.wMilliseconds = uint16_t(h.f_msec % 1000);
  st.m_CurrentTime.Store(t);
  return true;
}

}  // namespace ov
