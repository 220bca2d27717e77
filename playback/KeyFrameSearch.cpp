#include "playback/KeyFrameSearch.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <span>

#include "archive/HeaderReader.h"

namespace ov {
namespace {
constexpr uint64_t kChunk = 65536;
constexpr uint64_t kHdr = kYskFrameHeaderSize;
constexpr uint32_t kMaxAudioFrame = 2000;  // sound frames are small; larger sizes are not headers
}  // namespace

KeyFrameSearch::KeyFrameSearch(std::shared_ptr<const OpenRecording> rec, FrameReader reader,
                               IClock& clock, std::function<bool()> cancelled)
    : m_Hold(std::move(rec)),
      m_Rec(*m_Hold),
      m_Reader(std::move(reader)),
      m_Clock(clock),
      m_cancelled(std::move(cancelled)) {}

bool KeyFrameSearch::ReadHeader(uint64_t pos, YskFrameHeader& h) const {
  return m_Reader.Header(pos, h);
}

namespace {
// Header reads of one walk, through a window (see HeaderReader); no file reads nothing.
class WalkReader {
 public:
  explicit WalkReader(IFileSource* file) {
    if (file) m_reader.emplace(*file);
  }
  bool Read(uint64_t pos, YskFrameHeader& h) { return m_reader && m_reader->Read(pos, h); }

