#pragma once
// The window's storage tool commands: "Open YRXFile" (1008), "Make ChdFile" (1014) and
// "Combine Files" (1015). They keep the storage folder and the recording folder between calls.
// All members are called on the window's UI thread; the channel file build itself is returned
// as a folder for the caller to run with ChannelFileBuilder on a worker thread.
#include <filesystem>
#include <optional>
#include <string>

#include "tools/StorageView.h"

namespace ov::tools {

inline constexpr const char* kSelectFolderTitle = "Select Folder";  // string 102

class StorageTools {
 public:
  explicit StorageTools(IStorageView& view) : view_(view) {}

  // Lets the user pick the storage folder, shows it in the path box, and inserts the recording
  // folders found under it into the combo box. Cancelling still scans (the file-system root,
  // as an empty folder means) and leaves the path box as it was.
  void OnOpenStorage();

  // Takes the combo box's selection and sets the recording folder from it. Returns the folder
  // to hand to ChannelFileBuilder::Build, or nullopt when nothing is selected (nothing to do).
  std::optional<std::string> OnMakeChannelFiles();

  const std::string& StoragePath() const { return m_StoragePath; }
  const std::string& RecordingPath() const { return m_RecordingPath; }

 private:
  IStorageView& view_;
  std::string m_StoragePath;
  std::string m_RecordingPath;
};

}  // namespace ov::tools
