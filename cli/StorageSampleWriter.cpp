#include "cli/StorageSampleWriter.h"

#include <array>
#include <cstdio>
#include <memory>
#include <stdexcept>

#include "archive/YskFormat.h"
#include "tools/DirectoryListing.h"
#include "tools/YrxRecord.h"

namespace ov::cli {
namespace {

constexpr uint32_t kLeadIn = 0x30585259;  // any value marks a record; this one reads "YRX0"

struct Frame {
  int channel = 0;
  uint32_t index = 0;
  StoragePayload payload;
};

CalendarTime TimeAt(const CalendarTime& start, uint64_t ms) {
  const int64_t seconds =
      int64_t(CalendarToSeconds(start)) + int64_t(start.millisecond + ms) / 1000;
  CalendarTime t = SecondsToCalendar(static_cast<int32_t>(seconds));
  t.millisecond = static_cast<uint16_t>((start.millisecond + ms) % 1000);
  return t;
}

}  // namespace

StorageSampleResult WriteStorageSample(const std::filesystem::path& root,
                                       const StorageSampleOptions& o,
                                       const StoragePayloadSource& source) {
  if (o.channelCount < 1 || o.channelCount > 16) throw std::invalid_argument("channels: 1..16");
  if (o.fileCount < 1 || o.fps < 1) throw std::invalid_argument("files and fps must be >= 1");
  if (tools::NameLength(o.recordingName) != 8 || o.recordingName.find('/') != std::string::npos) {
    throw std::invalid_argument("the recording name must be 8 characters");
  }
  if (tools::NameLength(o.qlFolder) != 4 || o.qlFolder.rfind("QL", 0) != 0) {
    throw std::invalid_argument("the QL folder must be QL and two characters");
  }

  // Interleave the channels by time: frame i of every channel, channel 0 first.
  std::vector<std::vector<StoragePayload>> perChannel(static_cast<size_t>(o.channelCount));
  for (int ch = 0; ch < o.channelCount; ++ch) {
    source(ch, o.framesPerChannel, [&](StoragePayload p) {
      if (p.bytes.size() > kMaxPayload) throw std::runtime_error("payload over 131072 bytes");
      perChannel[static_cast<size_t>(ch)].push_back(std::move(p));
    });
  }
  std::vector<Frame> frames;
  for (uint32_t i = 0; i < o.framesPerChannel; ++i) {
    for (int ch = 0; ch < o.channelCount; ++ch) {
      auto& list = perChannel[static_cast<size_t>(ch)];
      if (i < list.size()) frames.push_back({ch, i, std::move(list[i])});
    }
  }

  StorageSampleResult result;
  result.recordingPath = root / o.qlFolder / o.recordingName;
  std::error_code ec;
  std::filesystem::create_directories(result.recordingPath, ec);
  if (ec) throw std::runtime_error("cannot create " + result.recordingPath.string());

  const size_t total = frames.size();
  size_t next = 0;
  for (int k = 1; k <= o.fileCount; ++k) {
    const auto path = result.recordingPath / (o.recordingName + "_" + std::to_string(k) + ".yrx");
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> out(std::fopen(path.c_str(), "wb"),
                                                        &std::fclose);
    if (!out) throw std::runtime_error("cannot create " + path.string());
    const size_t end = total * static_cast<size_t>(k) / static_cast<size_t>(o.fileCount);
    for (; next < end; ++next) {
      const Frame& f = frames[next];
      tools::YrxRecordHeader h;
      h.leadIn = kLeadIn;
      h.frameType = f.payload.key ? 1 : 0;
      h.time = TimeAt(o.start, uint64_t(f.index) * 1000 / static_cast<uint64_t>(o.fps));
      h.channel = f.channel;
      h.channelCount = o.channelCount;
      h.payloadSize = static_cast<uint32_t>(f.payload.bytes.size());
      std::array<uint8_t, tools::kYrxHeaderSize> raw{};
      tools::EncodeYrxRecordHeader(h, raw);
      if (std::fwrite(raw.data(), 1, raw.size(), out.get()) != raw.size() ||
          std::fwrite(f.payload.bytes.data(), 1, f.payload.bytes.size(), out.get()) !=
              f.payload.bytes.size()) {
        throw std::runtime_error("cannot write " + path.string());
      }
      ++result.records;
      result.payloadBytes += f.payload.bytes.size();
    }
    if (std::fclose(out.release()) != 0) throw std::runtime_error("cannot write " + path.string());
    result.files.push_back(path);
  }
  return result;
}

}  // namespace ov::cli
