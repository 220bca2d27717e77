#include "tools/StorageScan.h"

#include <algorithm>
#include <cstdio>

#include "tools/DirectoryListing.h"

namespace ov::tools {
namespace {

constexpr size_t kRecordingNameLength = 8;  // the recorder names its recording folders so
constexpr size_t kQlNameLength = 4;         // "QL" and two characters

bool IsQlFolderName(const std::string& name) {
  if (NameLength(name) != kQlNameLength || name.size() < 2) return false;
  return (name[0] == 'Q' || name[0] == 'q') && (name[1] == 'L' || name[1] == 'l');
}

std::string ReasonOf(const std::error_code& ec) {
  if (ec == std::errc::permission_denied || ec == std::errc::operation_not_permitted)
    return "permission denied";
  if (ec == std::errc::no_such_file_or_directory) return "not found";
  if (ec == std::errc::not_a_directory) return "not a folder";
  return ec.message();
}

std::filesystem::path SearchBase(const std::filesystem::path& root) {
  return root.empty() ? std::filesystem::path("/") : root;
}

}  // namespace

std::string StorageBrowserInitialPath() {
  char buffer[260];
  std::snprintf(buffer, sizeof buffer, "%s%s", "C:/", "Storage");
  return buffer;
}

std::string NormalizeStoragePath(std::string chosen) {
  while (!chosen.empty() && chosen.back() == '/') chosen.pop_back();
  return chosen;
}

std::string StoragePathBoxText(const std::string& storagePath) { return storagePath + "/"; }

std::vector<StorageScanEntry> ScanStorageFolder(const std::filesystem::path& root,
                                                std::vector<std::string>* unreadable) {
  std::vector<StorageScanEntry> found;
  const std::filesystem::path base = SearchBase(root);
  auto list = [&](const std::filesystem::path& dir) {
    std::error_code ec;
    auto entries = ListDirectory(dir, &ec);
    if (ec && unreadable) unreadable->push_back(dir.string() + ": " + ReasonOf(ec));
    return entries;
  };
  for (const DirEntry& ql : list(base)) {
    if (!ql.isDirectory || !IsQlFolderName(ql.name)) continue;
    size_t counter = 0;
    for (const DirEntry& rec : list(base / ql.name)) {
      if (!rec.isDirectory || NameLength(rec.name) != kRecordingNameLength) continue;
      found.push_back({ql.name + "/" + rec.name, counter});
      ++counter;
    }
  }
  return found;
}

void InsertScanEntries(std::vector<std::string>& list, const std::vector<StorageScanEntry>& scan) {
  for (const StorageScanEntry& e : scan) {
    const size_t at = std::min(e.insertAt, list.size());
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(at), e.text);
  }
}

std::vector<std::string> StorageEntriesInListOrder(const std::filesystem::path& root,
                                                   std::vector<std::string>* unreadable) {
  std::vector<std::string> list;
  InsertScanEntries(list, ScanStorageFolder(root, unreadable));
  return list;
}

}  // namespace ov::tools
