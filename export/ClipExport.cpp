#include "export/ClipExport.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <stdexcept>

#include "archive/BackupFile.h"
#include "export/ClipNames.h"
#include "export/Sha256.h"

namespace ov::exporter {
namespace fs = std::filesystem;
namespace {

struct Failure : std::runtime_error {
  using std::runtime_error::runtime_error;
};
struct Cancelled {};

// Files written under temporary names; whatever is not committed is removed on the way out.
class PendingFiles {
 public:
  explicit PendingFiles(fs::path dir) : m_dir(std::move(dir)) {}
  ~PendingFiles() {
    std::error_code ec;
    for (const auto& [tmp, final] : m_files) fs::remove(tmp, ec);
  }
  PendingFiles(const PendingFiles&) = delete;
  PendingFiles& operator=(const PendingFiles&) = delete;

  fs::path Add(const std::string& finalName) {
    fs::path tmp = m_dir / ("." + finalName + "." + std::to_string(::getpid()) + ".part");
    m_files.emplace_back(tmp, m_dir / finalName);
    return tmp;
  }
  void CommitAll() {
    for (const auto& [tmp, final] : m_files) {
      std::error_code ec;
      fs::rename(tmp, final, ec);
      if (ec)
        throw Failure("cannot rename " + tmp.string() + " to " + final.string() + ": " +
                      ec.message());
    }
    m_files.clear();
  }

 private:
  fs::path m_dir;
  std::vector<std::pair<fs::path, fs::path>> m_files;
};

void WriteText(const fs::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  out.close();
  if (!out) throw Failure("cannot write " + path.string());
}

std::vector<int> ChosenSlots(const ExportRequest& r, const BackupFile& file) {
  std::vector<int> slots;
  if (r.all) {
    for (int n = 0; n < kSlots; ++n)
      if (file.Recording().m_Header.video[size_t(n)].HasData()) slots.push_back(n);
    if (slots.empty()) throw Failure("the file holds no video");
    return slots;
  }
  if (r.channels.empty()) throw Failure("choose channels with --channel N or --all");
  std::set<int> seen;
  for (int c : r.channels) {
    if (c < 1 || c > kSlots) throw Failure("channel " + std::to_string(c) + " is not 1..16");
    if (!file.Recording().m_Header.video[size_t(c - 1)].HasData())
      throw Failure("channel " + std::to_string(c) + " has no video in this file");
    if (seen.insert(c).second) slots.push_back(c - 1);
  }
  return slots;
}

std::string ClipName(const ClipPlan& plan, const char* ext, std::set<std::string>& taken) {
  const std::string camera = SafeFileName(plan.camera, "Camera " + std::to_string(plan.slot + 1));
  std::string base = camera + "_" + CompactStamp(plan.video.front().h.f_time);
  if (taken.count(base)) base += "_ch" + std::to_string(plan.slot + 1);
  taken.insert(base);
  return base + "." + ext;
}

class Exporter {
 public:
  Exporter(const ExportRequest& r, const ProgressFn& progress, const std::atomic<bool>& cancel)
      : m_req(r), m_progress(progress), m_cancel(cancel) {}

  ExportOutcome Run() {
    ExportOutcome out;
    try {
      Prepare();
      PendingFiles pending(m_dir);
      for (size_t i = 0; i < m_plans.size(); ++i) WriteClip(i, pending.Add(m_clips[i].fileName));
      HashAndReport(pending, out);
      if (m_cancel.load()) throw Cancelled{};
      pending.CommitAll();
      out.ok = true;
      out.clips = m_clips;
    } catch (const Failure& e) {
      out.error = e.what();
    } catch (const Cancelled&) {
      out.cancelled = true;
      out.error = "cancelled; nothing was written";
    } catch (const std::exception& e) {
      out.error = e.what();
    }
    return out;
  }

