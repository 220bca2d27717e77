#pragma once
// The SHA-256 of whole source files, remembered by file identity (device, inode, size and both
// modification and change times), so a second export from a multi-gigabyte recording does not
// read all of it again. Any write to the file, a replacement or a change of its times makes the
// entry miss.
//
// One line per file: "device inode size mtime_ns ctime_ns digest". The file is small and bounded:
// reads stop at kMaxBytes and only the newest kMaxEntries are kept.
#include <optional>
#include <string>

#include "archive/FileSource.h"

namespace ov::exporter {

inline constexpr size_t kHashCacheMaxBytes = 64 << 10;
inline constexpr size_t kHashCacheMaxEntries = 256;

// $XDG_CACHE_HOME/ostravue/source-sha256, or ~/.cache/... ; empty when neither is set.
std::string DefaultHashCacheFile();

// The remembered digest of the file with this identity; nothing when absent or unreadable.
std::optional<std::string> CachedSha256(const std::string& cacheFile, const FileIdentity& id);

// Remembers a digest (written to a temporary file and renamed over the old one, so a reader never
// sees half a file). Failures are ignored: the cache only saves time.
void RememberSha256(const std::string& cacheFile, const FileIdentity& id,
                    const std::string& digest);

}  // namespace ov::exporter
