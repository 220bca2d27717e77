// Snapshots of made recordings: size, picture and text chunks.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "ExportTestSupport.h"
#include "export/ClipNames.h"

namespace ov::exporter::test {
namespace {
namespace fs = std::filesystem;

constexpr int32_t kStart = 1709294400;  // 2024-03-01 12:00:00

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The last picture of input as RGB bytes, decoded by ffmpeg.
std::string LastPictureRgb(const std::string& input, const std::string& options, size_t size) {
  const std::string out = input + ".rgb";
  Sh("ffmpeg -v error -nostdin -y " + options + " -i " + Quote(input) +
     " -f rawvideo -pix_fmt rgb24 " + Quote(out));
  const std::string all = ReadBytes(out);
  return all.size() >= size ? all.substr(all.size() - size) : all;
}

TEST(Snapshot, SavesThePictureOfTheSecondAtItsRecordedSizeWithTextChunks) {
  const std::string rec =
      MakeRecording("snap", "--channels 2 --duration 8 --gop 30 --size 320x240");
  const std::string dir = FreshDir("snap");
  const std::string png = dir + "/shot.png";
  const auto r = Sh(Cli() + " snapshot " + Quote(rec) + " --channel 2 --at 3 " + Quote(png));
  ASSERT_EQ(r.exitCode, 0) << r.out;
  EXPECT_EQ(Probe(png, "v", "stream=codec_name"), "png");
  EXPECT_EQ(Probe(png, "v", "stream=width"), "320");
  EXPECT_EQ(Probe(png, "v", "stream=height"), "240");

  // The first frame of second 3, decoded from the key frame before it.
  auto frames = ExpectedClip(VideoFrames(Manifest(rec), 1), kStart + 3, kStart + 4);
  size_t target = 0;
  while (frames[target].f_time < kStart + 3) ++target;
  ASSERT_GT(target, 0u) << "the picture should lie after its key frame";
  frames.resize(target + 1);
  WritePayloads(rec, frames, dir + "/raw.h264");
  const size_t size = 320 * 240 * 3;
  const std::string want = LastPictureRgb(dir + "/raw.h264", "-f h264", size);
  const std::string got = LastPictureRgb(png, "", size);
  ASSERT_EQ(got.size(), size);
  ASSERT_EQ(want.size(), got.size());
  double diff = 0;
  for (size_t i = 0; i < got.size(); ++i)
    diff += std::abs(int(uint8_t(got[i])) - int(uint8_t(want[i])));
  EXPECT_LT(diff / double(got.size()), 2.0) << "a different picture";

  const std::string bytes = ReadBytes(png);
  using namespace std::string_literals;
  EXPECT_NE(bytes.find("tEXtSource\0"s + rec), std::string::npos);
  EXPECT_NE(bytes.find("tEXtCreation Time\0"s + DisplayStamp(kStart + 3)), std::string::npos);
  EXPECT_NE(bytes.find("tEXtTitle\0Camera 2"s), std::string::npos);

  // Refusals: the existing file stays, a channel without video, a second outside the recording.
  const auto again = Sh(Cli() + " snapshot " + Quote(rec) + " --channel 2 --at 4 " + Quote(png));
  EXPECT_NE(again.exitCode, 0);
  EXPECT_NE(again.out.find("exists already"), std::string::npos) << again.out;
  EXPECT_EQ(ReadBytes(png), bytes);
  const auto noVideo =
      Sh(Cli() + " snapshot " + Quote(rec) + " --channel 3 --at 4 " + Quote(dir + "/x.png"));
  EXPECT_NE(noVideo.out.find("channel 3 has no video"), std::string::npos) << noVideo.out;
  const auto late =
      Sh(Cli() + " snapshot " + Quote(rec) + " --channel 1 --at 60 " + Quote(dir + "/x.png"));
  EXPECT_NE(late.exitCode, 0);
  EXPECT_NE(late.out.find("has no picture there"), std::string::npos) << late.out;
  EXPECT_FALSE(fs::exists(dir + "/x.png"));
  // A link at the name, even one to nothing, is neither followed nor replaced.
  fs::create_symlink(dir + "/elsewhere.png", dir + "/link.png");
  const auto link =
      Sh(Cli() + " snapshot " + Quote(rec) + " --channel 2 --at 4 " + Quote(dir + "/link.png"));
  EXPECT_NE(link.exitCode, 0);
  EXPECT_NE(link.out.find("exists already"), std::string::npos) << link.out;
  EXPECT_TRUE(fs::is_symlink(dir + "/link.png"));
  EXPECT_FALSE(fs::exists(dir + "/elsewhere.png"));
}

}  // namespace
}  // namespace ov::exporter::test
