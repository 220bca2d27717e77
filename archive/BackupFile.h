#pragma once
// An opened, validated and indexed backup file: the checks of the open command, the header in
// effect, the per-channel run tables and the time index. No window: what the window shows is
// returned as data (OpenOutcome) for the caller to apply.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "archive/Calendar.h"
#include "archive/FileSource.h"
#include "archive/TimeIndex.h"
#include "archive/YskFormat.h"

namespace ov {

// What the open command's checks before the header read decided.
enum class PreOpenStatus { Ignored, TooShort, Ok };
struct PreOpenResult {
  PreOpenStatus status = PreOpenStatus::Ignored;
  uint64_t length = 0;
  OpenRefusal refusal = OpenRefusal::None;  // why an existing ".ysk" path was ignored
};
// ".ysk" substring test, open-for-reading test and the length test (2037 bytes or less is C1001).
PreOpenResult CheckBeforeOpen(const std::string& path);
// Why a path the open command ignores was ignored, in words for the user.
std::string IgnoredReason(const std::string& path, const PreOpenResult& pre);

inline constexpr const char* kMsgC1001 = "C1001 : Broken or corrupted data file.";
inline constexpr const char* kMsgC1002 = "C1002 : Broken or corrupted data file.";
inline constexpr const char* kMsgC1003 = "C1003 : Incorrect data file.";
inline constexpr const char* kMsgC1004 = "C1004 : Broken or corrupted data file.";
inline constexpr const char* kMsgC1005 = "C1005 : Broken or corrupted data file.";
inline constexpr const char* kMsgC1006 = "C1006 : Broken or corrupted data file.";
inline constexpr const char* kMsgC1007 = "C1007 : Broken or corrupted data file.";
// Message text of code 1001..1007, or null.
const char* MessageOfCode(int code);

// The decoder control's configuration for a file, in call order: SetLayout(-1, paneCount), then
// SetPaneTitle(i, defaultTitle(i)) for 16 panes, blank for i < paneCount, then the names.
struct DecoderConfig {
  int32_t paneCount = 0;
  std::array<std::string, kSlots> paneTitles{};  // the title each pane ends with
  int channelCount = 0;                          // names given to panes 0..channelCount-1
};
int32_t PaneCountForChannels(int channelCount);  // 1, 4, 9 or 16

struct OpenOutcome {
  bool accepted = false;
  int code = 0;  // 1001..1007 when rejected
  std::string message;
  std::string refusal;                     // why the path was not opened at all ("not found", ...)
  bool bufferingShown = false;             // "Buffering" was written to the speed line
  std::optional<DecoderConfig> decoder;    // set once the header checks passed
  std::optional<int32_t> sliderMax;        // seek slider range 0..max, once set
  std::string totalTimeText;               // control 1032, set on success
};

class BackupFile {
 public:
  // Runs the header read, the checks, the run tables and the time index on a named file.
  OpenOutcome ReadBackupHeader(const std::string& path);
  // The same over given sources (the first plays the role of m_hFile, the second m_hScanFile).
  OpenOutcome ReadBackupHeader(std::unique_ptr<IFileSource> file, std::unique_ptr<IFileSource> scan);
  // Closes both sources and clears m_bFileReady.
  void Close();
  bool IsOpen() const { return m_hFile != nullptr; }

  // State in effect after an open; positions are absolute file offsets (u32), 0 = none.
  std::unique_ptr<IFileSource> m_hFile;
  std::unique_ptr<IFileSource> m_hScanFile;
  YskHeader m_Header{};
  uint32_t m_DataStart = 0;
  SystemTime m_RefDate{};
  int32_t m_VideoCount = 0;
  int32_t m_AudioCount = 0;
  std::array<int32_t, kSlots> m_HasVideo{};
  std::array<int32_t, kSlots> m_HasAudio{};
  std::array<uint32_t, kSlots> m_VideoFirst{};  // by channelNo
  std::array<uint32_t, kSlots> m_AudioFirst{};  // by channelNo
  std::array<uint32_t, kSlots> m_VideoPos{};    // cursors as the open left them
  std::array<uint32_t, kSlots> m_AudioPos{};
  std::array<uint32_t, kSlots> m_VideoLast{};  // by slot
  std::array<uint32_t, kSlots> m_AudioLast{};  // by slot
  TimeIndex m_Index{};
  bool m_bFileReady = false;

  // Run limits of slot n (absolute offsets; end is one past the last byte).
  uint64_t VideoRunStart(int n) const { return uint64_t(m_DataStart) + m_Header.video[n].startOffset; }
  uint64_t VideoRunEnd(int n) const { return uint64_t(m_DataStart) + m_Header.video[n].endOffset; }
  uint64_t AudioRunStart(int n) const { return uint64_t(m_DataStart) + m_Header.audio[n].startOffset; }
  uint64_t AudioRunEnd(int n) const { return uint64_t(m_DataStart) + m_Header.audio[n].endOffset; }

 private:
  OpenOutcome Reject(OpenOutcome out, int code);
  // The time index, in its phases; the scan descriptor is the only one they read.
  bool BuildTimeIndex(OpenOutcome& out);
  bool IndexFirstVideo();
  void IndexLastVideo(std::vector<uint8_t>& buf);
  void IndexFirstAudio();
  void IndexLastAudio(std::vector<uint8_t>& buf);
  bool IndexSpan(OpenOutcome& out);
};

}  // namespace ov