 private:
  void Prepare() {
    const OpenOutcome o = m_file.ReadBackupHeader(m_req.source);
    if (!o.accepted) {
      throw Failure("cannot open " + m_req.source + (o.message.empty() ? "" : ": " + o.message));
    }
    const int32_t first = m_file.Recording().m_Index.m_StartInfo[0].f_time;
    const int32_t last = m_file.Recording().m_Index.m_EndInfo[0].f_time;
    std::string fromWhy, toWhy;
    const auto from = ParseTimeArg(m_req.from, first, &fromWhy);
    const auto to = ParseTimeArg(m_req.to, first, &toWhy);
    if (!from) throw Failure("start " + fromWhy);
    if (!to) throw Failure("end " + toWhy);
    if (*from >= *to) throw Failure("the end of the range must lie after its start");
    m_dir = fs::path(m_req.outDir.empty() ? "." : m_req.outDir);
    std::error_code ec;
    if (!fs::is_directory(m_dir, ec)) throw Failure("no such folder: " + m_dir.string());
    if (::access(m_dir.c_str(), W_OK) != 0) throw Failure("cannot write in " + m_dir.string());

    std::set<std::string> taken;
    for (int slot : ChosenSlots(m_req, m_file)) {
      ClipPlan plan;
      if (PlanClip(m_file, slot, *from, *to, plan) != PlanStatus::Ok)
        throw Failure("channel " + std::to_string(slot + 1) + " has no frames from " +
                      DisplayStamp(*from) + " to " + DisplayStamp(*to) + " (the recording runs " +
                      DisplayStamp(first) + " to " + DisplayStamp(last) + ")");
      ClipReport c;
      c.fileName = ClipName(plan, Extension(m_req.format), taken);
      c.camera = plan.camera;
      c.channel = slot + 1;
      c.firstSecond = plan.video.front().h.f_time;
      c.lastSecond = plan.video.back().h.f_time;
      c.frames = plan.video.size();
      c.withSound = !plan.audio.empty();
      c.durationMs = plan.DurationMs();
      c.gaps = plan.gaps;
      m_total += plan.payloadBytes;
      m_clips.push_back(std::move(c));
      m_plans.push_back(std::move(plan));
    }
    m_checksumName = fs::path(m_clips.front().fileName).stem().string() + ".sha256";
    for (const auto& c : m_clips)
      if (fs::exists(m_dir / c.fileName, ec))
        throw Failure((m_dir / c.fileName).string() + " exists already; it is left as it is");
    if (fs::exists(m_dir / m_checksumName, ec))
      throw Failure((m_dir / m_checksumName).string() + " exists already; it is left as it is");
    m_total += m_file.PlayReader().Size();  // the source is hashed too
  }

  void Tick(size_t clip, uint64_t bytes) {
    if (m_cancel.load(std::memory_order_relaxed)) throw Cancelled{};
    m_done += bytes;
    if (m_progress)
      m_progress({int(clip), int(m_plans.size()), clip < m_clips.size() ? m_clips[clip].camera : "",
                  m_done, m_total});
  }

  std::span<const uint8_t> Payload(const FrameRef& f) {
    m_buffer.resize(f.h.f_size);
    if (m_file.PlayReader().Bytes(f.offset + kYskFrameHeaderSize, m_buffer.data(), f.h.f_size) !=
        f.h.f_size)
      throw Failure("cannot read " + m_req.source);
    return m_buffer;
  }

  void WriteClip(size_t i, const fs::path& tmp) {
    const ClipPlan& plan = m_plans[i];
    ClipStreams s;
    s.videoCoding = m_file.Recording().m_Header.videoCoding;
    Payload(plan.video.front());
    const std::vector<uint8_t> key = m_buffer;
    s.firstKeyFrame = key;
    s.withSound = !plan.audio.empty();
    s.sound = m_req.sound;
    s.title = plan.camera;
    s.comment = fs::path(m_req.source).filename().string();
    s.creationTime = IsoStamp(plan.video.front().h.f_time);
    ClipMuxer mux(tmp.string(), m_req.format, s);
    size_t vi = 0, ai = 0;
    uint64_t sinceTick = 0;
    while (vi < plan.video.size() || ai < plan.audio.size()) {
      const bool sound = ai < plan.audio.size() &&
                         (vi == plan.video.size() || plan.audio[ai].ptsMs < plan.video[vi].ptsMs);
      const FrameRef& f = sound ? plan.audio[ai++] : plan.video[vi++];
      const auto bytes = Payload(f);
      if (sound) {
        mux.WriteSound(bytes, f.ptsMs);
      } else {
        const int64_t dur =
            vi < plan.video.size() ? plan.video[vi].ptsMs - f.ptsMs : plan.lastDurationMs;
        mux.WriteVideo(bytes, f.ptsMs, dur, f.h.f_type == 1);
      }
      sinceTick += f.h.f_size;
      if (sinceTick >= (64u << 10) || (vi == plan.video.size() && ai == plan.audio.size())) {
        Tick(i, sinceTick);
        sinceTick = 0;
      }
    }
    mux.Finish();
    m_clips[i].soundSeconds = mux.SoundSeconds();
    const auto digest = FileSha256(tmp.string(), &m_cancel);
    if (m_cancel.load()) throw Cancelled{};
    if (!digest) throw Failure("cannot read back " + tmp.string());
    m_clips[i].sha256 = *digest;
  }

