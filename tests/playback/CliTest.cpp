// The seek and trace commands over a recording made by make-sample, checked against its manifest.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "tests/playback/RunCli.h"

namespace {
using nlohmann::json;
namespace fs = std::filesystem;

using ov::test::RunCli;

class CliTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    const char* tmp = std::getenv("OV_TEST_TMP");
    dir = fs::path(tmp ? tmp : "/tmp") / "playback-cli";
    fs::create_directories(dir);
    file = (dir / "two.ysk").string();
    int rc = -1;
    RunCli("make-sample " + file + " --channels 2 --duration 6 --gop 25 --flat --manifest " +
               (dir / "two.json").string(),
           &rc);
    ASSERT_EQ(rc, 0);
    std::ifstream in(dir / "two.json");
    manifest = json::parse(in);
  }
  static inline fs::path dir;
  static inline std::string file;
  static inline json manifest;
};

TEST_F(CliTest, SeekLandsOnTheManifestsFrames) {
  const int32_t start = manifest["startTime"];
  for (int second : {0, 2, 3, 5}) {
    const json r = json::parse(RunCli("seek " + file + " --second " + std::to_string(second)));
    ASSERT_EQ(r["seekDone"], 1) << second;
    for (int ch = 0; ch < 2; ++ch) {
      // The video position is a key frame of the target second, or the frame just before one.
      const uint32_t vp = r["videoPos"][ch];
      const json* prev = nullptr;
      bool ok = false;
      for (const json& f : manifest["frames"]) {
        if (f["audio"] || f["channel"] != ch) continue;
        const bool key = f["f_type"] == 1 && f["f_time"] >= start + second;
        if (key && (f["offset"] == vp || (prev && (*prev)["offset"] == vp))) ok = true;
        if (key) break;
        prev = &f;
      }
      EXPECT_TRUE(ok) << "second " << second << " channel " << ch << " video at " << vp;
      const uint32_t ap = r["audioPos"][ch];
      bool onSecond = false;
      for (const json& f : manifest["frames"])
        if (f["audio"] && f["channel"] == ch && f["offset"] == ap)
          onSecond = f["f_time"] == start + second;
      EXPECT_TRUE(onSecond) << "second " << second << " channel " << ch << " sound at " << ap;
    }
  }
}

TEST_F(CliTest, TraceIsTheSameOnEveryRunAndPlaysInKeyOrder) {
  const std::string args =
      "trace " + file + " --script \"play; wait 1500; ff; wait 1000; rew; wait 500; play; end\"";
  const std::string a = RunCli(args), b = RunCli(args);
  ASSERT_FALSE(a.empty());
  EXPECT_EQ(a, b);
  std::istringstream in(a);
  std::string line;
  int64_t lastT = 0, lastKey = -1, frames = 0;
  bool reverse = false;
  const int32_t start = manifest["startTime"];
  while (std::getline(in, line)) {
    const json j = json::parse(line);
    EXPECT_GE(j["t"].get<int64_t>(), lastT);
    lastT = j["t"];
    if (j["op"] == "text" && j["id"] == 1027 && j["s"] == "( Rew 1X )") reverse = true;
    if (j["op"] != "SubmitFrame" || j["ch"] == -1 || reverse) continue;
    const int64_t key = int64_t(j["time"].get<int32_t>() - start) * 1000 + j["ms"].get<int>();
    EXPECT_LE(lastKey - 1000, key);  // sound keys of a second may lead its video by under 1 s
    lastKey = std::max(lastKey, key);
    ++frames;
  }
  EXPECT_GT(frames, 50);
  int rc = 0;
  RunCli("trace " + file + " --script \"play; jump\"", &rc);
  EXPECT_NE(rc, 0);  // an unknown command is an error, not an empty trace
}

}  // namespace
