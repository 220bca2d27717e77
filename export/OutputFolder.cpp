#include "export/OutputFolder.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

namespace ov::exporter {
namespace {

std::string Why(int e) { return std::strerror(e); }

// renameat2 with RENAME_NOREPLACE; where the file system lacks it, a hard link under the new
// name (which fails on an existing name just the same) and the old name removed.
int RenameNoReplace(int dir, const char* from, const char* to) {
  if (::renameat2(dir, from, dir, to, RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return -1;
  if (::linkat(dir, from, dir, to, 0) != 0) return -1;
  ::unlinkat(dir, from, 0);
  return 0;
}

constexpr int kMaxNumbered = 999;                       // "clip-999.mp4" at the most
constexpr std::chrono::milliseconds kLockWait{30'000};  // another export's commit is brief
constexpr std::chrono::milliseconds kLockPoll{20};

}  // namespace

std::string NumberedName(const std::string& name, int n) {
  const size_t dot = name.rfind('.');
  const std::string stem = dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
  const std::string ext = stem.size() == name.size() ? "" : name.substr(dot);
  return stem + "-" + std::to_string(n) + ext;
}

OutputFolder::OutputFolder(const std::string& dir) : m_path(dir.empty() ? "." : dir) {
  m_dir = ::open(m_path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (m_dir < 0) throw OutputError("no such folder: " + m_path);
  if (::faccessat(m_dir, ".", W_OK, AT_EACCESS) != 0) {
    ::close(m_dir);
    throw OutputError("cannot write in " + m_path);
  }
}

OutputFolder::~OutputFolder() {
  if (!m_committed) RollBack();
  for (File& f : m_files)
    if (f.fd >= 0) ::close(f.fd);
  if (m_report >= 0) ::close(m_report);  // closing drops the lock
  ::close(m_dir);
}

bool OutputFolder::IsFree(const std::string& name) const {
  struct stat st {};
  return ::fstatat(m_dir, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 && errno == ENOENT;
}

size_t OutputFolder::Create() {
  static std::atomic<unsigned> serial{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    char name[64];
    std::snprintf(name, sizeof name, ".ov-export-%ld-%u.part", long(::getpid()),
                  serial.fetch_add(1));
    const int fd = ::openat(m_dir, name, O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0 && errno == EEXIST) continue;
    if (fd < 0) throw OutputError("cannot create a file in " + m_path + ": " + Why(errno));
    struct stat st {};
    ::fstat(fd, &st);
    m_files.push_back({name, "", fd, st.st_dev, st.st_ino});
    return m_files.size() - 1;
  }
  throw OutputError("cannot create a file in " + m_path + ": every temporary name is taken");
}

int OutputFolder::Fd(size_t file) const { return m_files.at(file).fd; }

void OutputFolder::Flush(size_t file) {
  if (::fsync(m_files.at(file).fd) != 0)
    throw OutputError("writing in " + m_path + ": " + Why(errno));
}

std::string OutputFolder::Claim(size_t file, const std::string& name, bool numbered) {
  File& f = m_files.at(file);
  for (int n = 1; n <= (numbered ? kMaxNumbered : 1); ++n) {
    const std::string candidate = n == 1 ? name : NumberedName(name, n);
    if (RenameNoReplace(m_dir, f.temp.c_str(), candidate.c_str()) == 0) {
      f.final = candidate;
      return candidate;
    }
    if (errno != EEXIST) throw OutputError("cannot name " + candidate + ": " + Why(errno));
  }
  throw OutputError(numbered ? "cannot name " + name + ": every numbered name is taken"
                             : m_path + "/" + name + " exists already; it is left as it is");
}

void OutputFolder::LockReport(const std::string& name, const std::atomic<bool>* cancel) {
  // O_NONBLOCK: a FIFO with no reader fails at once instead of waiting for one; O_NOFOLLOW: a
  // link (to /dev/zero, to a file elsewhere) is refused, not opened.
  const std::string what = m_path + "/" + name;
  int fd = ::openat(m_dir, name.c_str(),
                    O_WRONLY | O_APPEND | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  bool created = false;
  if (fd < 0 && errno == ENOENT) {
    fd = ::openat(m_dir, name.c_str(),
                  O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    created = fd >= 0;
  }
  if (fd < 0)
    throw OutputError("cannot write " + what + ": " +
                      (errno == ELOOP   ? std::string("it is a link; it is left as it is")
                       : errno == ENXIO ? std::string("not a regular file; it is left as it is")
                                        : Why(errno)));
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_nlink != 1) {
    ::close(fd);
    throw OutputError("cannot write " + what +
                      ": not a regular file with one name; it is left as it is");
  }
  const auto deadline = std::chrono::steady_clock::now() + kLockWait;
  while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int e = errno;
    const bool cancelled = cancel && cancel->load();
    if ((e != EWOULDBLOCK && e != EINTR) || cancelled ||
        std::chrono::steady_clock::now() > deadline) {
      ::close(fd);
      if (created) ::unlinkat(m_dir, name.c_str(), 0);
      throw OutputError(cancelled ? "cancelled"
                        : e != EWOULDBLOCK && e != EINTR
                            ? "cannot lock " + what + ": " + Why(e)
                            : what + " stays locked by another export");
    }
    std::this_thread::sleep_for(kLockPoll);
  }
  // The length under the lock: what a rollback cuts back to.
  if (::fstat(fd, &st) != 0) {
    ::close(fd);
    throw OutputError("cannot read the length of " + what);
  }
  m_report = fd;
  m_reportName = name;
  m_reportCreated = created;
  m_reportDev = st.st_dev;
  m_reportIno = st.st_ino;
  m_reportSize = st.st_size;
}

void OutputFolder::AppendReport(const std::string& text) {
  const std::string what = m_path + "/" + m_reportName;
  std::string record = m_reportSize > 0 ? "\n" + text : text;
  size_t done = 0;
  while (done < record.size()) {
    const ssize_t n = ::write(m_report, record.data() + done, record.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) throw OutputError("cannot write " + what + ": " + Why(n < 0 ? errno : EIO));
    done += size_t(n);
  }
  if (::fsync(m_report) != 0) throw OutputError("cannot write " + what + ": " + Why(errno));
}

void OutputFolder::Commit() {
  if (::fsync(m_dir) != 0) throw OutputError("cannot flush " + m_path + ": " + Why(errno));
  m_committed = true;
}

bool OutputFolder::Owns(const std::string& name, const File& f) const {
  struct stat st {};
  return ::fstatat(m_dir, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && st.st_dev == f.dev &&
         st.st_ino == f.ino;
}

void OutputFolder::RollBack() {
  for (const File& f : m_files) {
    if (Owns(f.temp, f)) ::unlinkat(m_dir, f.temp.c_str(), 0);
    if (!f.final.empty() && Owns(f.final, f)) ::unlinkat(m_dir, f.final.c_str(), 0);
  }
  if (m_report >= 0) {
    if (::ftruncate(m_report, m_reportSize) == 0 && m_reportCreated && m_reportSize == 0 &&
        Owns(m_reportName, File{"", "", -1, m_reportDev, m_reportIno}))
      ::unlinkat(m_dir, m_reportName.c_str(), 0);
  }
}

}  // namespace ov::exporter
