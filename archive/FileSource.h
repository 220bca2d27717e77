#pragma once
// Random-access, read-only byte sources: a POSIX descriptor (pread) or memory (fuzzing, tests).
// ReadAt is safe to call from several threads at once; it never reads past Size().
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ov {

class IFileSource {
 public:
  virtual ~IFileSource() = default;
  virtual uint64_t Size() const = 0;
  // Reads up to n bytes at offset; returns the number read (0 at or past the end).
  virtual size_t ReadAt(uint64_t offset, void* buffer, size_t n) = 0;
  // Bytes delivered so far, for benchmarks.
  uint64_t BytesRead() const { return m_bytesRead.load(std::memory_order_relaxed); }

 protected:
  void Count(size_t n) { m_bytesRead.fetch_add(n, std::memory_order_relaxed); }

 private:
  std::atomic<uint64_t> m_bytesRead{0};
};

// Why a path was not opened for reading.
enum class OpenRefusal { None, NotFound, PermissionDenied, NotRegular, Unreadable };
// The reason in words for the user ("not a regular file", ...); empty for None.
const char* RefusalText(OpenRefusal why);

// Opens path read-only as a regular file and never blocks: anything else (a FIFO, a device, a
// folder) is refused from its status before it is opened, so no open waits for a writer or
// touches a device. Returns the descriptor (close-on-exec) or -1 with why set.
int OpenRegularFile(const std::string& path, OpenRefusal& why, uint64_t& size);

// What tells one file from another and a changed file from itself.
struct FileIdentity {
  uint64_t device = 0, inode = 0, size = 0;
  int64_t mtimeNs = 0;
  int64_t ctimeNs = 0;  // status change: set by the system on every write, not by the user
  bool SameFile(const FileIdentity& o) const { return device == o.device && inode == o.inode; }
  bool operator==(const FileIdentity&) const = default;
};
// The identity of what path names now (following links, as an open does); nothing when absent.
std::optional<FileIdentity> IdentityOfPath(const std::string& path);

class PosixFile final : public IFileSource {
 public:
  // Opens path read-only; returns null when it cannot be opened or is not a regular file.
  static std::unique_ptr<PosixFile> Open(const std::string& path, OpenRefusal* why = nullptr);
  ~PosixFile() override;
  PosixFile(const PosixFile&) = delete;
  PosixFile& operator=(const PosixFile&) = delete;
  uint64_t Size() const override { return m_size; }
  size_t ReadAt(uint64_t offset, void* buffer, size_t n) override;
  // The open file's identity now; its size and time change when it is written to.
  std::optional<FileIdentity> Identity() const;

 private:
  PosixFile(int fd, uint64_t size) : m_fd(fd), m_size(size) {}
  int m_fd;
  uint64_t m_size;
};

class MemoryFile final : public IFileSource {
 public:
  explicit MemoryFile(std::shared_ptr<const std::vector<uint8_t>> bytes)
      : m_bytes(std::move(bytes)) {}
  uint64_t Size() const override { return m_bytes->size(); }
  size_t ReadAt(uint64_t offset, void* buffer, size_t n) override;

 private:
  std::shared_ptr<const std::vector<uint8_t>> m_bytes;
};

// Reads one 20-byte frame header at offset; false when fewer than 20 bytes could be read.
struct YskFrameHeader;
bool ReadFrameHeader(IFileSource& file, uint64_t offset, YskFrameHeader& out);

}  // namespace ov
