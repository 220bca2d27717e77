// The picture stamp read back from exact pictures, and the sound payloads.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "cli/sample/FrameStamp.h"
#include "cli/sample/SampleAudio.h"

namespace ov::sample {
namespace {

// A sample picture converted to BGRA with the limited-range BT.601 matrix a decoder uses.
struct Picture {
  int width, height;
  std::vector<uint8_t> y, u, v, bgra;

  Picture(int w, int h, int channel, uint32_t frame)
      : width(w),
        height(h),
        y(size_t(w * h)),
        u(size_t(w * h / 4)),
        v(size_t(w * h / 4)),
        bgra(size_t(w * h * 4)) {
    DrawSamplePicture({y.data(), u.data(), v.data(), w, w / 2, w / 2, w, h}, channel, frame);
    for (int r = 0; r < h; ++r)
      for (int c = 0; c < w; ++c) {
        const double yy = 1.164 * (y[size_t(r * w + c)] - 16);
        const double cb = u[size_t((r / 2) * (w / 2) + c / 2)] - 128.0;
        const double cr = v[size_t((r / 2) * (w / 2) + c / 2)] - 128.0;
        uint8_t* px = &bgra[size_t((r * w + c) * 4)];
        px[0] = uint8_t(std::clamp(yy + 2.018 * cb, 0.0, 255.0));
        px[1] = uint8_t(std::clamp(yy - 0.391 * cb - 0.813 * cr, 0.0, 255.0));
        px[2] = uint8_t(std::clamp(yy + 1.596 * cr, 0.0, 255.0));
        px[3] = 255;
      }
  }
};

TEST(FrameStampTest, ReadsBackEveryChannelAndLargeFrameNumbers) {
  for (int channel : {0, 7, 15})
    for (uint32_t frame : {0u, 1u, 1000u, (1u << 20) + 3, kStampMaxFrame}) {
      Picture p(352, 288, channel, frame);
      const auto got = ReadStamp(p.bgra.data(), 352, 288, 352 * 4);
      ASSERT_TRUE(got) << channel << " " << frame;
      EXPECT_EQ(*got, (StampValue{channel, frame}));
    }
}

TEST(FrameStampTest, ReadsInsideARectangleOnly) {
  // The picture sits letterboxed in a larger black image.
  Picture p(176, 144, 5, 4242);
  const int W = 260, H = 200, X = 40, Y = 28;
  std::vector<uint8_t> image(size_t(W * H * 4), 0);
  for (int r = 0; r < 144; ++r)
    std::copy_n(&p.bgra[size_t(r * 176 * 4)], 176 * 4, &image[size_t(((Y + r) * W + X) * 4)]);
  EXPECT_EQ(ReadStamp(image.data(), W, H, W * 4, {X, Y, 176, 144}), (StampValue{5, 4242}));
  EXPECT_FALSE(ReadStamp(image.data(), W, H, W * 4));
  EXPECT_FALSE(ReadStamp(image.data(), W, H, W * 4, {X + 100, Y, 176, 144})) << "outside";
  EXPECT_FALSE(ReadStamp(image.data(), W, H, W * 4, {X, Y, 40, 30})) << "too small";
}

TEST(FrameStampTest, ReadsUnderAPaneTitle) {
  // The player's title plate: dark, over the top-left corner, a third of the pane wide, as high
  // as a line of a 10 to 16 px font (a 14th of the pane) with its margins.
  for (auto [w, h] : {std::pair{352, 288}, std::pair{176, 144}}) {
    Picture p(w, h, 0, 1234);
    const int plate = 6 + std::clamp(h / 14, 10, 16) * 3 / 2;
    for (int r = 0; r < plate; ++r)
      for (int c = 0; c < w / 3; ++c)
        for (int k = 0; k < 3; ++k) p.bgra[size_t((r * w + c) * 4 + k)] = 20;
    EXPECT_EQ(ReadStamp(p.bgra.data(), w, h, w * 4), (StampValue{0, 1234})) << w;
  }
}

TEST(FrameStampTest, CorruptCellIsDetected) {
  Picture p(352, 288, 3, 77);
  // Invert one cell of the frame number (row 3, column 12; cells are 16 px).
  for (int r = 48; r < 64; ++r)
    for (int c = 12 * 16; c < 13 * 16; ++c)
      for (int k = 0; k < 3; ++k) p.bgra[size_t((r * 352 + c) * 4 + k)] ^= 0xFF;
  EXPECT_FALSE(ReadStamp(p.bgra.data(), 352, 288, 352 * 4));
}

TEST(FrameStampTest, ChannelsHaveDistinctBackgrounds) {
  std::vector<std::array<uint8_t, 3>> seen;
  for (int c = 0; c < 16; ++c) {
    std::array<uint8_t, 3> yuv{};
    ChannelBackground(c, yuv[0], yuv[1], yuv[2]);
    EXPECT_EQ(std::count(seen.begin(), seen.end(), yuv), 0) << c;
    seen.push_back(yuv);
  }
}

TEST(SampleAudioTest, MuLawToneHasTheChannelsFrequency) {
  for (int16_t s : {int16_t(0), int16_t(100), int16_t(-100), int16_t(8000), int16_t(-32768)})
    EXPECT_NEAR(MuLawToLinear(LinearToMuLaw(s)), s, std::max(8, std::abs(s) / 16));
  for (int channel : {0, 9}) {
    std::array<uint8_t, kAudioFrameBytes> a{};
    MakeAudioPayload(channel, 8000, a);  // starts on a second: phase 0
    int crossings = 0;
    for (size_t i = 1; i < a.size(); ++i)
      crossings += (MuLawToLinear(a[i - 1]) < 0) != (MuLawToLinear(a[i]) < 0);
    // 0.2 s of the tone crosses zero twice a cycle.
    EXPECT_NEAR(crossings, 2 * AudioToneHz(channel) / 5, 2) << channel;
  }
}

}  // namespace
}  // namespace ov::sample
