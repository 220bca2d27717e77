#include "export/ClipPlan.h"

#include <algorithm>
#include <deque>

#include "archive/FileSource.h"

namespace ov::exporter {
namespace {

constexpr int64_t kGapMs = 2000;  // time without frames worth a line in the report

FrameWalker WalkRun(const BackupFile& file, int slot, bool audio) {
  const OpenRecording& rec = file.Recording();
  return FrameWalker(*file.ScanReader().Source(),
                     audio ? rec.AudioRunStart(slot) : rec.VideoRunStart(slot),
                     audio ? rec.AudioRunEnd(slot) : rec.VideoRunEnd(slot));
}

bool HasVideo(const BackupFile& file, int slot) {
  return slot >= 0 && slot < kSlots && file.Recording().m_Header.video[size_t(slot)].HasData() &&
         file.ScanReader().Source() != nullptr;
}

// Counts steps and frames against the limits of one plan.
class Budget {
 public:
  explicit Budget(const PlanLimits& l) : m_l(l) {}
  bool Cancelled() {
    return m_l.cancel && (++m_steps & 255) == 0 && m_l.cancel->load(std::memory_order_relaxed);
  }
  bool Take() {
    if (!m_l.frameBudget) return true;
    if (*m_l.frameBudget == 0) return false;
    --*m_l.frameBudget;
    return true;
  }

 private:
  const PlanLimits& m_l;
  uint64_t m_steps = 0;
};

// A gap noted while walking, before the clip's times are known: it lies before video[index].
struct Noted {
  size_t index;
  Gap gap;
};

struct VideoWalk {
  std::vector<FrameRef> frames;
  std::vector<Noted> notes;
};

// The steps of a walk, with a look at the next frame before the current one is decided.
class Lookahead {
 public:
  explicit Lookahead(FrameWalker walk) : m_walk(std::move(walk)) {}
  WalkStep Next() {
    if (m_ahead.empty()) return m_walk.Next();
    const WalkStep s = m_ahead.front();
    m_ahead.pop_front();
    return s;
  }
  // The header of the next frame (skips before it stay queued); null at the run's end.
  const YskFrameHeader* NextFrame() {
    for (const WalkStep& s : m_ahead)
      if (s.kind == WalkStep::Kind::Frame) return &s.h;
    for (;;) {
      m_ahead.push_back(m_walk.Next());
      if (m_ahead.back().kind == WalkStep::Kind::Frame) return &m_ahead.back().h;
      if (m_ahead.back().kind == WalkStep::Kind::End) return nullptr;
    }
  }

