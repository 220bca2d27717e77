#include "archive/RecorderIdentity.h"

#include <cstdio>

namespace ov {

std::string RecorderIdentity(int channelCount, int coding, const std::vector<std::string>& names) {
  std::string key = std::to_string(channelCount) + "ch/coding" + std::to_string(coding) + "/";
  for (size_t i = 0; i < names.size(); ++i) {
    if (i) key += '|';
    for (char c : names[i]) {
      if (c == '|' || c == '\\') key += '\\';
      key += c;
    }
  }
  return key;
}

std::string RecorderIdentity(const YskHeader& h) {
  const size_t n = h.channelCount < kSlots ? h.channelCount : size_t(kSlots);
  std::vector<std::string> names;
  for (size_t i = 0; i < n; ++i) names.push_back(h.video[i].name);
  return RecorderIdentity(int(h.channelCount), int(h.videoCoding), names);
}

std::optional<RecorderLayout> ParseRecorderIdentity(const std::string& key) {
  RecorderLayout l;
  int used = 0;
  if (std::sscanf(key.c_str(), "%3dch/coding%3d/%n", &l.channelCount, &l.coding, &used) != 2 ||
      used == 0)
    return std::nullopt;
  if (l.channelCount <= 0) return size_t(used) == key.size() ? std::optional(l) : std::nullopt;
  l.names.emplace_back();
  for (size_t i = size_t(used); i < key.size(); ++i) {
    if (key[i] == '|') {
      l.names.emplace_back();
    } else {
      if (key[i] == '\\' && i + 1 < key.size()) ++i;
      l.names.back() += key[i];
    }
  }
  return l;
}

}  // namespace ov
