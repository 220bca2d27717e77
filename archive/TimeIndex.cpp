#include <algorithm>
#include <climits>
#include <cstdio>
#include <vector>

#include "archive/BackupFile.h"
#include "archive/HeaderReader.h"

namespace ov {

ChannelTimeInfo ChannelTimeInfo::EmptyStart() {
  return {INT32_MAX, static_cast<uint32_t>(INT32_MAX), 9, 9, 9, 9, 9};
}
ChannelTimeInfo ChannelTimeInfo::EmptyEnd() { return {1, 1, 9, 1, 1, 1, 1}; }
ChannelTimeInfo ChannelTimeInfo::From(const YskFrameHeader& h, int slot) {
  return {h.f_time, h.f_msec, h.f_size, h.f_info, h.f_type, slot, 0};
}

uint32_t StartEndKey(const ChannelTimeInfo& r) {
  const CalendarTime t = SecondsToCalendar(r.f_time);
  return r.f_msec + 1000u * (uint32_t(t.hour) * 3600u + uint32_t(t.minute) * 60u + t.second);
}

bool CompareStartKey(const ChannelTimeInfo& a, const ChannelTimeInfo& b) {
  if (a.f_time == b.f_time) return a.f_msec < b.f_msec;
  return StartEndKey(a) < StartEndKey(b);
}
bool CompareEndKey(const ChannelTimeInfo& a, const ChannelTimeInfo& b) {
  if (a.f_time == b.f_time) return a.f_msec > b.f_msec;
  return StartEndKey(a) > StartEndKey(b);
}
bool CompareMsecAscending(const ChannelTimeInfo& a, const ChannelTimeInfo& b) {
  return a.f_msec < b.f_msec;
}
bool CompareMsecDescending(const ChannelTimeInfo& a, const ChannelTimeInfo& b) {
  return a.f_msec > b.f_msec;
}

bool IsPlausibleFrame(const YskFrameHeader& h, const CalendarTime& refDate) {
  const CalendarTime t = SecondsToCalendar(h.f_time);
  const int dy = int(t.year) - int(refDate.year);
  return dy >= -1 && dy <= 1 && t.month >= 1 && t.month <= 12 && t.day >= 1 && t.day <= 32;
}

namespace {
constexpr uint32_t kWindow = 65536;  // backward scans read at most this much at a time

struct Run {
  uint64_t low;  // first header
  uint64_t top;  // one past the last byte, never past the file's end
};

Run RunOf(uint32_t dataStart, const YskChannelRecord& r, uint64_t fileSize) {
  // Offsets are formed in 32 bits as the format defines; files of 4 GiB and more are outside it.
  const uint64_t low = static_cast<uint32_t>(dataStart + r.startOffset);
  const uint64_t top = static_cast<uint32_t>(dataStart + r.endOffset);
  return {low, std::min(top, fileSize)};
}

// The part of a run within reach of its end: backward scans never look further.
Run Tail(const Run& run, uint64_t reach) {
  return {run.top > run.low + reach ? run.top - reach : run.low, run.top};
}

// Walks a run forward from pos; calls visit(header, at) on every whole header inside the run until
// it returns 1 (found) or -1 (failed). Returns 1 found, 0 not found, -1 failed.
template <typename F>
int WalkForward(IFileSource& file, uint64_t pos, const Run& run, F&& visit) {
  YskFrameHeader h;
  HeaderReader reader(file);
  // A first frame further than this from the walk's start is not looked for: the run counts as
  // having none.
  const uint64_t limit = std::min(run.top, pos + kIndexReach);
  while (pos + kYskFrameHeaderSize <= limit) {
    if (!reader.Read(pos, h)) return 0;
    const int v = visit(h, pos);
    if (v != 0) return v;
    pos += kYskFrameHeaderSize + uint64_t(h.f_size);
  }
  return 0;
}

// Searches backwards in windows for the last header at which test(pos, header) holds; candidates
// yields the header positions of one window, newest first. Returns the position or 0.
template <typename Candidates, typename Test>
uint64_t ScanBackward(IFileSource& file, const Run& run, std::vector<uint8_t>& buf,
                      Candidates&& candidates, Test&& test) {
  uint64_t top = run.top;
  while (top > run.low) {
    const uint64_t len = std::min<uint64_t>(top - run.low, kWindow);
    if (len < 4) return 0;
    const uint64_t ws = top - len;
    std::fill(buf.begin(), buf.begin() + len, uint8_t{0});
    const size_t got = file.ReadAt(ws, buf.data(), len);
    if (got > 0) {
      const uint64_t found = candidates(ws, len, [&](uint64_t cand) {
        if (cand < run.low || cand + kYskFrameHeaderSize > run.top) return false;
        YskFrameHeader h;
        if (cand >= ws && cand + kYskFrameHeaderSize <= ws + got) {
          h = DecodeFrameHeader(std::span<const uint8_t, kYskFrameHeaderSize>(
              buf.data() + (cand - ws), kYskFrameHeaderSize));
        } else if (!ReadFrameHeader(file, cand, h)) {
          return false;
        }
        return test(cand, h);
      });
      if (found) return found;
    }
    top = ws;
  }
  return 0;
}

// The header of the run's last frame: the one whose payload ends exactly at the run's end. Only
// the last kMaxPayload + header bytes can hold it for a frame the player can play. Returns 0 when
// no such header is found.
uint64_t FindLastHeader(IFileSource& file, const Run& run, std::vector<uint8_t>& buf) {
  constexpr uint64_t kReach = kMaxPayload + kYskFrameHeaderSize;
  const uint64_t len = std::min<uint64_t>(run.top - run.low, kReach);
  if (len < kYskFrameHeaderSize) return 0;
  if (buf.size() < kReach) buf.resize(kReach);
  uint8_t* const end = buf.data() + kReach;  // buf's tail mirrors [top - have, top)
  uint64_t have = 0;
  // Newest bytes first, in growing steps: the last frame is usually small.
  for (uint64_t step = 4096; have < len; step *= 4) {
    const uint64_t want = std::min(len, have + step);
    const uint64_t from = run.top - want;
    if (file.ReadAt(from, end - want, want - have) != want - have) return 0;
    const uint64_t newest = std::min(run.top - have, run.top - kYskFrameHeaderSize + 1);
    for (uint64_t p = newest; p-- > from;) {
      if (p + kYskFrameHeaderSize + LoadLE32(end - (run.top - p) + 8) == run.top) return p;
    }
    have = want;
  }
  return 0;
}

// Follows the f_info chain back from the run's last frame to the newest key frame that carries
// its start code and a plausible date. Returns 0 when the chain breaks or holds none, in which
// case the caller falls back to the byte scan.
uint64_t LastKeyByChain(IFileSource& file, const Run& run, std::vector<uint8_t>& buf,
                        uint8_t coding, const CalendarTime& ref, YskFrameHeader& found) {
  uint64_t cur = FindLastHeader(file, run, buf);
  if (!cur) return 0;
  YskFrameHeader h;
  HeaderReader reader(file);
  if (!reader.Read(cur, h)) return 0;
  const size_t codeLen = KeyFrameStartCodeLength(coding);
  const uint64_t floor = Tail(run, kIndexReach).low;
  for (uint64_t hops = 0; hops <= (run.top - run.low) / kYskFrameHeaderSize; ++hops) {
    if (h.f_type == 1 && IsPlausibleFrame(h, ref)) {
      uint8_t code[8];
      if (file.ReadAt(cur + kYskFrameHeaderSize, code, codeLen) == codeLen &&
          IsKeyFrameStartCode(coding, std::span<const uint8_t>(code, codeLen))) {
        found = h;
        return cur;
      }
    }
    const uint64_t back = kYskFrameHeaderSize + uint64_t(h.f_info);
    if (h.f_info == 0 || cur < run.low + back || cur < floor + back) return 0;
    const uint64_t prev = cur - back;
    YskFrameHeader p;
    if (!reader.Read(prev, p) || prev + kYskFrameHeaderSize + p.f_size != cur) return 0;
    cur = prev;
    h = p;
  }
  return 0;
}
// The time index in its phases, over the scan descriptor: the only one they read.
class IndexBuilder {
 public:
  IndexBuilder(IFileSource& scan, OpenRecording& rec) : m_scan(scan), m_rec(rec) {}
  bool FirstVideo(OpenProblem& why);
  void LastVideo(std::vector<uint8_t>& buf);
  void FirstAudio();
  void LastAudio(std::vector<uint8_t>& buf);
  bool Span(OpenOutcome& out);
  OpenProblem SpanProblem() const;

