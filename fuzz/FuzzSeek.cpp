// libFuzzer target: open and index an in-memory backup file, then run the key-frame search for a
// fuzzed second from a fuzzed resume share. Input: 4 bytes (second, share, flags) then the file.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "archive/BackupFile.h"
#include "playback/KeyFrameSearch.h"
#include "playback/trace/VirtualClock.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4 + ov::kYskHeaderSize + 1) return 0;
  const int16_t second = int16_t(uint16_t(data[0] | data[1] << 8));
  const uint8_t share = data[2];  // resume offset at share/255 of each run
  const uint8_t flags = data[3];
  auto bytes = std::make_shared<const std::vector<uint8_t>>(data + 4, data + size);
  ov::BackupFile file;
  const ov::OpenOutcome o = file.ReadBackupHeader(std::make_unique<ov::MemoryFile>(bytes),
                                                  std::make_unique<ov::MemoryFile>(bytes));
  if (!o.accepted) return 0;
  ov::VirtualClock clock;
  ov::KeyFrameSearch search(file.SharedRecording(), file.ScanReader(), clock, {});
  const ov::OpenRecording& rec = file.Recording();
  ov::SearchInput in;
  in.videoPos = rec.m_VideoPos;
  in.audioPos = rec.m_AudioPos;
  in.iFrameOnly = flags & 1;
  in.target = ov::AddSeconds(rec.m_Index.m_StartInfo[0].f_time, second);
  for (int n = 0; n < ov::kSlots; ++n) {
    const uint64_t vLen = rec.VideoRunEnd(n) - std::min(rec.VideoRunEnd(n), rec.VideoRunStart(n));
    const uint64_t aLen = rec.AudioRunEnd(n) - std::min(rec.AudioRunEnd(n), rec.AudioRunStart(n));
    // flags bit 1: resume offsets anywhere in the 32-bit range, not only inside the runs
    in.videoResume[size_t(n)] = (flags & 2)
                                    ? uint32_t(share) << 24 | size
                                    : uint32_t(rec.m_VideoFirst[size_t(n)] + vLen * share / 255);
    in.audioResume[size_t(n)] = uint32_t(rec.m_AudioFirst[size_t(n)] + aLen * share / 255);
  }
  // Positions may name the header's own run limits even past the file's end: every later read
  // is bounded by the file, so only faults of the search itself are looked for here.
  (void)search.Run(in);
  return 0;
}
