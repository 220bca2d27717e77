#pragma once
// Which recorder wrote a backup file, as far as the file tells: its channel layout (channel count,
// video coding) and the names of its channels. Files of one recorder share it; a set of files and
// a catalog of files group by it.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "archive/YskFormat.h"

namespace ov {

// A printable key, equal for files of the same recorder and different otherwise:
// "<channels>ch/coding<c>/<name 1>|<name 2>|...", one name for each channel counted. A '|' or '\'
// in a name is escaped with '\', so no two layouts share a key.
std::string RecorderIdentity(int channelCount, int coding, const std::vector<std::string>& names);
// The header's key. Only the channels the header counts take part: slots beyond them carry
// whatever the recorder left there.
std::string RecorderIdentity(const YskHeader& h);

struct RecorderLayout {
  int channelCount = 0;
  int coding = 0;
  std::vector<std::string> names;  // unescaped
  bool operator==(const RecorderLayout&) const = default;
};
// A key read back; nullopt when it is not one.
std::optional<RecorderLayout> ParseRecorderIdentity(const std::string& key);

}  // namespace ov
