#pragma once
// Which recorder wrote a backup file, as far as the file tells: its channel layout (channel count,
// video coding) and the names of its channels. Files of one recorder share it; a set of files and
// a catalog of files group by it.
#include <cstddef>
#include <cstdint>
#include <string>

#include "archive/YskFormat.h"

namespace ov {

// A printable key, equal for files of the same recorder and different otherwise:
// "<channels>ch/coding<c>/<name 1>|<name 2>|...". Only the channels the header counts take part:
// slots beyond them carry whatever the recorder left there. A '|' or '\' in a name is escaped
// with '\', so no two layouts share a key.
inline std::string RecorderIdentity(const YskHeader& h) {
  std::string key =
      std::to_string(int(h.channelCount)) + "ch/coding" + std::to_string(int(h.videoCoding)) + "/";
  const size_t n = h.channelCount < kSlots ? h.channelCount : size_t(kSlots);
  for (size_t i = 0; i < n; ++i) {
    if (i) key += '|';
    for (char c : h.video[i].name) {
      if (c == '|' || c == '\\') key += '\\';
      key += c;
    }
  }
  return key;
}

}  // namespace ov
