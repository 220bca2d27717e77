#pragma once
// SHA-256 of files (OpenSSL) and the lines of a check file that `sha256sum -c` reads.
#include <atomic>
#include <optional>
#include <string>

namespace ov::exporter {

// Lower-case hex digest of the file, or nothing when it cannot be read to its end. Stops early
// (nothing) when cancel becomes true.
std::optional<std::string> FileSha256(const std::string& path,
                                      const std::atomic<bool>* cancel = nullptr);

// "<digest>  <name>\n"; a name holding a backslash or a line break is escaped the way the tool
// expects (a leading backslash on the line).
std::string ChecksumLine(const std::string& digest, const std::string& name);

}  // namespace ov::exporter
