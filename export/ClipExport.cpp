#include "export/ClipExport.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <stdexcept>
#include <system_error>
#include <thread>

#include "archive/BackupFile.h"
#include "export/ClipNames.h"
#include "export/HashCache.h"
#include "export/OutputFolder.h"
#include "export/Sha256.h"

namespace ov::exporter {
namespace fs = std::filesystem;
namespace {

struct Failure : std::runtime_error {
  using std::runtime_error::runtime_error;
};
struct Cancelled {};

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

// What changed at the path between two looks, in words; empty when nothing did.
std::string Change(const FileIdentity& opened, const std::optional<FileIdentity>& now,
                   const std::optional<FileIdentity>& atPath) {
  if (!atPath) return "the file is no longer at its path";
  if (!atPath->SameFile(opened)) return "another file now has its path (it was replaced)";
  if (!now || now->size != opened.size || now->mtimeNs != opened.mtimeNs)
    return "the file was written to (its size or modification time changed)";
  return "";
}

class Exporter {
 public:
  Exporter(const ExportRequest& r, const ProgressFn& progress, const std::atomic<bool>& cancel)
      : m_req(r), m_progress(progress), m_cancel(cancel) {}

  ExportOutcome Run() {
    ExportOutcome out;
    try {
      Open();
      OutputFolder folder(m_req.outDir);
      Plan(folder);
      // The source is hashed while the clips are written (or not at all when its digest is
      // remembered): the export's time follows the clip, not the size of the recording.
      SourceHash hash(*this);
      std::vector<size_t> files;
      for (size_t i = 0; i < m_plans.size(); ++i) files.push_back(WriteClip(folder, i));
      const std::string digest = hash.Result();
      const std::string changed =
          m_req.set ? SetChange()
                    : Change(m_opened, m_source->Identity(), IdentityOfPath(m_req.source));
      if (m_cancel.load()) throw Cancelled{};
      if (changed.empty() && !hash.FromCache() && !m_req.set)
        RememberSha256(m_req.hashCache, m_opened, digest);

      // The commit: the report is locked first, so a report that cannot be written stops the
      // export before any name is taken; then the clips, the checksums and the report record.
      const std::string reportName = "export-report.txt";
      folder.LockReport(reportName, &m_cancel);
      for (size_t i = 0; i < files.size(); ++i)
        m_clips[i].fileName = folder.Claim(files[i], m_clips[i].fileName);
      const std::string sourcePath = std::filesystem::absolute(m_req.source).string();
      std::string sums;
      if (m_req.set) {
        for (size_t i = 0; i < m_members.size(); ++i)
          sums += ChecksumLine(hash.MemberDigest(i), m_members[i].path);
      } else {
        sums = ChecksumLine(digest, sourcePath);
      }
      for (const auto& c : m_clips) sums += ChecksumLine(c.sha256, c.fileName);
      const size_t sumsFile = folder.Create();
      WriteAll(folder.Fd(sumsFile), sums, folder.Path());
      folder.Flush(sumsFile);
      m_checksumName = folder.Claim(sumsFile, m_checksumName);
      SourceReport source;
      source.path = sourcePath;
      // A set's first file stands at the head; every file follows in the set's list.
      source.size = m_req.set ? m_members.front().size : m_size;
      source.sha256 = digest;
      source.changed = changed;
      source.channelCount = m_file.Recording().m_Header.channelCount;
      source.checksumName = m_checksumName;
      for (size_t i = 0; i < m_members.size(); ++i)
        source.setFiles.push_back({m_members[i].path, m_members[i].size, hash.MemberDigest(i)});
      folder.AppendReport(ReportText(source, m_clips));
      folder.Commit();

      out.ok = true;
      out.clips = m_clips;
      out.sourceChanged = changed;
      out.checksumPath = (std::filesystem::path(folder.Path()) / m_checksumName).string();
      out.reportPath = (std::filesystem::path(folder.Path()) / reportName).string();
    } catch (const Failure& e) {
      out.error = e.what();
    } catch (const Cancelled&) {
      out.cancelled = true;
      out.error = "cancelled; nothing was written";
    } catch (const std::exception& e) {
      out.cancelled = m_cancel.load();
      out.error = out.cancelled ? "cancelled; nothing was written" : e.what();
    }
    return out;
  }

