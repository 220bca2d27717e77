// Recording sets through the cli: a recording split into consecutive files plays exactly as the
// recording in one file, a pause between files is skipped, and files that do not belong are named.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "tests/playback/RunCli.h"

namespace {
using nlohmann::json;
namespace fs = std::filesystem;

using ov::test::RunCli;

std::vector<json> Lines(const std::string& text) {
  std::vector<json> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(json::parse(line));
  return lines;
}

// The trace without the line that names the file shown: a set is named after its first file.
std::string TraceWithoutPath(const std::string& files, const std::string& script) {
  int rc = -1;
  std::string out;
  for (const json& j : Lines(RunCli("trace " + files + " --script \"" + script + "\"", &rc)))
    if (!(j["op"] == "text" && j["s"].is_string() &&
          j["s"].get<std::string>().find(".ysk") != std::string::npos))
      out += j.dump() + "\n";
  EXPECT_EQ(rc, 0);
  return out;
}

class SetCliTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    const char* tmp = std::getenv("OV_TEST_TMP");
    dir = fs::path(tmp ? tmp : "/tmp") / "set-cli";
    fs::remove_all(dir);
    fs::create_directories(dir / "parts");
    const std::string shape = " --channels 2 --duration 9 --gop 25 --flat";
    int rc = -1;
    RunCli("make-sample " + (dir / "whole.ysk").string() + shape, &rc);
    ASSERT_EQ(rc, 0);
    RunCli("make-sample " + (dir / "parts" / "rec.ysk").string() + shape + " --split 0.05", &rc);
    ASSERT_EQ(rc, 0);
  }
  static inline fs::path dir;
};

TEST_F(SetCliTest, SplitFilesPlayAsTheWholeRecording) {
  ASSERT_TRUE(fs::exists(dir / "parts" / "rec-03.ysk"));
  ASSERT_FALSE(fs::exists(dir / "parts" / "rec-04.ysk"));
  const std::string whole = (dir / "whole.ysk").string();
  const std::string parts = (dir / "parts").string();
  // Across both boundaries at normal speed, fast forward and back, and searches into the parts.
  for (const std::string script :
       {"play;wait 9500;end", "seek 2;play;wait 1200;ff;wait 1500;play;wait 300;rew;wait 2500;end",
        "seek 5;play;wait 700;r;wait 400;f;wait 400;seek 3;play;wait 600;end"}) {
    const std::string expected = TraceWithoutPath(whole, script);
    EXPECT_FALSE(expected.empty());
    EXPECT_EQ(TraceWithoutPath(parts, script), expected) << script;
  }
  // The files named one by one, in any order, are the same set.
  const std::string named = (dir / "parts" / "rec-02.ysk").string() + " " +
                            (dir / "parts" / "rec-03.ysk").string() + " " +
                            (dir / "parts" / "rec-01.ysk").string();
  EXPECT_EQ(TraceWithoutPath(named, "play;wait 9500;end"),
            TraceWithoutPath(whole, "play;wait 9500;end"));
}

TEST_F(SetCliTest, InfoNamesTheFilesLeftOut) {
  const fs::path mixed = dir / "mixed";
  fs::create_directories(mixed);
  for (int i = 1; i <= 3; ++i) {
    const std::string name = "rec-0" + std::to_string(i) + ".ysk";
    fs::copy_file(dir / "parts" / name, mixed / name, fs::copy_options::overwrite_existing);
  }
  int rc = -1;
  RunCli("make-sample " + (mixed / "other.ysk").string() +
             " --channels 3 --duration 2 --flat --start \"2024-03-01 12:00:04\"",
         &rc);
  ASSERT_EQ(rc, 0);
  // Starts inside rec-01.ysk on the same clock: overlaps it.
  RunCli("make-sample " + (mixed / "overlap.ysk").string() +
             " --channels 2 --duration 2 --flat --start \"2024-03-01 12:00:01\" --start-msec 2000",
         &rc);
  ASSERT_EQ(rc, 0);
  const std::string out = RunCli("info --json " + mixed.string(), &rc);
  ASSERT_EQ(rc, 0) << out;
  const json j = json::parse(out);
  EXPECT_EQ(j["status"], "accepted");
  EXPECT_EQ(j["set"]["files"].size(), 3u);
  ASSERT_EQ(j["set"]["notInSet"].size(), 2u);
  EXPECT_NE(j["set"]["notInSet"][0]["path"].get<std::string>().find("other.ysk"),
            std::string::npos);
  EXPECT_NE(j["set"]["notInSet"][0]["reason"].get<std::string>().find("another recorder"),
            std::string::npos);
  EXPECT_NE(j["set"]["notInSet"][1]["reason"].get<std::string>().find("overlap"),
            std::string::npos);
  // The whole recording's length and range, from one file or from the set.
  const json w = json::parse(RunCli("info --json " + (dir / "whole.ysk").string()));
  EXPECT_EQ(j["totalSeconds"], w["totalSeconds"]);
}

