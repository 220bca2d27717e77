#include "archive/FileSource.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "archive/YskFormat.h"

namespace ov {

std::unique_ptr<PosixFile> PosixFile::Open(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return nullptr;
  }
  return std::unique_ptr<PosixFile>(new PosixFile(fd, static_cast<uint64_t>(st.st_size)));
}

PosixFile::~PosixFile() { ::close(m_fd); }

size_t PosixFile::ReadAt(uint64_t offset, void* buffer, size_t n) {
  if (offset >= m_size) return 0;
  n = static_cast<size_t>(std::min<uint64_t>(n, m_size - offset));
  size_t done = 0;
  while (done < n) {
    const ssize_t r = ::pread(m_fd, static_cast<char*>(buffer) + done, n - done,
                              static_cast<off_t>(offset + done));
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) break;
    done += static_cast<size_t>(r);
  }
  Count(done);
  return done;
}

size_t MemoryFile::ReadAt(uint64_t offset, void* buffer, size_t n) {
  if (offset >= m_bytes->size()) return 0;
  n = static_cast<size_t>(std::min<uint64_t>(n, m_bytes->size() - offset));
  std::memcpy(buffer, m_bytes->data() + offset, n);
  Count(n);
  return n;
}

bool ReadFrameHeader(IFileSource& file, uint64_t offset, YskFrameHeader& out) {
  uint8_t raw[kYskFrameHeaderSize];
  if (file.ReadAt(offset, raw, sizeof raw) != sizeof raw) return false;
  out = DecodeFrameHeader(std::span<const uint8_t, kYskFrameHeaderSize>(raw, sizeof raw));
  return true;
}

}  // namespace ov
