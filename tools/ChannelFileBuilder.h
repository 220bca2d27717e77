#pragma once
// Builds one ".chv" file per channel from a recording folder of the recorder's ".yrx" files.
//
// The folder <rec> holds "<name>_<k>.yrx" (name = the last 8 characters of <rec>, k a sequence
// number). The files are read in ascending k; every record becomes a 20-byte frame header in the
// backup file layout plus its payload, appended to "<rec>/Ch/<name>_<jj>.chv" for its channel jj.
// The number of channel files comes from the first complete record of the run (at most 16).
// f_info of each written header is the payload size of the previous frame of the same file
// (0 for its first), so readers can step backwards through a channel file.
//
// Damaged records are skipped and counted, never written: a record whose channel has no file,
// a payload over 131072 bytes, time fields that are no valid calendar time, and a record cut
// short by the end of its file (the rest of that file is then not read). Everything is std only;
// Build may run on any thread.
#include <array>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "tools/YrxRecord.h"

namespace ov::tools {

// Orders two s32 values ascending (< 0, 0, > 0) without the overflow a plain difference has.
int CompareInt(int32_t a, int32_t b);

// The sequence number of a ".yrx" file name: the leading decimal digits after the first '_'
// (of the whole name when it has none); 0 when there are none; INT32_MAX when they overflow.
int32_t SequenceNumberOf(std::string_view fileName);

// True when t is a calendar time the recorder can have written: years 1601..30827, a real day
// of its month, hours, minutes, seconds and milliseconds in range. The day of week is ignored.
bool IsValidRecordTime(const CalendarTime& t);

// The distinct sequence numbers of the ".yrx" files (not folders) of a recording folder, in
// ascending order.
std::vector<int32_t> FindSequenceNumbers(const std::filesystem::path& recordingPath);

// "<storage>/<entry>", the folder a storage scan entry names.
std::string RecordingPathFor(const std::string& storagePath, const std::string& entry);

struct SkippedRecords {
  uint64_t channelOutOfRange = 0;  // channel index < 0 or not below the files created
  uint64_t payloadTooLarge = 0;    // over kMaxPayload bytes
  uint64_t badTime = 0;            // time fields that are no calendar time (month 13, ...)
  uint64_t truncated = 0;          // header or payload cut short by the end of the file
  uint64_t noOutputFile = 0;       // the channel's file could not be created or failed earlier
  uint64_t writeFailed = 0;        // a write of this record failed; the channel file stops here
  uint64_t Total() const {
    return channelOutOfRange + payloadTooLarge + badTime + truncated + noOutputFile + writeFailed;
  }
};

struct ChannelFileStats {
  std::filesystem::path path;
  bool created = false;     // the file could be created
  bool writeError = false;  // a write or the close failed: the file is incomplete
  uint64_t frames = 0;
  uint64_t payloadBytes = 0;
  uint64_t fileBytes = 0;  // headers and payloads
};

// An input that was listed but left out, wholly or in part, and why ("permission denied", ...).
struct UnreadableInput {
  std::filesystem::path path;
  std::string reason;
};

struct ChannelBuildResult {
  std::string recordingName;                // the last 8 characters of the recording folder
  std::vector<int32_t> sequenceNumbers;     // in the order processed
  int filesRead = 0;                        // ".yrx" files opened and read
  int filesMissing = 0;                     // sequence numbers whose file could not be opened
  std::vector<UnreadableInput> unreadable;  // every input not read to its end, in order
  bool outputStarted = false;               // a first record was met and the files were created
  int announcedChannels = 0;                // channel count of the first record, as read
  std::vector<ChannelFileStats> channels;   // one per file the run tried to create
  SkippedRecords skipped;
  uint64_t bytesRead = 0;
  bool cancelled = false;
};

struct ChannelBuildOptions {
  // Called on the thread that runs Build, at the start, every few MiB, after each file and at
  // the end; total is the size of all ".yrx" files of the run.
  std::function<void(uint64_t done, uint64_t total)> progress;
  // When set and it turns true, Build stops after the current record and closes its files.
  const std::atomic<bool>* cancel = nullptr;
};

class ChannelFileBuilder {
 public:
  explicit ChannelFileBuilder(ChannelBuildOptions options = {});
  ~ChannelFileBuilder();
  ChannelFileBuilder(const ChannelFileBuilder&) = delete;
  ChannelFileBuilder& operator=(const ChannelFileBuilder&) = delete;

  // Runs the whole build for one recording folder. A folder without ".yrx" files does nothing.
  ChannelBuildResult Build(const std::string& recordingPath);

 private:
  struct FileCloser {
    void operator()(std::FILE* f) const;
  };
  using File = std::unique_ptr<std::FILE, FileCloser>;

  void ReadYrxFile(std::FILE* in, uint64_t size);
  void CreateOutputs(int32_t announced);
  bool Discard(std::FILE* in, uint64_t bytes);
  void WriteFrame(const YrxRecordHeader& h);
  void CloseOutputs();
  void ReportProgress(bool force);

  ChannelBuildOptions options_;
  std::string recordingPath_;
  ChannelBuildResult result_;
  std::array<File, kMaxChannelFiles> outputs_;
  std::array<uint32_t, kMaxChannelFiles> previousPayload_{};
  std::vector<uint8_t> payload_;
  uint64_t done_ = 0;
  uint64_t total_ = 0;
  uint64_t lastReported_ = 0;
  bool stop_ = false;
};

}  // namespace ov::tools
