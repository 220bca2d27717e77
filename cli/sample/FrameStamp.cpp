#include "cli/sample/FrameStamp.h"

#include <algorithm>
#include <array>
#include <vector>

namespace ov::sample {
namespace {

// Stamp bits: marker 1 0, 4 channel bits, 24 frame bits, 8 check bits, marker 0 1, laid out as
// two rows of 20 cells starting at grid cell (1, 3). The rows above stay free: the player draws
// each pane's title over its top-left corner, and a covered marker cell makes the stamp unreadable.
constexpr int kStampBits = 40;
constexpr int kStampCellsPerRow = 20;
constexpr int kStampFirstColumn = 1;
constexpr int kStampFirstRow = 3;
// Texture and moving bar start below the stamp, one free row between.
constexpr int kTextureFirstRow = kStampFirstRow + 3;
constexpr uint8_t kBlackY = 16;
constexpr uint8_t kWhiteY = 235;
// Smallest picture the reader accepts: two pixels per cell in each direction.
constexpr int kMinReadWidth = 2 * kStampGridColumns;
constexpr int kMinReadHeight = 2 * kStampGridRows;

uint8_t Crc8(uint32_t value28) {
  uint8_t crc = 0;
  for (int i = 27; i >= 0; --i) {
    const bool bit = ((value28 >> i) & 1) != 0;
    const bool top = (crc & 0x80) != 0;
    crc = uint8_t(crc << 1);
    if (bit != top) crc ^= 0x07;
  }
  return crc;
}

std::array<bool, kStampBits> StampBits(int channel, uint32_t frame) {
  const uint32_t payload = (uint32_t(channel & 0xF) << 24) | (frame & kStampMaxFrame);
  const uint8_t check = Crc8(payload);
  std::array<bool, kStampBits> bits{};
  bits[0] = true;
  bits[1] = false;
  for (int i = 0; i < 28; ++i) bits[2 + i] = ((payload >> (27 - i)) & 1) != 0;
  for (int i = 0; i < 8; ++i) bits[30 + i] = ((check >> (7 - i)) & 1) != 0;
  bits[38] = false;
  bits[39] = true;
  return bits;
}

// Pixel span [begin, end) of grid cell index i of n over a length.
int CellEdge(int i, int n, int length) { return int(int64_t(i) * length / n); }

void FillLuma(const YuvPicture& pic, int x0, int y0, int x1, int y1, uint8_t value) {
  x0 = std::clamp(x0, 0, pic.width);
  x1 = std::clamp(x1, 0, pic.width);
  y0 = std::clamp(y0, 0, pic.height);
  y1 = std::clamp(y1, 0, pic.height);
  for (int y = y0; y < y1; ++y)
    std::fill(pic.y + y * pic.yStride + x0, pic.y + y * pic.yStride + x1, value);
}

void FillChroma(const YuvPicture& pic, int x0, int y0, int x1, int y1, uint8_t u, uint8_t v) {
  const int cw = (pic.width + 1) / 2;
  const int ch = (pic.height + 1) / 2;
  x0 = std::clamp(x0 / 2, 0, cw);
  x1 = std::clamp((x1 + 1) / 2, 0, cw);
  y0 = std::clamp(y0 / 2, 0, ch);
  y1 = std::clamp((y1 + 1) / 2, 0, ch);
  for (int y = y0; y < y1; ++y) {
    std::fill(pic.u + y * pic.uStride + x0, pic.u + y * pic.uStride + x1, u);
    std::fill(pic.v + y * pic.vStride + x0, pic.v + y * pic.vStride + x1, v);
  }
}

// The texture repeats after this many rows and columns; computing it once keeps drawing cheap.
constexpr int kNoiseRows = 256;
constexpr uint32_t kNoiseColumns = 1024;
// Faint grain, like a camera's sensor noise: with it a 704x576 key frame codes to the 25-60 kB a
// recorder writes at that size (a stronger texture gave 120-150 kB).
constexpr int kNoiseAmplitude = 6;

const std::vector<int8_t>& NoiseTable() {
  static const std::vector<int8_t> table = [] {
    std::vector<int8_t> t(size_t(kNoiseRows) * kNoiseColumns);
    for (int y = 0; y < kNoiseRows; ++y)
      for (uint32_t x = 0; x < kNoiseColumns; ++x) {
        uint32_t h = x * 0x9E3779B1u ^ uint32_t(y) * 0x85EBCA77u;
        h ^= h >> 15;
        h *= 0x2C1B3C6Du;
        h ^= h >> 13;
        const int grain = int(h % uint32_t(2 * kNoiseAmplitude + 1)) - kNoiseAmplitude;
        t[size_t(y) * kNoiseColumns + x] = int8_t(grain);
      }
    return t;
  }();
  return table;
}

int Luma(const uint8_t* px) { return (px[2] * 77 + px[1] * 150 + px[0] * 29) >> 8; }

}  // namespace

void ChannelBackground(int channel, uint8_t& y, uint8_t& u, uint8_t& v) {
  // Eight chroma directions at two brightness levels; neighbours differ in hue.
  static constexpr std::array<std::array<int, 2>, 8> kDirections{
      {{60, 0}, {42, 42}, {0, 60}, {-42, 42}, {-60, 0}, {-42, -42}, {0, -60}, {42, -42}}};
  const int c = channel & 0xF;
  const auto& d = kDirections[size_t((c * 3) % 8)];
  y = c < 8 ? 100 : 160;
  u = uint8_t(128 + d[0]);
  v = uint8_t(128 + d[1]);
}

void DrawStamp(const YuvPicture& pic, int channel, uint32_t frame) {
  const auto bits = StampBits(channel, frame);
  for (int i = 0; i < kStampBits; ++i) {
    const int col = kStampFirstColumn + i % kStampCellsPerRow;
    const int row = kStampFirstRow + i / kStampCellsPerRow;
    const int x0 = CellEdge(col, kStampGridColumns, pic.width);
    const int x1 = CellEdge(col + 1, kStampGridColumns, pic.width);
    const int y0 = CellEdge(row, kStampGridRows, pic.height);
    const int y1 = CellEdge(row + 1, kStampGridRows, pic.height);
    FillLuma(pic, x0, y0, x1, y1, bits[size_t(i)] ? kWhiteY : kBlackY);
    FillChroma(pic, x0, y0, x1, y1, 128, 128);
  }
}

void DrawSamplePicture(const YuvPicture& pic, int channel, uint32_t frame, bool textured) {
  uint8_t by = 0, bu = 0, bv = 0;
  ChannelBackground(channel, by, bu, bv);
  FillLuma(pic, 0, 0, pic.width, pic.height, by);
  FillChroma(pic, 0, 0, pic.width, pic.height, bu, bv);
  if (textured) {
    // Noise around the background, scrolling 3 px a frame: the encoder must code motion.
    const auto& noise = NoiseTable();
    const int ty0 = CellEdge(kTextureFirstRow, kStampGridRows, pic.height);
    const uint32_t scroll = frame * 3u;
    for (int y = ty0; y < pic.height; ++y) {
      uint8_t* line = pic.y + y * pic.yStride;
      const int8_t* row = noise.data() + size_t(y % kNoiseRows) * kNoiseColumns;
      for (int x = 0; x < pic.width; ++x)
        line[x] = uint8_t(by + row[(uint32_t(x) + scroll) % kNoiseColumns]);
    }
  }
  // A bar two cells wide that walks across the lower part of the picture, one cell per second
  // at 25 fps, so the encoder has motion to code.
  const int cellW = std::max(1, pic.width / kStampGridColumns);
  const int travel = std::max(1, pic.width - 2 * cellW);
  const int x0 = int((int64_t(frame) * cellW / 25) % travel);
  const int y0 = CellEdge(kTextureFirstRow + 1, kStampGridRows, pic.height);
  const int y1 = CellEdge(kStampGridRows - 1, kStampGridRows, pic.height);
  FillLuma(pic, x0, y0, x0 + 2 * cellW, y1, uint8_t(by < 128 ? 200 : 50));
  DrawStamp(pic, channel, frame);
}

std::optional<StampValue> ReadStamp(const uint8_t* bgra, int width, int height, int stride,
                                    StampRect r) {
  if (!bgra || width <= 0 || height <= 0 || stride < 4 * width) return std::nullopt;
  if (r.x < 0 || r.y < 0 || r.width < kMinReadWidth || r.height < kMinReadHeight)
    return std::nullopt;
  if (int64_t(r.x) + r.width > width || int64_t(r.y) + r.height > height) return std::nullopt;
  std::array<bool, kStampBits> bits{};
  for (int i = 0; i < kStampBits; ++i) {
    const int col = kStampFirstColumn + i % kStampCellsPerRow;
    const int row = kStampFirstRow + i / kStampCellsPerRow;
    // Average the middle half of the cell: its edges blur under scaling and compression.
    const int64_t qx = int64_t(r.width) * (4 * col + 1), qy = int64_t(r.height) * (4 * row + 1);
    int x0 = r.x + int(qx / (4 * kStampGridColumns));
    int x1 = r.x + int(int64_t(r.width) * (4 * col + 3) / (4 * kStampGridColumns));
    int y0 = r.y + int(qy / (4 * kStampGridRows));
    int y1 = r.y + int(int64_t(r.height) * (4 * row + 3) / (4 * kStampGridRows));
    if (x1 <= x0) x1 = x0 + 1;
    if (y1 <= y0) y1 = y0 + 1;
    int64_t sum = 0;
    int64_t count = 0;
    for (int y = y0; y < y1; ++y) {
      const uint8_t* line = bgra + int64_t(y) * stride;
      for (int x = x0; x < x1; ++x) {
        sum += Luma(line + 4 * x);
        ++count;
      }
    }
    bits[size_t(i)] = sum >= 128 * count;
  }
  if (!bits[0] || bits[1] || bits[38] || !bits[39]) return std::nullopt;
  uint32_t payload = 0;
  for (int i = 0; i < 28; ++i) payload = (payload << 1) | (bits[size_t(2 + i)] ? 1u : 0u);
  uint8_t check = 0;
  for (int i = 0; i < 8; ++i) check = uint8_t((check << 1) | (bits[size_t(30 + i)] ? 1 : 0));
  if (check != Crc8(payload)) return std::nullopt;
  return StampValue{int(payload >> 24), payload & kStampMaxFrame};
}

std::optional<StampValue> ReadStamp(const uint8_t* bgra, int width, int height, int stride) {
  return ReadStamp(bgra, width, height, stride, StampRect{0, 0, width, height});
}

}  // namespace ov::sample
