#pragma once
// A source's SHA-256 taken ahead of its export, while the user still picks channels and a range:
// the report must carry the whole recording's digest, and reading gigabytes for it after the
// Export press would make the export's time follow the recording's size instead of the clip's.
// The digest is remembered in the hash cache and handed to an export of the same file identity;
// an export that starts before it is done waits for it rather than reading the file twice.
//
// Threads: one thread of its own hashes; DigestFor may be called from any one thread at a time.
// Destruction stops a hash still running and waits for it.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "archive/FileSource.h"

namespace ov::exporter {

class DigestAhead {
 public:
  // Starts hashing the file at path unless cacheFile already remembers its digest.
  DigestAhead(std::string path, std::string cacheFile);
  ~DigestAhead();
  DigestAhead(const DigestAhead&) = delete;
  DigestAhead& operator=(const DigestAhead&) = delete;

  // The digest of the file with identity id: waits for the hash, calling onWait with the bytes
  // hashed so far every 100 ms (it may throw to stop waiting). Nothing when the hash was of
  // another file (the path was replaced or written to), failed, or cancel became true.
  std::optional<std::string> DigestFor(const FileIdentity& id, const std::atomic<bool>& cancel,
                                       const std::function<void(uint64_t)>& onWait = {});
  uint64_t BytesDone() const { return m_bytes.load(std::memory_order_relaxed); }

 private:
  void Hash();

  const std::string m_path, m_cacheFile;
  std::atomic<bool> m_stop{false};
  std::atomic<uint64_t> m_bytes{0};
  std::mutex m_mutex;
  std::condition_variable m_doneCv;
  bool m_done = false;
  std::optional<FileIdentity> m_identity;  // of the file hashed, as it was before and after
  std::optional<std::string> m_digest;
  std::thread m_thread;  // last: starts after everything above exists
};

}  // namespace ov::exporter
