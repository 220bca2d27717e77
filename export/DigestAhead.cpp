#include "export/DigestAhead.h"

#include <chrono>
#include <system_error>

#include "export/HashCache.h"
#include "export/Sha256.h"

namespace ov::exporter {

DigestAhead::DigestAhead(std::string path, std::string cacheFile)
    : m_path(std::move(path)), m_cacheFile(std::move(cacheFile)) {
  try {
    m_thread = std::thread([this] { Hash(); });
  } catch (const std::system_error&) {
    // No thread to spare: the export hashes the file itself, as it would without this.
    std::lock_guard lock(m_mutex);
    m_done = true;
  }
}

DigestAhead::~DigestAhead() {
  m_stop.store(true);
  if (m_thread.joinable()) m_thread.join();
}

void DigestAhead::Hash() {
  std::optional<FileIdentity> identity;
  std::optional<std::string> digest;
  if (auto file = PosixFile::Open(m_path)) {
    identity = file->Identity();
    if (identity) digest = CachedSha256(m_cacheFile, *identity);
    if (identity && !digest) {
      digest = SourceSha256(*file, file->Size(), &m_stop, [this](uint64_t n) {
        m_bytes.fetch_add(n, std::memory_order_relaxed);
      });
      // A write while it was read leaves a digest of no version of the file.
      if (digest && file->Identity() != identity) digest.reset();
      if (digest) RememberSha256(m_cacheFile, *identity, *digest);
    }
  }
  std::lock_guard lock(m_mutex);
  m_identity = identity;
  m_digest = std::move(digest);
  m_done = true;
  m_doneCv.notify_all();
}

std::optional<std::string> DigestAhead::DigestFor(const FileIdentity& id,
                                                  const std::atomic<bool>& cancel,
                                                  const std::function<void(uint64_t)>& onWait) {
  std::unique_lock lock(m_mutex);
  while (!m_done) {
    if (cancel.load()) return std::nullopt;
    m_doneCv.wait_for(lock, std::chrono::milliseconds(100));
    if (onWait) {
      lock.unlock();
      onWait(BytesDone());
      lock.lock();
    }
  }
  if (!m_digest || !m_identity || *m_identity != id) return std::nullopt;
  return m_digest;
}

}  // namespace ov::exporter
