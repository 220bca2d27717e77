#include "cli/sample/StillScene.h"

#include <algorithm>

namespace ov::sample {
namespace {

// A small generator of its own: the picture must not change with the standard library.
uint32_t Mix(uint32_t x) {
  x ^= x >> 16;
  x *= 0x7feb352dU;
  x ^= x >> 15;
  x *= 0x846ca68bU;
  x ^= x >> 16;
  return x;
}

void Fill(const YuvPicture& pic, int x0, int y0, int x1, int y1, uint8_t luma) {
  x0 = std::clamp(x0, 0, pic.width), x1 = std::clamp(x1, 0, pic.width);
  y0 = std::clamp(y0, 0, pic.height), y1 = std::clamp(y1, 0, pic.height);
  for (int y = y0; y < y1; ++y)
    std::fill(pic.y + y * pic.yStride + x0, pic.y + y * pic.yStride + x1, luma);
}

}  // namespace

void DrawStillScene(const YuvPicture& pic, int channel, uint32_t frame, const StillSceneParams& p) {
  uint8_t by = 0, bu = 0, bv = 0;
  ChannelBackground(channel, by, bu, bv);
  // The scene: a gradient of the channel's colour with a few fixed blocks, as walls and doors.
  for (int y = 0; y < pic.height; ++y) {
    uint8_t* line = pic.y + y * pic.yStride;
    for (int x = 0; x < pic.width; ++x)
      line[x] =
          uint8_t(std::clamp(int(by) - 40 + 80 * y / pic.height + 20 * x / pic.width, 16, 235));
  }
  for (int y = 0; y < pic.height / 2; ++y) {
    std::fill(pic.u + y * pic.uStride, pic.u + y * pic.uStride + pic.width / 2, bu);
    std::fill(pic.v + y * pic.vStride, pic.v + y * pic.vStride + pic.width / 2, bv);
  }
  for (int i = 0; i < 6; ++i) {
    const uint32_t r = Mix(uint32_t(channel * 131 + i));
    const int w = pic.width / 8, h = pic.height / 5;
    const int x = int(r % uint32_t(pic.width - w)), y = int((r >> 12) % uint32_t(pic.height - h));
    Fill(pic, x, y, x + w, y + h, uint8_t(40 + (r >> 24) % 180));
  }
  // The object: a box a tenth of the picture wide, crossing from left to right.
  const double t = double(frame) / p.fps;
  for (const Motion& m : p.motions) {
    if (m.channel != channel || t < m.from || t >= m.to || m.to <= m.from) continue;
    const int side = std::max(8, pic.width / 10);
    const double share = (t - m.from) / (m.to - m.from);
    const int x = int(share * (pic.width + side)) - side;
    const int y = pic.height / 2 - side / 2;
    Fill(pic, x, y, x + side, y + side * 3 / 2, by < 128 ? 230 : 25);
  }
  if (p.noise > 0) {
    const uint32_t span = uint32_t(2 * p.noise + 1);
    for (int y = 0; y < pic.height; ++y) {
      uint8_t* line = pic.y + y * pic.yStride;
      uint32_t seed = Mix(frame * 0x9E3779B9U ^ uint32_t(channel << 24) ^ uint32_t(y));
      for (int x = 0; x < pic.width; ++x) {
        seed = seed * 1664525U + 1013904223U;
        line[x] = uint8_t(std::clamp(int(line[x]) + int((seed >> 8) % span) - p.noise, 0, 255));
      }
    }
  }
}

}  // namespace ov::sample
