#pragma once
// What the catalog keeps of one file, and how one file is read for it: the open command's checks
// and time index, a walk over each channel's frame headers for its range and gaps, and on request
// the SHA-256 of the whole file and the activity analysis. Sources are opened read-only.
//
// Threads: ScanFile may run on several threads at once, each on its own file.
#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ov::catalog {

// Times are the recording's seconds since 1970 (as recorded, no time zone).
struct Gap {
  int64_t from = 0, to = 0;  // the first and last second with no frame
  bool operator==(const Gap&) const = default;
};

struct ChannelEntry {
  int slot = 0;  // place in the header; the channel's number is slot + 1
  std::string name;
  std::optional<int64_t> coding;  // the file's video coding, for channels with video
  bool video = false, sound = false;
  std::optional<int64_t> first, last;  // seconds of the first and last frame of video
  std::vector<Gap> gaps;
};

struct EventEntry {
  int slot = 0;
  int64_t from = 0, to = 0;  // both seconds included
  double peak = 0;
};

struct FileEntry {
  std::string path;
  uint64_t size = 0, inode = 0, device = 0;
  int64_t mtimeNs = 0;
  std::optional<std::string> sha256;
  std::string status;               // accepted, rejected or ignored, as info says
  std::optional<std::string> code;  // C1001..C1007 when rejected
  std::optional<std::string> message;
  std::optional<int64_t> kind, channelCount, videoCoding;
  std::optional<std::string> layout;  // RecorderIdentity: tells one recorder's files apart
  std::optional<int64_t> start, end;
  std::vector<ChannelEntry> channels;
  bool activity = false;  // the analysis ran and events holds its results
  std::vector<EventEntry> events;
  int64_t scannedAt = 0;  // seconds since 1970, UTC
};

struct ScanOptions {
  bool hash = false;
  bool activity = false;
  std::optional<std::string> knownSha256;  // of this very file, from an earlier run
  const std::atomic<bool>* cancel = nullptr;
};

// A gap is a stretch of more than this many seconds with no frame on a channel.
inline constexpr int64_t kGapSeconds = 2;
// Gaps kept per channel: a badly damaged run cannot grow the catalog without end.
inline constexpr size_t kMaxGapsPerChannel = 4096;

FileEntry ScanFile(const std::string& path, const ScanOptions& options);

}  // namespace ov::catalog
