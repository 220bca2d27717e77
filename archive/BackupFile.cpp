#include "archive/BackupFile.h"

#include <unistd.h>

#include <cstdio>
#include <vector>

namespace ov {

PreOpenResult CheckBeforeOpen(const std::string& path) {
  PreOpenResult r;
  if (path.find(".ysk") == std::string::npos) return r;  // case-sensitive on purpose
  uint64_t size = 0;
  const int fd = OpenRegularFile(path, r.refusal, size);
  if (fd < 0) return r;
  ::close(fd);
  r.length = size;
  r.status = r.length <= kYskHeaderSize ? PreOpenStatus::TooShort : PreOpenStatus::Ok;
  return r;
}

std::string IgnoredReason(const std::string& path, const PreOpenResult& pre) {
  if (path.find(".ysk") == std::string::npos) return "the name has no \".ysk\"";
  return RefusalText(pre.refusal);
}

const char* MessageOfCode(int code) {
  switch (code) {
    case 1001: return kMsgC1001;
    case 1002: return kMsgC1002;
    case 1003: return kMsgC1003;
    case 1004: return kMsgC1004;
    case 1005: return kMsgC1005;
    case 1006: return kMsgC1006;
    case 1007: return kMsgC1007;
    default: return nullptr;
  }
}

int32_t PaneCountForChannels(int channelCount) {
  if (channelCount <= 3) return 1;
  if (channelCount <= 7) return 4;
  if (channelCount <= 9) return 9;
  return 16;
}

void BackupFile::Close() {
  m_hFile.reset();
  m_hScanFile.reset();
  m_bFileReady = false;
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
    m_VideoCount = m_AudioCount = 0;
    return Reject(OpenOutcome{}, 1001);
  }
  return ReadBackupHeader(std::move(file), std::move(scan));
}

OpenOutcome BackupFile::ReadBackupHeader(std::unique_ptr<IFileSource> file,
                                         std::unique_ptr<IFileSource> scan) {
  OpenOutcome out;
  m_bFileReady = false;
  m_VideoCount = 0;
  m_AudioCount = 0;
  Close();
  m_hFile = std::move(file);
  m_hScanFile = std::move(scan);

  std::vector<uint8_t> raw(kYskHeaderSize, 0);
  m_hFile->ReadAt(0, raw.data(), raw.size());
  const uint64_t size = m_hFile->Size();
  auto decode = [&] {
    return DecodeHeader(std::span<const uint8_t, kYskHeaderSize>(raw.data(), raw.size()));
  };
  m_Header = decode();

  switch (m_Header.kind) {
    case 0:
      if (size < kYskHeaderSize + 1) return Reject(out, 1001);
      break;
    case 1:
      if (size < kYskTailSize + 1) return Reject(out, 1002);
      break;
    case 2:
      if (size < kYskTailSize + 1) return Reject(out, 1002);
      std::fill(raw.begin(), raw.end(), uint8_t{0});
      m_hFile->ReadAt(size - kYskTailSize, raw.data(), raw.size());
      m_Header = decode();
      break;
    default:
      return Reject(out, 1003);
  }
  // A tail copy naming no known layout cannot say where the data starts.
  if (m_Header.kind > 2) return Reject(out, 1003);

  for (const auto& rec : m_Header.video) {
    // Top bit: damaged header. 16..127 would index past the per-channel tables: damaged too.
    if (rec.channelNo >= kSlots) return Reject(out, 1004);
  }
  if (m_Header.channelCount < 1 || m_Header.channelCount > kSlots) return Reject(out, 1005);

  out.bufferingShown = true;
  m_HasVideo.fill(0);
  m_HasAudio.fill(0);
  for (int n = 0; n < kSlots; ++n) {
    if (m_Header.videoMask >> n & 1u) {
      ++m_VideoCount;
      if (m_Header.video[n].startOffset != m_Header.video[n].endOffset) m_HasVideo[n] = 1;
    }
    if (m_Header.audioMask >> n & 1u) {
      ++m_AudioCount;
      // An audio record naming a channel outside the tables stays unused.
      if (m_Header.audio[n].startOffset != m_Header.audio[n].endOffset &&
          m_Header.audio[n].channelNo < kSlots)
        m_HasAudio[n] = 1;
    }
  }
  if (m_VideoCount == 0) return Reject(out, 1006);

  m_DataStart = m_Header.kind == 0 ? kDataStartKind0 : kDataStartKind12;
  YskFrameHeader first{};
  ReadFrameHeader(*m_hFile, m_DataStart, first);  // a short read leaves the zero header
  m_RefDate = SecondsToCalendar(first.f_time);

  m_VideoFirst.fill(0);
  m_AudioFirst.fill(0);
  m_VideoLast.fill(0);
  m_AudioLast.fill(0);  // nothing of the previous file may survive into this one
  for (int n = 0; n < kSlots; ++n) {
    const auto& v = m_Header.video[n];
    if (v.HasData()) m_VideoFirst[v.channelNo] = m_DataStart + v.startOffset;
    const auto& a = m_Header.audio[n];
    if (a.HasData() && a.channelNo < kSlots) m_AudioFirst[a.channelNo] = m_DataStart + a.startOffset;
  }
  m_VideoPos = m_VideoFirst;
  m_AudioPos = m_AudioFirst;

  DecoderConfig cfg;
  cfg.channelCount = m_Header.channelCount;
  cfg.paneCount = PaneCountForChannels(m_Header.channelCount);
  for (int i = 0; i < kSlots; ++i) {
    char title[32];
    std::snprintf(title, sizeof title, "CH %d", i + 1);
    cfg.paneTitles[i] = title;
  }
  for (int i = 0; i < cfg.paneCount; ++i) cfg.paneTitles[i].clear();
  for (int i = 0; i < cfg.channelCount; ++i) cfg.paneTitles[i] = m_Header.video[i].name;
  out.decoder = cfg;

  if (!BuildTimeIndex(out)) return Reject(out, 1007);
  out.accepted = true;
  m_bFileReady = true;
  return out;
}

}  // namespace ov