  void HashAndReport(PendingFiles& pending, ExportOutcome& out) {
    const fs::path source = fs::absolute(m_req.source);
    const auto digest = FileSha256(m_req.source, &m_cancel);
    if (m_cancel.load()) throw Cancelled{};
    if (!digest) throw Failure("cannot read " + m_req.source);
    Tick(m_plans.size() - 1, m_file.PlayReader().Size());

    std::string sums = ChecksumLine(*digest, source.string());
    for (const auto& c : m_clips) sums += ChecksumLine(c.sha256, c.fileName);
    WriteText(pending.Add(m_checksumName), sums);
    out.checksumPath = (m_dir / m_checksumName).string();

    // An earlier export's report in the same folder is kept; this one follows it.
    std::string report;
    const fs::path reportPath = m_dir / "export-report.txt";
    std::error_code ec;
    if (fs::exists(reportPath, ec)) {
      std::ifstream old(reportPath, std::ios::binary);
      std::ostringstream text;
      text << old.rdbuf();
      if (!old) throw Failure("cannot read " + reportPath.string());
      report = text.str() + "\n";
    }
    report += ReportText(source, *digest);
    WriteText(pending.Add("export-report.txt"), report);
    out.reportPath = reportPath.string();
  }

  std::string ReportText(const fs::path& source, const std::string& digest) const {
    std::ostringstream r;
    r << "Export report\n"
      << "Source: " << source.string() << "\n"
      << "Size: " << m_file.PlayReader().Size() << " bytes\n"
      << "SHA-256: " << digest << "\n"
      << "Recorder channels: " << int(m_file.Recording().m_Header.channelCount) << "\n"
      << "Checksums: " << m_checksumName << "\n";
    char line[128];
    for (const auto& c : m_clips) {
      r << "\nClip: " << c.fileName << "\n"
        << "  Camera: " << c.camera << " (channel " << c.channel << ")\n"
        << "  First frame: " << DisplayStamp(c.firstSecond) << "\n"
        << "  Last frame: " << DisplayStamp(c.lastSecond) << "\n"
        << "  Video frames: " << c.frames << "\n";
      std::snprintf(line, sizeof line, "  Length: %.3f s\n  Sound: %.3f s\n",
                    double(c.durationMs) / 1000.0, c.soundSeconds);
      r << line << "  Gaps over 2 s:" << (c.gaps.empty() ? " none" : "") << "\n";
      for (const Gap& g : c.gaps) {
        std::snprintf(line, sizeof line, "    %s to %s (%.3f s)\n",
                      DisplayStamp(g.fromSecond).c_str(), DisplayStamp(g.toSecond).c_str(),
                      double(g.lengthMs) / 1000.0);
        r << line;
      }
      r << "  SHA-256: " << c.sha256 << "\n";
    }
    return r.str();
  }

  const ExportRequest& m_req;
  const ProgressFn& m_progress;
  const std::atomic<bool>& m_cancel;
  BackupFile m_file;
  fs::path m_dir;
  std::vector<ClipPlan> m_plans;
  std::vector<ClipReport> m_clips;
  std::string m_checksumName;
  std::vector<uint8_t> m_buffer;
  uint64_t m_done = 0, m_total = 0;
};

}  // namespace

ExportOutcome RunExport(const ExportRequest& request, const ProgressFn& progress,
                        const std::atomic<bool>& cancel) {
  return Exporter(request, progress, cancel).Run();
}

}  // namespace ov::exporter
