#include "archive/RecordingSet.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <map>
#include <optional>
#include <system_error>

#include "archive/BackupFile.h"
#include "archive/FrameWalk.h"
#include "archive/HeaderReader.h"
#include "archive/RecorderIdentity.h"

namespace ov {
namespace {

namespace fs = std::filesystem;

// A folder of more entries than this is not read on: a set takes kMaxSetFiles files anyway, and
// probing tens of thousands of files would keep the user waiting for nothing.
constexpr size_t kMaxFolderEntries = 10000;

std::string BaseName(const std::string& path) { return fs::path(path).filename().string(); }

bool HasYskName(const fs::path& p) {
  std::string name = p.filename().string();
  std::transform(name.begin(), name.end(), name.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  return name.find(".ysk") != std::string::npos;
}

// The end of the last whole frame of a run, walking from `from` (the last key frame or sound frame
// the index found) within kResyncReach: a damaged tail is left out, so the next member's frames
// follow whole frames only. *last gets the header of the last frame walked (the index knows the
// last key frame only; the frames after it are the run's last moments).
uint64_t EndOfWholeFrames(IFileSource& file, uint64_t begin, uint64_t from, uint64_t runEnd,
                          std::optional<YskFrameHeader>* last = nullptr) {
  if (from < begin || from >= runEnd) from = begin;
  FrameWalker walk(file, from, runEnd);
  uint64_t end = from;
  for (;;) {
    const WalkStep s = walk.Next();
    if (s.kind == WalkStep::Kind::End || (s.kind == WalkStep::Kind::Skip && EndsRun(s.skip))) break;
    end = s.next;
    if (last && s.kind == WalkStep::Kind::Frame) *last = s.h;
    if (s.next - from > kResyncReach) break;
  }
  return end;
}

struct Probed {
  size_t order = 0;
  SetMember member;
  std::string identity;
  YskHeader header{};
  FileIdentity file{};
};

// Opens, checks and indexes one file; nothing with the reason when it cannot join any set.
std::optional<Probed> Probe(const std::string& path, std::string& reason) {
  const PreOpenResult pre = CheckBeforeOpen(path);
  if (pre.status == PreOpenStatus::Ignored) {
    reason = IgnoredReason(path, pre);
    return std::nullopt;
  }
  if (pre.status == PreOpenStatus::TooShort) {
    reason = kMsgC1001;
    return std::nullopt;
  }
  BackupFile file;
  const OpenOutcome out = file.ReadBackupHeader(path);
  if (!out.accepted) {
    reason =
        !out.message.empty() ? out.message : (!out.refusal.empty() ? out.refusal : "not opened");
    return std::nullopt;
  }
  const OpenRecording& rec = file.Recording();
  IFileSource& scan = *file.ScanReader().Source();
  Probed p;
  p.identity = RecorderIdentity(rec.m_Header);
  p.header = rec.m_Header;
  if (auto id = IdentityOfPath(path)) p.file = *id;
  SetMember& m = p.member;
  m.path = path;
  m.size = scan.Size();
  m.firstSecond = rec.m_Index.m_StartInfo[0].f_time;
  m.firstKey = rec.m_Index.m_StartInfo[0].f_msec;
  m.lastSecond = rec.m_Index.m_EndInfo[0].f_time;
  m.lastKey = rec.m_Index.m_EndInfo[0].f_msec;
  for (int n = 0; n < kSlots; ++n) {
    const size_t s = size_t(n);
    if (rec.m_HasVideo[s]) {
      const uint64_t b = rec.VideoRunStart(n), e = std::min(rec.VideoRunEnd(n), m.size);
      std::optional<YskFrameHeader> last;
      if (b < e) m.video[s] = {b, EndOfWholeFrames(scan, b, rec.m_VideoLast[s], e, &last)};
      // The set's frames end with the latest last frame of any channel.
      if (last && int32_t(last->f_msec - m.lastKey) > 0) {
        m.lastKey = last->f_msec;
        m.lastSecond = last->f_time;
      }
    }
    if (rec.m_HasAudio[s]) {
      const uint64_t b = rec.AudioRunStart(n), e = std::min(rec.AudioRunEnd(n), m.size);
      if (b < e) m.audio[s] = {b, EndOfWholeFrames(scan, b, rec.m_AudioLast[s], e)};
    }
  }
  return p;
}

uint64_t MemberBytes(const SetMember& m) {
  uint64_t n = 0;
  for (int s = 0; s < kSlots; ++s)
    n += (m.video[s].end - m.video[s].begin) + (m.audio[s].end - m.audio[s].begin);
  return n;
}

// Signed distance a - b of two running-clock values (the clock wraps in 32 bits).
int64_t KeyDiff(uint32_t a, uint32_t b) { return int64_t(int32_t(a - b)); }

std::string Describe(const YskHeader& h) {
  std::string text = std::to_string(int(h.channelCount)) + " channels";
  const size_t n = std::min<size_t>(h.channelCount, kSlots);
  for (size_t i = 0; i < n; ++i) text += (i ? ", " : ": ") + h.video[i].name;
  return text;
}

}  // namespace

std::vector<std::string> ExpandSetPaths(const std::vector<std::string>& paths,
                                        std::vector<SetMisfit>& misfits) {
  std::vector<std::string> files;
  for (const std::string& path : paths) {
    std::error_code ec;
    if (!fs::is_directory(path, ec)) {
      files.push_back(path);
      continue;
    }
    std::vector<std::string> found;
    fs::directory_iterator it(path, ec), end;
    size_t seen = 0;
    for (; !ec && it != end; it.increment(ec)) {
      if (++seen > kMaxFolderEntries) {
        misfits.push_back({path, "more than " + std::to_string(kMaxFolderEntries) +
                                     " entries: the rest of the folder was not read"});
        break;
      }
      std::error_code fileEc;
      if (it->is_regular_file(fileEc) && HasYskName(it->path()))
        found.push_back(it->path().string());
    }
    if (ec)
      misfits.push_back({path, "the folder cannot be read: " + ec.message()});
    else if (found.empty())
      misfits.push_back({path, "a folder without backup files (.ysk) directly in it"});
    std::sort(found.begin(), found.end());
    files.insert(files.end(), found.begin(), found.end());
  }
  return files;
}

RecordingSetPlan PlanRecordingSet(const std::vector<std::string>& paths) {
  RecordingSetPlan plan;
  std::vector<std::pair<size_t, SetMisfit>> misfits;
  std::vector<SetMisfit> folderMisfits;
  const std::vector<std::string> files = ExpandSetPaths(paths, folderMisfits);
  std::vector<Probed> probed;
  for (size_t i = 0; i < files.size(); ++i) {
    std::string reason;
    std::optional<Probed> p = Probe(files[i], reason);
    if (!p) {
      misfits.push_back({i, {files[i], reason}});
      continue;
    }
    const auto same = std::find_if(probed.begin(), probed.end(), [&](const Probed& q) {
      return q.file.inode != 0 && q.file.SameFile(p->file);
    });
    if (same != probed.end()) {
      misfits.push_back({i, {files[i], "the same file as " + BaseName(same->member.path)}});
      continue;
    }
    p->order = i;
    probed.push_back(std::move(*p));
  }

  // The recorder with the most files; a tie goes to the recorder of the earliest file given.
  std::map<std::string, std::pair<size_t, size_t>> count;  // identity -> (files, first order)
  for (const Probed& p : probed) {
    auto [it, fresh] = count.try_emplace(p.identity, 0, p.order);
    ++it->second.first;
  }
  const std::string* chosen = nullptr;
  std::pair<size_t, size_t> best{0, 0};
  for (const auto& [id, c] : count)
    if (!chosen || c.first > best.first || (c.first == best.first && c.second < best.second)) {
      chosen = &id;
      best = c;
    }

  std::vector<Probed> group;
  for (Probed& p : probed) {
    if (chosen && p.identity == *chosen)
      group.push_back(std::move(p));
    else
      misfits.push_back(
          {p.order, {p.member.path, "another recorder (" + Describe(p.header) + ")"}});
  }
  std::stable_sort(group.begin(), group.end(), [](const Probed& a, const Probed& b) {
    if (a.member.firstSecond != b.member.firstSecond)
      return a.member.firstSecond < b.member.firstSecond;
    return a.order < b.order;
  });

  uint64_t bytes = kYskHeaderSize;
  for (Probed& p : group) {
    const SetMember& m = p.member;
    auto refuse = [&](const std::string& why) { misfits.push_back({p.order, {m.path, why}}); };
    if (!plan.members.empty()) {
      const SetMember& prev = plan.members.back();
      const int64_t wall = (int64_t(m.firstSecond) - prev.firstSecond) * 1000;
      if (std::llabs(KeyDiff(m.firstKey, prev.firstKey) - wall) > kClockSlackMs) {
        refuse("the recorder's clock does not go on from " + BaseName(prev.path) +
               " (it was reset between the files)");
        continue;
      }
      if (KeyDiff(m.firstKey, prev.lastKey) <= 0) {
        refuse("its times overlap " + BaseName(prev.path));
        continue;
      }
      if (KeyDiff(m.lastKey, plan.members.front().firstKey) > kMaxSetSpanMs) {
        refuse("the set would span more than 25 hours; open it on its own");
        continue;
      }
    }
    if (plan.members.size() >= kMaxSetFiles) {
      refuse("a set takes at most " + std::to_string(kMaxSetFiles) + " files");
      continue;
    }
    if (bytes + MemberBytes(m) > kMaxSetBytes) {
      refuse("the set would pass 4 GiB, the most one recording can hold; open it on its own");
      continue;
    }
    bytes += MemberBytes(m);
    if (plan.members.empty()) {
      plan.identity = p.identity;
      plan.header = p.header;
    } else {
      plan.header.videoMask |= p.header.videoMask;
      plan.header.audioMask |= p.header.audioMask;
      const SetMember& prev = plan.members.back();
      if (KeyDiff(m.firstKey, prev.lastKey) > kMinGapMs)
        plan.gaps.push_back({prev.lastKey, m.firstKey});
    }
    plan.members.push_back(m);
  }

  std::stable_sort(misfits.begin(), misfits.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  plan.misfits = std::move(folderMisfits);
  for (auto& [order, misfit] : misfits) plan.misfits.push_back(std::move(misfit));
  return plan;
}

SetLayout LayOutSet(const RecordingSetPlan& plan) {
  SetLayout lay;
  YskHeader h = plan.header;
  h.kind = 0;  // the set's own header sits at the front
  uint64_t cursor = kDataStartKind0;
  auto place = [&](YskChannelRecord& rec, bool audio, int slot) {
    const uint64_t start = cursor;
    for (size_t i = 0; i < plan.members.size(); ++i) {
      const SetMember::Range& r = (audio ? plan.members[i].audio : plan.members[i].video)[slot];
      if (r.end <= r.begin) continue;
      lay.segments.push_back({cursor, r.end - r.begin, uint32_t(i), r.begin});
      cursor += r.end - r.begin;
    }
    rec.startOffset = uint32_t(start - kDataStartKind0);
    rec.endOffset = uint32_t(cursor - kDataStartKind0);
  };
  for (int n = 0; n < kSlots; ++n) place(h.video[size_t(n)], false, n);
  for (int n = 0; n < kSlots; ++n) place(h.audio[size_t(n)], true, n);
  lay.header.assign(kYskHeaderSize, 0);
  EncodeHeader(h, std::span<uint8_t, kYskHeaderSize>(lay.header.data(), kYskHeaderSize));
  lay.size = cursor;
  return lay;
}

std::unique_ptr<SetSource> SetSource::Open(const RecordingSetPlan& plan, std::string* why) {
  auto fail = [&](const std::string& text) {
    if (why) *why = text;
    return std::unique_ptr<SetSource>();
  };
  if (plan.members.empty()) return fail("no file of the set could be opened");
  std::unique_ptr<SetSource> set(new SetSource());
  for (const SetMember& m : plan.members) {
    OpenRefusal refusal = OpenRefusal::None;
    auto file = PosixFile::Open(m.path, &refusal);
    if (!file) return fail(m.path + ": " + RefusalText(refusal));
    if (file->Size() != m.size) return fail(m.path + ": the file changed since it was read");
    set->m_files.push_back(std::move(file));
  }
  SetLayout lay = LayOutSet(plan);
  set->m_header = std::move(lay.header);
  set->m_segments = std::move(lay.segments);
  set->m_size = lay.size;
  set->m_gaps = plan.gaps;
  return set;
}

size_t SetSource::ReadAt(uint64_t offset, void* buffer, size_t n) {
  if (offset >= m_size) return 0;
  n = size_t(std::min<uint64_t>(n, m_size - offset));
  auto* out = static_cast<uint8_t*>(buffer);
  size_t done = 0;
  while (done < n) {
    const uint64_t pos = offset + done;
    if (pos < m_header.size()) {
      const size_t k = std::min<size_t>(n - done, size_t(m_header.size() - pos));
      std::memcpy(out + done, m_header.data() + pos, k);
      done += k;
      continue;
    }
    auto it = std::upper_bound(m_segments.begin(), m_segments.end(), pos,
                               [](uint64_t p, const SetSegment& s) { return p < s.setOffset; });
    if (it == m_segments.begin()) break;
    --it;
    if (pos >= it->setOffset + it->length) break;
    const size_t want = size_t(std::min<uint64_t>(n - done, it->setOffset + it->length - pos));
    const size_t got =
        m_files[it->member]->ReadAt(it->fileOffset + (pos - it->setOffset), out + done, want);
    done += got;
    if (got < want) break;  // the member shrank since it was opened: the read ends short
  }
  Count(done);
  return done;
}

}  // namespace ov
