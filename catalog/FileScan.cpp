#include "catalog/FileScan.h"

#include <algorithm>
#include <ctime>
#include <memory>

#include "activity/Activity.h"
#include "archive/BackupFile.h"
#include "archive/FrameWalk.h"
#include "archive/RecorderIdentity.h"
#include "export/Sha256.h"

namespace ov::catalog {
namespace {

// Range and gaps of one channel's video from its frame headers, under the player's walk rules.
void WalkChannel(const OpenRecording& rec, IFileSource& source, int slot, ChannelEntry& ch) {
  FrameWalker walk(source, rec.VideoRunStart(slot), rec.VideoRunEnd(slot));
  std::optional<int64_t> prev;
  for (;;) {
    const WalkStep st = walk.Next();
    if (st.kind == WalkStep::Kind::End) break;
    if (st.kind != WalkStep::Kind::Frame) continue;
    // A damaged time would stretch the range over years: only plausible frames count.
    if (!IsPlausibleFrame(st.h, rec.m_RefDate)) continue;
    const int64_t t = st.h.f_time;
    if (!ch.first || t < *ch.first) ch.first = t;
    if (!ch.last || t > *ch.last) ch.last = t;
    if (prev && t > *prev + kGapSeconds && ch.gaps.size() < kMaxGapsPerChannel)
      ch.gaps.push_back({*prev + 1, t - 1});
    if (!prev || t > *prev) prev = t;
  }
}

void Analyse(const BackupFile& file, const std::string& path, FileEntry& e) {
  ActivityJob::Options o;
  o.filePath = path;  // no cache folder: the catalog is the only thing written
  ActivityJob job(file.SharedRecording(), file.ScanReader(), o);
  job.Start();
  job.Wait();
  const ActivitySnapshot snap = job.Snapshot();
  if (!snap.complete) return;
  const int64_t start = file.Recording().m_Index.m_StartInfo[0].f_time;
  for (const ChannelActivity& ch : snap.channels)
    for (const ActivityEvent& ev : ch.events)
      e.events.push_back({ch.slot, start + ev.fromSecond, start + ev.toSecond, ev.peak});
  e.activity = true;
}

}  // namespace

FileEntry ScanFile(const std::string& path, const ScanOptions& options) {
  FileEntry e;
  e.path = path;
  e.scannedAt = int64_t(std::time(nullptr));
  if (const auto id = IdentityOfPath(path)) {
    e.size = id->size;
    e.inode = id->inode;
    e.device = id->device;
    e.mtimeNs = id->mtimeNs;
  }
  const PreOpenResult pre = CheckBeforeOpen(path);
  if (pre.status == PreOpenStatus::Ignored) {
    e.status = "ignored";
    e.message = IgnoredReason(path, pre);
    return e;
  }
  if (options.knownSha256) {
    e.sha256 = options.knownSha256;
  } else if (options.hash) {
    // The evidence's digest matters for damaged files as much as for good ones.
    if (auto src = PosixFile::Open(path)) e.sha256 = exporter::SourceSha256(*src, src->Size());
  }
  if (pre.status == PreOpenStatus::TooShort) {
    e.status = "rejected";
    e.code = "C1001";
    e.message = kMsgC1001;
    return e;
  }
  BackupFile file;
  const OpenOutcome o = file.ReadBackupHeader(path);
  if (!o.accepted) {
    if (o.code == 0) {
      // Gone or unreadable between the listing and the open.
      e.status = "ignored";
      e.message = o.refusal.empty() ? std::string("not opened") : o.refusal;
    } else {
      e.status = "rejected";
      e.code = "C" + std::to_string(o.code);
      e.message = o.message;
    }
    return e;
  }
  e.status = "accepted";
  const OpenRecording& rec = file.Recording();
  const YskHeader& h = rec.m_Header;
  e.kind = h.kind;
  e.channelCount = h.channelCount;
  e.videoCoding = h.videoCoding;
  e.layout = RecorderIdentity(h);
  IFileSource* source = file.ScanReader().Source();
  for (int n = 0; n < kSlots; ++n) {
    const bool video = rec.m_HasVideo[size_t(n)] != 0, sound = rec.m_HasAudio[size_t(n)] != 0;
    if (!video && !sound) continue;
    ChannelEntry ch;
    ch.slot = n;
    ch.name = h.video[size_t(n)].name;
    ch.video = video;
    ch.sound = sound;
    if (video) {
      ch.coding = h.videoCoding;
      if (source) WalkChannel(rec, *source, n, ch);
    }
    if (ch.first && (!e.start || *ch.first < *e.start)) e.start = ch.first;
    if (ch.last && (!e.end || *ch.last > *e.end)) e.end = ch.last;
    e.channels.push_back(std::move(ch));
  }
  if (options.activity) Analyse(file, path, e);
  return e;
}

}  // namespace ov::catalog
