// libFuzzer target: the whole activity analysis (frame walk, key frames decoded small, levels,
// events) of an in-memory backup file that opened. Whatever it publishes must be in range.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "activity/Activity.h"
#include "archive/BackupFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size <= ov::kYskHeaderSize) return 0;
  auto bytes = std::make_shared<const std::vector<uint8_t>>(data, data + size);
  ov::BackupFile file;
  if (!file.ReadBackupHeader(std::make_unique<ov::MemoryFile>(bytes),
                             std::make_unique<ov::MemoryFile>(bytes))
           .accepted)
    return 0;
  ov::ActivityJob job(file.SharedRecording(), file.ScanReader(), {});
  job.Start();
  job.Wait();
  const ov::ActivitySnapshot s = job.Snapshot();
  if (!s.complete || s.seconds < 0) __builtin_trap();
  for (const auto& c : s.channels) {
    if (c.level.size() != size_t(s.seconds)) __builtin_trap();
    for (float x : c.level)
      if (x != ov::kNoRecording && !(x >= 0.0f && x <= 1.0f)) __builtin_trap();
    for (const auto& e : c.events)
      if (e.fromSecond < 0 || e.toSecond < e.fromSecond || e.toSecond >= s.seconds)
        __builtin_trap();
  }
  return 0;
}
