#pragma once
// What the storage tools need from the player window: the folder browser, the path box and the
// recording combo box. The window implements it with its widgets (all calls on its UI thread);
// tests implement it with a recorder.
#include <cstddef>
#include <optional>
#include <string>

namespace ov::tools {

class IStorageView {
 public:
  virtual ~IStorageView() = default;
  // Modal folder browser titled title with initialSelection selected when it exists. Returns the
  // chosen folder's path, or nullopt when the user cancelled.
  virtual std::optional<std::string> BrowseForFolder(const std::string& title,
                                                     const std::string& initialSelection) = 0;
  // Sets the text of the path box (edit control 1009).
  virtual void SetPathText(const std::string& text) = 0;
  // Inserts text into the recording combo box (1013) at index, unsorted.
  virtual void InsertRecordingEntry(size_t index, const std::string& text) = 0;
  // Text of the combo box's selected entry; empty when nothing is selected.
  virtual std::string SelectedRecordingEntry() const = 0;
};

}  // namespace ov::tools
