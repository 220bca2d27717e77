// Adjustments and deinterlacing on made pictures with known pixels.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "picture/PictureFilter.h"

extern "C" {
#include <libavutil/frame.h>
}

namespace ov {
namespace {

struct FrameFree {
  void operator()(AVFrame* f) const { av_frame_free(&f); }
};
using Frame = std::unique_ptr<AVFrame, FrameFree>;

// A 64x48 4:2:0 picture of one colour.
Frame Flat(int y, int u, int v) {
  Frame f(av_frame_alloc());
  f->format = 0;  // AV_PIX_FMT_YUV420P
  f->width = 64;
  f->height = 48;
  EXPECT_GE(av_frame_get_buffer(f.get(), 0), 0);
  for (int r = 0; r < f->height; ++r) std::fill_n(f->data[0] + r * f->linesize[0], f->width, y);
  for (int r = 0; r < f->height / 2; ++r) {
    std::fill_n(f->data[1] + r * f->linesize[1], f->width / 2, u);
    std::fill_n(f->data[2] + r * f->linesize[2], f->width / 2, v);
  }
  return f;
}

int At(const AVFrame* f, int plane, int x, int y) {
  return f->data[plane][y * f->linesize[plane] + x];
}

// Sum of luma differences between neighbouring lines: combing makes it large.
long LineDifference(const AVFrame* f) {
  long sum = 0;
  for (int y = 1; y < f->height; ++y)
    for (int x = 0; x < f->width; ++x) sum += std::abs(At(f, 0, x, y) - At(f, 0, x, y - 1));
  return sum;
}

TEST(PictureFilter, NeutralSettingsHandTheDecodedPictureThrough) {
  PictureFilter filter;
  const Frame in = Flat(100, 128, 128);
  EXPECT_EQ(filter.Apply(in.get(), nullptr, {}, Deinterlace::Off), in.get());
  // Auto leaves a progressive picture alone.
  EXPECT_EQ(filter.Apply(in.get(), nullptr, {}, Deinterlace::Auto), in.get());
  EXPECT_TRUE(filter.Error().empty());
}

TEST(PictureFilter, AdjustmentsMoveKnownPixelsTheWayTheySay) {
  PictureFilter filter;
  const Frame in = Flat(100, 160, 90);
  auto luma = [&](PictureAdjust a) {
    const AVFrame* out = filter.Apply(in.get(), nullptr, a, Deinterlace::Off);
    EXPECT_NE(out, in.get()) << filter.Error();
    EXPECT_EQ(out->width, 64);
    return At(out, 0, 10, 10);
  };
  // Brightness adds a share of the full scale (0.2 of 255 ~ 51).
  EXPECT_NEAR(luma({20, 100, 100, 100}), 151, 3);
  EXPECT_NEAR(luma({-20, 100, 100, 100}), 49, 6);
  // Contrast doubles the distance from mid-grey (128): 100 -> 72.
  EXPECT_NEAR(luma({0, 200, 100, 100}), 72, 3);
  // Gamma above 1 lifts the dark and middle tones.
  EXPECT_GT(luma({0, 100, 200, 100}), 120);
  // Saturation 0 takes the colour out and leaves the light; 200 doubles the colour.
  const AVFrame* grey = filter.Apply(in.get(), nullptr, {0, 100, 100, 0}, Deinterlace::Off);
  EXPECT_NEAR(At(grey, 0, 5, 5), 100, 1);
  EXPECT_NEAR(At(grey, 1, 5, 5), 128, 1);
  EXPECT_NEAR(At(grey, 2, 5, 5), 128, 1);
  const AVFrame* vivid = filter.Apply(in.get(), nullptr, {0, 100, 100, 200}, Deinterlace::Off);
  EXPECT_NEAR(At(vivid, 1, 5, 5), 128 + 2 * 32, 2);
  EXPECT_NEAR(At(vivid, 2, 5, 5), 128 - 2 * 38, 2);
  // Out of range values are brought in, never refused.
  EXPECT_NEAR(luma({500, 100, 100, 100}), 235, 25);
}

TEST(PictureFilter, DeinterlacingRemovesCombingWhenAskedOrMarked) {
  // Two fields of a bar at different places: even lines bright at the left, odd at the right.
  Frame in = Flat(40, 128, 128);
  for (int y = 0; y < in->height; ++y)
    std::fill_n(in->data[0] + y * in->linesize[0] + (y % 2 ? 32 : 8), 16, 220);
  const Frame prev = Flat(40, 128, 128);
  PictureFilter filter;
  // Auto: not marked interlaced, left alone.
  EXPECT_EQ(filter.Apply(in.get(), prev.get(), {}, Deinterlace::Auto), in.get());
  const long combed = LineDifference(in.get());
  const AVFrame* on = filter.Apply(in.get(), prev.get(), {}, Deinterlace::On);
  ASSERT_NE(on, in.get()) << filter.Error();
  EXPECT_EQ(on->width, in->width);
  EXPECT_EQ(on->height, in->height);
  EXPECT_LT(LineDifference(on), combed / 2);
  // Marked interlaced: Auto deinterlaces, also with no picture before it.
  in->interlaced_frame = 1;
  in->top_field_first = 1;
  const AVFrame* automatic = filter.Apply(in.get(), nullptr, {}, Deinterlace::Auto);
  ASSERT_NE(automatic, in.get()) << filter.Error();
  EXPECT_LT(LineDifference(automatic), combed / 2);
  // Both at once: deinterlaced, then adjusted.
  const AVFrame* both = filter.Apply(in.get(), prev.get(), {0, 100, 100, 0}, Deinterlace::On);
  ASSERT_NE(both, in.get()) << filter.Error();
  EXPECT_NEAR(At(both, 1, 3, 3), 128, 1);
}

TEST(PictureFilter, APictureChangingSizeGetsAGraphOfItsOwn) {
  PictureFilter filter;
  const Frame small = Flat(100, 128, 128);
  Frame large(av_frame_alloc());
  large->format = 0;
  large->width = 128;
  large->height = 96;
  ASSERT_GE(av_frame_get_buffer(large.get(), 0), 0);
  for (int p = 0; p < 3; ++p)
    std::fill_n(large->data[p], large->linesize[p] * (p ? 48 : 96), p ? 128 : 100);
  EXPECT_EQ(filter.Apply(small.get(), nullptr, {20, 100, 100, 100}, Deinterlace::Off)->width, 64);
  EXPECT_EQ(filter.Apply(large.get(), nullptr, {20, 100, 100, 100}, Deinterlace::Off)->width, 128);
  EXPECT_EQ(filter.Apply(small.get(), nullptr, {20, 100, 100, 100}, Deinterlace::Off)->width, 64);
}

}  // namespace
}  // namespace ov
