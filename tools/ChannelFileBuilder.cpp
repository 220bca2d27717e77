#include "tools/ChannelFileBuilder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <system_error>

#include "archive/Calendar.h"
#include "archive/FileSource.h"
#include "archive/YskFormat.h"
#include "tools/DirectoryListing.h"

namespace ov::tools {
namespace {

constexpr size_t kRecordingNameLength = 8;
constexpr uint64_t kProgressStep = 4u << 20;  // often enough for a progress bar, rarely enough
                                              // not to flood a window's event queue
constexpr size_t kStreamBuffer = 1u << 18;    // fewer system calls on multi-gigabyte folders

bool HasYrxExtension(const std::string& name) {
  return name.size() >= 4 &&
         SameNameIgnoringCase(std::string_view(name).substr(name.size() - 4), ".yrx");
}

// fread until n bytes or the end: a short count from one call is not the end of the file.
size_t ReadFully(std::FILE* f, uint8_t* out, size_t n) {
  size_t got = 0;
  while (got < n) {
    const size_t r = std::fread(out + got, 1, n - got, f);
    got += r;
    if (r == 0) {
      if (std::ferror(f) && errno == EINTR) {
        std::clearerr(f);
        continue;
      }
      break;
    }
  }
  return got;
}

bool WriteAll(std::FILE* f, const uint8_t* data, size_t n) {
  return n == 0 || std::fwrite(data, 1, n, f) == n;
}

// Size of an open file, or UINT64_MAX when it is not a regular file (reads then decide).
uint64_t OpenFileSize(std::FILE* f) {
  struct stat st {};
  if (fstat(fileno(f), &st) != 0 || !S_ISREG(st.st_mode)) return UINT64_MAX;
  return static_cast<uint64_t>(st.st_size);
}

std::string StripTrailingSlashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

// The file for sequence number k: "<name>_<k>.yrx", or a listed file with that name in other
// letter case (the recorder's own tools open names case-insensitively).
std::filesystem::path ResolveYrx(const std::filesystem::path& dir, const std::string& name,
                                 int32_t k, const std::vector<DirEntry>& listing) {
  const std::string wanted = name + "_" + std::to_string(k) + ".yrx";
  std::error_code ec;
  if (std::filesystem::is_regular_file(dir / wanted, ec)) return dir / wanted;
  for (const DirEntry& e : listing) {
    if (!e.isDirectory && SameNameIgnoringCase(e.name, wanted)) return dir / e.name;
  }
  return dir / wanted;
}

}  // namespace

int CompareInt(int32_t a, int32_t b) { return (a > b) - (a < b); }

int32_t SequenceNumberOf(std::string_view fileName) {
  const size_t underscore = fileName.find('_');
  std::string_view rest =
      underscore == std::string_view::npos ? fileName : fileName.substr(underscore + 1);
  int64_t value = 0;
  for (char c : rest) {
    if (c < '0' || c > '9') break;
    value = std::min<int64_t>(value * 10 + (c - '0'), INT32_MAX);
  }
  return static_cast<int32_t>(value);
}

bool IsValidRecordTime(const CalendarTime& t) {
  if (t.year < 1601 || t.year > 30827 || t.month < 1 || t.month > 12) return false;
  return t.day >= 1 && t.day <= DaysInMonth(t.year, t.month) && t.hour < 24 && t.minute < 60 &&
         t.second < 60 && t.millisecond < 1000;
}

std::vector<int32_t> FindSequenceNumbers(const std::filesystem::path& recordingPath) {
  std::vector<int32_t> numbers;
  for (const DirEntry& e : ListDirectory(recordingPath)) {
    if (!e.isDirectory && HasYrxExtension(e.name)) numbers.push_back(SequenceNumberOf(e.name));
  }
  std::sort(numbers.begin(), numbers.end(),
            [](int32_t a, int32_t b) { return CompareInt(a, b) < 0; });
  // Two names with one number (rec_1 and rec_01) name the same file: read it once.
  numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
  return numbers;
}

std::string RecordingPathFor(const std::string& storagePath, const std::string& entry) {
  return storagePath + "/" + entry;
}

void ChannelFileBuilder::FileCloser::operator()(std::FILE* f) const {
  if (f) std::fclose(f);
}

ChannelFileBuilder::ChannelFileBuilder(ChannelBuildOptions options)
    : options_(std::move(options)), payload_(kMaxPayload) {}

ChannelFileBuilder::~ChannelFileBuilder() = default;

ChannelBuildResult ChannelFileBuilder::Build(const std::string& recordingPath) {
  result_ = {};
  for (File& f : outputs_) f.reset();
  previousPayload_.fill(0);
  done_ = total_ = lastReported_ = 0;
  stop_ = false;

  recordingPath_ = StripTrailingSlashes(recordingPath);
  result_.recordingName = LastCharacters(recordingPath_, kRecordingNameLength);
  const std::filesystem::path dir(recordingPath_);
  const std::vector<DirEntry> listing = ListDirectory(dir);
  result_.sequenceNumbers = FindSequenceNumbers(dir);

  std::vector<std::filesystem::path> inputs;
  for (int32_t k : result_.sequenceNumbers) {
    inputs.push_back(ResolveYrx(dir, result_.recordingName, k, listing));
    std::error_code ec;
    const auto size = std::filesystem::file_size(inputs.back(), ec);
    if (!ec) total_ += size;
  }
  ReportProgress(true);

  for (const auto& input : inputs) {
    if (stop_) break;
    // Only regular files are read: a FIFO or a device would block or never end.
    OpenRefusal why = OpenRefusal::None;
    uint64_t ignored = 0;
    const int fd = OpenRegularFile(input.string(), why, ignored);
    File in(fd >= 0 ? ::fdopen(fd, "rb") : nullptr);
    if (!in) {
      if (fd >= 0) ::close(fd);
      ++result_.filesMissing;
      result_.unreadable.push_back({input, fd >= 0 ? "cannot be read" : RefusalText(why)});
      continue;
    }
    std::setvbuf(in.get(), nullptr, _IOFBF, kStreamBuffer);
    ++result_.filesRead;
    const uint64_t base = done_;
    const uint64_t size = OpenFileSize(in.get());
    ReadYrxFile(in.get(), size);
    if (std::ferror(in.get())) result_.unreadable.push_back({input, "read error"});
    if (stop_) break;
    // Bytes after the last record (a cut record, stray bytes) still count as done.
    if (size != UINT64_MAX) done_ = std::max(done_, base + size);
    ReportProgress(true);
  }
  CloseOutputs();
  result_.cancelled = stop_;
  result_.bytesRead = done_;
  return std::move(result_);
}

void ChannelFileBuilder::ReadYrxFile(std::FILE* in, uint64_t size) {
  uint64_t pos = 0;
  std::array<uint8_t, kYrxHeaderSize> raw{};
  while (!stop_) {
    if (options_.cancel && options_.cancel->load(std::memory_order_relaxed)) {
      stop_ = true;
      break;
    }
    const size_t got = ReadFully(in, raw.data(), raw.size());
    if (got < 4) break;  // no lead-in: the file's records are done
    pos += got;
    done_ += got;
    if (got < raw.size()) {
      ++result_.skipped.truncated;
      break;
    }
    const YrxRecordHeader h = DecodeYrxRecordHeader(raw);
    if (size != UINT64_MAX && h.payloadSize > size - std::min(size, pos)) {
      ++result_.skipped.truncated;  // the payload runs past the end: none of it is used
      break;
    }
    if (!result_.outputStarted) CreateOutputs(h.channelCount);

    const bool inRange = h.channel >= 0 && static_cast<size_t>(h.channel) < result_.channels.size();
    uint64_t* skipReason = nullptr;
    if (!inRange) {
      skipReason = &result_.skipped.channelOutOfRange;
    } else if (h.payloadSize > kMaxPayload) {
      skipReason = &result_.skipped.payloadTooLarge;
    } else if (!IsValidRecordTime(h.time)) {
      skipReason = &result_.skipped.badTime;
    } else if (!outputs_[static_cast<size_t>(h.channel)]) {
      skipReason = &result_.skipped.noOutputFile;
    }
    if (skipReason) {
      if (!Discard(in, h.payloadSize)) {
        ++result_.skipped.truncated;
        break;
      }
      ++*skipReason;
      pos += h.payloadSize;
      ReportProgress(false);
      continue;
    }
    const size_t n = ReadFully(in, payload_.data(), h.payloadSize);
    pos += n;
    done_ += n;
    if (n < h.payloadSize) {
      ++result_.skipped.truncated;
      break;
    }
    WriteFrame(h);
    ReportProgress(false);
  }
}

void ChannelFileBuilder::CreateOutputs(int32_t announced) {
  result_.outputStarted = true;
  result_.announcedChannels = announced;
  const int count = std::clamp(announced, 0, kMaxChannelFiles);
  const std::filesystem::path chDir = std::filesystem::path(recordingPath_) / "Ch";
  std::error_code ec;
  std::filesystem::create_directory(chDir, ec);  // it may exist already
  for (int j = 0; j < count; ++j) {
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "_%02d.chv", j);
    ChannelFileStats stats;
    stats.path = chDir / (result_.recordingName + suffix);
    outputs_[static_cast<size_t>(j)].reset(std::fopen(stats.path.c_str(), "wb"));
    stats.created = outputs_[static_cast<size_t>(j)] != nullptr;
    if (stats.created) {
      std::setvbuf(outputs_[static_cast<size_t>(j)].get(), nullptr, _IOFBF, kStreamBuffer);
    }
    result_.channels.push_back(std::move(stats));
  }
}

