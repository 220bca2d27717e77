#include "playback/FrameStepper.h"

#include <algorithm>
#include <vector>

#include "archive/FileSource.h"

namespace ov {
namespace {
constexpr auto kAcq = std::memory_order_acquire;
constexpr auto kRel = std::memory_order_release;
// Bounds the walk back to a key frame on a damaged chain (recorders use at most a few seconds).
constexpr int kMaxReplayFrames = 1000;
}  // namespace

FrameStepper::FrameStepper(PlaybackState& state, BackupFile& file, CQuelmar_Ctrl_Player& decoder,
                           PlaybackPresenter& presenter, std::mutex& fileLock)
    : m_State(state),
      m_File(file),
      m_Decoder(decoder),
      m_Presenter(presenter),
      m_FileLock(fileLock) {}

std::optional<FrameStepper::Place> FrameStepper::LastStep(uint32_t seekGen) const {
  if (m_Gen != seekGen || m_Channel < 0) return std::nullopt;
  return Place{m_Channel, m_Pos};
}

uint32_t FrameStepper::HeldPicture(int n) const {
  const auto& st = m_State;
  const uint32_t place = st.m_PlaceSerial.load(kAcq);
  // A pane may still show a picture of a place left since: that one is not where to go on.
  if (st.m_ShownPlace[size_t(n)].load(kAcq) != place) return 0;
  // After a paused move a pane may not have decoded its landing picture yet and still show the
  // one from before the move; the landing is the place all the same (0: no paused move yet, the
  // place serial starts at 0 too).
  const uint32_t preview = st.m_PreviewPlace.load(kAcq);
  return preview != 0 && preview == place ? st.m_HandedPicture[size_t(n)].load(kAcq)
                                          : m_Decoder.ShownFrame(n);
}

std::optional<CalendarTime> FrameStepper::Step(bool forward) {
  auto& st = m_State;
  // A move still landing its pictures owns the decoder and the place.
  if (st.m_Preview.load(kAcq) == 1) return std::nullopt;
  const int ch = m_Decoder.CurrentAudioChannel();
  const OpenRecording& rec = m_File.Recording();
  if (ch < 0 || ch >= kSlots || !rec.m_HasVideo[size_t(ch)]) return std::nullopt;

  std::unique_lock<std::mutex> g(m_FileLock);
  if (!m_File.IsOpen()) return std::nullopt;
  const Run run{rec, m_File.PlayReader(), ch};
  const uint32_t gen = st.m_SeekGen.load(kAcq);
  const bool continuing = m_Gen == gen && m_Channel == ch;
  uint64_t from = 0;
  if (continuing) {
    from = m_Pos;
  } else {
    from = HeldPicture(ch);
  }
  YskFrameHeader h{};
  uint64_t target = 0;
  // Nothing shown here yet: Play or a move shows the first picture.
  if (from == 0 || !run.Readable(from, h)) return std::nullopt;
  if (forward) {
    target = from + kYskFrameHeaderSize + h.f_size;
  } else {
    if (h.f_info == 0 || from < 2 * kYskFrameHeaderSize + uint64_t(h.f_info)) return std::nullopt;
    target = from - kYskFrameHeaderSize - h.f_info;
  }
  if (!run.Readable(target, h)) return std::nullopt;
  // Forward from its own previous step the decoder holds the chain; anything else decodes from
  // the key frame again, the frames before the target decode-only.
  return Show(run, target, forward && continuing && from == m_Pos);
}

bool FrameStepper::Run::Readable(uint64_t pos, YskFrameHeader& h) const {
  const uint64_t runStart =
      std::max<uint64_t>(rec.VideoRunStart(channel), rec.m_VideoFirst[size_t(channel)]);
  const uint64_t runEnd = rec.VideoRunEnd(channel);
  return pos >= runStart && pos + kYskFrameHeaderSize <= runEnd && file.Header(pos, h) &&
         h.f_size > 0 && h.f_size <= kMaxFrameBytes &&
         pos + kYskFrameHeaderSize + h.f_size <= runEnd;
}

std::optional<CalendarTime> FrameStepper::Show(const Run& run, uint64_t target, bool continuing) {
  auto& st = m_State;
  const int ch = run.channel;
  YskFrameHeader h{};
  if (!run.Readable(target, h)) return std::nullopt;
  std::vector<uint64_t> chain{target};
  if (!continuing) {
    YskFrameHeader k = h;
    uint64_t p = target;
    while (k.f_type != 1) {
      if (int(chain.size()) >= kMaxReplayFrames || p < kYskFrameHeaderSize + uint64_t(k.f_info) ||
          k.f_info == 0)
        return std::nullopt;
      p -= kYskFrameHeaderSize + uint64_t(k.f_info);
      if (!run.Readable(p, k)) return std::nullopt;
      chain.push_back(p);
    }
    std::reverse(chain.begin(), chain.end());
  }
  std::vector<uint8_t> payload;
  for (uint64_t p : chain) {
    YskFrameHeader f{};
    if (!run.Readable(p, f)) return std::nullopt;
    payload.resize(f.f_size);
    if (run.file.Bytes(p + kYskFrameHeaderSize, payload.data(), f.f_size) < f.f_size)
      return std::nullopt;
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
  m_Channel = ch;
  m_Pos = uint32_t(target);
  m_Gen = st.m_SeekGen.load(kAcq);
  st.m_HandedPicture[size_t(ch)].store(uint32_t(target), kRel);
  st.m_ShownPlace[size_t(ch)].store(st.m_PlaceSerial.load(kAcq), kRel);

  // The picture's own second becomes the place: the texts and the thumb show it and Play goes on
  // after it.
  CalendarTime t = SecondsToCalendar(h.f_time);
  m_Presenter.SecondTexts(run.rec, h.f_time, h.f_msec, true);
  const CalendarTime resume = t;
  t.millisecond = uint16_t(h.f_msec % 1000);
  st.m_CurrentTime.Store(t);
  return resume;
}

}  // namespace ov
