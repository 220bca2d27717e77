#include "archive/BackupFile.h"

#include <unistd.h>

#include <array>
#include <cctype>
#include <cstdio>
#include <string>
#include <vector>

#include "archive/RecordingSet.h"

namespace ov {

PreOpenResult CheckBeforeOpen(const std::string& path) {
  PreOpenResult r;
  // Recorders export to FAT sticks, which often store names in capitals ("CAM01.YSK").
  std::string lower = path;
  for (char& c : lower) c = char(std::tolower(static_cast<unsigned char>(c)));
  if (lower.find(".ysk") == std::string::npos) return r;
  uint64_t size = 0;
  const int fd = OpenRegularFile(path, r.refusal, size);
  if (fd < 0) return r;
  ::close(fd);
  r.length = size;
  r.status = r.length <= kYskHeaderSize ? PreOpenStatus::TooShort : PreOpenStatus::Ok;
  return r;
}

std::string IgnoredReason(const std::string& path, const PreOpenResult& pre) {
  // The same test as CheckBeforeOpen's: a missing "CAM01.YSK" is missing, not misnamed.
  std::string lower = path;
  for (char& c : lower) c = char(std::tolower(static_cast<unsigned char>(c)));
  if (lower.find(".ysk") == std::string::npos) return "the name has no \".ysk\"";
  return RefusalText(pre.refusal);
}

const char* MessageOfCode(int code) {
  switch (code) {
    case 1001:
      return kMsgC1001;
    case 1002:
      return kMsgC1002;
    case 1003:
      return kMsgC1003;
    case 1004:
      return kMsgC1004;
    case 1005:
      return kMsgC1005;
    case 1006:
      return kMsgC1006;
    case 1007:
      return kMsgC1007;
    default:
      return nullptr;
  }
}

int32_t PaneCountForChannels(int channelCount) {
  if (channelCount <= 3) return 1;
  if (channelCount <= 7) return 4;
  if (channelCount <= 9) return 9;
  return 16;
}

namespace {
YskHeader DecodeAt(IFileSource& file, uint64_t offset) {
  std::array<uint8_t, kYskHeaderSize> raw{};  // a short read leaves zeros
  file.ReadAt(offset, raw.data(), raw.size());
  return DecodeHeader(std::span<const uint8_t, kYskHeaderSize>(raw.data(), raw.size()));
}

// The header in effect: the leading copy, or for layout 2 the copy at the file's end.
// base receives where that header begins.
int ReadHeaderInEffect(IFileSource& file, OpenRecording& rec, uint64_t& base, OpenProblem& why) {
  const uint64_t size = file.Size();
  rec.m_Header = DecodeAt(file, 0);
  base = 0;
  switch (rec.m_Header.kind) {
    case 0:
      if (size < kYskHeaderSize + 1) {
        why = TooShortProblem(size);
        return 1001;
      }
      break;
    case 1:
    case 2:
      if (size < kYskTailSize + 1) {
        why = TailTooShortProblem(rec.m_Header.kind, size);
        return 1002;
      }
      if (rec.m_Header.kind == 2) {
        base = size - kYskTailSize;
        rec.m_Header = DecodeAt(file, base);
      }
      break;
    default:
      why = BadKindProblem(rec.m_Header.kind);
      return 1003;
  }
  // A tail copy naming no known layout cannot say where the data starts.
  if (rec.m_Header.kind > 2) {
    why = BadTailKindProblem(base, rec.m_Header.kind);
    return 1003;
  }
  return 0;
}

int CheckRecords(const YskHeader& h, uint64_t base, OpenProblem& why) {
  for (int n = 0; n < kSlots; ++n) {
    // Top bit: damaged header. 16..127 would index past the per-channel tables: damaged too.
    if (h.video[size_t(n)].channelNo >= kSlots) {
      why = DamagedRecordProblem(n, base, h.video[size_t(n)].channelNo);
      return 1004;
    }
  }
  if (h.channelCount < 1 || h.channelCount > kSlots) {
    why = ChannelCountProblem(base, h.channelCount);
    return 1005;
  }
  return 0;
}

// Which slots the masks name and which of them hold data; a file without video is refused.
int CountRuns(OpenRecording& rec, uint64_t base, OpenProblem& why) {
  const YskHeader& h = rec.m_Header;
  for (int n = 0; n < kSlots; ++n) {
    const auto& v = h.video[size_t(n)];
    const auto& a = h.audio[size_t(n)];
    if (h.videoMask >> n & 1u) {
      ++rec.m_VideoCount;
      if (v.startOffset != v.endOffset) rec.m_HasVideo[size_t(n)] = 1;
    }
    if (h.audioMask >> n & 1u) {
      ++rec.m_AudioCount;
      // An audio record naming a channel outside the tables stays unused.
      if (a.startOffset != a.endOffset && a.channelNo < kSlots) rec.m_HasAudio[size_t(n)] = 1;
    }
  }
  if (rec.m_VideoCount != 0) return 0;
  why = NoVideoProblem(base, h.videoMask);
  return 1006;
}

// Where the data starts, the date the plausibility checks compare with, and each run's first
// header, where the read cursors begin.
void LocateRuns(IFileSource& file, OpenRecording& rec) {
  const YskHeader& h = rec.m_Header;
  rec.m_DataStart = h.kind == 0 ? kDataStartKind0 : kDataStartKind12;
  YskFrameHeader first{};
  ReadFrameHeader(file, rec.m_DataStart, first);  // a short read leaves the zero header
  rec.m_RefDate = SecondsToCalendar(first.f_time);
  for (int n = 0; n < kSlots; ++n) {
    const auto& v = h.video[size_t(n)];
    if (v.HasData()) rec.m_VideoFirst[size_t(n)] = rec.m_DataStart + v.startOffset;
    const auto& a = h.audio[size_t(n)];
    if (a.HasData() && a.channelNo < kSlots)
      rec.m_AudioFirst[size_t(n)] = rec.m_DataStart + a.startOffset;
  }
  rec.m_VideoPos = rec.m_VideoFirst;
  rec.m_AudioPos = rec.m_AudioFirst;
}

DecoderConfig DecoderConfigOf(const YskHeader& h) {
  DecoderConfig cfg;
  cfg.channelCount = h.channelCount;
  cfg.paneCount = PaneCountForChannels(h.channelCount);
  for (int i = 0; i < kSlots; ++i) {
    char title[32];
    std::snprintf(title, sizeof title, "CH %d", i + 1);
    cfg.paneTitles[size_t(i)] = title;
  }
  for (int i = 0; i < cfg.paneCount; ++i) cfg.paneTitles[size_t(i)].clear();
  for (int i = 0; i < cfg.channelCount; ++i) cfg.paneTitles[size_t(i)] = h.video[size_t(i)].name;
  return cfg;
}

// The open's steps in order; 0 or the code the file is rejected with.
int Index(IFileSource& file, IFileSource& scan, OpenRecording& rec, OpenOutcome& out) {
  uint64_t base = 0;
  if (const int code = ReadHeaderInEffect(file, rec, base, out.problem)) return code;
  if (const int code = CheckRecords(rec.m_Header, base, out.problem)) return code;
  out.bufferingShown = true;
  if (const int code = CountRuns(rec, base, out.problem)) return code;
  LocateRuns(file, rec);
  out.decoder = DecoderConfigOf(rec.m_Header);
  return BuildTimeIndex(scan, rec, out) ? 0 : 1007;
}
}  // namespace

void BackupFile::Close() {
  m_playReader = FrameReader();
  m_scanReader = FrameReader();
}

OpenOutcome BackupFile::Reject(OpenOutcome out, int code) {
  Close();
  out.accepted = false;
  out.code = code;
  out.message = MessageOfCode(code);
  return out;
}

OpenOutcome BackupFile::ReadBackupHeader(const std::string& path) {
  auto file = PosixFile::Open(path);
  auto scan = PosixFile::Open(path);
  if (!file || !scan) {
    // The file was measured a moment ago but cannot be opened now: report it as unreadable.
    m_rec = std::make_shared<const OpenRecording>();
    OpenOutcome out;
    out.problem = NotReopenedProblem();
    return Reject(std::move(out), 1001);
  }
  return ReadBackupHeader(std::move(file), std::move(scan));
}

OpenOutcome BackupFile::ReadRecordingSet(const RecordingSetPlan& plan) {
  std::string why;
  auto file = SetSource::Open(plan, &why);
  auto scan = file ? SetSource::Open(plan, &why) : nullptr;
  if (!file || !scan) {
    Close();
    m_rec = std::make_shared<const OpenRecording>();
    OpenOutcome out;
    out.refusal = why;
    return out;
  }
  return ReadBackupHeader(std::move(file), std::move(scan));
}

OpenOutcome BackupFile::ReadBackupHeader(std::unique_ptr<IFileSource> file,
                                         std::unique_ptr<IFileSource> scan) {
  Close();
  m_playReader = FrameReader(std::move(file));
  m_scanReader = FrameReader(std::move(scan));
  // Nothing of the previous file may survive into this one: the recording starts empty.
  auto rec = std::make_shared<OpenRecording>();
  OpenOutcome out;
  const int code = Index(*m_playReader.Source(), *m_scanReader.Source(), *rec, out);
  if (const auto* set = dynamic_cast<const SetSource*>(m_playReader.Source()))
    rec->m_Gaps = set->Gaps();
  m_rec = std::move(rec);
  if (code != 0) return Reject(std::move(out), code);
  out.accepted = true;
  return out;
}

}  // namespace ov
