#include "playback/PlaybackLoop.h"

#include <algorithm>
#include <cstring>

#include "archive/FileSource.h"
#include "archive/FrameWalk.h"
#include "archive/HeaderReader.h"
#include "playback/ManualResetEvents.h"
#include "playback/ThreadControl.h"
#include "playback/TransportRules.h"

namespace ov {
namespace {
constexpr auto kAcq = std::memory_order_acquire;
constexpr auto kRel = std::memory_order_release;
constexpr std::chrono::milliseconds kSkipPause{1};  // after a skipped frame, as a breather
// Where a set skips a pause between files, the next frame follows after one frame at 25 per
// second, the common recorder rate: no visible stop.
constexpr uint32_t kGapStepMs = 40;
}  // namespace

PlaybackLoop::PlaybackLoop(const LoopContext& context, const ManualResetEvents& events)
    : m_ctx(context), m_Events(events) {
  // Room for the header that follows the payload: one read fetches both.
  for (auto& s : m_FrameSlots) s.buffer.resize(kMaxPayload + kYskFrameHeaderSize);
  m_gen = m_ctx.state.m_SeekGen.load(kAcq);
}

void PlaybackLoop::Restart() {
  m_k = 0;
  m_primed = false;
  m_baseSet = false;
  m_landingLoaded = false;
  m_pendingTexts.set = false;
  m_sched.Invalidate();
  // A search or an open may have replaced the file or every position. The reader is taken again
  // under the file lock: holding on to it would keep a closed file's descriptor open.
  m_reader = FrameReader();
  for (auto& c : m_videoHeaders) c.valid = false;
  for (auto& c : m_audioHeaders) c.valid = false;
}

void PlaybackLoop::Remember(CachedHeader& c, uint32_t pos, const YskFrameHeader& h) {
  c.h = h;
  c.pos = pos;
  c.valid = true;
}

bool PlaybackLoop::HeaderAt(CachedHeader& c, uint32_t pos, YskFrameHeader& h) {
  if (c.valid && c.pos == pos) {
    h = c.h;
    return true;
  }
  // A failed read is not remembered: it is tried again next time, as before.
  c.valid = m_reader.Header(pos, c.h);
  c.pos = pos;
  if (c.valid) h = c.h;
  return c.valid;
}

bool PlaybackLoop::Live() const {
  const auto& st = m_ctx.state;
  return st.m_SeekDone.load(kAcq) == 1 && st.m_SeekGen.load(kAcq) == m_gen;
}

bool PlaybackLoop::Quitting() const { return m_Events.IsSet(EVENT_QUIT); }

void PlaybackLoop::IdleSleep(uint32_t seen) {
  // Nothing to do until a command changes the state; every such change bumps the wake sequence.
  if (Quitting()) return;
  m_ctx.clock.SleepUntil(IClock::kForever, m_ctx.state.m_WakeSeq, seen);
}

void PlaybackLoop::BriefSleep(std::unique_lock<std::mutex>& fileLock) {
  fileLock.unlock();
  const uint32_t seen = m_ctx.state.m_WakeSeq.load(kAcq);
  m_ctx.clock.SleepUntil(m_ctx.clock.Now() + kSkipPause, m_ctx.state.m_WakeSeq, seen);
  fileLock.lock();
}

bool PlaybackLoop::Commit(bool audio, int channel, uint64_t value) {
  auto& st = m_ctx.state;
  std::lock_guard<std::mutex> g(st.m_PosLock);
  if (st.m_SeekGen.load(kAcq) != m_gen) return false;  // a newer search owns the positions
  const uint32_t v = value > UINT32_MAX ? UINT32_MAX : uint32_t(value);
  (audio ? st.m_AudioPos : st.m_VideoPos)[size_t(channel)].store(v, kRel);
  return true;
}

void PlaybackLoop::LeaveSoundBehind() {
  auto& st = m_ctx.state;
  const auto& has = m_rec->m_HasAudio;
  if (st.m_SoundBehind.load(kAcq) != 0 ||
      std::none_of(has.begin(), has.end(), [](int32_t a) { return a != 0; }))
    return;
  std::lock_guard<std::mutex> g(st.m_PosLock);
  // A search that began since owns the positions: its own result puts the sound in step.
  if (st.m_SeekGen.load(kAcq) == m_gen) st.m_SoundBehind.store(1, kRel);
}

void PlaybackLoop::Iterate() {
  auto& st = m_ctx.state;
  const uint32_t seen = st.m_WakeSeq.load(kAcq);
  const uint32_t gen = st.m_SeekGen.load(kAcq);
  if (gen != m_gen) {
    m_gen = gen;
    Restart();
  }
  const int32_t speed = st.m_Speed.load(kAcq);
  const int32_t seekDone = st.m_SeekDone.load(kAcq);
  const bool preview = st.m_Preview.load(kAcq) == 1;
  if (seekDone == 0 || (!preview && (st.m_PlayState.load(kAcq) == TransportState::Paused ||
                                     speed == 0 || st.m_AtEnd.load(kAcq) == 1))) {
    if (seekDone == 0) Restart();
    IdleSleep(seen);
    return;
  }
  std::unique_lock<std::mutex> fileLock(m_ctx.fileLock);
  if (st.m_SeekGen.load(kAcq) != m_gen || !m_ctx.file.IsOpen()) return;
  m_rec = m_ctx.file.SharedRecording();
  m_reader = m_ctx.file.PlayReader();
  if (!m_landingLoaded) LoadLanding();
  m_previewing = preview;
  if (preview)
    Preview(fileLock);
  else if (speed > 0)
    Forward(fileLock);
  else
    Reverse(fileLock);
}

void PlaybackLoop::LoadLanding() {
  auto& st = m_ctx.state;
  m_landingLoaded = true;
  m_awaitShown = false;
  m_previewLeft = 0;
  m_textShown = false;
  m_place = st.m_PlaceSerial.load(kAcq);
  for (int n = 0; n < kSlots; ++n) {
    const uint32_t show = st.m_ShowFrom[size_t(n)].load(kAcq);
    m_showFrom[size_t(n)] = show;
    if (m_rec->m_HasVideo[size_t(n)]) m_previewLeft |= 1u << n;
    YskFrameHeader h{};
    if (show == 0 || !HeaderAt(m_videoHeaders[n], show, h)) continue;
    if (!m_awaitShown || h.f_msec < m_firstShownKey) m_firstShownKey = h.f_msec;
    m_awaitShown = true;
  }
}

int32_t PlaybackLoop::DisplaySecond(const FrameSlot& f) const {
  return int32_t(int64_t(m_baseSecond) + f.frame.key / 1000 - m_baseKey / 1000);
}

void PlaybackLoop::TakeBase(const FrameSlot& f) {
  if (m_baseSet) return;
  m_baseSet = true;
  m_baseSecond = f.frame.header.f_time;
  m_baseKey = f.frame.key;
}

bool PlaybackLoop::Prime(const FrameCandidate& c) {
  m_FrameSlots[m_k].frame = c;
  if (m_primed) return true;
  if (m_k == 1) {
    m_primed = true;
    TakeBase(m_FrameSlots[0]);
    return true;
  }
  m_k = 1;
  return false;
}

void PlaybackLoop::Forward(std::unique_lock<std::mutex>& fileLock) {
  const OpenRecording& rec = *m_rec;
  auto& st = m_ctx.state;
  const uint32_t startSecond = uint32_t(rec.m_Index.m_StartInfo[0].f_time);
  // Sound is stamped in wall-clock seconds, video on the recorder's running millisecond clock.
  // Sound keys count from that clock's whole second at the recording's start, so both share one
  // time line; for a clock that starts within its first second this is the plain offset.
  const uint32_t startMs = uint32_t(rec.m_Index.m_StartMsec);
  const uint32_t clockBase = startMs - startMs % 1000u;
  FrameCandidate best{};
  bool any = false;
  auto consider = [&](const FrameCandidate& c) {
    if (!any || c.key < best.key) best = c;  // the first of equal keys wins
    any = true;
  };
  // Fast forward hands no sound over, so its frames are not even looked at: following a sound
  // chain costs a read per frame. Its positions stay behind and the next search finds the sound
  // again from the pictures' time.
  const bool ff = IsFFState(st.m_PlayState.load(kAcq));
  if (ff) LeaveSoundBehind();
  for (int n = 0; n < kSlots; ++n) {
    YskFrameHeader h{};
    const uint32_t vp = st.m_VideoPos[size_t(n)].load(kAcq);
    // Forward play runs to the end of the run: the frames after the last key frame are the last
    // moments recorded.
    if (rec.m_HasVideo[size_t(n)] && vp >= rec.m_VideoFirst[size_t(n)] &&
        uint64_t(vp) + kYskFrameHeaderSize <= rec.VideoRunEnd(n) &&
        HeaderAt(m_videoHeaders[n], vp, h)) {
      consider({h, h.f_msec, n, 0, vp, vp >= m_showFrom[size_t(n)]});
    }
    if (ff) continue;
    const uint32_t ap = st.m_AudioPos[size_t(n)].load(kAcq);
    if (rec.m_HasAudio[size_t(n)] && ap >= rec.m_AudioFirst[size_t(n)] &&
        uint64_t(ap) + 1 <= rec.AudioRunEnd(n) && HeaderAt(m_audioHeaders[n], ap, h)) {
      const uint32_t key = clockBase + (uint32_t(h.f_time) - startSecond) * 1000u + h.f_msec;
      consider({h, key, n, 1, ap});
    }
  }
  if (!any) {
    EndOfRecording(true);
    return;
  }
  const bool audio = best.audio == 1;
  const uint64_t runEnd = audio ? rec.AudioRunEnd(best.channel) : rec.VideoRunEnd(best.channel);
  // Sound of the moments before the landing picture is not heard: it starts with the picture
  // (with the sound frame that picture falls in; at 8 bytes a millisecond of companded sound).
  if (audio && m_awaitShown && best.key + best.header.f_size / 8 <= m_firstShownKey) {
    Pass(best, runEnd);
    return;
  }
  if (!ReadPayload(best, runEnd, fileLock)) return;
  if (!Prime(best)) return;
  PresentAndAdvance(fileLock, true);
}

bool PlaybackLoop::Pass(const FrameCandidate& c, uint64_t runEnd) {
  const uint64_t next = uint64_t(c.pos) + kYskFrameHeaderSize + c.header.f_size;
  return Commit(c.audio == 1, c.channel,
                c.header.f_size > kMaxFrameBytes || next > runEnd ? runEnd : next);
}

bool PlaybackLoop::ReadPayload(const FrameCandidate& best, uint64_t runEnd,
                               std::unique_lock<std::mutex>& fileLock) {
  const bool audio = best.audio == 1;
  const uint64_t next = uint64_t(best.pos) + kYskFrameHeaderSize + best.header.f_size;
  // The same rules as every other walk of the file (export, snapshot): what is passed over, and
  // where the channel goes on.
  YskFrameHeader h{};
  h.f_size = best.header.f_size;
  const WalkStep step = ClassifyHeader(h, best.pos, runEnd, m_reader.Size());
  if (step.kind == WalkStep::Kind::Skip && step.skip == WalkSkip::EmptyFrames) {
    // Nothing to hand over: pass this frame and the empty ones straight after it.
    Commit(audio, best.channel, PastEmptyFrames(best, runEnd));
    return false;
  }
  if (step.kind == WalkStep::Kind::Skip && step.skip != WalkSkip::CutShort) {
    if (Commit(audio, best.channel, step.next)) {
      ReportSkip();
      BriefSleep(fileLock);
    }
    return false;
  }
  FrameSlot& slot = m_FrameSlots[m_k];
  // The channel's next header follows its payload: reading both at once leaves one read per frame.
  const size_t want = size_t(best.header.f_size) + kYskFrameHeaderSize;
  if (slot.buffer.size() < want) slot.buffer.resize(want);
  const size_t got =
      m_reader.Bytes(uint64_t(best.pos) + kYskFrameHeaderSize, slot.buffer.data(), want);
  // A payload cut short (a truncated file) ends the channel's run here: the bytes after it are not
  // a header.
  if (!Commit(audio, best.channel, got < best.header.f_size ? runEnd : next)) return false;
  if (got < best.header.f_size) return false;
  if (got == best.header.f_size + kYskFrameHeaderSize && next <= UINT32_MAX) {
    const uint8_t* raw = slot.buffer.data() + best.header.f_size;
    Remember(
        (audio ? m_audioHeaders : m_videoHeaders)[best.channel], uint32_t(next),
        DecodeFrameHeader(std::span<const uint8_t, kYskFrameHeaderSize>(raw, kYskFrameHeaderSize)));
  }
  return true;
}

void PlaybackLoop::Preview(std::unique_lock<std::mutex>& fileLock) {
  const OpenRecording& rec = *m_rec;
  auto& st = m_ctx.state;
  FrameCandidate best{};
  bool any = false;
  for (int n = 0; n < kSlots; ++n) {
    if ((m_previewLeft & (1u << n)) == 0) continue;
    YskFrameHeader h{};
    const uint32_t vp = st.m_VideoPos[size_t(n)].load(kAcq);
    if (vp < rec.m_VideoFirst[size_t(n)] ||
        uint64_t(vp) + kYskFrameHeaderSize > rec.VideoRunEnd(n) ||
        !HeaderAt(m_videoHeaders[n], vp, h)) {
      m_previewLeft &= ~(1u << n);  // nothing more of this channel here
      continue;
    }
    if (!any || h.f_msec < best.key) best = {h, h.f_msec, n, 0, vp, vp >= m_showFrom[size_t(n)]};
    any = true;
  }
  if (!any) {
    EndPreview();
    return;
  }
  if (!ReadPayload(best, rec.VideoRunEnd(best.channel), fileLock)) return;
  // The preview hands each frame over at once: it needs no successor to pace it by.
  FrameSlot& slot = m_FrameSlots[m_k];
  slot.frame = best;
  TakeBase(slot);
  if (!Live()) return;
  Submit(slot, true);
  if (slot.frame.show) m_previewLeft &= ~(1u << best.channel);
  if (m_previewLeft == 0) EndPreview();
}

void PlaybackLoop::EndPreview() {
  auto& st = m_ctx.state;
  std::lock_guard<std::mutex> g(st.m_PosLock);
  if (st.m_SeekGen.load(kAcq) == m_gen) st.m_Preview.store(0, kRel);
}

uint64_t PlaybackLoop::PastEmptyFrames(const FrameCandidate& c, uint64_t runEnd) {
  // Zero bytes (a hole a power cut leaves) read as empty frames 20 bytes apart: one iteration per
  // frame would take minutes over a large hole, so they are passed in one go through a window.
  HeaderReader reader(*m_reader.Source(), 64u << 10);
  YskFrameHeader found{};
  const uint64_t p = ov::PastEmptyFrames(reader, c.pos, runEnd, &found);
  if (found.f_size != 0 && p <= UINT32_MAX)
    Remember((c.audio == 1 ? m_audioHeaders : m_videoHeaders)[c.channel], uint32_t(p), found);
  return p;
}

void PlaybackLoop::Reverse(std::unique_lock<std::mutex>& fileLock) {
  const OpenRecording& rec = *m_rec;
  auto& st = m_ctx.state;
  // Reverse play hands no sound over either and moves no sound position.
  LeaveSoundBehind();
  FrameCandidate best{};
  bool any = false;
  for (int n = 0; n < kSlots; ++n) {
    const uint32_t vp = st.m_VideoPos[size_t(n)].load(kAcq);
    YskFrameHeader h{};
    if (!rec.m_HasVideo[size_t(n)] || vp == 0 || vp < rec.m_VideoFirst[size_t(n)] ||
        uint64_t(vp) >= rec.VideoRunEnd(n) || !HeaderAt(m_videoHeaders[n], vp, h))
      continue;
    if (!any || h.f_msec > best.key) best = {h, h.f_msec, n, 0, vp};
    any = true;
  }
  if (!any) {
    EndOfRecording(false);
    return;
  }
  const int n = best.channel;
  FrameSlot& slot = m_FrameSlots[m_k];
  const bool oversized =
      best.header.f_size > kMaxFrameBytes ||
      uint64_t(best.pos) + kYskFrameHeaderSize + best.header.f_size > rec.VideoRunEnd(n);
  if (!oversized) {
    if (slot.buffer.size() < best.header.f_size) slot.buffer.resize(best.header.f_size);
    const size_t got = m_reader.Bytes(uint64_t(best.pos) + kYskFrameHeaderSize, slot.buffer.data(),
                                      best.header.f_size);
    if (got < best.header.f_size) {
      Commit(false, n, 0);  // cut short: the channel drops out
      return;
    }
  }
  // Step back to the previous key frame. A run's first frame (f_info 0) has none: the channel
  // drops out (position 0 lies below every run) rather than showing the same frame again.
  const int64_t runStart = int64_t(rec.VideoRunStart(n));
  const int64_t first = int64_t(rec.m_VideoFirst[size_t(n)]);
  int64_t p = 0;
  if (best.header.f_info > 0) {
    p = int64_t(best.pos) - int64_t(kYskFrameHeaderSize) - int64_t(best.header.f_info);
    // A group of pictures is far shorter than this; a walk back through a hole of empty headers,
    // 20 bytes a step, gives up instead of crossing the whole hole.
    const int64_t floor = std::max<int64_t>(first, int64_t(best.pos) - int64_t(kResyncReach));
    HeaderReader walk(*m_reader.Source());
    for (;;) {
      YskFrameHeader h{};
      if (p < runStart || p < floor || !walk.Read(uint64_t(p), h)) {
        p = 0;
        break;
      }
      if (h.f_type == 1 || p <= first) {
        Remember(m_videoHeaders[n], uint32_t(p), h);  // the channel's next header, already read
        break;
      }
      p -= int64_t(h.f_info) + int64_t(kYskFrameHeaderSize);
    }
  }
  if (!Commit(false, n, uint64_t(p))) return;
  if (oversized) {
    ReportSkip();
    BriefSleep(fileLock);
    return;
  }
  if (best.header.f_size == 0) return;  // a frame without a picture is passed, as in forward play
  if (!Prime(best)) return;
  PresentAndAdvance(fileLock, false);
}

void PlaybackLoop::PresentAndAdvance(std::unique_lock<std::mutex>& fileLock, bool forward) {
  switch (Present(fileLock, forward)) {
    case After::Flip:
      m_k = 1 - m_k;
      break;
    case After::Keep:
      break;
    case After::Restart:
      Restart();
      break;
  }
}

void PlaybackLoop::Submit(const FrameSlot& f, bool forward) {
  auto& st = m_ctx.state;
  auto& dec = m_ctx.decoder;
  const int32_t msec = int32_t(f.frame.key % 1000);
  CalendarTime shown = SecondsToCalendar(DisplaySecond(f));
  shown.millisecond = uint16_t(msec);
  auto handedOver = [&] {
    if (!f.frame.show) return;
    st.m_HandedPicture[size_t(f.frame.channel)].store(f.frame.pos, kRel);
    // Pictures handed over in play may be flushed by a pause before they are shown: from then on
    // the panes say what they hold.
    if (!m_previewing && st.m_PreviewPlace.load(kAcq) != 0) st.m_PreviewPlace.store(0, kRel);
    st.m_ShownPlace[size_t(f.frame.channel)].store(m_place, kRel);
    m_awaitShown = false;
    FollowPicture(f, forward);
  };
  // Under the position lock: a pause or a move that bumped the generation has seen the last
  // frame this pass hands over, and its texts and thumb are never overwritten by an older place.
  auto submit = [&](int32_t audio) {
    std::lock_guard<std::mutex> g(st.m_PosLock);
    if (st.m_SeekGen.load(kAcq) != m_gen) return;
    FrameCall call;
    call.payload = {f.buffer.data(), f.frame.header.f_size};
    call.time = f.frame.header.f_time;
    call.msec = msec;
    call.audio = audio != 0;
    call.type = int32_t(f.frame.header.f_type);
    call.channel = f.frame.channel;
    call.show = f.frame.show;
    call.tag = f.frame.pos;
    dec.SubmitFrame(call);
    if (audio == 0) handedOver();
  };
  if (!forward) {
    // Reverse play moves the place too: a pause resumes, and forward play continues, from here.
    st.m_CurrentTime.Store(shown);
    submit(f.frame.audio);
    return;
  }
  if (st.m_ResetDecoder.exchange(0, std::memory_order_acq_rel) != 0)
    dec.SubmitFrame(FrameCall::Reset());
  if (f.frame.audio == 0) {
    st.m_CurrentTime.Store(shown);
    // A decode-only frame is a link of the chain to the landing picture: I-Frame Only keeps it.
    if (f.frame.show && st.m_IFrameOnly.load(kAcq) != 0 && f.frame.header.f_type != 1) return;
    submit(0);
    return;
  }
  const bool sound =
      m_rec->m_HasAudio[size_t(f.frame.channel)] == 1 && st.m_SoundOn.load(kAcq) != 0;
  dec.SetVolume(sound ? st.m_Volume.load(kAcq) : 0);
  if (st.m_PlayState.load(kAcq) != TransportState::Playing) return;
  st.m_CurrentTime.Store(shown);
  submit(1);
}

void PlaybackLoop::FollowPicture(const FrameSlot& f, bool forward) {
  const int sel = m_ctx.decoder.CurrentAudioChannel();
  // A selected pane without pictures of its own lets every channel's pictures lead.
  if (sel >= 0 && sel < kSlots && m_rec->m_HasVideo[size_t(sel)] && sel != f.frame.channel) return;
  const int32_t second = DisplaySecond(f);
  if (m_textShown && second == m_textSecond) return;
  m_textShown = true;
  m_textSecond = second;
  const int32_t delay = m_ctx.decoder.PictureDelay();
  if (delay <= 0) {
    m_pendingTexts.set = false;
    m_ctx.presenter.SecondTexts(*m_rec, second, f.frame.key, forward);
    return;
  }
  m_pendingTexts = {true, second, f.frame.key, forward,
                    m_ctx.clock.Now() + std::chrono::milliseconds(std::min(delay, 2000))};
}

void PlaybackLoop::FlushTexts(bool force) {
  if (!m_pendingTexts.set || (!force && m_ctx.clock.Now() < m_pendingTexts.due)) return;
  auto& st = m_ctx.state;
  std::lock_guard<std::mutex> g(st.m_PosLock);
  if (st.m_SeekGen.load(kAcq) != m_gen) return;  // a pause or a move says what is shown now
  m_pendingTexts.set = false;
  m_ctx.presenter.SecondTexts(*m_rec, m_pendingTexts.second, m_pendingTexts.key,
                              m_pendingTexts.forward);
}

PlaybackLoop::After PlaybackLoop::Present(std::unique_lock<std::mutex>& fileLock, bool forward) {
  auto& st = m_ctx.state;
  const FrameSlot& held = m_FrameSlots[1 - m_k];  // presented now
  const FrameSlot& next = m_FrameSlots[m_k];      // its successor, already read
  if (!Live()) return After::Restart;
  Submit(held, forward);
  FlushTexts(false);
  // The frames before the landing picture go to the decoder as fast as it takes them.
  if (!held.frame.show) return After::Flip;

  int32_t speed = st.m_Speed.load(kAcq);
  if (speed == 0 || Paused()) return After::Keep;
  if (!Live()) return After::Restart;
  const auto now = m_ctx.clock.Now();
  if (!m_sched.Valid())
    m_sched.Start(held.frame.key, now, speed);
  else if (m_sched.Speed() != speed)
    m_sched.Rebase(now, speed);  // a speed change starts its schedule at this frame

  // A pause between two files of a set is not waited through: the frame after it comes one
  // frame step later, and the schedule goes on from there.
  if (CrossesGap(held.frame.key, next.frame.key, speed > 0))
    m_sched.Start(speed > 0 ? next.frame.key - kGapStepMs : next.frame.key + kGapStepMs, now,
                  speed);

  // Every frame is paced, sound of any channel included: on an absolute schedule waiting for a
  // frame's due time never adds up, and skipping a wait would show the next frame early.
  if (!WaitForKey(next.frame.key, fileLock)) return After::Restart;
  FlushTexts(false);
  speed = st.m_Speed.load(kAcq);
  if (speed == 0 || Paused()) return After::Keep;
  if (!Live()) return After::Restart;
  return After::Flip;
}

bool PlaybackLoop::CrossesGap(uint32_t from, uint32_t to, bool forward) const {
  // A long step that passes a gap's far edge; merge keys wrap in 32 bits, so compare distances.
  auto after = [](uint32_t a, uint32_t b) { return int32_t(a - b) > 0; };
  if (m_rec->m_Gaps.empty()) return false;
  const uint32_t step = forward ? to - from : from - to;
  if (int32_t(step) <= int32_t(kGapStepMs)) return false;
  for (const KeyGap& g : m_rec->m_Gaps) {
    if (forward ? (after(g.toKey, from) && !after(g.toKey, to))
                : (after(from, g.fromKey) && !after(to, g.fromKey)))
      return true;
  }
  return false;
}

bool PlaybackLoop::WaitForKey(uint32_t key, std::unique_lock<std::mutex>& fileLock) {
  auto& st = m_ctx.state;
  for (;;) {
    const auto plan = m_sched.PlanWait(key, m_ctx.clock.Now(), m_ctx.clock.PaceAhead());
    if (!plan.sleep) return true;
    bool interrupted = false;
    fileLock.unlock();
    for (;;) {
      const uint32_t seen = st.m_WakeSeq.load(kAcq);
      if (Quitting() || !Live() || Paused() || st.m_Speed.load(kAcq) != m_sched.Speed()) {
        interrupted = true;
        break;
      }
      if (m_ctx.clock.Now() >= plan.until) break;
      m_ctx.clock.SleepUntil(plan.until, st.m_WakeSeq, seen);
    }
    fileLock.lock();
    if (Quitting() || st.m_SeekGen.load(kAcq) != m_gen) return false;
    if (!interrupted) return true;
    const int32_t speed = st.m_Speed.load(kAcq);
    if (speed == 0 || Paused() || st.m_SeekDone.load(kAcq) == 0) return true;  // the caller decides
    m_sched.Rebase(m_ctx.clock.Now(), speed);  // go on towards the same key at the new speed
  }
}

void PlaybackLoop::EndOfRecording(bool forward) {
  auto& st = m_ctx.state;
  // The frame held back for its successor has none: show it before the recording ends.
  if ((m_primed || m_k == 1) && Live()) Submit(m_FrameSlots[1 - m_k], forward);
  FlushTexts(true);
  Restart();
  {
    // A command that arrived while this pass ran (it bumps the generation before it touches the
    // positions or the state) owns the state now: a stale pass must not stop its playback.
    std::lock_guard<std::mutex> g(st.m_PosLock);
    if (st.m_SeekGen.load(kAcq) != m_gen) return;
    st.m_AtEnd.store(1, kRel);
    st.m_PlayState.store(TransportState::Paused, kRel);
  }
  m_ctx.presenter.EndOfRecording(*m_rec);
}

bool PlaybackLoop::Paused() const {
  return m_ctx.state.m_PlayState.load(kAcq) == TransportState::Paused;
}

void PlaybackLoop::ReportSkip() { m_ctx.presenter.FrameSkipped(); }

}  // namespace ov
