#include "cli/StorageSampleCommand.h"

#include <cstdio>
#include <stdexcept>

#include "archive/Calendar.h"
#include "cli/StorageSampleWriter.h"

namespace ov::cli {

void AddStorageSampleOptions(CLI::App& cmd, StorageSampleArgs& a) {
  cmd.add_flag("--storage", a.storage,
               "Write a recorder storage folder of .yrx files at out instead of a backup file");
  cmd.add_option("--ql", a.qlFolder, "Storage mode: QL folder name")->capture_default_str();
  cmd.add_option("--recording", a.recording,
                 "Storage mode: 8-character recording folder name (default: start date YYYYMMDD)");
  cmd.add_option("--yrx-files", a.yrxFiles, "Storage mode: number of .yrx files")
      ->capture_default_str();
}

int RunStorageSample(const std::string& dir, const sample::SampleOptions& options,
                     const StorageSampleArgs& a) {
  try {
    const sample::SampleOptions o = sample::ResolveSampleOptions(options);
    StorageSampleOptions s;
    s.qlFolder = a.qlFolder;
    s.channelCount = o.channelCount;
    s.fileCount = a.yrxFiles;
    s.fps = o.video.fps;
    if (s.fps < 1) throw std::invalid_argument("bad frame rate");
    s.framesPerChannel = static_cast<uint32_t>(o.durationMs * s.fps / 1000);
    s.start = SecondsToCalendar(o.startTime);
    s.recordingName = a.recording;
    if (s.recordingName.empty()) {
      char name[16];
      std::snprintf(name, sizeof name, "%04u%02u%02u", unsigned(s.start.year % 10000),
                    unsigned(s.start.month), unsigned(s.start.day));
      s.recordingName = name;
    }
    const sample::VideoParams video = o.video;
    const StoragePayloadSource source = [video](int channel, uint32_t count,
                                                const std::function<void(StoragePayload)>& sink) {
      sample::EncodeChannelVideo(video, channel, 0, count, [&](const sample::EncodedFrame& f) {
        sink(StoragePayload{f.payload, f.key});
      });
    };
    const StorageSampleResult r = WriteStorageSample(dir, s, source);
    std::printf("%s: %zu .yrx files, %llu records, %llu payload bytes\n", r.recordingPath.c_str(),
                r.files.size(), static_cast<unsigned long long>(r.records),
                static_cast<unsigned long long>(r.payloadBytes));
    return 0;
  } catch (const std::invalid_argument& e) {
    std::fprintf(stderr, "make-sample: %s\n", e.what());
    return 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make-sample: %s\n", e.what());
    return 2;
  }
}

}  // namespace ov::cli
