#pragma once
// Texts of an export: time arguments, file names safe on any file system, date-time stamps.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ov::exporter {

// "YYYY-MM-DD HH:MM:SS" (recorder clock) or whole seconds from the recording's start second.
// Returns the second as the file counts them (seconds since 1970), or nothing when malformed or
// out of range; *why (when given) then says why, for the user.
std::optional<int32_t> ParseTimeArg(const std::string& text, int32_t recordingStartSecond,
                                    std::string* why = nullptr);

// A name usable on FAT, NTFS, ext4 and the like: no path separators, no reserved characters or
// device names, no control or non-ASCII bytes (recorder names are 8-bit text of unknown code
// page), no leading dot (a hidden file), no "..", no trailing dots or blanks, at most 100 bytes.
// Empty input gives fallback.
std::string SafeFileName(const std::string& name, const std::string& fallback);

// Text from a file or the command line made fit for one line of a report or a terminal: valid
// UTF-8 passes, control characters (C0, DEL, C1) and bytes that are not UTF-8 are shown as \xNN
// and a backslash as \\, so no name can forge a line or move the cursor.
std::string EscapedText(std::string_view bytes);

// "20240301-120000", "2024-03-01_12-00-00" and "2024-03-01 12:00:00" of a file's second.
std::string CompactStamp(int32_t seconds);
std::string DashedStamp(int32_t seconds);
std::string DisplayStamp(int32_t seconds);
// ISO 8601 with a Z, as container metadata wants it; the recorder clock is written unchanged.
std::string IsoStamp(int32_t seconds);

}  // namespace ov::exporter
