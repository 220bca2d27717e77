// libFuzzer target: the playback engine on the virtual clock. Input: a command script of byte
// pairs (command, argument) up to the first 0xFF byte, then the backup file. Every run is bounded:
// at most 64 commands and a few seconds of virtual time each.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "playback/trace/TraceDriver.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto* split = static_cast<const uint8_t*>(std::memchr(data, 0xFF, size));
  if (!split) return 0;
  const size_t scriptLen = size_t(split - data);
  const size_t fileLen = size - scriptLen - 1;
  if (fileLen <= ov::kYskHeaderSize || scriptLen > 128) return 0;
  auto bytes = std::make_shared<const std::vector<uint8_t>>(split + 1, data + size);
  ov::TraceDriver d;
  if (!d.OpenSources(std::make_unique<ov::MemoryFile>(bytes),
                     std::make_unique<ov::MemoryFile>(bytes))
           .accepted)
    return 0;
  for (size_t i = 0; i < scriptLen; i += 2) {
    const uint8_t op = data[i];
    const int arg = i + 1 < scriptLen ? data[i + 1] : 0;
    using E = ov::PlaybackEngine;
    switch (op % 12) {
      case 0:
        d.Do([](E& e) { e.OnPlay(); });
        break;
      case 1:
        d.Do([](E& e) { e.OnRew(); });
        break;
      case 2:
        d.Do([](E& e) { e.OnFF(); });
        break;
      case 3:
        d.Do([](E& e) { e.Jump(-E::kJumpSeconds); });
        break;
      case 4:
        d.Do([](E& e) { e.Jump(E::kJumpSeconds); });
        break;
      case 5:
        d.Do([arg](E& e) { e.SeekSliderReleased(arg - 16); });
        break;
      case 6:
        d.Do([](E& e) { e.ToggleIFrameOnly(); });
        break;
      case 7: {
        static constexpr int kLayouts[] = {1, 4, 9, 16};
        d.Do([arg](E& e) { e.ShowPanes(kLayouts[arg % 4]); });
        break;
      }
      case 8:
        d.Do([arg](E& e) { e.SetTimeFormat(arg % 8); });
        break;
      case 9:
        d.Do([](E& e) { e.OnSound(); });
        break;
      case 10:
        d.Do([arg](E& e) { e.SetVolume(arg); });
        break;
      default:
        d.Wait(int64_t(arg) * 20);
        break;
    }
  }
  d.RunToEnd(60 * 1000);
  return 0;
}
