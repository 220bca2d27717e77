#pragma once
// Writing scanned files into a catalog and reading back what decides whether a file changed.
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>

#include "catalog/Database.h"
#include "catalog/FileScan.h"

namespace ov::catalog {

// What an earlier run kept of a file: enough to tell whether it must be read again.
struct KnownFile {
  uint64_t size = 0, inode = 0;
  int64_t mtimeNs = 0;
  std::optional<std::string> sha256;
  bool activity = false;
};

// Every file of the catalog by path.
std::unordered_map<std::string, KnownFile> LoadKnownFiles(Database& db);

// Replaces the file's rows (its channels, gaps and events with it). Call inside a transaction.
void WriteEntry(Database& db, const FileEntry& e);

// Removes a file and everything kept of it.
void RemoveFile(Database& db, const std::string& path);

}  // namespace ov::catalog
