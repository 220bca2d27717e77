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
  auto& st = m_State;
  if (!FileReady() || st.m_PlayState.load(kAcq) != TransportState::Paused) return false;
  // A move still landing its pictures owns the decoder and the place.
  if (st.m_Preview.load(kAcq) == 1) return false;
  const int ch = m_Decoder.CurrentAudioChannel();
  const OpenRecording& rec = m_File.Recording();
  if (ch < 0 || ch >= kSlots || !rec.m_HasVideo[size_t(ch)]) return false;

  std::unique_lock<std::mutex> g(m_FileLock);
  if (!m_File.IsOpen()) return false;
  const FrameReader& file = m_File.PlayReader();
  const StepRun run{rec, file, ch};
  const uint32_t gen = st.m_SeekGen.load(kAcq);
  const bool continuing = m_StepGen == gen && m_StepChannel == ch;
  uint64_t from = 0;
  if (continuing) {
    from = m_StepPos;
  } else {
    from = ShownPictures()[size_t(ch)];
  }
  YskFrameHeader h{};
  uint64_t target = 0;
  if (from == 0 || !run.Readable(from, h)) {
    return false;  // nothing shown here yet: Play or a move shows the first picture
    return false;
  } else if (forward) {
    target = from + kYskFrameHeaderSize + h.f_size;
  } else {
    if (h.f_info == 0 || from < 2 * kYskFrameHeaderSize + uint64_t(h.f_info)) return false;
    target = from - kYskFrameHeaderSize - h.f_info;
  }
  if (!run.Readable(target, h)) return false;
  // Forward from its own previous step the decoder holds the chain; anything else decodes from
  // the key frame again, the frames before the target decode-only.
  return ShowStep(run, target, forward && continuing && from == m_StepPos);
}

bool PlaybackEngine::StepRun::Readable(uint64_t pos, YskFrameHeader& h) const {
  const uint64_t runStart =
      std::max<uint64_t>(rec.VideoRunStart(channel), rec.m_VideoFirst[size_t(channel)]);
  const uint64_t runEnd = rec.VideoRunEnd(channel);
  return pos >= runStart && pos + kYskFrameHeaderSize <= runEnd && file.Header(pos, h) &&
         h.f_size > 0 && h.f_size <= kMaxFrameBytes &&
         pos + kYskFrameHeaderSize + h.f_size <= runEnd;
}

bool PlaybackEngine::ShowStep(const StepRun& run, uint64_t target, bool continuing) {
  auto& st = m_State;
  const int ch = run.channel;
  YskFrameHeader h{};
  if (!run.Readable(target, h)) return false;
  std::vector<uint64_t> chain{target};
  if (!continuing) {
    YskFrameHeader k = h;
    uint64_t p = target;
    while (k.f_type != 1) {
      if (int(chain.size()) >= kMaxReplayFrames || p < kYskFrameHeaderSize + uint64_t(k.f_info) ||
          k.f_info == 0)
        return false;
      p -= kYskFrameHeaderSize + uint64_t(k.f_info);
      if (!run.Readable(p, k)) return false;
      chain.push_back(p);
    }
    std::reverse(chain.begin(), chain.end());
  }
  std::vector<uint8_t> payload;
  for (uint64_t p : chain) {
    YskFrameHeader f{};
    if (!run.Readable(p, f)) return false;
    payload.resize(f.f_size);
    if (run.file.Bytes(p + kYskFrameHeaderSize, payload.data(), f.f_size) < f.f_size) return false;
    FrameCall call;
    call.payload = {payload.data(), f.f_size};
    call.time = f.f_time;
    call.msec = int32_t(f.f_msec % 1000);
    call.type = int32_t(f.f_type);
    call.channel = ch;
    call.show = p == target;
    call.tag = uint32_t(p);
    m_Decoder.SubmitFrame(call);
  }
  m_StepChannel = ch;
  m_StepPos = uint32_t(target);
  m_StepGen = st.m_SeekGen.load(kAcq);
  st.m_HandedPicture[size_t(ch)].store(uint32_t(target), kRel);
  st.m_ShownPlace[size_t(ch)].store(st.m_PlaceSerial.load(kAcq), kRel);

  // The picture's own second becomes the place: the texts and the thumb show it and Play goes on
  // after it.
  SystemTime t = SecondsToCalendar(h.f_time);
  m_ResumeTime = t;
  m_Presenter.SecondTexts(run.rec, h.f_time, h.f_msec, true);
  t.wMilliseconds = uint16_t(h.f_msec % 1000);
  st.m_CurrentTime.Store(t);
  return true;
}

}  // namespace ov