 private:
  // Both descriptors (playback's and the scans') must name one file: the path may be swapped
  // between the two opens.
  // A set: every member is known by its identity at the open, and the set read as one file.
  void OpenSet() {
    const OpenOutcome o = m_file.ReadRecordingSet(*m_req.set);
    if (!o.accepted)
      throw Failure("cannot open the recording set: " +
                    (o.message.empty() ? o.refusal : o.message));
    for (const SetMember& m : m_req.set->members) {
      const auto id = IdentityOfPath(m.path);
      if (!id) throw Failure("cannot open " + m.path);
      m_members.push_back({std::filesystem::absolute(m.path).string(), m.size, *id});
      m_size += m.size;
    }
    m_opened = m_members.front().identity;
  }

  // What changed at the paths of a set's files, in words; empty when nothing did.
  std::string SetChange() const {
    std::string text;
    for (const Member& m : m_members) {
      const auto now = IdentityOfPath(m.path);
      const std::string c = Change(m.identity, now, now);
      if (!c.empty()) text += (text.empty() ? "" : "; ") + m.path + ": " + c;
    }
    return text;
  }

  void Open() {
    if (m_req.set) return OpenSet();
    OpenRefusal why = OpenRefusal::None;
    auto play = std::shared_ptr<PosixFile>(PosixFile::Open(m_req.source, &why));
    auto scan = PosixFile::Open(m_req.source, &why);
    if (!play || !scan) throw Failure("cannot open " + m_req.source + ": " + RefusalText(why));
    const auto a = play->Identity(), b = scan->Identity();
    if (!a || !b || !a->SameFile(*b))
      throw Failure("cannot open " + m_req.source + ": it was replaced while it was opened");
    m_opened = *a;
    m_size = play->Size();
    m_source = play;
    // The file keeps its own reference; the exporter keeps one to ask for its identity.
    struct Shared final : IFileSource {
      explicit Shared(std::shared_ptr<PosixFile> f) : file(std::move(f)) {}
      uint64_t Size() const override { return file->Size(); }
      size_t ReadAt(uint64_t o, void* b, size_t n) override { return file->ReadAt(o, b, n); }
      std::shared_ptr<PosixFile> file;
    };
    const OpenOutcome o = m_file.ReadBackupHeader(std::make_unique<Shared>(play), std::move(scan));
    if (!o.accepted)
      throw Failure("cannot open " + m_req.source + (o.message.empty() ? "" : ": " + o.message));
  }