bool ChannelFileBuilder::Discard(std::FILE* in, uint64_t bytes) {
  while (bytes > 0) {
    const size_t chunk = static_cast<size_t>(std::min<uint64_t>(bytes, payload_.size()));
    const size_t n = ReadFully(in, payload_.data(), chunk);
    done_ += n;
    if (n < chunk) return false;
    bytes -= n;
  }
  return true;
}

void ChannelFileBuilder::WriteFrame(const YrxRecordHeader& h) {
  const auto ch = static_cast<size_t>(h.channel);
  YskFrameHeader f;
  f.f_time = CalendarToSeconds(h.time);
  f.f_msec = h.time.millisecond;
  f.f_size = h.payloadSize;
  f.f_info = previousPayload_[ch];
  f.f_type = h.frameType;
  std::array<uint8_t, kYskFrameHeaderSize> raw{};
  EncodeFrameHeader(f, raw);

  ChannelFileStats& stats = result_.channels[ch];
  std::FILE* out = outputs_[ch].get();
  if (!WriteAll(out, raw.data(), raw.size()) || !WriteAll(out, payload_.data(), h.payloadSize)) {
    // A partial record would break the chain of sizes for every later frame: stop this file.
    ++result_.skipped.writeFailed;
    stats.writeError = true;
    outputs_[ch].reset();
    return;
  }
  previousPayload_[ch] = h.payloadSize;
  ++stats.frames;
  stats.payloadBytes += h.payloadSize;
  stats.fileBytes += raw.size() + h.payloadSize;
}

void ChannelFileBuilder::CloseOutputs() {
  for (size_t j = 0; j < outputs_.size(); ++j) {
    if (outputs_[j] && std::fclose(outputs_[j].release()) != 0) {
      result_.channels[j].writeError = true;
    }
  }
}

void ChannelFileBuilder::ReportProgress(bool force) {
  if (!options_.progress) return;
  if (!force && done_ - lastReported_ < kProgressStep) return;
  lastReported_ = done_;
  options_.progress(done_, std::max(done_, total_));  // a growing file never passes 100%
}

}  // namespace ov::tools
