#pragma once
// One forward walk over a channel's run, frame by frame, under the rules playback follows: a
// frame larger than kMaxFrameBytes is passed over, a frame reaching past its run (or past the
// file's end) ends the run there, frames with no payload are passed in one step, and a stretch of
// them longer than kEmptyFrameReach (a hole of zero bytes) ends the run. Whoever walks a run this
// way sees exactly the frames the player shows, and learns what was passed over and why.
//
// Threads: a walker belongs to one thread; the source may be shared (its reads are positional).
#include <cstdint>

#include "archive/FileSource.h"
#include "archive/HeaderReader.h"
#include "archive/YskFormat.h"

namespace ov {

// What a step passed over instead of a frame.
enum class WalkSkip : uint8_t {
  None,
  EmptyFrames,  // frames with no payload; the walk goes on after them
  Hole,         // empty frames beyond kEmptyFrameReach: the rest of the run
  Oversized,    // one frame larger than kMaxFrameBytes; the walk goes on after it
  PastRunEnd,   // a frame reaching past its run's end: the rest of the run
  CutShort,     // the file ends inside the run: the rest of the run
};
// In words, for reports ("a frame larger than 8 MiB", ...).
const char* WalkSkipText(WalkSkip why);
// True when the skip ends the run (nothing after it is walked).
inline bool EndsRun(WalkSkip why) {
  return why == WalkSkip::Hole || why == WalkSkip::PastRunEnd || why == WalkSkip::CutShort;
}

struct WalkStep {
  enum class Kind : uint8_t { Frame, Skip, End };
  Kind kind = Kind::End;
  WalkSkip skip = WalkSkip::None;
  uint64_t pos = 0;    // the frame's header, or the first byte passed over
  uint64_t next = 0;   // where the walk goes on
  YskFrameHeader h{};  // the frame's header, or the header that caused the skip
};

// The rule for the header h read at pos, without reading anything: a frame, or what is passed
// over. fileSize tells a frame cut short by the file's end from one reaching past its run. An
// empty frame comes back as EmptyFrames with next just after its header; PastEmptyFrames finds
// where the empty frames end.
WalkStep ClassifyHeader(const YskFrameHeader& h, uint64_t pos, uint64_t runEnd, uint64_t fileSize);

// Where a walk goes on after the empty frame whose header is at pos: the first later header with a
// payload (copied to *found when given), the run's end when empty frames go on for
// kEmptyFrameReach, or where the file ends. Reads at most kEmptyFrameReach bytes.
uint64_t PastEmptyFrames(HeaderReader& reader, uint64_t pos, uint64_t runEnd,
                         YskFrameHeader* found = nullptr);

class FrameWalker {
 public:
  // Walks [begin, runEnd) of file.
  FrameWalker(IFileSource& file, uint64_t begin, uint64_t runEnd);
  // The next frame, or what was passed over, or the end. After End, End again.
  WalkStep Next();
  uint64_t Position() const { return m_pos; }

 private:
  IFileSource& m_file;
  // A page for the headers of frames (one read per frame, as header reads would cost), and a
  // larger window for stretches of empty frames, 20 bytes a step (a read every 3,000 steps).
  HeaderReader m_reader;
  HeaderReader m_emptyReader;
  uint64_t m_pos;
  uint64_t m_end;
};

}  // namespace ov
