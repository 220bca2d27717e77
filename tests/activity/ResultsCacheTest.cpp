// The results cache: a second open of the same file is answered from it, a changed file is not,
// damaged cache files are ignored, and nothing is written beside the recording.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "activity/Activity.h"
#include "activity/ResultsCache.h"
#include "archive/BackupFile.h"
#include "tests/archive/YskBuilder.h"

namespace ov {
namespace {
namespace fs = std::filesystem;

fs::path Fresh(const std::string& name) {
  const char* tmp = std::getenv("OV_TEST_TMP");
  const fs::path p = fs::path(tmp ? tmp : fs::temp_directory_path().string()) / "activity" / name;
  fs::remove_all(p);
  fs::create_directories(p);
  return p;
}

std::vector<fs::path> Listing(const fs::path& dir) {
  std::vector<fs::path> v;
  for (const auto& e : fs::directory_iterator(dir)) v.push_back(e.path().filename());
  std::sort(v.begin(), v.end());
  return v;
}

ActivitySnapshot AnalyseFile(const std::string& path, const std::string& cacheDir) {
  BackupFile file;
  EXPECT_TRUE(file.ReadBackupHeader(path).accepted);
  ActivityJob job(file.SharedRecording(), file.ScanReader(), {path, cacheDir});
  job.Start();
  job.Wait();
  return job.Snapshot();
}

TEST(ResultsCache, ASecondOpenIsAnsweredFromTheCacheUntilTheFileChanges) {
  const fs::path dir = Fresh("second-open");
  const fs::path media = dir / "media", cache = dir / "cache";
  fs::create_directories(media);
  test::YskBuilder b;
  auto& run = b.AddVideo(0, test::kT0, 0, 1200, 100, 20);
  for (size_t i = 600; i < 650; ++i) run.frames[i].size = run.frames[i].f_type ? 300 : 900;
  b.AddVideo(3, test::kT0 + 10, 0, 800, 100, 20);
  const std::string path = (media / "rec.ysk").string();
  {
    const auto bytes = b.Build();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  }
  const auto mediaBefore = Listing(media);
  const ActivitySnapshot first = AnalyseFile(path, cache.string());
  EXPECT_FALSE(first.fromCache);
  ASSERT_EQ(first.channels.size(), 2u);
  ASSERT_EQ(first.channels[0].events.size(), 1u);
  EXPECT_EQ(Listing(media), mediaBefore);
  EXPECT_EQ(Listing(cache).size(), 1u);
  EXPECT_EQ(fs::status(cache).permissions() & fs::perms::all, fs::perms::owner_all);

  const ActivitySnapshot second = AnalyseFile(path, cache.string());
  EXPECT_TRUE(second.fromCache);
  EXPECT_TRUE(second.complete);
  EXPECT_EQ(second.seconds, first.seconds);
  ASSERT_EQ(second.channels.size(), 2u);
  for (size_t c = 0; c < 2; ++c) {
    EXPECT_EQ(second.channels[c].slot, first.channels[c].slot);
    ASSERT_EQ(second.channels[c].level.size(), first.channels[c].level.size());
    for (size_t s = 0; s < first.channels[c].level.size(); ++s)
      EXPECT_NEAR(second.channels[c].level[s], first.channels[c].level[s], 0.0006f);
    ASSERT_EQ(second.channels[c].events.size(), first.channels[c].events.size());
  }
  EXPECT_EQ(second.channels[0].events[0].fromSecond, first.channels[0].events[0].fromSecond);

  // Another modification time: another file as far as the cache knows.
  struct utimbuf t {
    1000000, 1000000
  };
  ASSERT_EQ(::utime(path.c_str(), &t), 0);
  EXPECT_FALSE(AnalyseFile(path, cache.string()).fromCache);
  EXPECT_EQ(Listing(cache).size(), 2u);

  // A cache folder that is the recording's own folder is never written.
  const auto beforeSelf = Listing(media);
  ASSERT_EQ(::utime(path.c_str(), nullptr), 0);
  EXPECT_FALSE(AnalyseFile(path, media.string()).fromCache);
  EXPECT_EQ(Listing(media), beforeSelf);
}

TEST(ResultsCache, DamagedOrForeignCacheTextIsIgnored) {
  activity::CacheKey key;
  key.identity = {7, 8, 9, 10};
  key.seconds = 5;
  key.slots = {1};
  ActivitySnapshot s;
  s.seconds = 5;
  ChannelActivity c;
  c.slot = 1;
  c.level = {kNoRecording, 0.0f, 0.5f, 1.0f, 0.25f};
  c.events = {{2, 4, 1.0f}};
  c.refined = true;
  s.channels = {c};
  const std::string text = activity::CacheText(s, key);
  const auto back = activity::ParseCache(text, key);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->channels[0].level, c.level);
  EXPECT_TRUE(back->channels[0].refined);
  EXPECT_TRUE(back->fromCache);

  auto other = key;
  other.identity.mtimeNs = 11;
  EXPECT_FALSE(activity::ParseCache(text, other));
  other = key;
  other.slots = {2};
  EXPECT_FALSE(activity::ParseCache(text, other));
  other = key;
  other.seconds = 6;
  EXPECT_FALSE(activity::ParseCache(text, other));
  for (size_t cut : {size_t(0), size_t(1), text.size() / 2, text.size() - 1})
    EXPECT_FALSE(activity::ParseCache(text.substr(0, cut), key)) << cut;
  auto replaced = [&](const std::string& from, const std::string& to) {
    std::string t = text;
    t.replace(t.find(from), from.size(), to);
    return activity::ParseCache(t, key);
  };
  EXPECT_FALSE(replaced("[-1,0,500,1000,250]", "[-1,0,500,1001,250]"));
  EXPECT_FALSE(replaced("[-1,0,500,1000,250]", "[-1,0,0.5,1000,250]"));
  EXPECT_FALSE(replaced("[-1,0,500,1000,250]", "[-1,0,500,1000]"));
  EXPECT_FALSE(replaced("[[2,4,1000]]", "[[2,5,1000]]"));
  EXPECT_FALSE(replaced("[[2,4,1000]]", "[[4,2,1000]]"));
  EXPECT_FALSE(replaced("\"version\":1", "\"version\":2"));
}

}  // namespace
}  // namespace ov