 private:
  std::optional<HeaderReader> m_reader;
};
}  // namespace

bool KeyFrameSearch::Resync(int n, uint32_t scan, const SearchInput& in, uint32_t& result) {
  const uint64_t runStart = m_Rec.VideoRunStart(n), runEnd = m_Rec.VideoRunEnd(n);
  const uint8_t coding = m_Rec.m_Header.videoCoding;
  const size_t codeLen = KeyFrameStartCodeLength(coding);
  uint64_t s = scan;
  // No start code within reach of the resume offset: the channel has no usable key frame there.
  const uint64_t limit = uint64_t(scan) + kResyncReach;
  const uint64_t fileSize = m_Reader.Size();
  // A channel put on its last or first key frame by the range tests is positioned too.
  auto onLast = [&] {
    result = m_Rec.m_VideoLast[size_t(n)];
    return result != 0;
  };
  while (!Cancelled()) {
    if (s > runEnd) return onLast();
    if (s < runStart) {
      result = m_Rec.m_VideoFirst[size_t(n)];
      return result != 0;
    }
    const uint64_t len = std::min(kChunk, runEnd - s);
    if (len < 4) return onLast();
    // Past the file's end every read is empty until the scan leaves the run: go there at once.
    if (s >= fileSize) return onLast();
    if (s >= limit) return false;
    std::memset(m_Scan.data(), 0, m_Scan.size());
    const size_t got = m_Reader.Bytes(s, m_Scan.data(), len);
    if (got > 0 && coding <= 2) {
      for (size_t i = 0; i + codeLen <= got; ++i) {
        // Every start code opens with a zero byte: jump to the next one instead of testing each
        // byte (the test of every position was most of a search's time).
        const void* zero = std::memchr(m_Scan.data() + i, 0, got - codeLen + 1 - i);
        if (!zero) break;
        i = size_t(static_cast<const uint8_t*>(zero) - m_Scan.data());
        if (!IsKeyFrameStartCode(coding, std::span<const uint8_t>(m_Scan.data() + i, codeLen)))
          continue;
        if (s + i < runStart + kHdr) continue;  // its header would lie before the run
        const uint64_t h = s + i - kHdr;
        YskFrameHeader fh{};
        if (!ReadHeader(h, fh)) continue;
        const bool typeOk = in.iFrameOnly ? fh.f_type == 1 : fh.f_type <= 1;
        if (typeOk && IsPlausibleFrame(fh, m_Rec.m_RefDate)) {
          result = uint32_t(h);
          return true;
        }
      }
    }
    s += len;
    m_Clock.Breathe();
  }
  return false;
}

KeyFrameSearch::Walk KeyFrameSearch::MoveToTarget(int n, uint32_t start, int32_t target) {
  const uint64_t runStart = m_Rec.VideoRunStart(n), runEnd = m_Rec.VideoRunEnd(n);
  // Every walk stays on readable headers of the run: a step that would leave it, or land where no
  // whole header can be read, stops the walk where it stands. Each step moves at least one header
  // length, so a walk ends after at most one pass over the run whatever f_info and f_size say.
  WalkReader reader(m_Reader.Source());
  auto readable = [&](uint64_t q, YskFrameHeader& h) {
    return q >= runStart && q + kHdr <= runEnd && reader.Read(q, h);
  };
  Walk w;
  uint64_t p = start;
  YskFrameHeader h{};
  // Each direction moves at most kWalkReach; a walk that would go further stops where it stands.
  // Backward to a key frame at or before the target.
  bool keyBefore = false;
  for (;;) {
    if (Cancelled()) return {start, start, start};
    if (p >= runEnd) {
      p = m_Rec.m_VideoLast[size_t(n)];
      break;
    }
    if (p < runStart) {
      p = m_Rec.m_VideoFirst[size_t(n)];
      break;
    }
    if (!reader.Read(p, h)) break;
    if (h.f_time <= target && h.f_type == 1) {
      keyBefore = true;
      break;
    }
    const int64_t prev = int64_t(p) - int64_t(h.f_info) - int64_t(kHdr);
    YskFrameHeader ph{};
    if (prev < 0 || uint64_t(prev) + kWalkReach < start || !readable(uint64_t(prev), ph)) break;
    p = uint64_t(prev);
  }
  w.key = uint32_t(p);
  // Forward to the first key frame at or after the target; the result is the frame before it.
  // On the way: the first frame of the target second, where an exact landing shows its picture.
  uint64_t r = p;
  bool shown = false, keyAfter = false;
  const uint64_t forwardLimit = p + kWalkReach;
  for (;;) {
    if (Cancelled()) return {uint32_t(r), w.key, uint32_t(r)};
    if (p >= runEnd || p < runStart) break;
    if (!reader.Read(p, h)) break;
    if (!shown && h.f_time >= target && h.f_size > 0) {
      shown = true;
      w.show = uint32_t(p);
    }
    if (h.f_time >= target && h.f_type == 1) {
      keyAfter = true;
      break;
    }
    r = p;
    const uint64_t next = p + kHdr + h.f_size;
    YskFrameHeader nh{};
    if (next > forwardLimit || !readable(next, nh)) break;
    p = next;
  }
  w.before = uint32_t(r);
  if (!keyBefore && keyAfter) w.key = uint32_t(p);            // nothing decodable before the target
  if (!shown) w.show = keyAfter ? uint32_t(p) : uint32_t(r);  // the target lies past the run
  if (w.show < w.key) w.show = w.key;
  return w;
}

bool KeyFrameSearch::LandAfter(int n, uint32_t after, uint32_t& key, uint32_t& show,
                               int32_t& second) {
  const uint64_t runStart = m_Rec.VideoRunStart(n), runEnd = m_Rec.VideoRunEnd(n);
  WalkReader reader(m_Reader.Source());
  auto readable = [&](uint64_t q, YskFrameHeader& h) {
    return q >= runStart && q + kHdr <= runEnd && reader.Read(q, h);
  };
  YskFrameHeader h{};
  if (!readable(after, h) || h.f_size > kMaxFrameBytes) return false;
  second = h.f_time;
  const uint64_t next = uint64_t(after) + kHdr + h.f_size;
  show = uint32_t(std::min<uint64_t>(next, runEnd));
  YskFrameHeader nh{};
  if (readable(next, nh) && nh.f_type == 1) {
    key = show;  // the next picture is a key frame: nothing to decode before it
    return true;
  }
  // Back from the held picture to the key frame its chain starts at.
  uint64_t p = after;
  while (h.f_type != 1) {
    const int64_t prev = int64_t(p) - int64_t(h.f_info) - int64_t(kHdr);
    if (Cancelled() || prev < 0 || uint64_t(prev) + kWalkReach < after ||
        !readable(uint64_t(prev), h))
      return false;
    p = uint64_t(prev);
  }
  key = uint32_t(p);
  return true;
}

uint32_t KeyFrameSearch::AudioOfTarget(int n, uint32_t scan, uint32_t current, int32_t target) {
  const uint64_t runStart = m_Rec.AudioRunStart(n), runEnd = m_Rec.AudioRunEnd(n);
  const uint32_t first = m_Rec.m_AudioFirst[size_t(n)];
  const uint32_t last = m_Rec.m_AudioLast[size_t(n)];
  WalkReader reader(m_Reader.Source());
  auto readable = [&](uint64_t q, YskFrameHeader& h) {
    return q >= runStart && q + kHdr <= runEnd && reader.Read(q, h);
  };
  uint64_t s = scan;
  size_t got = 0;
  const uint64_t fileSize = m_Reader.Size();
  for (;;) {
    if (Cancelled()) return current;
    // At or past the run's end nothing can be read: an empty chunk would never move the scan on.
    // Past the file's end every read is empty until then: go there at once.
    if (s >= runEnd || (s >= runStart && s >= fileSize)) return last;
    if (s < runStart) return first;
    const uint64_t len = std::min(kChunk, runEnd - s);
    std::memset(m_Scan.data(), 0, m_Scan.size());
    got = m_Reader.Bytes(s, m_Scan.data(), len);
    if (got > 0) break;
    s += len;
    m_Clock.Breathe();
  }
  uint64_t p = 0;
  bool accepted = false;
  for (size_t i = 0; i + kHdr <= got && !accepted; ++i) {
    const auto h =
        DecodeFrameHeader(std::span<const uint8_t, kYskFrameHeaderSize>(m_Scan.data() + i, kHdr));
    if (h.f_type == 0 && h.f_size < kMaxAudioFrame && IsPlausibleFrame(h, m_Rec.m_RefDate)) {
      p = s + i;
      accepted = true;
    }
  }
  if (!accepted) return current;
  bool seenEarlier = false, seenLater = false;
  YskFrameHeader h{};
  const uint64_t from = p;
  for (;;) {
    if (Cancelled() || !reader.Read(p, h)) break;
    if (p + kResyncReach < from || p > from + kResyncReach) break;  // sound is never this far off
    if (h.f_time == target) break;
    if (h.f_time > target) {
      if (seenEarlier || p == first) break;
      seenLater = true;
      const int64_t prev = int64_t(p) - int64_t(h.f_info) - int64_t(kHdr);
      YskFrameHeader ph{};
      if (prev < 0 || !readable(uint64_t(prev), ph)) break;
      p = uint64_t(prev);
    } else {
      if (seenLater || p >= last) break;
      seenEarlier = true;
      const uint64_t next = p + kHdr + h.f_size;
      YskFrameHeader nh{};
      if (!readable(next, nh)) break;
      p = next;
    }
  }
  return uint32_t(p);
}

uint32_t KeyFrameSearch::FirstSoundOfSecond(int n, uint32_t p, int32_t target) {
  const uint64_t runStart =
      std::max<uint64_t>(m_Rec.AudioRunStart(n), m_Rec.m_AudioFirst[size_t(n)]);
  WalkReader reader(m_Reader.Source());
  YskFrameHeader h{};
  if (!reader.Read(p, h) || h.f_time != target) return p;
  // A second holds a handful of sound frames; the bound only stops a damaged chain.
  for (int steps = 0; steps < 64 && !Cancelled(); ++steps) {
    const int64_t prev = int64_t(p) - int64_t(h.f_info) - int64_t(kHdr);
    YskFrameHeader ph{};
    if (h.f_info == 0 || prev < int64_t(runStart) || !reader.Read(uint64_t(prev), ph) ||
        ph.f_time != target || ph.f_type != 0)
      break;
    p = uint32_t(prev);
    h = ph;
  }
  return p;
}

SearchResult KeyFrameSearch::Run(const SearchInput& in) {
  SearchResult r;
  r.video = in.videoPos;
  r.audio = in.audioPos;
  int32_t target = in.target;
  std::array<bool, kSlots> landed{};
  if (in.exact) {
    // A channel that goes on after the picture it holds needs no scan: the frame is known.
    int32_t earliest = 0;
    for (int n = 0; n < kSlots; ++n) {
      int32_t second = 0;
      if (!m_Rec.m_HasVideo[size_t(n)] || in.after[size_t(n)] == 0 ||
          !LandAfter(n, in.after[size_t(n)], r.landing[size_t(n)], r.showFrom[size_t(n)], second))
        continue;
      landed[size_t(n)] = true;
      if (!r.found || second < earliest) earliest = second;
      r.found = true;
    }
    if (r.found) target = earliest;  // the sound starts with the pictures held
  }
  for (int n = 0; n < kSlots; ++n) {
    if (!m_Rec.m_HasVideo[size_t(n)] || in.videoResume[size_t(n)] == 0 || landed[size_t(n)])
      continue;
    if (Resync(n, in.videoResume[size_t(n)], in, r.video[size_t(n)])) r.found = true;
  }
  if (r.found) {
    r.videoMoved = true;
    for (int n = 0; n < kSlots; ++n) {
      if (landed[size_t(n)]) {
        r.video[size_t(n)] = r.landing[size_t(n)];
        continue;
      }
      if (!m_Rec.m_HasVideo[size_t(n)]) {
        r.video[size_t(n)] = 0;
        continue;
      }
      const Walk w = MoveToTarget(n, r.video[size_t(n)], target);
      r.video[size_t(n)] = w.before;
      if (in.exact) {
        r.landing[size_t(n)] = w.key;
        r.showFrom[size_t(n)] = w.show;
      }
    }
  }
  for (int n = 0; n < kSlots; ++n) {
    if (!m_Rec.m_HasAudio[size_t(n)]) continue;
    r.audio[size_t(n)] = AudioOfTarget(n, in.audioResume[size_t(n)], r.audio[size_t(n)], target);
    // The scan stops at whichever frame of the second it meets first; sound that starts with the
    // landing picture needs the second's first frame.
    r.audioLanding[size_t(n)] =
        in.exact ? FirstSoundOfSecond(n, r.audio[size_t(n)], target) : r.audio[size_t(n)];
  }
  r.cancelled = Cancelled();
  return r;
}

}  // namespace ov
