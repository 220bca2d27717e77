#pragma once
// The key-frame search: moves every channel's video position to a key frame at the target second
// and its sound position to a frame of that second, scanning from given resume offsets.
//
// Threads: runs on a seek thread; reads the file only through the scan reader it is given and
// never writes the shared state (the caller publishes the result).
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "archive/OpenRecording.h"
#include "playback/Clock.h"

namespace ov {

struct SearchInput {
  std::array<uint32_t, kSlots> videoResume{};  // 0: do not scan this channel's video
  std::array<uint32_t, kSlots> audioResume{};
  std::array<uint32_t, kSlots> videoPos{};  // the positions in effect before the search
  std::array<uint32_t, kSlots> audioPos{};
  int32_t target = 0;  // whole seconds since 1970
  bool iFrameOnly = false;
  // Exact landing: video starts on the key frame at or before the first picture to show, and
  // landing/showFrom of the result say where. The picture to show is the first of the target
  // second, or, for a channel with an after entry (a header offset), the frame after that one.
  bool exact = false;
  std::array<uint32_t, kSlots> after{};
};

struct SearchResult {
  bool found = false;       // at least one channel's video was positioned; playback may go on
  bool videoMoved = false;  // phase 2 ran: publish the video positions
  bool cancelled = false;
  std::array<uint32_t, kSlots> video{};
  std::array<uint32_t, kSlots> audio{};
  // With exact: each channel's key frame to start from and its first frame to show (0: none).
  std::array<uint32_t, kSlots> landing{};
  std::array<uint32_t, kSlots> showFrom{};
  std::array<uint32_t, kSlots> audioLanding{};  // the first sound frame of the target second
};

class KeyFrameSearch {
 public:
  // cancelled (may be empty) is polled between chunks and steps; a cancelled search publishes
  // nothing.
  // Holds the recording and the reader for its whole run, so a search outlives nothing it reads.
  KeyFrameSearch(std::shared_ptr<const OpenRecording> rec, FrameReader reader, IClock& clock,
                 std::function<bool()> cancelled);
  SearchResult Run(const SearchInput& in);

 private:
  bool Cancelled() const { return m_cancelled && m_cancelled(); }
  bool ReadHeader(uint64_t pos, YskFrameHeader& h) const;
  // Phase 1 for channel n: true when the channel counts as found.
  bool Resync(int n, uint32_t scan, const SearchInput& in, uint32_t& result);
  struct Walk {
    uint32_t before = 0;  // the frame before the first key frame at or after the target
    uint32_t key = 0;     // the key frame to start from for an exact landing
    uint32_t show = 0;    // the first frame of the target second (or the nearest there is)
  };
  Walk MoveToTarget(int n, uint32_t p, int32_t target);
  // The frame after `after` as the picture to show, and the key frame before it; false when
  // after is no readable frame of the channel.
  bool LandAfter(int n, uint32_t after, uint32_t& key, uint32_t& show, int32_t& second);
  uint32_t AudioOfTarget(int n, uint32_t scan, uint32_t current, int32_t target);
  // From a sound frame of the target second back to the first one of that second.
  uint32_t FirstSoundOfSecond(int n, uint32_t p, int32_t target);

  std::shared_ptr<const OpenRecording> m_Hold;
  const OpenRecording& m_Rec;
  FrameReader m_Reader;
  IClock& m_Clock;
  std::function<bool()> m_cancelled;
  std::array<uint8_t, 65536> m_Scan{};
};

}  // namespace ov
