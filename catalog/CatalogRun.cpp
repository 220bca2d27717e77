#include "catalog/CatalogRun.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <mutex>
#include <optional>
#include <thread>
#include <unordered_set>

#include "archive/FileSource.h"
#include "catalog/FileScan.h"
#include "catalog/Store.h"

namespace ov::catalog {
namespace fs = std::filesystem;
namespace {

// Files written per transaction: few enough that an interrupted run keeps most of its work,
// many enough that commits do not dominate.
constexpr size_t kBatch = 256;

void List(const std::string& root, std::vector<std::string>& out) {
  std::error_code ec;
  const fs::file_status st = fs::status(root, ec);
  if (fs::is_regular_file(st)) {
    out.push_back(CatalogPath(root));
    return;
  }
  // Links to folders are not followed: a loop of them would never end.
  for (auto it = fs::recursive_directory_iterator(
           root, fs::directory_options::skip_permission_denied, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    std::error_code e2;
    if (it->is_directory(e2)) continue;
    if (LooksLikeBackup(it->path().filename().string())) out.push_back(CatalogPath(it->path()));
  }
}

bool UnderRoot(const std::string& path, const std::string& root) {
  return path == root || (path.size() > root.size() && path.compare(0, root.size(), root) == 0 &&
                          (root.back() == '/' || path[root.size()] == '/'));
}

// Reads files on worker threads and hands them to the writer in the order they finish.
class Pool {
 public:
  Pool(std::vector<std::pair<std::string, ScanOptions>> work, int jobs) : m_work(std::move(work)) {
    for (int i = 0; i < jobs; ++i) m_threads.emplace_back([this] { Work(); });
  }
  ~Pool() {
    m_stop.store(true);
    for (auto& t : m_threads) t.join();
  }
  // The next finished file; nothing once all are handed out.
  std::optional<FileEntry> Next() {
    std::unique_lock lock(m_mutex);
    m_ready.wait(lock, [&] { return !m_done.empty() || m_finished == m_work.size(); });
    if (m_done.empty()) return std::nullopt;
    FileEntry e = std::move(m_done.front());
    m_done.pop_front();
    return e;
  }

 private:
  void Work() {
    for (;;) {
      const size_t i = m_next.fetch_add(1);
      if (i >= m_work.size() || m_stop.load()) return;
      FileEntry e = ScanFile(m_work[i].first, m_work[i].second);
      {
        std::lock_guard lock(m_mutex);
        m_done.push_back(std::move(e));
        ++m_finished;
      }
      m_ready.notify_one();
    }
  }
  const std::vector<std::pair<std::string, ScanOptions>> m_work;
  std::atomic<size_t> m_next{0};
  std::atomic<bool> m_stop{false};
  std::mutex m_mutex;
  std::condition_variable m_ready;
  std::deque<FileEntry> m_done;  // guarded by m_mutex
  size_t m_finished = 0;         // guarded by m_mutex
  std::vector<std::thread> m_threads;
};

}  // namespace

bool LooksLikeBackup(const std::string& name) {
  std::string lower(name);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  return lower.find(".ysk") != std::string::npos;
}

std::string CatalogPath(const std::string& path) {
  std::error_code ec;
  fs::path p = fs::absolute(path, ec);
  if (ec) p = path;
  std::string s = p.lexically_normal().string();
  while (s.size() > 1 && s.back() == '/') s.pop_back();
  return s;
}

RunStats RunCatalog(Database& db, const RunOptions& options,
                    const std::function<void(const RunProgress&)>& onProgress) {
  RunStats stats;
  std::vector<std::string> listed;
  for (const std::string& root : options.roots) List(root, listed);
  std::sort(listed.begin(), listed.end());
  listed.erase(std::unique(listed.begin(), listed.end()), listed.end());
  stats.progress.listed = listed.size();

  const auto known = LoadKnownFiles(db);
  std::vector<std::pair<std::string, ScanOptions>> work;
  for (const std::string& path : listed) {
    ScanOptions so;
    so.hash = options.hash;
    so.activity = options.activity;
    const auto k = known.find(path);
    const auto id = IdentityOfPath(path);
    const bool same = k != known.end() && id && id->size == k->second.size &&
                      id->inode == k->second.inode && id->mtimeNs == k->second.mtimeNs;
    if (same) {
      // A digest is computed once; an analysis is kept once it ran.
      const bool needHash = options.hash && !k->second.sha256;
      const bool needActivity = options.activity && !k->second.activity;
      if (!needHash && !needActivity) {
        ++stats.unchanged;
        continue;
      }
      so.knownSha256 = k->second.sha256;
      so.activity = options.activity || k->second.activity;
    }
    work.emplace_back(path, so);
  }
  stats.progress.toRead = work.size();

  // Files that were under a scanned root and are there no more.
  std::vector<std::string> gone;
  const std::unordered_set<std::string> present(listed.begin(), listed.end());
  std::vector<std::string> roots;
  for (const std::string& r : options.roots) roots.push_back(CatalogPath(r));
  for (const auto& [path, k] : known)
    if (!present.count(path) &&
        std::any_of(roots.begin(), roots.end(), [&](const auto& r) { return UnderRoot(path, r); }))
      gone.push_back(path);
  if (onProgress) onProgress(stats.progress);

  const int jobs = std::clamp(
      options.jobs > 0 ? options.jobs : int(std::max(1u, std::thread::hardware_concurrency())), 1,
      256);
  Pool pool(std::move(work), std::min<int>(jobs, int(std::max<size_t>(1, stats.progress.toRead))));
  std::optional<Transaction> batch;
  size_t inBatch = 0;
  while (auto e = pool.Next()) {
    if (!batch) batch.emplace(db);
    WriteEntry(db, *e);
    ++stats.progress.read;
    if (e->sha256 && !e->sha256->empty()) stats.progress.bytesHashed += e->size;
    (e->status == "accepted"   ? stats.accepted
     : e->status == "rejected" ? stats.rejected
                               : stats.ignored)++;
    if (++inBatch == kBatch) {
      batch->Commit();
      batch.reset();
      inBatch = 0;
    }
    if (onProgress) onProgress(stats.progress);
  }
  if (!batch) batch.emplace(db);
  for (const std::string& path : gone) RemoveFile(db, path);
  stats.removed = gone.size();
  batch->Commit();
  return stats;
}

}  // namespace ov::catalog