  void Plan(const OutputFolder& folder) {
    const int32_t first = m_file.Recording().m_Index.m_StartInfo[0].f_time;
    const int32_t last = m_file.Recording().m_Index.m_EndInfo[0].f_time;
    std::string fromWhy, toWhy;
    const auto from = ParseTimeArg(m_req.from, first, &fromWhy);
    const auto to = ParseTimeArg(m_req.to, first, &toWhy);
    if (!from) throw Failure("start " + fromWhy);
    if (!to) throw Failure("end " + toWhy);
    if (*from >= *to) throw Failure("the end of the range must lie after its start");

    std::set<std::string> taken;
    uint64_t budget = kMaxPlannedFrames;
    const PlanLimits limits{&m_cancel, &budget};
    for (int slot : ChosenSlots(m_req, m_file)) {
      ClipPlan plan;
      switch (PlanClip(m_file, slot, *from, *to, plan, limits)) {
        case PlanStatus::Ok:
          break;
        case PlanStatus::Cancelled:
          throw Cancelled{};
        case PlanStatus::TooManyFrames:
          throw Failure("the range holds more than " + std::to_string(kMaxPlannedFrames) +
                        " frames; export a shorter range or fewer channels");
        default:
          throw Failure("channel " + std::to_string(slot + 1) + " has no frames from " +
                        DisplayStamp(*from) + " to " + DisplayStamp(*to) + " (the recording runs " +
                        DisplayStamp(first) + " to " + DisplayStamp(last) + ")");
      }
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
    // An earlier export's files are never replaced, and a second export of the same range is
    // refused rather than numbered: the folder keeps one copy of a piece of evidence.
    m_checksumName = std::filesystem::path(m_clips.front().fileName).stem().string() + ".sha256";
    for (const auto& c : m_clips)
      if (!folder.IsFree(c.fileName))
        throw Failure(folder.Path() + "/" + c.fileName + " exists already; it is left as it is");
    if (!folder.IsFree(m_checksumName))
      throw Failure(folder.Path() + "/" + m_checksumName + " exists already; it is left as it is");
    m_total += m_size;  // the source is hashed too
  }

  void Tick(size_t clip, uint64_t bytes) {
    if (m_cancel.load(std::memory_order_relaxed)) throw Cancelled{};
    m_done += bytes;
    if (m_progress)
      m_progress({int(clip), int(m_plans.size()), clip < m_clips.size() ? m_clips[clip].camera : "",
                  std::min(m_total, m_done + m_hashed.load(std::memory_order_relaxed)), m_total});
  }

  std::span<const uint8_t> Payload(const FrameRef& f) {
    m_buffer.resize(f.h.f_size);
    if (m_file.PlayReader().Bytes(f.offset + kYskFrameHeaderSize, m_buffer.data(), f.h.f_size) !=
        f.h.f_size)
      throw Failure("cannot read " + m_req.source);
    return m_buffer;
  }

  static void WriteAll(int fd, const std::string& text, const std::string& dir) {
    size_t done = 0;
    while (done < text.size()) {
      const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) throw Failure("cannot write in " + dir);
      done += size_t(n);
    }
  }

  size_t WriteClip(OutputFolder& folder, size_t i) {
    const ClipPlan& plan = m_plans[i];
    ClipStreams s;
    s.videoCoding = m_file.Recording().m_Header.videoCoding;
    Payload(plan.video.front());
    const std::vector<uint8_t> key = m_buffer;
    s.firstKeyFrame = key;
    s.withSound = !plan.audio.empty();
    s.sound = m_req.sound;
    s.title = plan.camera;
    s.comment = std::filesystem::path(m_req.source).filename().string();
    s.creationTime = IsoStamp(plan.video.front().h.f_time);
    s.durationMs = plan.DurationMs();
    const size_t file = folder.Create();
    ClipMuxer mux(folder.Fd(file), m_clips[i].fileName, m_req.format, s);
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
        mux.WriteVideo(bytes, f.ptsMs, dur, f.IsKey());
      }
      sinceTick += f.h.f_size;
      if (sinceTick >= (64u << 10) || (vi == plan.video.size() && ai == plan.audio.size())) {
        Tick(i, sinceTick);
        sinceTick = 0;
      }
    }
    mux.Finish();
    m_clips[i].soundSeconds = mux.SoundSeconds();
    // The digest of the bytes written, read back through the same descriptor.
    const auto digest = DescriptorSha256(folder.Fd(file), &m_cancel);
    if (m_cancel.load()) throw Cancelled{};
    if (!digest) throw Failure("cannot read back the clip written in " + folder.Path());
    m_clips[i].sha256 = *digest;
    folder.Flush(file);
    return file;
  }

  // The whole source's digest: remembered, or read on a thread of its own beside the clips'
  // writing (on the caller's thread when no thread can be started). Joined on every way out.
  class SourceHash {
   public:
    explicit SourceHash(Exporter& e) : m_e(e) {
      auto known = e.m_req.set ? std::nullopt : CachedSha256(e.m_req.hashCache, e.m_opened);
      if (known) {
        m_digest = std::move(known);
        m_fromCache = true;
        e.m_total -= e.m_size;
        return;
      }
      if (!e.m_req.set && e.m_req.ahead) {
        m_ahead = e.m_req.ahead;
        return;
      }
      try {
        m_thread = std::thread([this] { Hash(); });
      } catch (const std::system_error&) {
        m_inline = true;
      }
    }
    ~SourceHash() {
      m_stop.store(true);
      if (m_thread.joinable()) m_thread.join();
    }
    SourceHash(const SourceHash&) = delete;
    SourceHash& operator=(const SourceHash&) = delete;

