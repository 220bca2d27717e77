#pragma once
// Finished analyses kept in the user's cache folder, one file per recording, named by the
// recording's identity (device, inode, size, modification time): a changed or another file never
// matches, and nothing is ever written beside the recording.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "activity/Activity.h"
#include "archive/FileSource.h"

namespace ov::activity {

// What a cached result must agree with to stand for the recording at hand.
struct CacheKey {
  FileIdentity identity;
  int32_t seconds = 0;
  std::vector<int32_t> slots;  // the channels with video, in slot order
};

// The file name of a recording's results inside the cache folder.
std::string CacheFileName(const FileIdentity& id);

// The results of text (a cache file's contents), or nothing when it is damaged, of another
// version, or does not agree with key. Never throws.
std::optional<ActivitySnapshot> ParseCache(std::string_view text, const CacheKey& key);
// The text of a finished analysis.
std::string CacheText(const ActivitySnapshot& snap, const CacheKey& key);

// Reads the cache file of key from dir (bounded in size); nothing when absent or unusable.
std::optional<ActivitySnapshot> LoadCache(const std::string& dir, const CacheKey& key);
// Writes the results under a temporary name and renames them into place; false when dir cannot
// be made or written, or when dir is the folder of recordingPath.
bool StoreCache(const std::string& dir, const std::string& recordingPath,
                const ActivitySnapshot& snap, const CacheKey& key);

}  // namespace ov::activity
