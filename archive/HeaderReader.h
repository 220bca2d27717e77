#pragma once
// Frame headers read through a window of the file, and the limits of every scan over a run.
//
// Walks over a run step from header to header; on a run of zeros (a hole a power cut leaves) every
// step is 20 bytes, so a walk over a large run would issue millions of reads. Reading through a
// window makes such a walk cost one read per window, and the limits below make every scan end
// after a fixed number of bytes whatever the file holds.
#include <cstdint>
#include <vector>

#include "archive/FileSource.h"
#include "archive/YskFormat.h"

namespace ov {

// How far the time index looks from each end of a run for the first or last frame. A recorder
// starts a key frame every few seconds (a group of pictures of a few MB at the highest rates), so
// a usable frame lies far inside this reach in any real run.
inline constexpr uint64_t kIndexReach = 8u << 20;
// The byte-by-byte search for the last sound header: sound frames are under 2000 bytes and the
// last one normally ends the run, so a damaged tail longer than this has no usable frame.
inline constexpr uint64_t kAudioTailReach = 1u << 20;
// How far the key-frame search scans for a start code from a resume offset (at most one group
// of pictures away), and how far a sound walk moves.
inline constexpr uint64_t kResyncReach = 16u << 20;
// How far the walk to the target second moves from where the resume estimate put it: minutes of
// a channel even at several Mbit/s, far beyond the estimate's error on a real recording.
inline constexpr uint64_t kWalkReach = 256u << 20;
// How far playback passes over frames with no payload before it gives up on the channel. Zero
// bytes read as such frames, 20 bytes apart; a recorder writes none, so any real run of them is a
// hole, and a hole this long has nothing to play before the run's end within reach.
inline constexpr uint64_t kEmptyFrameReach = 1u << 20;

class HeaderReader {
 public:
  // One page by default: a walk over real frames reads no more from the disk than header reads
  // would, and a walk over 20-byte steps reads each page once.
  explicit HeaderReader(IFileSource& file, size_t window = 4096);
  // Reads the 20-byte header at pos; false when fewer than 20 bytes are there.
  bool Read(uint64_t pos, YskFrameHeader& out);

 private:
  IFileSource& m_file;
  std::vector<uint8_t> m_buf;
  uint64_t m_start = 0;
  size_t m_len = 0;
};

}  // namespace ov
