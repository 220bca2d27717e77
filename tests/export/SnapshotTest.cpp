// Snapshots of made recordings: size, picture and text chunks.
#include <gtest/gtest.h>

#include <algorithm>
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

TEST(Snapshot, ARegionIsExactlyThatPartOfTheRecordedPictureAndSaysSoInItsText) {
  const std::string rec =
      MakeRecording("snapview", "--channels 1 --duration 3 --gop 25 --size 320x240");
  const std::string dir = FreshDir("snapview");
  const auto whole =
      Sh(Cli() + " snapshot " + Quote(rec) + " --channel 1 --at 1 " + Quote(dir + "/whole.png"));
  ASSERT_EQ(whole.exitCode, 0) << whole.out;
  // An odd corner: the cut must not snap to the chroma grid.
  const auto part = Sh(Cli() + " snapshot " + Quote(rec) +
                       " --channel 1 --at 1 --region 33,17,101,57 " + Quote(dir + "/part.png"));
  ASSERT_EQ(part.exitCode, 0) << part.out;
  EXPECT_NE(part.out.find("101x57"), std::string::npos) << part.out;
  const std::string all = LastPictureRgb(dir + "/whole.png", "", 320 * 240 * 3);
  const std::string cut = LastPictureRgb(dir + "/part.png", "", 101 * 57 * 3);
  ASSERT_EQ(cut.size(), size_t(101 * 57 * 3));
  ASSERT_EQ(all.size(), size_t(320 * 240 * 3));
  size_t differ = 0;
  for (int y = 0; y < 57; ++y)
    for (int x = 0; x < 101 * 3; ++x)
      differ += cut[size_t(y * 101 * 3 + x)] != all[size_t((17 + y) * 320 * 3 + 33 * 3 + x)];
  EXPECT_EQ(differ, 0u) << "the region is not the same pixels as the whole picture there";
  using namespace std::string_literals;
  const std::string bytes = ReadBytes(dir + "/part.png");
  EXPECT_NE(bytes.find("tEXtRegion\0"s + "33,17,101,57 of 320x240"), std::string::npos);
  EXPECT_NE(bytes.find("tEXtAdjustments\0brightness 0, contrast 100%"s), std::string::npos);
  EXPECT_NE(bytes.find("tEXtTitle\0Camera 1"s), std::string::npos);
  EXPECT_EQ(ReadBytes(dir + "/whole.png").find("tEXtRegion"), std::string::npos)
      << "a plain snapshot keeps its text as before";

  // Adjusted: saturation 0 leaves no colour; the region must lie inside the picture.
  const auto grey =
      Sh(Cli() + " snapshot " + Quote(rec) + " --channel 1 --at 1 --saturation 0 --brightness 10 " +
         Quote(dir + "/grey.png"));
  ASSERT_EQ(grey.exitCode, 0) << grey.out;
  const std::string g = LastPictureRgb(dir + "/grey.png", "", 320 * 240 * 3);
  ASSERT_EQ(g.size(), size_t(320 * 240 * 3));
  int spread = 0;
  for (size_t i = 0; i + 2 < g.size(); i += 3)
    spread = std::max({spread, std::abs(int(uint8_t(g[i])) - int(uint8_t(g[i + 1]))),
                       std::abs(int(uint8_t(g[i + 1])) - int(uint8_t(g[i + 2])))});
  EXPECT_LE(spread, 3) << "saturation 0 should leave grey";
  for (const char* bad :
       {"300,200,21,41", "0,0,0,5", "1,2,3", "-1,0,4,4", "1,2,3,4,5", "a,b,c,d"}) {
    const auto r = Sh(Cli() + " snapshot " + Quote(rec) + " --channel 1 --at 1 --region " + bad +
                      " " + Quote(dir + "/bad.png"));
    EXPECT_NE(r.exitCode, 0) << bad;
    EXPECT_NE(r.out.find("region"), std::string::npos) << bad << ": " << r.out;
  }
  EXPECT_FALSE(fs::exists(dir + "/bad.png"));
}

}  // namespace
}  // namespace ov::exporter::test
