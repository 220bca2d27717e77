#pragma once
// Writes a recorder storage folder for tests: <root>/<QL folder>/<recording>/<recording>_<k>.yrx,
// the channels' frames interleaved in time order and spread over several ".yrx" files.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "archive/Calendar.h"

namespace ov::cli {

struct StoragePayload {
  std::vector<uint8_t> bytes;
  bool key = false;
};

// Produces count frames of one channel, in order, handing each to sink.
using StoragePayloadSource = std::function<void(int channel, uint32_t count,
                                                const std::function<void(StoragePayload)>& sink)>;

struct StorageSampleOptions {
  std::string qlFolder = "QL01";
  std::string recordingName = "20240301";  // 8 characters, as the recorder names them
  int channelCount = 4;                    // written into every record
  uint32_t framesPerChannel = 50;
  int fileCount = 3;  // records are spread over sequence numbers 1..fileCount
  int fps = 25;
  CalendarTime start{2024, 3, 1, 12, 0, 0, 0};  // time of every channel's first frame
};

struct StorageSampleResult {
  std::filesystem::path recordingPath;
  std::vector<std::filesystem::path> files;
  uint64_t records = 0;
  uint64_t payloadBytes = 0;
};

// Throws std::invalid_argument for bad options and std::runtime_error for I/O errors.
StorageSampleResult WriteStorageSample(const std::filesystem::path& root,
                                       const StorageSampleOptions& options,
                                       const StoragePayloadSource& source);

}  // namespace ov::cli