 private:
  FrameWalker m_walk;
  std::deque<WalkStep> m_ahead;
};

// True when the second clock and the millisecond clock disagree between two frames.
bool ClocksDisagree(const YskFrameHeader& a, const YskFrameHeader& b) {
  const int64_t seconds = (int64_t(b.f_time) - a.f_time) * 1000;
  const int64_t ms = int64_t(b.f_msec) - int64_t(a.f_msec);
  return seconds - ms > kClockJumpMs + 1000 || ms - seconds > kClockJumpMs + 1000;
}

// A frame stamped with a second far from the frames on both sides, whose millisecond clock runs
// on as theirs does, carries a damaged second: playback times it by the millisecond clock and
// shows it in its place. Returns the second it belongs to, or its own.
int32_t SecondInPlace(const YskFrameHeader* prev, const YskFrameHeader& f,
                      const YskFrameHeader* next) {
  if (!prev || !next || !ClocksDisagree(*prev, f) || ClocksDisagree(*prev, *next)) return f.f_time;
  const int64_t ms = int64_t(f.f_msec) - int64_t(prev->f_msec);
  if (ms < 0 || ms > kClockJumpMs) return f.f_time;  // the millisecond clock is the damaged one
  return AddSeconds(prev->f_time, ms / 1000);
}

// Walks the video run to the end of the range. The frames since the last key frame before the
// range are kept until the range begins; frames without a key frame before them are not.
PlanStatus WalkVideo(const BackupFile& file, int slot, int32_t from, int32_t to, Budget& budget,
                     VideoWalk& out) {
  Lookahead walk(WalkRun(file, slot, false));
  VideoWalk since;  // from the last key frame before the range
  bool inRange = false;
  bool havePrev = false;
  YskFrameHeader prev{};  // the last frame walked, its second as placed
  for (;;) {
    if (budget.Cancelled()) return PlanStatus::Cancelled;
    const WalkStep s = walk.Next();
    if (s.kind == WalkStep::Kind::End) break;
    VideoWalk& w = inRange ? out : since;
    if (s.kind == WalkStep::Kind::Skip) {
      // Passed before the first key frame: nothing of it reaches the clip.
      if (!w.frames.empty()) {
        Gap g;
        g.cause = GapCause::Passed;
        g.skip = s.skip;
        g.offset = s.pos;
        g.bytes = s.next - s.pos;
        w.notes.push_back({w.frames.size(), g});
      }
      continue;
    }
    FrameRef f{s.pos, s.h, 0};
    f.h.f_time = SecondInPlace(havePrev ? &prev : nullptr, s.h, walk.NextFrame());
    prev = f.h;
    havePrev = true;
    if (!inRange) {
      if (f.IsKey()) since = {};
      if (since.frames.empty() && !f.IsKey()) continue;  // no key frame yet: undecodable
      // A group of pictures is far shorter than this: frames that far from their key frame are
      // not kept waiting for the range.
      if (!since.frames.empty() && f.offset - since.frames.front().offset > kResyncReach) {
        since = {};
        continue;
      }
      if (f.h.f_time >= from) {
        if (f.h.f_time >= to) break;
        inRange = true;
        out = std::move(since);
      }
    } else if (f.h.f_time >= to) {
      break;
    }
    VideoWalk& into = inRange ? out : since;
    if (!budget.Take()) return PlanStatus::TooManyFrames;
    if (f.h.f_type > 1 || f.h.f_time != s.h.f_time) {
      Gap g;
      g.cause = GapCause::DamagedHeader;
      g.offset = f.offset;
      g.bytes = 1;
      g.type = f.h.f_type;
      g.stamped = s.h.f_time;
      into.notes.push_back({into.frames.size(), g});
    }
    into.frames.push_back(f);
  }
  return PlanStatus::Ok;
}

// Times the frames on the recording's millisecond clock, kept rising for the muxer, and turns
// the notes and the pauses into the clip's gaps.
void TimeVideo(VideoWalk& w, ClipPlan& plan) {
  plan.video = std::move(w.frames);
  const int64_t base = plan.video.front().h.f_msec;
  int64_t last = -1;
  int64_t shift = 0;        // what jumps of the millisecond clock moved it by, taken back
  int64_t lastStepMs = 40;  // the last step the clock was trusted with
  size_t note = 0;
  for (size_t i = 0; i < plan.video.size(); ++i) {
    FrameRef& v = plan.video[i];
    if (i > 0) {
      // The millisecond clock steps as the second clock does, give or take the rounding of a
      // second (or an hour when the recorder's wall clock was set). A step far outside that is
      // a damaged or restarted clock: it would stretch the clip by days. There the second clock
      // times the step, or within one second the clock's last step.
      const YskFrameHeader& p = plan.video[i - 1].h;
      const int64_t stepMs = int64_t(v.h.f_msec) - int64_t(p.f_msec);
      const int64_t secondsMs = std::max<int64_t>((int64_t(v.h.f_time) - p.f_time) * 1000, 0);
      if (stepMs >= -kClockJumpMs && stepMs <= secondsMs + kClockJumpMs) {
        lastStepMs = std::clamp<int64_t>(stepMs, 1, 1000);
      } else {
        shift -= stepMs - (secondsMs > 1000 ? secondsMs : lastStepMs);
        Gap g;
        g.cause = GapCause::ClockJump;
        g.fromSecond = p.f_time;
        g.toSecond = v.h.f_time;
        g.offset = v.offset;
        g.bytes = uint64_t(stepMs < 0 ? -stepMs : stepMs);
        plan.gaps.push_back(g);
      }
    }
    const int64_t pts = std::max<int64_t>(int64_t(v.h.f_msec) - base + shift, last + 1);
    bool explained = false;
    for (; note < w.notes.size() && w.notes[note].index == i; ++note) {
      Gap g = w.notes[note].gap;
      if (i > 0 && g.cause == GapCause::Passed) {
        g.fromSecond = plan.video[i - 1].h.f_time;
        g.lengthMs = pts - last;
        explained = true;
      } else {
        g.fromSecond = v.h.f_time;
      }
      g.toSecond = v.h.f_time;
      plan.gaps.push_back(g);
    }
    if (i > 0 && !explained && pts - last > kGapMs) {
      Gap g;
      g.fromSecond = plan.video[i - 1].h.f_time;
      g.toSecond = v.h.f_time;
      g.lengthMs = pts - last;
      g.offset = v.offset;
      plan.gaps.push_back(g);
    }
    v.ptsMs = last = pts;
    plan.payloadBytes += v.h.f_size;
  }
  // What the walk passed over after the last frame: the clip ends there.
  for (; note < w.notes.size(); ++note) {
    Gap g = w.notes[note].gap;
    g.fromSecond = g.toSecond = plan.video.back().h.f_time;
    plan.gaps.push_back(g);
  }
  plan.lastDurationMs =
      plan.video.size() > 1
          ? std::clamp<int64_t>(plan.video.back().ptsMs - plan.video[plan.video.size() - 2].ptsMs,
                                1, 1000)
          : 40;
}

PlanStatus PlanAudio(const BackupFile& file, int slot, ClipPlan& plan, Budget& budget) {
  const auto& rec = file.Recording().m_Header.audio[size_t(slot)];
  if (!rec.HasData() || !file.Recording().m_HasAudio[size_t(slot)] || plan.video.empty())
    return PlanStatus::Ok;
  const int64_t startWall =
      int64_t(plan.video.front().h.f_time) * 1000 + FirstFramePhaseMs(plan.video);
  const int64_t endWall = startWall + plan.DurationMs();
  FrameWalker walk = WalkRun(file, slot, true);
  // Sound frames left out amid the clip's sound; reported once sound inside the clip follows.
  Gap left;
  left.cause = GapCause::SoundSkipped;
  for (;;) {
    if (budget.Cancelled()) return PlanStatus::Cancelled;
    const WalkStep s = walk.Next();
    if (s.kind == WalkStep::Kind::End) break;
    if (s.kind == WalkStep::Kind::Skip) continue;
    const YskFrameHeader& h = s.h;
    const int64_t wall = int64_t(h.f_time) * 1000 + h.f_msec;
    const bool damaged = h.f_type != 0 || h.f_msec > 999;
    // Sound a little after the clip's end is the sound after it; sound far beyond it is a jump
    // of the sound clock, and the sound may come back.
    if (!damaged && wall >= endWall && wall < endWall + kSoundJumpMs) break;
    if (damaged || wall >= endWall || (wall < startWall && !plan.audio.empty())) {
      if (!plan.audio.empty()) {
        if (left.bytes++ == 0) left.offset = s.pos;
        left.fromSecond = plan.audio.back().h.f_time;
      }
      continue;
    }
    if (wall < startWall) continue;
    if (left.bytes > 0) {
      left.toSecond = h.f_time;
      plan.gaps.push_back(left);
      left.bytes = 0;
    }
    if (!budget.Take()) return PlanStatus::TooManyFrames;
    FrameRef f{s.pos, h, wall - startWall};
    plan.payloadBytes += h.f_size;
    plan.audio.push_back(f);
  }
  return PlanStatus::Ok;
}

}  // namespace

int64_t FirstFramePhaseMs(const std::vector<FrameRef>& video) {
  if (video.empty()) return 0;
  for (const FrameRef& f : video)
    if (f.h.f_time != video.front().h.f_time) {
      const int64_t into = int64_t(f.h.f_msec) - int64_t(video.front().h.f_msec);
      return std::clamp<int64_t>(1000 - into, 0, 999);
    }
  return 0;
}

PictureSearch FindPictureFrames(IFileSource& src, uint64_t begin, uint64_t end,
                                const std::function<bool(const FrameRef&)>& isTarget,
                                std::chrono::milliseconds timeLimit,
                                const std::atomic<bool>* cancel) {
  using End = PictureSearch::End;
  PictureSearch out;
  const auto deadline = std::chrono::steady_clock::now() + timeLimit;
  // The walk playback and export take: holes, damaged sizes and the run's end are met alike.
  FrameWalker walk(src, begin, end);
  for (;;) {
    if (cancel && cancel->load(std::memory_order_relaxed)) {
      out.end = End::Cancelled;
      break;
    }
    if (std::chrono::steady_clock::now() > deadline) {
      out.end = End::TimedOut;
      break;
    }
    const WalkStep s = walk.Next();
    if (s.kind == WalkStep::Kind::End) break;
    if (s.kind == WalkStep::Kind::Skip) continue;
    const FrameRef f{s.pos, s.h, 0};
    if (f.IsKey()) out.frames.clear();
    // Frames without a key frame before them, or too far from it, give no picture; only the
    // frames since the last key frame are kept.
    if (out.frames.empty() ? !f.IsKey() : f.offset - out.frames.front().offset > kResyncReach) {
      out.frames.clear();
      if (isTarget(f)) break;
      continue;
    }
    out.frames.push_back(f);
    if (isTarget(f)) {
      out.end = End::Found;
      return out;
    }
  }
  out.frames.clear();
  return out;
}

std::vector<FrameRef> FramesForPicture(const BackupFile& file, int slot,
                                       const std::function<bool(const FrameRef&)>& isTarget) {
  if (!HasVideo(file, slot)) return {};
  const OpenRecording& rec = file.Recording();
  return FindPictureFrames(*file.ScanReader().Source(), rec.VideoRunStart(slot),
                           rec.VideoRunEnd(slot), isTarget, std::chrono::hours(24))
      .frames;
}

PlanStatus PlanClip(const BackupFile& file, int slot, int32_t from, int32_t to, ClipPlan& out,
                    const PlanLimits& limits) {
  out = ClipPlan{};
  out.slot = slot;
  // A slot outside the header names no camera (and must not be read there).
  if (slot >= 0 && slot < kSlots) out.camera = file.Recording().m_Header.video[size_t(slot)].name;
  if (!HasVideo(file, slot)) return PlanStatus::NoVideo;
  if (from >= to) return PlanStatus::OutsideRange;
  Budget budget(limits);
  VideoWalk w;
  if (const PlanStatus s = WalkVideo(file, slot, from, to, budget, w); s != PlanStatus::Ok)
    return s;
  if (w.frames.empty()) return PlanStatus::OutsideRange;
  TimeVideo(w, out);
  return PlanAudio(file, slot, out, budget);
}

}  // namespace ov::exporter
