#include "export/ClipPlan.h"

#include <algorithm>

#include "archive/FileSource.h"

namespace ov::exporter {
namespace {

// Walks the frames of one run header by header, stopping at its end or at a damaged header.
class RunWalker {
 public:
  RunWalker(IFileSource& file, uint64_t begin, uint64_t end)
      : m_file(file), m_pos(begin), m_end(end) {}
  bool Next(FrameRef& out) {
    if (m_pos + kYskFrameHeaderSize > m_end) return false;
    if (!ReadFrameHeader(m_file, m_pos, out.h)) return false;
    if (out.h.f_size > kMaxClipPayload || m_pos + kYskFrameHeaderSize + out.h.f_size > m_end)
      return false;
    out.offset = m_pos;
    m_pos += kYskFrameHeaderSize + out.h.f_size;
    return true;
  }

 private:
  IFileSource& m_file;
  uint64_t m_pos;
  uint64_t m_end;
};

// The walk over one slot's video or sound run, through the scan descriptor.
RunWalker WalkRun(const BackupFile& file, int slot, bool audio) {
  const OpenRecording& rec = file.Recording();
  return RunWalker(*file.ScanReader().Source(),
                   audio ? rec.AudioRunStart(slot) : rec.VideoRunStart(slot),
                   audio ? rec.AudioRunEnd(slot) : rec.VideoRunEnd(slot));
}

bool HasVideo(const BackupFile& file, int slot) {
  return slot >= 0 && slot < kSlots && file.Recording().m_Header.video[size_t(slot)].HasData();
}

void PlanAudio(const BackupFile& file, int slot, ClipPlan& plan) {
  const auto& rec = file.Recording().m_Header.audio[size_t(slot)];
  if (!rec.HasData() || plan.video.empty()) return;
  const int64_t startWall =
      int64_t(plan.video.front().h.f_time) * 1000 + FirstFramePhaseMs(plan.video);
  const int64_t endWall = startWall + plan.DurationMs();
  RunWalker walk = WalkRun(file, slot, true);
  FrameRef f;
  while (walk.Next(f)) {
    if (f.h.f_type != 0 || f.h.f_msec > 999) continue;
    const int64_t wall = int64_t(f.h.f_time) * 1000 + f.h.f_msec;
    if (wall >= endWall) break;
    if (wall < startWall) continue;
    f.ptsMs = wall - startWall;
    plan.payloadBytes += f.h.f_size;
    plan.audio.push_back(f);
  }
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

std::vector<FrameRef> FramesForPicture(const BackupFile& file, int slot,
                                       const std::function<bool(const FrameRef&)>& isTarget) {
  std::vector<FrameRef> frames;
  if (!HasVideo(file, slot)) return frames;
  RunWalker walk = WalkRun(file, slot, false);
  FrameRef f;
  while (walk.Next(f) && f.h.f_type <= 1) {
    if (f.h.f_type == 1) frames.clear();
    frames.push_back(f);
    if (isTarget(f)) return frames.front().h.f_type == 1 ? frames : std::vector<FrameRef>{};
  }
  return {};
}

PlanStatus PlanClip(const BackupFile& file, int slot, int32_t from, int32_t to, ClipPlan& out) {
  out = ClipPlan{};
  out.slot = slot;
  // A slot outside the header names no camera (and must not be read there).
  if (slot >= 0 && slot < kSlots) out.camera = file.Recording().m_Header.video[size_t(slot)].name;
  if (!HasVideo(file, slot)) return PlanStatus::NoVideo;
  if (from >= to) return PlanStatus::OutsideRange;

  RunWalker walk = WalkRun(file, slot, false);
  std::vector<FrameRef> sinceKey;  // frames from the last key frame before the range
  bool inRange = false;
  FrameRef f;
  while (walk.Next(f)) {
    if (f.h.f_type > 1) break;  // not a video frame header: the run is damaged from here
    if (!inRange) {
      if (f.h.f_type == 1) sinceKey.clear();
      sinceKey.push_back(f);
      if (f.h.f_time < from) continue;
      inRange = true;
      // Without a key frame before it the clip starts at the next key frame.
      if (sinceKey.front().h.f_type != 1) {
        sinceKey.clear();
        inRange = false;
        continue;
      }
      if (f.h.f_time >= to) break;
      out.video = std::move(sinceKey);
      continue;
    }
    if (f.h.f_time >= to) break;
    out.video.push_back(f);
  }
  if (out.video.empty()) return PlanStatus::OutsideRange;

  // The clip's clock is the recording's millisecond clock, kept rising for the muxer.
  const uint32_t base = out.video.front().h.f_msec;
  int64_t last = -1;
  for (size_t i = 0; i < out.video.size(); ++i) {
    FrameRef& v = out.video[i];
    const int64_t pts = std::max<int64_t>(int64_t(v.h.f_msec) - int64_t(base), last + 1);
    if (i > 0 && pts - last > 2000)
      out.gaps.push_back({out.video[i - 1].h.f_time, v.h.f_time, pts - last});
    v.ptsMs = last = pts;
    out.payloadBytes += v.h.f_size;
  }
  out.lastDurationMs =
      out.video.size() > 1
          ? std::clamp<int64_t>(out.video.back().ptsMs - out.video[out.video.size() - 2].ptsMs, 1,
                                1000)
          : 40;
  PlanAudio(file, slot, out);
  return PlanStatus::Ok;
}

}  // namespace ov::exporter
