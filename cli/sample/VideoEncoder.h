#pragma once
// Encodes sample pictures (FrameStamp.h) with libavcodec into the payloads a backup file carries:
// coding 2 = H.264 Annex B from libx264, every key frame an IDR that starts with its SPS
// (00 00 00 01 67); coding 1 = MPEG-4 Part 2 from the mpeg4 encoder, every key frame starting with
// its visual object sequence header (00 00 01 B0). No B-frames, so decode order is display order.
// Fixed parameters and one thread: the same input gives the same bytes.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "cli/sample/StillScene.h"

namespace ov::sample {

struct VideoParams {
  int coding = 2;  // 1 = MPEG-4 Part 2, 2 = H.264
  int width = 352;
  int height = 288;
  int fps = 25;
  int gop = 25;                          // key-frame interval in frames
  std::string x264Preset = "ultrafast";  // cheap by default: tests make many samples
  bool textured = true;  // scrolling noise in the picture: payloads of a realistic size
  // Set: a still camera's picture (StillScene.h) instead of the stamped sample picture.
  bool still = false;
  uint32_t stampStill = 0;  // bit n set: slot n's still scene carries the frame stamp too
  StillSceneParams scene;
  // Field-coded pictures (top field first) whose two fields show a fast bar at instants half a
  // frame apart, as an analog camera records them: its edges comb unless deinterlaced.
  bool interlaced = false;
};

struct EncodedFrame {
  std::vector<uint8_t> payload;
  bool key = false;
  uint32_t frameNumber = 0;  // the number stamped into the picture
};

class VideoEncoder {
 public:
  // Throws std::runtime_error when the encoder cannot be opened with these parameters.
  explicit VideoEncoder(const VideoParams& params);
  ~VideoEncoder();
  VideoEncoder(const VideoEncoder&) = delete;
  VideoEncoder& operator=(const VideoEncoder&) = delete;

  // Encodes the sample picture of (channel, frameNumber); a key frame is forced when
  // frameNumber is a multiple of the key-frame interval. Finished frames are appended to out.
  void Encode(int channel, uint32_t frameNumber, std::vector<EncodedFrame>& out);
  // Drains the encoder; it cannot be used afterwards.
  void Flush(std::vector<EncodedFrame>& out);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// Rewrites an H.264 Annex B access unit: drops access unit delimiters and SEI messages, puts
// parameter sets first and uses 4-byte start codes throughout. Exposed for tests.
std::vector<uint8_t> NormalizeH264AccessUnit(const std::vector<uint8_t>& au);

}  // namespace ov::sample