    bool FromCache() const { return m_fromCache; }
    // The digest of file i of a set (after Result).
    std::string MemberDigest(size_t i) const { return m_members.at(i); }

    // Caller's thread, after the clips: waits for the digest, reporting its progress.
    std::string Result() {
      if (m_ahead) {
        auto digest = m_ahead->DigestFor(m_e.m_opened, m_e.m_cancel, [this](uint64_t bytes) {
          m_e.m_hashed.store(bytes, std::memory_order_relaxed);
          m_e.Tick(m_e.m_plans.size() - 1, 0);  // progress; throws Cancelled on a cancel
        });
        if (m_e.m_cancel.load()) throw Cancelled{};
        if (digest) {
          m_fromCache = true;  // remembered by the hash ahead already
          return *digest;
        }
        // Taken of another file (the path was replaced or written to since): read it now.
        m_e.m_hashed.store(0);
        m_inline = true;
      }
      if (m_inline) Hash();
      std::unique_lock lock(m_mutex);
      while (!m_done && !m_fromCache) {
        m_doneCv.wait_for(lock, std::chrono::milliseconds(100));
        lock.unlock();
        m_e.Tick(m_e.m_plans.size() - 1, 0);  // progress; throws Cancelled on a cancel
        lock.lock();
      }
      lock.unlock();
      if (m_e.m_cancel.load()) throw Cancelled{};
      if (!m_digest) throw Failure("cannot read " + m_e.m_req.source + " to its end");
      return *m_digest;
    }

   private:
    void Hash() {
      const auto onBytes = [this](uint64_t n) {
        m_e.m_hashed.fetch_add(n, std::memory_order_relaxed);
        if (m_e.m_cancel.load(std::memory_order_relaxed)) m_stop.store(true);
      };
      std::optional<std::string> digest;
      if (m_e.m_req.set) {
        // Each file of the set on its own, as a check of that file reads it.
        std::vector<std::string> members;
        for (const Member& m : m_e.m_members) {
          auto file = PosixFile::Open(m.path);
          auto one = file ? SourceSha256(*file, m.size, &m_stop, onBytes) : std::nullopt;
          if (!one) break;
          members.push_back(*one);
        }
        if (members.size() == m_e.m_members.size()) digest = members.front();
        std::lock_guard lock(m_mutex);
        m_members = std::move(members);
      } else {
        digest = SourceSha256(*m_e.m_source, m_e.m_size, &m_stop, onBytes);
      }
      std::lock_guard lock(m_mutex);
      m_digest = std::move(digest);
      m_done = true;
      m_doneCv.notify_all();
    }

    Exporter& m_e;
    std::atomic<bool> m_stop{false};  // a cancel, or the export failed
    std::mutex m_mutex;
    std::condition_variable m_doneCv;
    bool m_done = false;
    std::optional<std::string> m_digest;
    std::vector<std::string> m_members;  // a set's digests, file by file
    bool m_fromCache = false;
    bool m_inline = false;
    std::shared_ptr<DigestAhead> m_ahead;
    std::thread m_thread;  // last: starts after everything above exists
  };

  const ExportRequest& m_req;
  const ProgressFn& m_progress;
  const std::atomic<bool>& m_cancel;
  BackupFile m_file;
  std::shared_ptr<PosixFile> m_source;  // the descriptor the clips are cut from (one file)
  struct Member {
    std::string path;  // absolute
    uint64_t size = 0;
    FileIdentity identity;
  };
  std::vector<Member> m_members;  // a set's files, in time order
  FileIdentity m_opened;
  uint64_t m_size = 0;
  std::vector<ClipPlan> m_plans;
  std::vector<ClipReport> m_clips;
  std::string m_checksumName;
  std::vector<uint8_t> m_buffer;
  uint64_t m_done = 0, m_total = 0;
  std::atomic<uint64_t> m_hashed{0};  // bytes of the source hashed so far (the hash's thread)
};

}  // namespace

ExportOutcome RunExport(const ExportRequest& request, const ProgressFn& progress,
                        const std::atomic<bool>& cancel) {
  return Exporter(request, progress, cancel).Run();
}

}  // namespace ov::exporter
