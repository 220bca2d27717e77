// libFuzzer target: open and index an in-memory backup file as the open command does.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "archive/BackupFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto bytes = std::make_shared<const std::vector<uint8_t>>(data, data + size);
  if (size <= ov::kYskHeaderSize) return 0;  // the length test rejects these before any read
  ov::BackupFile file;
  const ov::OpenOutcome o = file.ReadBackupHeader(std::make_unique<ov::MemoryFile>(bytes),
                                                  std::make_unique<ov::MemoryFile>(bytes));
  if (o.accepted) {
    // Every published position must lie inside the file.
    for (uint32_t p : file.Recording().m_VideoLast)
      if (p != 0 && uint64_t(p) + ov::kYskFrameHeaderSize > size) __builtin_trap();
    for (uint32_t p : file.Recording().m_AudioLast)
      if (p != 0 && uint64_t(p) + ov::kYskFrameHeaderSize > size) __builtin_trap();
  }
  return 0;
}