TEST_F(SetCliTest, ExportAcrossFilesGivesOneClipAndNamesEverySource) {
  // Seconds 1..5 span the first boundary (at 3 s); the clip holds what the whole file's would.
  auto run = [&](const std::string& source, const std::string& out) {
    fs::remove_all(dir / out);
    fs::create_directories(dir / out);
    int rc = -1;
    const std::string text = RunCli("export " + source + " --from 1 --to 5 --channel 1 --out " +
                                        (dir / out).string() + " --no-hash-cache --json",
                                    &rc);
    EXPECT_EQ(rc, 0) << text;
    return json::parse(text);
  };
  const json set = run((dir / "parts").string(), "clips-set");
  const json whole = run((dir / "whole.ysk").string(), "clips-whole");
  ASSERT_EQ(set["clips"].size(), 1u);
  EXPECT_EQ(set["clips"][0]["frames"], whole["clips"][0]["frames"]);
  EXPECT_EQ(set["clips"][0]["durationMs"], whole["clips"][0]["durationMs"]);
  std::ifstream sums(set["checksums"].get<std::string>());
  std::string line, all;
  int lines = 0;
  while (std::getline(sums, line)) {
    ++lines;
    all += line + "\n";
  }
  EXPECT_EQ(lines, 4);  // the three files of the set, then the clip
  for (const char* name : {"rec-01.ysk", "rec-02.ysk", "rec-03.ysk"})
    EXPECT_NE(all.find(name), std::string::npos) << name;
  std::ifstream report(set["report"].get<std::string>());
  const std::string text((std::istreambuf_iterator<char>(report)), {});
  EXPECT_NE(text.find("Recording set: 3 files"), std::string::npos);
}

TEST_F(SetCliTest, APauseBetweenFilesIsSkipped) {
  const fs::path gap = dir / "gap";
  fs::create_directories(gap);
  int rc = -1;
  RunCli("make-sample " + (gap / "a.ysk").string() + " --channels 1 --duration 2 --flat --no-audio",
         &rc);
  ASSERT_EQ(rc, 0);
  // Ten seconds later on the same running clock.
  RunCli("make-sample " + (gap / "b.ysk").string() +
             " --channels 1 --duration 2 --flat --no-audio --start \"2024-03-01 12:00:12\" "
             "--start-msec 13000",
         &rc);
  ASSERT_EQ(rc, 0);
  const std::vector<json> lines =
      Lines(RunCli("trace " + gap.string() + " --script \"play;wait 5000;end\""));
  int64_t lastOfA = -1, firstOfB = -1;
  int frames = 0;
  for (const json& j : lines) {
    if (j["op"] != "SubmitFrame" || j["ch"] < 0) continue;  // ch -1: the decoder's reset
    ++frames;
    const int64_t second = j["time"], t = j["t"];
    const bool ofB = second >= 1709294412;  // 2024-03-01 12:00:12
    if (!ofB) lastOfA = t;
    if (ofB && firstOfB < 0) firstOfB = t;
  }
  EXPECT_EQ(frames, 100);  // both files' frames, each once
  ASSERT_GE(lastOfA, 0);
  ASSERT_GE(firstOfB, 0);
  EXPECT_LE(firstOfB - lastOfA, 80);  // at most one frame step, not the ten seconds
}

}  // namespace