 private:
  IFileSource& m_scan;
  OpenRecording& m_rec;
};

// First video key frame of every slot; false when a run is damaged before its first key frame.
bool IndexBuilder::FirstVideo(OpenProblem& why) {
  TimeIndex& x = m_rec.m_Index;
  IFileSource& scan = m_scan;
  const uint64_t fileSize = scan.Size();
  x.m_StartInfo.fill(ChannelTimeInfo::EmptyStart());
  const auto firstVideo = m_rec.m_VideoFirst;
  for (int n = 0; n < kSlots; ++n) {
    const auto& rec = m_rec.m_Header.video[n];
    if (!(rec.startOffset < rec.endOffset)) continue;
    const int r = WalkForward(scan, firstVideo[n], RunOf(m_rec.m_DataStart, rec, fileSize),
                              [&](const YskFrameHeader& h, uint64_t at) {
                                if (h.f_type == 1) {
                                  x.m_StartInfo[n] = ChannelTimeInfo::From(h, n);
                                  return 1;
                                }
                                if (h.f_type == 0) return 0;
                                why = BadFrameTypeProblem(n, at, h.f_type);
                                return -1;
                              });
    if (r < 0) return false;
  }
  std::sort(x.m_StartInfo.begin(), x.m_StartInfo.end(), CompareStartKey);
  return true;
}

// Last video key frame of every slot, found by its start code, newest first.
void IndexBuilder::LastVideo(std::vector<uint8_t>& buf) {
  TimeIndex& x = m_rec.m_Index;
  IFileSource& scan = m_scan;
  const uint64_t fileSize = scan.Size();
  x.m_EndInfo.fill(ChannelTimeInfo::EmptyEnd());
  const uint8_t coding = m_rec.m_Header.videoCoding;
  const size_t codeLen = KeyFrameStartCodeLength(coding);
  for (int n = 0; n < kSlots; ++n) {
    const auto& rec = m_rec.m_Header.video[n];
    if (!(rec.startOffset < rec.endOffset)) continue;
    const Run run = RunOf(m_rec.m_DataStart, rec, fileSize);
    auto candidates = [&](uint64_t ws, uint64_t len, auto&& tryAt) -> uint64_t {
      for (uint64_t i = len - codeLen + 1; i-- > 0;) {
        if (!IsKeyFrameStartCode(coding, std::span<const uint8_t>(buf.data() + i, codeLen)))
          continue;
        if (ws + i < kYskFrameHeaderSize) continue;
        const uint64_t cand = ws + i - kYskFrameHeaderSize;
        if (tryAt(cand)) return cand;
      }
      return 0;
    };
    // Well-formed runs are indexed by their frame chain, reading a few headers instead of the
    // payload bytes; anything the chain cannot settle goes through the byte scan.
    YskFrameHeader viaChain;
    if (const uint64_t at = LastKeyByChain(scan, run, buf, coding, m_rec.m_RefDate, viaChain)) {
      m_rec.m_VideoPos[size_t(n)] = static_cast<uint32_t>(at);
      m_rec.m_VideoLast[n] = static_cast<uint32_t>(at);
      x.m_EndInfo[n] = ChannelTimeInfo::From(viaChain, n);
      continue;
    }
    const uint64_t at = ScanBackward(scan, Tail(run, kIndexReach), buf, candidates,
                                     [&](uint64_t cand, const YskFrameHeader& h) {
                                       m_rec.m_VideoPos[size_t(n)] = static_cast<uint32_t>(cand);
                                       if (h.f_type != 1 || !IsPlausibleFrame(h, m_rec.m_RefDate))
                                         return false;
                                       x.m_EndInfo[n] = ChannelTimeInfo::From(h, n);
                                       return true;
                                     });
    if (at) m_rec.m_VideoLast[n] = static_cast<uint32_t>(at);
  }
  std::sort(x.m_EndInfo.begin(), x.m_EndInfo.end(), CompareEndKey);
}

// First plausible audio frame of every slot.
void IndexBuilder::FirstAudio() {
  TimeIndex& x = m_rec.m_Index;
  IFileSource& scan = m_scan;
  const uint64_t fileSize = scan.Size();
  x.m_StartInfo_A.fill(ChannelTimeInfo::EmptyStart());
  const auto firstAudio = m_rec.m_AudioFirst;
  for (int n = 0; n < kSlots; ++n) {
    if (firstAudio[n] == 0) continue;
    WalkForward(scan, firstAudio[n], RunOf(m_rec.m_DataStart, m_rec.m_Header.audio[n], fileSize),
                [&](const YskFrameHeader& h, uint64_t) {
                  if (h.f_type == 0 && IsPlausibleFrame(h, m_rec.m_RefDate)) {
                    x.m_StartInfo_A[n] = ChannelTimeInfo::From(h, n);
                    return 1;
                  }
                  return 0;
                });
  }
  std::sort(x.m_StartInfo_A.begin(), x.m_StartInfo_A.end(), CompareStartKey);
}

// Last plausible audio frame: sound has no start code, so every byte position is a candidate.
void IndexBuilder::LastAudio(std::vector<uint8_t>& buf) {
  TimeIndex& x = m_rec.m_Index;
  IFileSource& scan = m_scan;
  const uint64_t fileSize = scan.Size();
  x.m_EndInfo_A.fill(ChannelTimeInfo::EmptyEnd());
  for (int n = 0; n < kSlots; ++n) {
    if (m_rec.m_AudioFirst[n] == 0) continue;
    const auto& rec = m_rec.m_Header.audio[n];
    const Run run = RunOf(m_rec.m_DataStart, rec, fileSize);
    auto candidates = [&](uint64_t ws, uint64_t len, auto&& tryAt) -> uint64_t {
      for (uint64_t p = ws + len - 4 + 1; p-- > ws;) {
        if (p < kYskFrameHeaderSize) break;
        if (tryAt(p - kYskFrameHeaderSize)) return p - kYskFrameHeaderSize;
      }
      return 0;
    };
    // The run's own last frame, when it ends the run exactly and is plausible, settles it at once.
    if (const uint64_t last = FindLastHeader(scan, run, buf)) {
      YskFrameHeader h;
      if (ReadFrameHeader(scan, last, h) && h.f_type == 0 && IsPlausibleFrame(h, m_rec.m_RefDate)) {
        m_rec.m_AudioPos[size_t(n)] = static_cast<uint32_t>(last);
        x.m_EndInfo_A[n] = ChannelTimeInfo::From(h, n);
        m_rec.m_AudioLast[n] = static_cast<uint32_t>(last);
        continue;
      }
    }
    const uint64_t at = ScanBackward(scan, Tail(run, kAudioTailReach), buf, candidates,
                                     [&](uint64_t cand, const YskFrameHeader& h) {
                                       m_rec.m_AudioPos[size_t(n)] = static_cast<uint32_t>(cand);
                                       if (h.f_type != 0 || !IsPlausibleFrame(h, m_rec.m_RefDate))
                                         return false;
                                       x.m_EndInfo_A[n] = ChannelTimeInfo::From(h, n);
                                       return true;
                                     });
    if (at) m_rec.m_AudioLast[n] = static_cast<uint32_t>(at);
  }
  std::sort(x.m_EndInfo_A.begin(), x.m_EndInfo_A.end(), CompareEndKey);
}

// The recording's start, length and seek range, and the total-time text; false when the length
// cannot be shown.
bool IndexBuilder::Span(OpenOutcome& out) {
  TimeIndex& x = m_rec.m_Index;
  const ChannelTimeInfo& start = x.m_StartInfo[0];
  x.m_ResumeTime = SecondsToCalendar(start.f_time);
  x.m_ResumeTime.millisecond = static_cast<uint16_t>(start.f_msec & 0xFFFF);
  x.m_StartMsec = static_cast<int32_t>(start.f_msec);
  const int32_t d = static_cast<int32_t>(x.m_EndInfo[0].f_msec - start.f_msec);
  x.m_TotalSeconds = d / 1000;
  out.sliderMax = x.m_TotalSeconds;
  const int32_t s = d / 1000 + 1;
  const int32_t hour = s / 3600;
  x.m_TotalTime = CalendarTime{};
  x.m_TotalTime.hour = static_cast<uint16_t>(hour);
  x.m_TotalTime.minute = static_cast<uint16_t>((s - hour * 3600) / 60);
  x.m_TotalTime.second = static_cast<uint16_t>(s % 60);
  x.m_TotalTime.millisecond = static_cast<uint16_t>(d % 1000);
  if (s < 0 || hour > 25) return false;
  char text[260];
  std::snprintf(text, sizeof text, "00 : 00 : 00 / %02d : %02d : %02d", hour,
                (s - hour * 3600) / 60, s % 60);
  out.totalTimeText = text;
  return true;
}

// Why Span refused the length: which of the first and last key frames are missing or out of order.
OpenProblem IndexBuilder::SpanProblem() const {
  const ChannelTimeInfo& start = m_rec.m_Index.m_StartInfo[0];
  const ChannelTimeInfo& end = m_rec.m_Index.m_EndInfo[0];
  // The empty-slot values are the only entries whose spare field is not 0.
  if (start.spare != 0) return NoFirstKeyProblem();
  if (end.spare != 0) return NoLastKeyProblem(start.slot, start.f_msec);
  const int32_t s = static_cast<int32_t>(end.f_msec - start.f_msec) / 1000 + 1;
  if (s < 0) return EndBeforeStartProblem(start.slot, start.f_msec, end.slot, end.f_msec);
  return TooLongProblem(s / 3600, s % 3600 / 60, start.slot, end.slot);
}

}  // namespace

bool BuildTimeIndex(IFileSource& scan, OpenRecording& rec, OpenOutcome& out) {
  IndexBuilder b(scan, rec);
  std::vector<uint8_t> buf(kWindow);
  if (!b.FirstVideo(out.problem)) return false;
  b.LastVideo(buf);
  b.FirstAudio();
  b.LastAudio(buf);
  if (b.Span(out)) return true;
  out.problem = b.SpanProblem();
  return false;
}

}  // namespace ov
