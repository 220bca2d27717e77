#include "export/HashCache.h"

#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace ov::exporter {
namespace {

struct Entry {
  FileIdentity id;
  std::string digest;
};

bool IsDigest(const std::string& s) {
  if (s.size() != 64) return false;
  for (char c : s)
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  return true;
}

// Entries of the cache file, oldest first; malformed lines are skipped.
std::vector<Entry> Load(const std::string& path) {
  std::vector<Entry> out;
  std::ifstream in(path, std::ios::binary);
  if (!in) return out;
  std::string text(kHashCacheMaxBytes, '\0');
  in.read(text.data(), std::streamsize(text.size()));
  text.resize(size_t(in.gcount()));
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    std::istringstream f(line);
    Entry e;
    if (!(f >> e.id.device >> e.id.inode >> e.id.size >> e.id.mtimeNs >> e.id.ctimeNs >> e.digest))
      continue;
    if (IsDigest(e.digest)) out.push_back(std::move(e));
  }
  return out;
}

}  // namespace

std::string DefaultHashCacheFile() {
  std::filesystem::path base;
  if (const char* x = std::getenv("XDG_CACHE_HOME"); x && *x == '/') {
    base = x;
  } else if (const char* h = std::getenv("HOME"); h && *h == '/') {
    base = std::filesystem::path(h) / ".cache";
  } else {
    return {};
  }
  return (base / "ostravue" / "source-sha256").string();
}

std::optional<std::string> CachedSha256(const std::string& cacheFile, const FileIdentity& id) {
  if (cacheFile.empty()) return std::nullopt;
  const auto entries = Load(cacheFile);
  for (auto it = entries.rbegin(); it != entries.rend(); ++it)
    if (it->id == id) return it->digest;
  return std::nullopt;
}

void RememberSha256(const std::string& cacheFile, const FileIdentity& id,
                    const std::string& digest) {
  if (cacheFile.empty() || !IsDigest(digest)) return;
  std::vector<Entry> entries;
  for (Entry& e : Load(cacheFile))
    if (!e.id.SameFile(id)) entries.push_back(std::move(e));
  entries.push_back({id, digest});
  if (entries.size() > kHashCacheMaxEntries)
    entries.erase(entries.begin(), entries.end() - kHashCacheMaxEntries);
  std::error_code ec;
  const std::filesystem::path path(cacheFile);
  std::filesystem::create_directories(path.parent_path(), ec);
  // Unique per writer: a digest taken ahead and an export may remember at the same time.
  static std::atomic<unsigned> writers{0};
  const std::string tmp =
      cacheFile + ".tmp" + std::to_string(::getpid()) + "." + std::to_string(writers.fetch_add(1));
  {
    std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
    for (const Entry& e : entries)
      out << e.id.device << ' ' << e.id.inode << ' ' << e.id.size << ' ' << e.id.mtimeNs << ' '
          << e.id.ctimeNs << ' ' << e.digest << '\n';
    if (!out.flush()) {
      out.close();
      std::filesystem::remove(tmp, ec);
      return;
    }
  }
  std::filesystem::rename(tmp, path, ec);
  if (ec) std::filesystem::remove(tmp, ec);
}

}  // namespace ov::exporter
