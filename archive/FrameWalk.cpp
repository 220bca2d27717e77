#include "archive/FrameWalk.h"

namespace ov {

const char* WalkSkipText(WalkSkip why) {
  switch (why) {
    case WalkSkip::None:
      return "";
    case WalkSkip::EmptyFrames:
      return "frames with no payload";
    case WalkSkip::Hole:
      return "a hole of empty frames (zero bytes) longer than 1 MiB; the channel's data ends here";
    case WalkSkip::Oversized:
      return "a frame larger than 8 MiB (a damaged size)";
    case WalkSkip::PastRunEnd:
      return "a frame reaching past the channel's data (a damaged size); the channel's data ends "
             "here";
    case WalkSkip::CutShort:
      return "the file ends inside the channel's data";
  }
  return "";
}

WalkStep ClassifyHeader(const YskFrameHeader& h, uint64_t pos, uint64_t runEnd, uint64_t fileSize) {
  WalkStep s;
  s.pos = pos;
  s.h = h;
  const uint64_t next = pos + kYskFrameHeaderSize + h.f_size;
  if (next > runEnd || next > fileSize) {
    s.kind = WalkStep::Kind::Skip;
    s.skip = next > runEnd ? WalkSkip::PastRunEnd : WalkSkip::CutShort;
    s.next = runEnd;
    return s;
  }
  s.next = next;
  if (h.f_size > kMaxFrameBytes) {
    s.kind = WalkStep::Kind::Skip;
    s.skip = WalkSkip::Oversized;
  } else if (h.f_size == 0) {
    s.kind = WalkStep::Kind::Skip;
    s.skip = WalkSkip::EmptyFrames;
  } else {
    s.kind = WalkStep::Kind::Frame;
  }
  return s;
}

uint64_t PastEmptyFrames(HeaderReader& reader, uint64_t pos, uint64_t runEnd,
                         YskFrameHeader* found) {
  // Zero bytes read as empty frames 20 bytes apart; a recorder writes none, so a long stretch
  // of them is a hole, and a hole this long has nothing within reach before the run's end.
  const uint64_t reach = pos + kEmptyFrameReach;
  uint64_t p = pos + kYskFrameHeaderSize;
  YskFrameHeader h{};
  while (p + kYskFrameHeaderSize <= runEnd) {
    if (p >= reach) return runEnd;
    if (!reader.Read(p, h)) return p;
    if (h.f_size != 0) {
      if (found) *found = h;
      return p;
    }
    p += kYskFrameHeaderSize;
  }
  return p;
}

FrameWalker::FrameWalker(IFileSource& file, uint64_t begin, uint64_t runEnd)
    : m_file(file), m_reader(file), m_emptyReader(file, 64u << 10), m_pos(begin), m_end(runEnd) {}

WalkStep FrameWalker::Next() {
  WalkStep s;
  s.pos = s.next = m_pos;
  if (m_pos >= m_end || m_end - m_pos < kYskFrameHeaderSize) return s;
  YskFrameHeader h{};
  if (!m_reader.Read(m_pos, h)) {
    s.kind = WalkStep::Kind::Skip;
    s.skip = WalkSkip::CutShort;
    s.next = m_pos = m_end;
    return s;
  }
  s = ClassifyHeader(h, m_pos, m_end, m_file.Size());
  if (s.skip == WalkSkip::EmptyFrames) {
    s.next = PastEmptyFrames(m_emptyReader, m_pos, m_end);
    if (s.next == m_end && s.next - m_pos >= kEmptyFrameReach) s.skip = WalkSkip::Hole;
  }
  m_pos = s.next;
  return s;
}

}  // namespace ov
