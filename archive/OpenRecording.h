#pragma once
// What one open of a backup file found, and the reader its workers use to fetch frames.
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "archive/Calendar.h"
#include "archive/FileSource.h"
#include "archive/TimeIndex.h"
#include "archive/YskFormat.h"

namespace ov {

// A stretch of the running clock (merge keys, ms) with no frame, between two files of a set.
struct KeyGap {
  uint32_t fromKey = 0;  // the last frame before it
  uint32_t toKey = 0;    // the first frame after it
};

// The header in effect, each slot's run limits and the time index of one opened file.
//
// Built by the thread that opens the file (the window thread, or a command of the cli) before any
// worker sees it, and never changed afterwards: the playback and seek threads read it without a
// lock. The next open builds a new one; holders of the old one keep it alive until they let go.
// Every per-channel table is indexed by slot, the record's place in the header.
struct OpenRecording {
  YskHeader m_Header{};
  uint32_t m_DataStart = 0;
  CalendarTime m_RefDate{};
  int32_t m_VideoCount = 0;
  int32_t m_AudioCount = 0;
  std::array<int32_t, kSlots> m_HasVideo{};
  std::array<int32_t, kSlots> m_HasAudio{};
  // Absolute header offsets (u32), 0 = none.
  std::array<uint32_t, kSlots> m_VideoFirst{};
  std::array<uint32_t, kSlots> m_AudioFirst{};
  std::array<uint32_t, kSlots> m_VideoLast{};  // last key frame
  std::array<uint32_t, kSlots> m_AudioLast{};  // last plausible sound frame
  // Where the open's scans left the read cursors: playback begins from these.
  std::array<uint32_t, kSlots> m_VideoPos{};
  std::array<uint32_t, kSlots> m_AudioPos{};
  TimeIndex m_Index{};
  // Pauses between the files of a set, skipped in play; empty for one file.
  std::vector<KeyGap> m_Gaps;

  // Run limits of slot n (absolute offsets; end is one past the last byte).
  uint64_t VideoRunStart(int n) const {
    return uint64_t(m_DataStart) + m_Header.video[size_t(n)].startOffset;
  }
  uint64_t VideoRunEnd(int n) const {
    return uint64_t(m_DataStart) + m_Header.video[size_t(n)].endOffset;
  }
  uint64_t AudioRunStart(int n) const {
    return uint64_t(m_DataStart) + m_Header.audio[size_t(n)].startOffset;
  }
  uint64_t AudioRunEnd(int n) const {
    return uint64_t(m_DataStart) + m_Header.audio[size_t(n)].endOffset;
  }
};

// Frame headers and payloads of an opened file through one descriptor. Copies share the
// descriptor, which stays open while any copy lives; reads are safe from several threads. A
// default-constructed reader (no file) reads nothing.
class FrameReader {
 public:
  FrameReader() = default;
  explicit FrameReader(std::shared_ptr<IFileSource> source) : m_source(std::move(source)) {}
  bool IsOpen() const { return m_source != nullptr; }
  uint64_t Size() const { return m_source ? m_source->Size() : 0; }
  // The 20-byte header at pos; false when fewer than 20 bytes are there.
  bool Header(uint64_t pos, YskFrameHeader& out) const {
    return m_source && ReadFrameHeader(*m_source, pos, out);
  }
  // Up to n bytes at pos; returns the number read.
  size_t Bytes(uint64_t pos, void* buffer, size_t n) const {
    return m_source ? m_source->ReadAt(pos, buffer, n) : 0;
  }
  // For walkers that read through a window of their own; null when no file is open.
  IFileSource* Source() const { return m_source.get(); }

 private:
  std::shared_ptr<IFileSource> m_source;
};

}  // namespace ov
