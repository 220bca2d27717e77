#include "activity/ResultsCache.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <random>

namespace ov::activity {
namespace {
namespace fs = std::filesystem;
using nlohmann::json;

// Grows whenever the analysis would give other levels for the same file.
constexpr int kCacheVersion = 1;
// 16 channels of a 25-hour recording take about 10 MB; anything far beyond is not ours.
constexpr uint64_t kMaxCacheBytes = 64u << 20;
constexpr int kLevelSteps = 1000;  // levels are kept in thousandths

// An integer member within [lo, hi]; false for anything else (a float, a string, out of range).
bool IntIn(const json& x, int64_t lo, int64_t hi, int& out) {
  if (!x.is_number_integer()) return false;
  const int64_t v = x.is_number_unsigned() && x.get<uint64_t>() > uint64_t(INT64_MAX)
                        ? INT64_MAX
                        : x.get<int64_t>();
  if (v < lo || v > hi) return false;
  out = int(v);
  return true;
}

json IdentityJson(const FileIdentity& id) {
  return {{"device", id.device}, {"inode", id.inode}, {"size", id.size}, {"mtimeNs", id.mtimeNs}};
}
}  // namespace

std::string CacheFileName(const FileIdentity& id) {
  return "d" + std::to_string(id.device) + "-i" + std::to_string(id.inode) + "-s" +
         std::to_string(id.size) + "-m" + std::to_string(id.mtimeNs) + ".json";
}

std::string CacheText(const ActivitySnapshot& snap, const CacheKey& key) {
  json channels = json::array();
  for (const ChannelActivity& c : snap.channels) {
    std::vector<int> level;
    level.reserve(c.level.size());
    for (float x : c.level) level.push_back(x < 0.0f ? -1 : int(std::lround(x * kLevelSteps)));
    json events = json::array();
    for (const ActivityEvent& e : c.events)
      events.push_back({e.fromSecond, e.toSecond, int(std::lround(e.peak * kLevelSteps))});
    channels.push_back(
        {{"slot", c.slot}, {"refined", c.refined}, {"level", level}, {"events", events}});
  }
  const json j{{"version", kCacheVersion},
               {"identity", IdentityJson(key.identity)},
               {"seconds", snap.seconds},
               {"channels", channels}};
  return j.dump();
}

std::optional<ActivitySnapshot> ParseCache(std::string_view text, const CacheKey& key) {
  if (text.size() > kMaxCacheBytes) return std::nullopt;
  const json j = json::parse(text.begin(), text.end(), nullptr, false);
  if (j.is_discarded() || !j.is_object()) return std::nullopt;
  try {
    if (j.at("version") != kCacheVersion || j.at("identity") != IdentityJson(key.identity) ||
        j.at("seconds") != key.seconds)
      return std::nullopt;
    const json& channels = j.at("channels");
    if (!channels.is_array() || channels.size() != key.slots.size()) return std::nullopt;
    ActivitySnapshot s;
    s.seconds = key.seconds;
    for (size_t i = 0; i < channels.size(); ++i) {
      const json& c = channels[i];
      ChannelActivity a;
      if (!c.is_object() || c.at("slot") != key.slots[i] || !c.at("refined").is_boolean())
        return std::nullopt;
      a.slot = key.slots[i];
      a.refined = c.at("refined").get<bool>();
      const json& level = c.at("level");
      if (!level.is_array() || level.size() != size_t(key.seconds)) return std::nullopt;
      a.level.reserve(level.size());
      for (const json& x : level) {
        int v = 0;
        if (!IntIn(x, -1, kLevelSteps, v)) return std::nullopt;
        a.level.push_back(v < 0 ? kNoRecording : float(v) / kLevelSteps);
      }
      for (const json& e : c.at("events")) {
        int from = 0, to = 0, peak = 0;
        if (!e.is_array() || e.size() != 3 || !IntIn(e[0], 0, key.seconds - 1, from) ||
            !IntIn(e[1], from, key.seconds - 1, to) || !IntIn(e[2], 0, kLevelSteps, peak))
          return std::nullopt;
        a.events.push_back({from, to, float(peak) / kLevelSteps});
      }
      s.channels.push_back(std::move(a));
    }
    s.progress = 1.0;
    s.complete = true;
    s.fromCache = true;
    return s;
  } catch (const json::exception&) {
    return std::nullopt;  // a member missing or of the wrong type
  }
}

std::optional<ActivitySnapshot> LoadCache(const std::string& dir, const CacheKey& key) {
  if (dir.empty()) return std::nullopt;
  const std::string path = (fs::path(dir) / CacheFileName(key.identity)).string();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
  if (fd < 0) return std::nullopt;
  std::string text;
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && uint64_t(st.st_size) <= kMaxCacheBytes) {
    text.resize(size_t(st.st_size));
    size_t got = 0;
    while (got < text.size()) {
      const ssize_t n = ::read(fd, text.data() + got, text.size() - got);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      got += size_t(n);
    }
    text.resize(got);
  }
  ::close(fd);
  return ParseCache(text, key);
}

bool StoreCache(const std::string& dir, const std::string& recordingPath,
                const ActivitySnapshot& snap, const CacheKey& key) {
  if (dir.empty()) return false;
  std::error_code ec;
  fs::create_directories(dir, ec);
  if (ec) return false;
  ::chmod(dir.c_str(), 0700);  // what was looked at in which recording is nobody else's business
  // Evidence sits on read-only media and its folder must stay as it was found.
  const fs::path here = fs::canonical(dir, ec);
  if (ec) return false;
  const fs::path beside = fs::weakly_canonical(fs::absolute(recordingPath).parent_path(), ec);
  if (!ec && here == beside) return false;
  const std::string text = CacheText(snap, key);
  const std::string final = (here / CacheFileName(key.identity)).string();
  std::random_device rd;
  const std::string temp = final + ".tmp" + std::to_string(rd());
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  bool ok = true;
  for (size_t done = 0; ok && done < text.size();) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    ok = n > 0;
    if (ok) done += size_t(n);
  }
  ok = ::close(fd) == 0 && ok;
  if (ok) ok = ::rename(temp.c_str(), final.c_str()) == 0;
  if (!ok) ::unlink(temp.c_str());
  return ok;
}

}  // namespace ov::activity
