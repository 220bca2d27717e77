#pragma once
// The picture every sample frame shows: a flat background colour per channel, a moving grey bar
// (so P-frames carry real motion), optionally a scrolling texture, and a stamp of large black and
// white cells that encodes the channel, the frame number and a check byte. The cells sit on a grid
// of 22 x 18 cells over the whole picture, so the stamp survives compression and scaling and can be
// read back from a decoded picture of any size. The top-left corner, where a pane title goes, is
// left free.
#include <cstdint>
#include <optional>

namespace ov::sample {

inline constexpr int kStampGridColumns = 22;
inline constexpr int kStampGridRows = 18;
inline constexpr uint32_t kStampMaxFrame = (1u << 24) - 1;  // frame numbers wrap above this

// A planar YUV 4:2:0 picture the caller owns (8-bit, chroma planes at half width and height).
struct YuvPicture {
  uint8_t* y = nullptr;
  uint8_t* u = nullptr;
  uint8_t* v = nullptr;
  int yStride = 0;
  int uStride = 0;
  int vStride = 0;
  int width = 0;
  int height = 0;
};

struct StampValue {
  int channel = 0;     // 0..15
  uint32_t frame = 0;  // 0..kStampMaxFrame
  bool operator==(const StampValue&) const = default;
};

// Where the picture lies inside a decoded image (a pane may letterbox it).
struct StampRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// Background colour (Y, U, V) of a channel; the 16 channels differ clearly.
void ChannelBackground(int channel, uint8_t& y, uint8_t& u, uint8_t& v);

// Draws only the stamp cells (channel and frame modulo kStampMaxFrame + 1).
void DrawStamp(const YuvPicture& pic, int channel, uint32_t frame);

// Draws the whole sample picture: background, moving bar, stamp. With textured set, the lower
// part also carries a scrolling noise texture, which gives payloads of a realistic size.
void DrawSamplePicture(const YuvPicture& pic, int channel, uint32_t frame, bool textured = true);

// Reads the stamp back from a 32-bit image with bytes B, G, R, X per pixel (QImage RGB32 /
// AV_PIX_FMT_BGRA), looking only inside rect. Empty when the rect is too small, lies outside the
// image, or the check byte or the fixed marker cells do not match.
std::optional<StampValue> ReadStamp(const uint8_t* bgra, int width, int height, int stride,
                                    StampRect rect);

// Same as above over the whole image.
std::optional<StampValue> ReadStamp(const uint8_t* bgra, int width, int height, int stride);

}  // namespace ov::sample
