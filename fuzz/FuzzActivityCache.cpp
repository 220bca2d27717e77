// libFuzzer target: the activity results cache read back from fuzzed bytes, against a fixed
// recording of 40 seconds and two channels. Whatever it accepts must be whole and in range.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "activity/ResultsCache.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ov::activity::CacheKey key;
  key.identity = {1, 2, 3, 4};
  key.seconds = 40;
  key.slots = {0, 5};
  const auto s =
      ov::activity::ParseCache(std::string_view(reinterpret_cast<const char*>(data), size), key);
  if (!s) return 0;
  if (s->channels.size() != 2 || !s->complete) std::abort();
  for (const auto& c : s->channels) {
    if (c.level.size() != 40) std::abort();
    for (float x : c.level)
      if (x != ov::kNoRecording && (x < 0.0f || x > 1.0f)) std::abort();
    for (const auto& e : c.events)
      if (e.fromSecond < 0 || e.toSecond < e.fromSecond || e.toSecond >= 40) std::abort();
  }
  return 0;
}
