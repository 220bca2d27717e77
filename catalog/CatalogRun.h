#pragma once
// One catalog run: lists the backup files under folders, reads the new and changed ones on a pool
// of threads and writes them through one connection; files gone from the folders are dropped.
//
// Threads: RunCatalog is called by one thread, which is the writer; the progress callback is
// called on it too.
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "catalog/Database.h"

namespace ov::catalog {

struct RunOptions {
  std::vector<std::string> roots;  // folders (or single files) to scan
  bool hash = false;
  bool activity = false;
  int jobs = 0;  // reading threads; 0 = one per core
};

struct RunProgress {
  size_t listed = 0;  // backup files found under the roots
  size_t toRead = 0;  // of them new or changed
  size_t read = 0;    // of those, read so far
  uint64_t bytesHashed = 0;
};

struct RunStats {
  RunProgress progress;
  size_t unchanged = 0, removed = 0, accepted = 0, rejected = 0, ignored = 0;
};

// True when a name is one the open command takes for a backup file (".ysk" in it, any case).
bool LooksLikeBackup(const std::string& name);

// The absolute, normalised form of a path as the catalog keeps it.
std::string CatalogPath(const std::string& path);

RunStats RunCatalog(Database& db, const RunOptions& options,
                    const std::function<void(const RunProgress&)>& onProgress = {});

}  // namespace ov::catalog
