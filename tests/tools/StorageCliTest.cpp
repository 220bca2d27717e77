// The storage tools end to end through ostravue-cli, on a folder made by make-sample.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <map>
#include <nlohmann/json.hpp>

#include "archive/Calendar.h"
#include "archive/YskFormat.h"
#include "tests/tools/ToolsFixture.h"
#include "tools/YrxRecord.h"

namespace ov::tools {
namespace {

struct CliRun {
  int status = -1;
  std::string out;
};

CliRun RunCli(const std::string& args) {
  CliRun r;
  const std::string cmd = std::string(OV_CLI_PATH) + " " + args + " 2>/dev/null";
  std::FILE* p = popen(cmd.c_str(), "r");
  if (!p) return r;
  char buf[4096];
  size_t n = 0;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
  r.status = pclose(p);
  return r;
}

struct SourceFrame {
  YrxRecordHeader h;
  std::vector<uint8_t> payload;
};

// Our own reading of the .yrx files, the reference the channel files are checked against.
std::map<int, std::vector<SourceFrame>> ReadSource(const std::filesystem::path& rec, int files) {
  std::map<int, std::vector<SourceFrame>> byChannel;
  for (int k = 1; k <= files; ++k) {
    const auto bytes = test::ReadBytes(rec / ("20240301_" + std::to_string(k) + ".yrx"));
    EXPECT_FALSE(bytes.empty()) << k;
    for (size_t pos = 0; pos + kYrxHeaderSize <= bytes.size();) {
      SourceFrame f;
      f.h = DecodeYrxRecordHeader(
          std::span<const uint8_t, kYrxHeaderSize>(bytes.data() + pos, kYrxHeaderSize));
      // The weekday is written beside the date (offset 48), as the recorder does.
      EXPECT_EQ(unsigned(bytes[pos + 48] | bytes[pos + 49] << 8), Weekday(f.h.time).c_encoding());
      pos += kYrxHeaderSize;
      f.payload.assign(bytes.begin() + static_cast<std::ptrdiff_t>(pos),
                       bytes.begin() + static_cast<std::ptrdiff_t>(pos + f.h.payloadSize));
      pos += f.h.payloadSize;
      byChannel[f.h.channel].push_back(std::move(f));
    }
  }
  return byChannel;
}

TEST(StorageCli, ChannelFilesOfASampleFolderReadBackFrameForFrame) {
  const auto root = test::ScratchDir("Cli") / "storage";
  const CliRun made = RunCli("make-sample '" + root.string() +
                             "' --storage --recording 20240301 --yrx-files 3 --channels 3 "
                             "--duration 2 --fps 10 --gop 5 --size 176x144");
  ASSERT_EQ(made.status, 0) << made.out;

  const CliRun scan = RunCli("storage-scan '" + root.string() + "'");
  ASSERT_EQ(scan.status, 0);
  EXPECT_EQ(scan.out, "QL01/20240301\n");

  const CliRun built =
      RunCli("make-chv --json --no-progress '" + root.string() + "' QL01/20240301");
  ASSERT_EQ(built.status, 0) << built.out;
  const auto report = nlohmann::json::parse(built.out);
  EXPECT_EQ(report["filesRead"], 3);
  EXPECT_EQ(report["skipped"]["total"], 0);
  ASSERT_EQ(report["channels"].size(), 3u);

  const auto rec = root / "QL01" / "20240301";
  const auto source = ReadSource(rec, 3);
  for (int ch = 0; ch < 3; ++ch) {
    SCOPED_TRACE(ch);
    const std::filesystem::path chv = report["channels"][ch]["path"].template get<std::string>();
    EXPECT_EQ(chv, rec / "Ch" / ("20240301_0" + std::to_string(ch) + ".chv"));
    const auto frames = test::ReadChv(chv);
    const auto& want = source.at(ch);
    ASSERT_EQ(frames.size(), want.size());
    EXPECT_EQ(frames.size(), 20u);
    EXPECT_EQ(report["channels"][ch]["frames"], frames.size());
    for (size_t i = 0; i < frames.size(); ++i) {
      const auto& got = frames[i].header;
      EXPECT_EQ(got.f_time, CalendarToSeconds(want[i].h.time)) << i;
      EXPECT_EQ(got.f_msec, want[i].h.time.millisecond) << i;
      EXPECT_EQ(got.f_type, want[i].h.frameType) << i;
      EXPECT_EQ(frames[i].payload, want[i].payload) << i;
      if (got.f_type == 1) {
        EXPECT_TRUE(IsKeyFrameStartCode(2, frames[i].payload)) << i;
      }
    }
    EXPECT_EQ(frames[0].header.f_type, 1u);

    // Step backwards from the last frame with f_info, as reverse playback does.
    const auto bytes = test::ReadBytes(chv);
    size_t pos = bytes.size() - kYskFrameHeaderSize - frames.back().header.f_size;
    for (size_t i = frames.size(); i-- > 0;) {
      const YskFrameHeader h = DecodeFrameHeader(
          std::span<const uint8_t, kYskFrameHeaderSize>(bytes.data() + pos, kYskFrameHeaderSize));
      ASSERT_EQ(h.f_size, frames[i].header.f_size) << i;
      ASSERT_EQ(h.f_time, frames[i].header.f_time) << i;
      if (i == 0) {
        EXPECT_EQ(pos, 0u);
        EXPECT_EQ(h.f_info, 0u);
      } else {
        ASSERT_GE(pos, kYskFrameHeaderSize + h.f_info) << i;
        pos -= kYskFrameHeaderSize + h.f_info;
      }
    }
  }
}

TEST(StorageCli, MakeChvFailsWhenNothingCanBeWritten) {
  const auto root = test::ScratchDir("CliEmpty");
  test::MakeDirs(root / "QL01" / "20240301");
  EXPECT_NE(RunCli("make-chv --no-progress '" + root.string() + "' QL01/20240301").status, 0);
  EXPECT_NE(RunCli("make-chv --no-progress '" + root.string() + "' QL01/missing1").status, 0);
  test::YrxFrame stray;
  stray.channel = 5;
  stray.channelCount = 2;
  stray.payload = test::Payload(10, 5, 0);
  test::WriteYrx(root / "QL01" / "20240301" / "20240301_1.yrx", {stray});
  const CliRun skipped = RunCli("make-chv --no-progress '" + root.string() + "' QL01/20240301");
  EXPECT_NE(skipped.status, 0);
  EXPECT_NE(skipped.out.find("1 channel out of range"), std::string::npos) << skipped.out;
}

// An input that cannot be read leaves a hole in every channel: the run says so and fails, and what
// could be read is still written. Special files are refused rather than read for ever.
TEST(StorageCli, MakeChvNamesEveryInputLeftOutAndFails) {
  const auto root = test::ScratchDir("CliUnreadable");
  const auto rec = root / "QL01" / "20240301";
  test::MakeDirs(rec);
  std::vector<test::YrxFrame> frames(3);
  for (int i = 0; i < 3; ++i) {
    frames[size_t(i)].channel = i % 2;
    frames[size_t(i)].channelCount = 2;
    frames[size_t(i)].payload = test::Payload(50, i % 2, i);
  }
  test::WriteYrx(rec / "20240301_1.yrx", frames);
  ASSERT_EQ(::mkfifo((rec / "20240301_2.yrx").c_str(), 0600), 0);  // never gets a writer
  std::filesystem::create_symlink("/dev/zero", rec / "20240301_3.yrx");
  test::WriteYrx(rec / "20240301_4.yrx", frames);

  const auto json = RunCli("make-chv --json --no-progress '" + root.string() + "' QL01/20240301");
  EXPECT_EQ(WEXITSTATUS(json.status), 1);
  const auto report = nlohmann::json::parse(json.out);
  EXPECT_EQ(report["filesRead"], 2);
  ASSERT_EQ(report["unreadable"].size(), 2u);
  EXPECT_EQ(report["unreadable"][0]["reason"], "not a regular file");
  EXPECT_EQ(report["unreadable"][1]["reason"], "not a regular file");
  EXPECT_EQ(report["channels"][0]["frames"], 4);
  EXPECT_EQ(report["channels"][1]["frames"], 2);
}

}  // namespace
}  // namespace ov::tools
