// libFuzzer target: plan clips of an in-memory backup file as an export does, and write their
// report. Input: 4 bytes (first second from the start, s16; length in seconds; flags: slot in the
// low 4 bits, bit 4 every slot), then the file.
//
// Besides faults, it stops on a plan that breaks what the writer relies on: video times that do
// not rise, sound outside the clip, frames the walk should have passed, and a report with more
// records than clips (a name that forged one).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "archive/BackupFile.h"
#include "export/ClipPlan.h"
#include "export/ExportReport.h"

namespace {

using namespace ov;
using namespace ov::exporter;

void Check(bool ok) {
  if (!ok) std::abort();
}

size_t Count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

void CheckPlan(const ClipPlan& plan) {
  Check(!plan.video.empty() && plan.video.front().IsKey());
  for (size_t i = 1; i < plan.video.size(); ++i)
    Check(plan.video[i].ptsMs > plan.video[i - 1].ptsMs);
  for (const FrameRef& a : plan.audio) Check(a.ptsMs >= 0 && a.ptsMs < plan.DurationMs());
  for (const FrameRef& f : plan.video) Check(f.h.f_size > 0 && f.h.f_size <= kMaxFrameBytes);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4 + kYskHeaderSize + 1) return 0;
  const int16_t first = int16_t(uint16_t(data[0] | data[1] << 8));
  const int length = data[2] + 1;
  const uint8_t flags = data[3];
  auto bytes = std::make_shared<const std::vector<uint8_t>>(data + 4, data + size);
  BackupFile file;
  const OpenOutcome o = file.ReadBackupHeader(std::make_unique<MemoryFile>(bytes),
                                              std::make_unique<MemoryFile>(bytes));
  if (!o.accepted) return 0;
  const int32_t start = file.Recording().m_Index.m_StartInfo[0].f_time;
  const int32_t from = AddSeconds(start, first);
  const int32_t to = AddSeconds(from, length);
  uint64_t budget = 1u << 16;  // a smaller budget than an export's, to reach its end often
  std::vector<ClipReport> clips;
  for (int slot = 0; slot < kSlots; ++slot) {
    if (!(flags & 16) && slot != (flags & 15)) continue;
    ClipPlan plan;
    const PlanStatus s = PlanClip(file, slot, from, to, plan, {nullptr, &budget});
    if (s != PlanStatus::Ok) continue;
    CheckPlan(plan);
    ClipReport c;
    c.fileName = plan.camera + ".mp4";  // raw on purpose: the report must escape it
    c.camera = plan.camera;
    c.channel = slot + 1;
    c.frames = plan.video.size();
    c.durationMs = plan.DurationMs();
    c.gaps = plan.gaps;
    clips.push_back(c);
  }
  SourceReport source;
  source.path =
      std::string(reinterpret_cast<const char*>(data + 4), std::min<size_t>(size - 4, 64));
  const std::string report = ReportText(source, clips);
  Check(Count(report, "\nClip: ") == clips.size());
  Check(Count(report, "\n  SHA-256: ") == clips.size());
  Check(Count(report, "\nSHA-256: ") == 1);
  // The picture walk, to the first frame of the range.
  if (flags & 32)
    (void)FramesForPicture(file, flags & 15, [&](const FrameRef& f) { return f.h.f_time >= from; });
  return 0;
}
