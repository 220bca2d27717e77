// ostravue-cli info: exit status and the JSON keys for accepted, rejected and ignored files.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "tests/archive/YskBuilder.h"

namespace ov::test {
namespace {

struct Run {
  int status;
  nlohmann::json out;
};

std::string Capture(const std::string& args, int& status) {
  const std::string cmd = std::string(OV_CLI_PATH) + " info " + args + " 2>/dev/null";
  FILE* p = popen(cmd.c_str(), "r");
  std::string text;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) text.append(buf, n);
  status = WEXITSTATUS(pclose(p));
  return text;
}

Run Info(const std::string& path, const std::string& extra = "") {
  int status = 0;
  const std::string text = Capture("--json " + extra + " '" + path + "'", status);
  return {status, nlohmann::json::parse(text)};
}

std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) {
  const char* env = std::getenv("OV_TEST_TMP");
  auto dir = std::filesystem::path(env ? env : "/tmp") / "info";
  std::filesystem::create_directories(dir);
  std::ofstream(dir / name, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  return (dir / name).string();
}

TEST(InfoCli, AcceptedRejectedIgnored) {
  YskBuilder y;
  y.header.channelCount = 1;
  y.AddVideo(0, kT0, 1000, 30, 40, 10);
  const auto ok = Info(Write("ok.ysk", y.Build()));
  EXPECT_EQ(ok.status, 0);
  EXPECT_EQ(ok.out["status"], "accepted");
  EXPECT_EQ(ok.out["code"], nullptr);
  EXPECT_EQ(ok.out["refDate"], "2024-03-01 12:00:00");
  // The ms field holds the running clock's low bits; only its milliseconds are printed.
  EXPECT_EQ(ok.out["resumeTime"], "2024-03-01 12:00:00.000");
  EXPECT_EQ(ok.out["totalTime"], "00:00:01");
  EXPECT_EQ(ok.out["paneTitles"].size(), 16u);
  EXPECT_EQ(ok.out["startInfo"][0]["slot"], 0);
  EXPECT_EQ(ok.out.size(), 33u);

  auto bytes = y.Build();
  bytes[3] = 0;  // channel count
  const auto bad = Info(Write("bad.ysk", bytes));
  EXPECT_EQ(bad.status, 1);
  EXPECT_EQ(bad.out["code"], "C1005");
  EXPECT_EQ(bad.out["message"], "C1005 : Broken or corrupted data file.");
  EXPECT_EQ(bad.out["kind"], 0);
  EXPECT_EQ(bad.out["dataStart"], nullptr);  // not computed before the rejection
  EXPECT_EQ(bad.out.size(), 33u);

  const auto shortFile = Info(Write("short.ysk", std::vector<uint8_t>(100)));
  EXPECT_EQ(shortFile.status, 1);
  EXPECT_EQ(shortFile.out["code"], "C1001");
  EXPECT_EQ(shortFile.out["kind"], nullptr);

  const auto ignored = Info(Write("plain.bin", bytes));
  EXPECT_EQ(ignored.status, 3);
  EXPECT_EQ(ignored.out["status"], "ignored");
}

TEST(InfoCli, SchemaTwoAddsTheReasonAndNamesFrameFieldsInCamelCase) {
  YskBuilder y;
  y.header.channelCount = 1;
  y.AddVideo(0, kT0, 1000, 30, 40, 10);
  const std::string ok = Write("ok2.ysk", y.Build());
  const auto one = Info(ok);
  const auto two = Info(ok, "--schema 2");
  EXPECT_EQ(two.out.size(), 36u);
  EXPECT_EQ(two.out["schema"], 2);
  EXPECT_EQ(two.out["reason"], nullptr);
  EXPECT_EQ(two.out["startInfo"][0]["fMsec"], one.out["startInfo"][0]["f_msec"]);
  EXPECT_FALSE(two.out["startInfo"][0].contains("f_msec"));
  // Apart from the renamed members and the added keys, the documents agree.
  auto stripped = two.out;
  for (const char* k :
       {"schema", "reason", "nextStep", "startInfo", "endInfo", "startInfoAudio", "endInfoAudio"})
    stripped.erase(k);
  auto first = one.out;
  for (const char* k : {"startInfo", "endInfo", "startInfoAudio", "endInfoAudio"}) first.erase(k);
  EXPECT_EQ(stripped, first);

  auto bytes = y.Build();
  bytes[3] = 40;
  const std::string bad = Write("bad2.ysk", bytes);
  const auto rejected = Info(bad, "--schema 2");
  EXPECT_EQ(rejected.status, 1);
  EXPECT_EQ(rejected.out["message"], "C1005 : Broken or corrupted data file.");
  EXPECT_NE(rejected.out["reason"].get<std::string>().find("40 channels"), std::string::npos);
  EXPECT_TRUE(rejected.out["nextStep"].is_string());
  EXPECT_FALSE(Info(bad).out.contains("reason"));  // schema 1 stays as it was

  // The table says the same to a person.
  int status = 0;
  const std::string table = Capture("'" + bad + "'", status);
  EXPECT_EQ(status, 1);
  EXPECT_NE(table.find("reason       The header gives 40 channels"), std::string::npos) << table;
  EXPECT_NE(table.find("next step    "), std::string::npos) << table;

  Capture("--schema 3 '" + ok + "'", status);
  EXPECT_EQ(status, 2);
}

}  // namespace
}  // namespace ov::test
