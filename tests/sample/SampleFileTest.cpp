// The file the sample writer produces: layouts, runs, frame chains, time stamps, manifest,
// determinism, long mode and the command line.
#include <gtest/gtest.h>

#include <cstdlib>
#include <stdexcept>

#include "cli/sample/SampleAudio.h"
#include "cli/sample/SampleWriter.h"
#include "tests/sample/SampleTestUtil.h"

namespace ov::sample {
namespace {

using test::HeaderOf;
using test::ReadAll;
using test::ReadJson;
using test::TempPath;
using test::WalkRun;

SampleOptions Small(int kind, int coding) {
  SampleOptions o;
  o.channelCount = 3;
  o.videoSlots = std::vector<int>{0, 2};
  o.audioSlots = std::vector<int>{1, 2};
  o.names = {"Gate", "Yard"};
  o.video.coding = coding;
  o.video.width = 176;
  o.video.height = 144;
  o.video.gop = 10;
  o.durationMs = 2000;
  o.startMsec = 1500;
  o.offsetMsPerSlot = 7;
  o.kind = kind;
  return o;
}

class SampleLayoutTest : public ::testing::TestWithParam<std::tuple<int, int>> {};

// Where one walked frame sits in the sample, and what its run looked like up to it.
struct FramePlace {
  const SampleOptions& o;
  int coding;
  int slot;
  bool audio;
  size_t index;
  uint32_t previousSize;
};

// One frame of a run against its manifest entry and the writer's timing and key-frame rules.
void ExpectFrame(const nlohmann::json& e, const std::vector<uint8_t>& file,
                 const test::WalkedFrame& frame, const FramePlace& at) {
  const auto& f = frame.h;
  const size_t k = at.index;
  EXPECT_EQ(e["offset"], frame.offset);
  EXPECT_EQ(e["channel"], at.slot);
  EXPECT_EQ(e["audio"], at.audio);
  EXPECT_EQ(e["f_time"], f.f_time);
  EXPECT_EQ(e["f_msec"], f.f_msec);
  EXPECT_EQ(e["f_size"], f.f_size);
  EXPECT_EQ(e["f_info"], f.f_info);
  EXPECT_EQ(e["f_type"], f.f_type);
  EXPECT_EQ(f.f_info, at.previousSize);
  const auto payload = std::span<const uint8_t>(file).subspan(frame.offset + 20, f.f_size);
  const int64_t elapsed = int64_t(at.audio ? k * 200 : k * 40) + 7 * at.slot;
  EXPECT_EQ(f.f_time, at.o.startTime + elapsed / 1000);
  if (at.audio) {
    EXPECT_EQ(f.f_size, kAudioFrameBytes);
    EXPECT_EQ(f.f_type, 0u);
    EXPECT_EQ(f.f_msec, uint32_t(elapsed % 1000));
  } else {
    EXPECT_EQ(f.f_msec, 1500 + elapsed);
    EXPECT_EQ(f.f_type, k % 10 == 0 ? 1u : 0u) << "frame " << k;
    EXPECT_EQ(IsKeyFrameStartCode(uint8_t(at.coding), payload), f.f_type == 1) << "frame " << k;
    EXPECT_LE(f.f_size, kMaxPayload);
  }
}

TEST_P(SampleLayoutTest, HeaderRunsAndFramesMatchTheManifest) {
  const auto [kind, coding] = GetParam();
  const SampleOptions o = Small(kind, coding);
  const std::string name = "layout" + std::to_string(kind) + std::to_string(coding);
  const auto r = WriteSample(o, TempPath(name + ".ysk"), TempPath(name + ".json"));
  const auto file = ReadAll(TempPath(name + ".ysk"));
  const auto manifest = ReadJson(TempPath(name + ".json"));
  ASSERT_EQ(file.size(), r.fileSize);
  EXPECT_EQ(manifest["fileSize"], file.size());

  const uint64_t dataStart = kind == 0 ? 2037 : 4096;
  EXPECT_EQ(manifest["dataStart"], dataStart);
  EXPECT_EQ(file[2], kind);
  const YskHeader h = HeaderOf(file);
  if (kind == 2) {
    // The front copy is stale apart from its kind byte; the tail carries the real header.
    const YskHeader front =
        DecodeHeader(std::span<const uint8_t, kYskHeaderSize>(file.data(), kYskHeaderSize));
    EXPECT_EQ(front.videoMask, 0u);
    EXPECT_NE(front.channelCount, h.channelCount);
    EXPECT_EQ(manifest["headerOffset"], file.size() - kYskTailSize);
  }
  EXPECT_EQ(h.kind, kind);
  EXPECT_EQ(h.channelCount, 3);
  EXPECT_EQ(h.videoCoding, coding);
  EXPECT_EQ(h.videoMask, 0b101u);
  EXPECT_EQ(h.audioMask, 0b110u);
  EXPECT_EQ(h.video[0].name, "Gate");
  EXPECT_EQ(h.video[1].name, "Yard");
  EXPECT_EQ(h.video[2].name, "Camera 3");
  for (int n = 0; n < kSlots; ++n) EXPECT_EQ(h.video[size_t(n)].channelNo, n);
  EXPECT_FALSE(h.video[1].HasData());
  EXPECT_FALSE(h.audio[0].HasData());
  // The first run begins at the data start, so its first frame dates the file.
  EXPECT_EQ(h.video[0].startOffset, 0u);

  std::vector<nlohmann::json> expected;
  for (const auto& f : manifest["frames"]) expected.push_back(f);
  size_t m = 0;
  uint64_t dataEnd = dataStart;
  for (bool audio : {false, true}) {
    for (int slot : audio ? std::vector<int>{1, 2} : std::vector<int>{0, 2}) {
      const auto& rec = audio ? h.audio[size_t(slot)] : h.video[size_t(slot)];
      ASSERT_TRUE(rec.HasData());
      EXPECT_EQ(dataStart + rec.startOffset, dataEnd) << "runs are back to back";
      const auto frames = WalkRun(file, dataStart + rec.startOffset, dataStart + rec.endOffset);
      ASSERT_EQ(frames.size(), audio ? 10u : 50u) << "slot " << slot;
      dataEnd = dataStart + rec.endOffset;
      uint32_t prev = 0;
      for (size_t k = 0; k < frames.size(); ++k, ++m) {
        ASSERT_LT(m, expected.size());
        ExpectFrame(expected[m], file, frames[k], {o, coding, slot, audio, k, prev});
        prev = frames[k].h.f_size;
      }
    }
  }
  EXPECT_EQ(m, expected.size());
  EXPECT_EQ(dataEnd, kind == 2 ? file.size() - kYskTailSize : file.size());
  ASSERT_EQ(manifest["runs"].size(), 4u);
  EXPECT_EQ(manifest["runs"][1]["startOffset"], h.video[2].startOffset);
  EXPECT_EQ(manifest["runs"][3]["endOffset"], h.audio[2].endOffset);
}

INSTANTIATE_TEST_SUITE_P(KindsAndCodings, SampleLayoutTest,
                         ::testing::Combine(::testing::Values(0, 1, 2), ::testing::Values(1, 2)));

TEST(SampleWriterTest, SameOptionsGiveSameBytes) {
  for (int coding : {1, 2}) {
    SampleOptions o = Small(1, coding);
    o.videoSlots = std::vector<int>{0, 1, 2};
    WriteSample(o, TempPath("det-a.ysk"), "");
    WriteSample(o, TempPath("det-b.ysk"), "");
    const auto a = ReadAll(TempPath("det-a.ysk"));
    EXPECT_FALSE(a.empty());
    EXPECT_TRUE(a == ReadAll(TempPath("det-b.ysk"))) << "coding " << coding;
  }
}

TEST(SampleWriterTest, LongModeRepeatsOneGroupWithFreshTimes) {
  SampleOptions o = Small(0, 2);
  o.longTargetBytes = 3u << 20;
  o.durationMs = 1;  // ignored in long mode
  const auto r = WriteSample(o, TempPath("long.ysk"), "");
  const auto file = ReadAll(TempPath("long.ysk"));
  EXPECT_GT(file.size(), (3u << 20) * 8 / 10);
  EXPECT_LT(file.size(), (3u << 20) * 12 / 10);
  const YskHeader h = HeaderOf(file);
  const auto frames = WalkRun(file, 2037 + h.video[2].startOffset, 2037 + h.video[2].endOffset);
  ASSERT_GT(frames.size(), 30u);
  ASSERT_EQ(frames.size() % 10, 0u);
  EXPECT_EQ(int64_t(frames.size()) * 40, r.durationMs);
  for (size_t k = 0; k < frames.size(); ++k) {
    EXPECT_EQ(frames[k].h.f_msec, 1500 + 40 * k + 14);
    EXPECT_EQ(frames[k].h.f_type, k % 10 == 0 ? 1u : 0u);
    EXPECT_EQ(frames[k].h.f_size, frames[k % 10].h.f_size);
  }
  const auto audio = WalkRun(file, 2037 + h.audio[1].startOffset, 2037 + h.audio[1].endOffset);
  EXPECT_EQ(int64_t(audio.size()) * 200, r.durationMs);
}

TEST(SampleWriterTest, RejectsOptionsOutsideTheFormat) {
  auto bad = [](auto change) {
    SampleOptions o;
    change(o);
    return o;
  };
  const std::vector<SampleOptions> cases{
      bad([](SampleOptions& o) { o.channelCount = 17; }),
      bad([](SampleOptions& o) { o.channelCount = 0; }),
      bad([](SampleOptions& o) { o.kind = 3; }),
      bad([](SampleOptions& o) { o.video.coding = 0; }),
      bad([](SampleOptions& o) { o.videoSlots = std::vector<int>{16}; }),
      bad([](SampleOptions& o) {
        o.audioSlots = std::vector<int>{2, 2};
      }),
      bad([](SampleOptions& o) { o.names = {std::string(51, 'x')}; }),
      bad([](SampleOptions& o) { o.video.width = 351; }),
      bad([](SampleOptions& o) { o.durationMs = 26LL * 3600 * 1000; }),
      bad([](SampleOptions& o) { o.longTargetBytes = 4ull << 30; }),
      bad([](SampleOptions& o) {
        o.videoSlots = std::vector<int>{};
        o.audioSlots = std::vector<int>{};
      }),
  };
  for (size_t i = 0; i < cases.size(); ++i)
    EXPECT_THROW(ResolveSampleOptions(cases[i]), std::invalid_argument) << "case " << i;
  const SampleOptions ok = ResolveSampleOptions(SampleOptions{});
  EXPECT_EQ(*ok.videoSlots, (std::vector<int>{0, 1, 2, 3}));
  EXPECT_EQ(*ok.audioSlots, *ok.videoSlots);
  EXPECT_EQ(ok.names[15], "Camera 16");
}

int RunCli(const std::string& args) {
  const std::string cmd = std::string(OV_CLI_PATH) + " make-sample " + args + " >/dev/null 2>&1";
  const int rc = std::system(cmd.c_str());
  return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
}

TEST(MakeSampleCommandTest, OptionsReachTheWriter) {
  const std::string out = TempPath("cli.ysk");
  ASSERT_EQ(RunCli(out + " --channels 3 --video-slots 0,2 --audio-slots 1,2 --names Gate,Yard"
                         " --coding 2 --size 176x144 --gop 10 --duration 2 --start-msec 1500"
                         " --offset-ms 7 --kind 1 --start \"2024-03-01 12:00:00\""),
            0);
  WriteSample(Small(1, 2), TempPath("lib.ysk"), "");
  EXPECT_TRUE(ReadAll(out) == ReadAll(TempPath("lib.ysk")));

  ASSERT_EQ(RunCli(out + " --no-audio --duration 1 --size 64x48 --start \"2031-12-31 23:59:59\""),
            0);
  const auto file = ReadAll(out);
  const YskHeader h = HeaderOf(file);
  EXPECT_EQ(h.audioMask, 0u);
  EXPECT_EQ(h.videoMask, 0xFu);
  EXPECT_EQ(test::FrameAt(file, 2037).f_time, 1956527999);

  EXPECT_NE(RunCli(out + " --channels 17"), 0);
  EXPECT_NE(RunCli(out + " --start 2024-13-01"), 0);
  EXPECT_NE(RunCli(out + " --video-slots 1,x"), 0);
}

}  // namespace
}  // namespace ov::sample
