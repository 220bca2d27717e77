#pragma once
// Scan of a recorder's storage folder: it holds "QL" folders (QL plus two characters, one per
// disk or partition), and each of those holds recording folders with 8-character names.
// Entries are named "<QL folder>/<recording folder>", e.g. "QL01/20240131".
#include <filesystem>
#include <string>
#include <vector>

namespace ov::tools {

// Initial selection of the folder browser: "C:" "/" "Storage". On this platform it names a
// folder relative to the working directory; the browser's default applies when it is missing.
std::string StorageBrowserInitialPath();

// The chosen folder as the storage tools keep it: without a trailing '/' (so "/" becomes "").
std::string NormalizeStoragePath(std::string chosen);

// Text of the path box after a folder was chosen: the folder followed by '/'.
std::string StoragePathBoxText(const std::string& storagePath);

// One recording folder found by the scan, with the index it is inserted at: the counter that
// restarts at 0 for every QL folder. Inserting the entries of a scan in this order, each at its
// index, puts a later QL folder's entries in front of an earlier one's and all of them in front
// of what the list already held.
struct StorageScanEntry {
  std::string text;  // "<QL folder>/<recording folder>"
  size_t insertAt = 0;
};

// The recording folders under root (root "" is the file-system root, as "/QL??" would search),
// in the order they are found: QL folders and recording folders in CompareEntryNames order.
// Only folders count; QL names are matched case-insensitively. Never throws.
// Folders that could not be listed are left out; when unreadable is given, each is added to it
// as "<folder>: <reason>".
std::vector<StorageScanEntry> ScanStorageFolder(const std::filesystem::path& root,
                                                std::vector<std::string>* unreadable = nullptr);

// Applies a scan to a list the way the combo box takes it: each entry inserted at its index.
// The list is not cleared first, so a second scan adds to the first.
void InsertScanEntries(std::vector<std::string>& list, const std::vector<StorageScanEntry>& scan);

// The list an empty combo box holds after one scan of root.
std::vector<std::string> StorageEntriesInListOrder(const std::filesystem::path& root,
                                                   std::vector<std::string>* unreadable = nullptr);

}  // namespace ov::tools
