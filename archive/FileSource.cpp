#include "archive/FileSource.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "archive/YskFormat.h"

namespace ov {

const char* RefusalText(OpenRefusal why) {
  switch (why) {
    case OpenRefusal::None:
      return "";
    case OpenRefusal::NotFound:
      return "not found";
    case OpenRefusal::PermissionDenied:
      return "permission denied";
    case OpenRefusal::NotRegular:
      return "not a regular file";
    case OpenRefusal::Unreadable:
      return "cannot be read";
  }
  return "cannot be read";
}

namespace {
OpenRefusal RefusalOfErrno(int e) {
  if (e == ENOENT || e == ENOTDIR || e == ENAMETOOLONG) return OpenRefusal::NotFound;
  if (e == EACCES || e == EPERM) return OpenRefusal::PermissionDenied;
  return OpenRefusal::Unreadable;
}
}  // namespace

int OpenRegularFile(const std::string& path, OpenRefusal& why, uint64_t& size) {
  size = 0;
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    why = RefusalOfErrno(errno);
    return -1;
  }
  if (!S_ISREG(st.st_mode)) {
    why = OpenRefusal::NotRegular;
    return -1;
  }
  // O_NONBLOCK in case the path was swapped for a FIFO since the stat; the second test catches it.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) {
    why = RefusalOfErrno(errno);
    return -1;
  }
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    why = OpenRefusal::NotRegular;
    return -1;
  }
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  why = OpenRefusal::None;
  size = static_cast<uint64_t>(st.st_size);
  return fd;
}

std::unique_ptr<PosixFile> PosixFile::Open(const std::string& path, OpenRefusal* why) {
  OpenRefusal w = OpenRefusal::None;
  uint64_t size = 0;
  const int fd = OpenRegularFile(path, w, size);
  if (why) *why = w;
  if (fd < 0) return nullptr;
  return std::unique_ptr<PosixFile>(new PosixFile(fd, size));
}

PosixFile::~PosixFile() { ::close(m_fd); }

namespace {
FileIdentity IdentityOf(const struct stat& st) {
  return {uint64_t(st.st_dev), uint64_t(st.st_ino), uint64_t(st.st_size),
          int64_t(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec,
          int64_t(st.st_ctim.tv_sec) * 1'000'000'000 + st.st_ctim.tv_nsec};
}
}  // namespace

std::optional<FileIdentity> PosixFile::Identity() const {
  struct stat st {};
  if (::fstat(m_fd, &st) != 0) return std::nullopt;
  return IdentityOf(st);
}

std::optional<FileIdentity> IdentityOfPath(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return std::nullopt;
  return IdentityOf(st);
}

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
