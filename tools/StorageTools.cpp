#include "tools/StorageTools.h"

#include "tools/ChannelFileBuilder.h"
#include "tools/StorageScan.h"

namespace ov::tools {

void StorageTools::OnOpenStorage() {
  const std::string initial = StorageBrowserInitialPath();
  m_StoragePath.clear();
  if (const auto chosen = view_.BrowseForFolder(kSelectFolderTitle, initial)) {
    m_StoragePath = NormalizeStoragePath(*chosen);
    view_.SetPathText(StoragePathBoxText(m_StoragePath));
  }
  for (const StorageScanEntry& e : ScanStorageFolder(m_StoragePath)) {
    view_.InsertRecordingEntry(e.insertAt, e.text);
  }
}

std::optional<std::string> StorageTools::OnMakeChannelFiles() {
  const std::string entry = view_.SelectedRecordingEntry();
  m_RecordingPath = RecordingPathFor(m_StoragePath, entry);
  if (entry.empty()) return std::nullopt;
  return m_RecordingPath;
}

}  // namespace ov::tools
