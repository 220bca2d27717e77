#pragma once
// Opening a backup file: the checks of the open command, the header read and the time index. No
// window: what the window shows is returned as data (OpenOutcome) for the caller to apply.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "archive/Calendar.h"
#include "archive/FileSource.h"
#include "archive/OpenProblem.h"
#include "archive/OpenRecording.h"
#include "archive/TimeIndex.h"
#include "archive/YskFormat.h"

namespace ov {

struct RecordingSetPlan;

// What the open command's checks before the header read decided.
enum class PreOpenStatus { Ignored, TooShort, Ok };
struct PreOpenResult {
  PreOpenStatus status = PreOpenStatus::Ignored;
  uint64_t length = 0;
  OpenRefusal refusal = OpenRefusal::None;  // why an existing ".ysk" path was ignored
};
// ".ysk" substring test (any case), open-for-reading test and the length test (2037 bytes or less
// is C1001).
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
  OpenProblem problem;                   // when rejected: which check failed, on which values
  std::string refusal;                   // why the path was not opened at all ("not found", ...)
  bool bufferingShown = false;           // "Buffering" was written to the speed line
  std::optional<DecoderConfig> decoder;  // set once the header checks passed
  std::optional<int32_t> sliderMax;      // seek slider range 0..max, once set
  std::string totalTimeText;             // control 1032, set on success
};

// Opens, checks and indexes backup files; holds the file last opened.
//
// Threads: opened and closed by one thread (the window thread, or a command of the cli) while no
// worker reads the file. Workers take the recording and a reader, which never change.
class BackupFile {
 public:
  // Runs the header read, the checks, the run tables and the time index on a named file.
  OpenOutcome ReadBackupHeader(const std::string& path);
  // The same over given sources (the first serves playback, the second the scans and searches).
  OpenOutcome ReadBackupHeader(std::unique_ptr<IFileSource> file,
                               std::unique_ptr<IFileSource> scan);
  // Opens a set of files as one recording (see RecordingSet.h); a set that cannot be opened
  // comes back not accepted, with the reason as its refusal.
  OpenOutcome ReadRecordingSet(const RecordingSetPlan& plan);
  // Closes both sources; the recording of the last open stays readable.
  void Close();
  bool IsOpen() const { return m_playReader.IsOpen(); }

  // What the last open found, as far as it got (a rejected file shows the stage it failed at).
  const OpenRecording& Recording() const { return *m_rec; }
  std::shared_ptr<const OpenRecording> SharedRecording() const { return m_rec; }
  // Playback reads through one descriptor; the index and the key-frame search through the other.
  const FrameReader& PlayReader() const { return m_playReader; }
  const FrameReader& ScanReader() const { return m_scanReader; }

 private:
  OpenOutcome Reject(OpenOutcome out, int code);

  FrameReader m_playReader;
  FrameReader m_scanReader;
  std::shared_ptr<const OpenRecording> m_rec = std::make_shared<const OpenRecording>();
};

// The time index, read through the scan descriptor; false when the file is unusable (1007).
bool BuildTimeIndex(IFileSource& scan, OpenRecording& rec, OpenOutcome& out);

}  // namespace ov
