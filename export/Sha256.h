#pragma once
// SHA-256 (OpenSSL) of what an export read and wrote, and the lines of a check file that
// `sha256sum -c` reads.
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "archive/FileSource.h"

namespace ov::exporter {

// Lower-case hex digest of the file's first `size` bytes read through source (the very
// descriptor the clips were cut from, not the path, which may name another file by now).
// Nothing when fewer bytes can be read, or when cancel becomes true. onBytes hears of every block.
std::optional<std::string> SourceSha256(IFileSource& source, uint64_t size,
                                        const std::atomic<bool>* cancel = nullptr,
                                        const std::function<void(uint64_t)>& onBytes = {});

// The same for a file open for reading at fd, from its start to its end (positional reads; the
// descriptor's offset is left alone).
std::optional<std::string> DescriptorSha256(int fd, const std::atomic<bool>* cancel = nullptr);

// "<digest>  <name>\n"; a name holding a backslash or a line break is escaped the way the tool
// expects (a leading backslash on the line).
std::string ChecksumLine(const std::string& digest, const std::string& name);

}  // namespace ov::exporter
