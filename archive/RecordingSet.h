#pragma once
// Several backup files of one recorder played as one recording. The files are probed one by one
// (each opened, checked and indexed on its own, then closed); those of the same recorder whose
// running clock goes on from one file to the next, without overlap, form the set, ordered by
// time. Every other file is listed with the reason it was left out.
//
// The set then presents itself as ONE backup file (SetSource): a header of its own, and each
// channel's run made of the members' runs one after another, read from the member that holds the
// bytes. Everything that reads a backup file (the index, the searches, playback, export, the
// activity analysis) reads a set the same way; only the pacing learns where the gaps are.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "archive/FileSource.h"
#include "archive/OpenRecording.h"
#include "archive/YskFormat.h"

namespace ov {

// The most files one set takes: each member holds two descriptors while the set is open.
inline constexpr size_t kMaxSetFiles = 256;
// Offsets in a backup file are 32-bit: the set, laid out as one file, must stay below 4 GiB.
inline constexpr uint64_t kMaxSetBytes = 0xFFFFFFFFull;
// The longest span the player shows (its total-time display counts up to 25 hours).
inline constexpr int64_t kMaxSetSpanMs = 25LL * 3600 * 1000;
// Clock stamps further from the wall-clock seconds than this mean the recorder's running clock
// was reset between two files: their frames cannot share one time line.
inline constexpr int64_t kClockSlackMs = 2000;
// Pauses between files longer than this are skipped in play; shorter ones play as recorded.
inline constexpr uint32_t kMinGapMs = 1000;

// One byte range of a member placed in the set's layout.
struct SetSegment {
  uint64_t setOffset = 0;
  uint64_t length = 0;
  uint32_t member = 0;
  uint64_t fileOffset = 0;
};

struct SetMember {
  std::string path;
  uint64_t size = 0;
  int32_t firstSecond = 0, lastSecond = 0;  // wall clock of the first and last video frame
  uint32_t firstKey = 0, lastKey = 0;       // running clock (ms) of the same frames
  // Each slot's whole frames: [begin, end) in the file, 0/0 when the slot has none.
  struct Range {
    uint64_t begin = 0, end = 0;
  };
  Range video[kSlots]{}, audio[kSlots]{};
};

struct SetMisfit {
  std::string path;
  std::string reason;  // in words for the user
};

struct RecordingSetPlan {
  std::string identity;            // RecorderIdentity of the members
  YskHeader header{};              // the first member's header (names, coding, layout)
  std::vector<SetMember> members;  // ordered by time
  std::vector<SetMisfit> misfits;  // in the order the paths were given
  std::vector<KeyGap> gaps;
  bool Empty() const { return members.empty(); }
};

// Expands the paths given: a folder stands for the ".ysk" files directly inside it (not its
// subfolders), sorted by name; a folder that cannot be read is listed as a misfit.
std::vector<std::string> ExpandSetPaths(const std::vector<std::string>& paths,
                                        std::vector<SetMisfit>& misfits);

// Probes every file (folders expanded) and forms the set. The recorder with the most files wins;
// ties go to the recorder of the earliest file given.
RecordingSetPlan PlanRecordingSet(const std::vector<std::string>& paths);

// The set laid out as one backup file. Reads are safe from several threads, as for any source.
class SetSource final : public IFileSource {
 public:
  // Opens every member; null with why set when one cannot be opened or has changed size since it
  // was probed.
  static std::unique_ptr<SetSource> Open(const RecordingSetPlan& plan, std::string* why = nullptr);
  uint64_t Size() const override { return m_size; }
  size_t ReadAt(uint64_t offset, void* buffer, size_t n) override;
  const std::vector<KeyGap>& Gaps() const { return m_gaps; }
  const std::vector<SetSegment>& Segments() const { return m_segments; }

 private:
  SetSource() = default;
  std::vector<std::unique_ptr<PosixFile>> m_files;
  std::vector<uint8_t> m_header;  // the set's own header, at offset 0
  std::vector<SetSegment> m_segments;
  std::vector<KeyGap> m_gaps;
  uint64_t m_size = 0;
};

// The layout alone (the header bytes and the segments), from a plan: for tests and for Open.
struct SetLayout {
  std::vector<uint8_t> header;
  std::vector<SetSegment> segments;
  uint64_t size = 0;
};
SetLayout LayOutSet(const RecordingSetPlan& plan);

}  // namespace ov
