#include "archive/OpenProblem.h"

#include <cstdio>

#include "archive/YskFormat.h"

namespace ov {
namespace {
constexpr const char* kCopyAgain = OV_TRANSLATE_NOOP(
    "OpenProblem",
    "The file was probably cut short while it was copied. Copy it from the recorder or the "
    "USB stick again.");
constexpr const char* kNotBackup = OV_TRANSLATE_NOOP(
    "OpenProblem",
    "Check that this is a backup file exported from the recorder; other files ending in .ysk "
    "cannot be played.");
constexpr const char* kExportAgain = OV_TRANSLATE_NOOP(
    "OpenProblem",
    "The backup is damaged at that place. Export it from the recorder again, or open another "
    "copy.");
constexpr const char* kReopen = OV_TRANSLATE_NOOP(
    "OpenProblem",
    "Check that the file is still there and that you may read it, then open it again.");
constexpr const char* kNoVideo = OV_TRANSLATE_NOOP(
    "OpenProblem", "Export the backup again with at least one camera channel selected.");
constexpr const char* kShorter = OV_TRANSLATE_NOOP(
    "OpenProblem", "Export the time you need as shorter backups from the recorder.");

constexpr const char* kTooShort = OV_TRANSLATE_NOOP(
    "OpenProblem",
    "The file is %1 bytes long, no longer than the 2037-byte header every backup file begins "
    "with: it holds no recording.");
constexpr const char* kNotReopened = OV_TRANSLATE_NOOP(
    "OpenProblem", "The file was there a moment ago but could not be opened for reading.");
constexpr const char* kTailTooShort = OV_TRANSLATE_NOOP(
    "OpenProblem",
    "Byte 2 of the header gives layout %1, which keeps the header in the last 4096 bytes, but "
    "the file is only %2 bytes long.");
constexpr const char* kBadKind = OV_TRANSLATE_NOOP(
    "OpenProblem", "Byte 2 of the header holds %1; backup files have layout 0, 1 or 2 there.");
constexpr const char* kBadTailKind = OV_TRANSLATE_NOOP(
    "OpenProblem",
    "The header in the last 4096 bytes (at offset %1) gives layout %2; backup files have "
    "layout 0, 1 or 2 there.");
constexpr const char* kDamagedRecord = OV_TRANSLATE_NOOP(
    "OpenProblem",
    "The header's record of video channel %1 marks itself damaged: its channel number (byte "
    "%2) is %3, where 0 to 15 is expected.");
constexpr const char* kChannelCount = OV_TRANSLATE_NOOP(
    "OpenProblem", "The header gives %2 channels (byte %1); backup files have 1 to 16.");
constexpr const char* kNoVideoMask = OV_TRANSLATE_NOOP(
    "OpenProblem",
    "The video mask of the header (bytes %1 to %2) is %3: it names none of the camera channels "
    "1 to 16, so the file holds no video.");
constexpr const char* kBadFrameType = OV_TRANSLATE_NOOP(
    "OpenProblem",
    "Channel %1: the frame header at byte %2 has type %3 before the channel's first key "
    "frame; frames have type 0 or 1.");
constexpr const char* kNoFirstKey = OV_TRANSLATE_NOOP(
    "OpenProblem",
    "No video channel has a key frame near its start, so there is no picture to begin from.");
constexpr const char* kNoLastKey = OV_TRANSLATE_NOOP(
    "OpenProblem",
    "No key frame was found near the end of any video channel, so the recording's length "
    "cannot be measured (the first key frame is channel %1's, at %2 ms).");
constexpr const char* kEndBeforeStart = OV_TRANSLATE_NOOP(
    "OpenProblem",
    "The last key frame (channel %3, at %4 ms) lies before the first one (channel %1, at "
    "%2 ms), so the recording's length cannot be measured.");
constexpr const char* kTooLong = OV_TRANSLATE_NOOP(
    "OpenProblem",
    "The recording runs %1 h %2 min, from channel %3's first key frame to channel %4's last; "
    "the player opens recordings shorter than 26 hours.");

std::string Num(uint64_t v) { return std::to_string(v); }
std::string Channel(int slot) { return std::to_string(slot + 1); }
std::string Hex(uint32_t v) {
  char b[16];
  std::snprintf(b, sizeof b, "0x%08X", v);
  return b;
}
// Where video record n begins in a header that begins at base.
uint64_t RecordOffset(uint64_t base, int n) { return base + 21 + uint64_t(kYskRecordSize) * n; }
}  // namespace

std::string FillIn(const std::string& text, const std::vector<std::string>& args) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9') {
      const size_t k = size_t(text[i + 1] - '1');
      if (k < args.size()) {
        out += args[k];
        ++i;
        continue;
      }
    }
    out += c;
  }
  return out;
}

