// The activity command and the event export on recordings of a still scene made by make-sample,
// in both codings: the crossings written into the manifest are what the analysis must find.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <utility>
#include <vector>

#include "tests/export/ExportTestSupport.h"

namespace ov {
namespace {
namespace fs = std::filesystem;
using exporter::test::Cli;
using exporter::test::FreshDir;
using exporter::test::MakeRecording;
using exporter::test::Manifest;
using exporter::test::Quote;
using exporter::test::Sh;

// The analysis caches its results; each test keeps its cache to itself.
std::string CliIn(const std::string& cacheDir) {
  return "XDG_CACHE_HOME=" + Quote(cacheDir) + " " + Cli();
}

class ActivityCli : public ::testing::TestWithParam<int> {};

TEST_P(ActivityCli, FindsTheCrossingsOfTheManifestAndNothingElse) {
  const int coding = GetParam();
  const std::string rec =
      MakeRecording("still" + std::to_string(coding),
                    "--channels 3 --duration 90 --size 176x144 --no-audio --noise 6 --coding " +
                        std::to_string(coding) + " --events 1:20-26,1:60-63,3:40-55");
  const std::string cache = FreshDir("activity-cache-" + std::to_string(coding));
  const auto r = Sh(CliIn(cache) + " activity " + Quote(rec) + " --json");
  ASSERT_EQ(r.exitCode, 0) << r.out;
  const auto j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["file"], rec);
  EXPECT_EQ(j["start"], "2024-03-01 12:00:00");
  const int seconds = j["seconds"];
  EXPECT_GE(seconds, 88);
  ASSERT_EQ(j["channels"].size(), 3u);
  const auto truth = Manifest(rec)["events"];
  for (const auto& ch : j["channels"]) {
    EXPECT_EQ(ch["name"], "Camera " + std::to_string(int(ch["channel"])));
    ASSERT_EQ(ch["activity"].size(), size_t(seconds));
    for (const auto& x : ch["activity"]) EXPECT_TRUE(x.is_number() && x >= 0 && x <= 1) << x;
    std::vector<std::pair<int, int>> want, got;
    for (const auto& t : truth)
      if (t["channel"] == ch["channel"]) want.emplace_back(t["fromSecond"], t["toSecond"]);
    for (const auto& e : ch["events"]) {
      got.emplace_back(e["fromSecond"], e["toSecond"]);
      EXPECT_EQ(e["from"].get<std::string>().size(), 19u);
      EXPECT_GT(e["peak"], 0.25);
    }
    EXPECT_EQ(got, want) << "channel " << ch["channel"];
  }

  // One channel as CSV: a line per second, empty where there is no recording.
  const auto csv = Sh(CliIn(cache) + " activity " + Quote(rec) + " --csv --channel 3");
  ASSERT_EQ(csv.exitCode, 0) << csv.out;
  EXPECT_EQ(csv.out.substr(0, csv.out.find('\n')), "second,time,channel 3");
  EXPECT_EQ(std::count(csv.out.begin(), csv.out.end(), '\n'), seconds + 1);
}

INSTANTIATE_TEST_SUITE_P(Codings, ActivityCli, ::testing::Values(2, 1),
                         [](const auto& info) { return info.param == 2 ? "H264" : "Mpeg4"; });

TEST(ActivityCliErrors, RefusesWhatItCannotDo) {
  const std::string rec =
      MakeRecording("still-small",
                    "--channels 2 --video-slots 0 --duration 20 --size 176x144 --no-audio "
                    "--events 1:5-8");
  const std::string cache = FreshDir("activity-cache-errors");
  auto r = Sh(CliIn(cache) + " activity " + Quote(rec) + " --channel 2");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.out.find("channel 2 has no video"), std::string::npos) << r.out;
  r = Sh(CliIn(cache) + " activity " + Quote(rec + ".missing.ysk"));
  EXPECT_EQ(r.exitCode, 1);
  // Usage errors exit 2.
  r = Sh(CliIn(cache) + " activity " + Quote(rec) + " --json --csv");
  EXPECT_EQ(r.exitCode, 2);
  r = Sh(CliIn(cache) + " export " + Quote(rec) + " --events --channel 1 --from 2");
  EXPECT_EQ(r.exitCode, 2);
  r = Sh(CliIn(cache) + " export " + Quote(rec) + " --channel 1 --to 2");
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_NE(r.out.find("--from is required"), std::string::npos) << r.out;
}

TEST(ActivityCliExport, WritesAClipPerEventWithHashesAndReport) {
  // A folder of its own: the recordings' shared folder is written by other suites running at the
  // same time.
  const std::string rec = FreshDir("activity-export-source") + "/still-export.ysk";
  fs::copy_file(MakeRecording("still-export",
                              "--channels 1 --duration 60 --size 176x144 --gop 25 --noise 4 "
                              "--events 1:10-14,1:40-45"),
                rec);
  const std::string dir = FreshDir("activity-export");
  const std::string cache = FreshDir("activity-cache-export");
  const auto filesBeside = [&] {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(fs::path(rec).parent_path()))
      if (e.is_regular_file()) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  };
  const auto before = filesBeside();
  const auto r = Sh(CliIn(cache) + " export " + Quote(rec) +
                    " --channel 1 --events --pad 2 --out " + Quote(dir));
  ASSERT_EQ(r.exitCode, 0) << r.out;
  std::vector<std::string> clips, sums;
  for (const auto& e : fs::directory_iterator(dir)) {
    const std::string name = e.path().filename().string();
    if (e.path().extension() == ".mp4") clips.push_back(name);
    if (e.path().extension() == ".sha256") sums.push_back(name);
  }
  std::sort(clips.begin(), clips.end());
  // Padded by 2 s, from the key frame at or before: 8 s and 40 s.
  EXPECT_EQ(clips, (std::vector<std::string>{"Camera 1_20240301-120008.mp4",
                                             "Camera 1_20240301-120038.mp4"}));
  EXPECT_EQ(sums.size(), 2u);
  EXPECT_TRUE(fs::exists(dir + "/export-report.txt"));
  // The analysis wrote only into its cache, never beside the recording.
  EXPECT_EQ(filesBeside(), before);
}

}  // namespace
}  // namespace ov