std::string ReasonText(const OpenProblem& p) { return p.reason ? FillIn(p.reason, p.args) : ""; }

OpenProblem TooShortProblem(uint64_t length) { return {kTooShort, {Num(length)}, kCopyAgain}; }
OpenProblem NotReopenedProblem() { return {kNotReopened, {}, kReopen}; }
OpenProblem TailTooShortProblem(unsigned kind, uint64_t length) {
  return {kTailTooShort, {Num(kind), Num(length)}, kCopyAgain};
}
OpenProblem BadKindProblem(unsigned kind) { return {kBadKind, {Num(kind)}, kNotBackup}; }
OpenProblem BadTailKindProblem(uint64_t offset, unsigned kind) {
  return {kBadTailKind, {Num(offset), Num(kind)}, kExportAgain};
}
OpenProblem DamagedRecordProblem(int slot, uint64_t base, unsigned channelNo) {
  return {kDamagedRecord,
          {Channel(slot), Num(RecordOffset(base, slot) + kYskNameSize), Num(channelNo)},
          kExportAgain};
}
OpenProblem ChannelCountProblem(uint64_t base, unsigned count) {
  return {kChannelCount, {Num(base + 3), Num(count)}, kExportAgain};
}
OpenProblem NoVideoProblem(uint64_t base, uint32_t mask) {
  return {kNoVideoMask, {Num(base + 13), Num(base + 16), Hex(mask)}, kNoVideo};
}
OpenProblem BadFrameTypeProblem(int slot, uint64_t offset, uint32_t type) {
  return {kBadFrameType, {Channel(slot), Num(offset), Num(type)}, kExportAgain};
}
OpenProblem NoFirstKeyProblem() { return {kNoFirstKey, {}, kExportAgain}; }
OpenProblem NoLastKeyProblem(int startSlot, uint32_t startMsec) {
  return {kNoLastKey, {Channel(startSlot), Num(startMsec)}, kCopyAgain};
}
OpenProblem EndBeforeStartProblem(int startSlot, uint32_t startMsec, int endSlot,
                                  uint32_t endMsec) {
  return {kEndBeforeStart,
          {Channel(startSlot), Num(startMsec), Channel(endSlot), Num(endMsec)},
          kExportAgain};
}
OpenProblem TooLongProblem(int hours, int minutes, int startSlot, int endSlot) {
  return {kTooLong,
          {Num(uint64_t(hours)), Num(uint64_t(minutes)), Channel(startSlot), Channel(endSlot)},
          kShorter};
}

std::vector<const char*> AllOpenProblemTexts() {
  return {kCopyAgain,   kNotBackup,     kExportAgain,    kReopen,       kNoVideo,
          kShorter,     kTooShort,      kNotReopened,    kTailTooShort, kBadKind,
          kBadTailKind, kDamagedRecord, kChannelCount,   kNoVideoMask,  kBadFrameType,
          kNoFirstKey,  kNoLastKey,     kEndBeforeStart, kTooLong};
}

}  // namespace ov
