// Payloads decode with libavcodec, and the stamp reads back from the decoded pictures at the
// written size and scaled into a letterboxed pane.
#include <gtest/gtest.h>

#include <memory>

#include "cli/sample/FrameStamp.h"
#include "cli/sample/SampleWriter.h"
#include "tests/sample/SampleTestUtil.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libswscale/swscale.h>
}

namespace ov::sample {
namespace {

struct Decoded {
  std::optional<StampValue> full;
  std::optional<StampValue> scaled;
  std::optional<StampValue> tiny;
};

class Decoder {
 public:
  explicit Decoder(int coding) {
    const AVCodec* codec = avcodec_find_decoder(coding == 2 ? AV_CODEC_ID_H264 : AV_CODEC_ID_MPEG4);
    ctx_ = avcodec_alloc_context3(codec);
    ctx_->thread_count = 1;
    ok_ = codec && avcodec_open2(ctx_, codec, nullptr) == 0;
    frame_ = av_frame_alloc();
    packet_ = av_packet_alloc();
  }
  ~Decoder() {
    av_packet_free(&packet_);
    av_frame_free(&frame_);
    avcodec_free_context(&ctx_);
  }
  bool ok() const { return ok_; }

  // Decodes one payload; each finished picture is read at full size and scaled to 200x164 in
  // a 240x180 black image at (20, 8), and to 88x72 (a 16-pane layout in a small window).
  void Decode(std::span<const uint8_t> payload, std::vector<Decoded>& out) {
    std::vector<uint8_t> padded(payload.begin(), payload.end());
    padded.resize(payload.size() + AV_INPUT_BUFFER_PADDING_SIZE, 0);
    packet_->data = padded.data();
    packet_->size = int(payload.size());
    if (avcodec_send_packet(ctx_, packet_) < 0) return;
    while (avcodec_receive_frame(ctx_, frame_) == 0) {
      out.push_back({Read(frame_->width, frame_->height, {0, 0, frame_->width, frame_->height}),
                     Read(240, 180, {20, 8, 200, 164}), Read(96, 80, {4, 0, 88, 72})});
      av_frame_unref(frame_);
    }
  }

 private:
  std::optional<StampValue> Read(int w, int h, StampRect r) {
    std::vector<uint8_t> image(size_t(w * h * 4), 0);
    SwsContext* sws =
        sws_getContext(frame_->width, frame_->height, AVPixelFormat(frame_->format), r.width,
                       r.height, AV_PIX_FMT_BGRA, SWS_BILINEAR, nullptr, nullptr, nullptr);
    uint8_t* dst[4] = {image.data() + (r.y * w + r.x) * 4, nullptr, nullptr, nullptr};
    int dstStride[4] = {w * 4, 0, 0, 0};
    sws_scale(sws, frame_->data, frame_->linesize, 0, frame_->height, dst, dstStride);
    sws_freeContext(sws);
    return ReadStamp(image.data(), w, h, w * 4, r);
  }

  AVCodecContext* ctx_ = nullptr;
  AVFrame* frame_ = nullptr;
  AVPacket* packet_ = nullptr;
  bool ok_ = false;
};

class SampleDecodeTest : public ::testing::TestWithParam<int> {};

TEST_P(SampleDecodeTest, EveryPictureShowsItsChannelAndFrame) {
  const int coding = GetParam();
  SampleOptions o;
  o.channelCount = 2;
  o.video.coding = coding;
  o.video.gop = 10;
  o.durationMs = 1200;
  o.audioSlots = std::vector<int>{};
  const std::string path = test::TempPath("decode" + std::to_string(coding) + ".ysk");
  WriteSample(o, path, "");
  const auto file = test::ReadAll(path);
  const YskHeader h = test::HeaderOf(file);
  for (int slot : {0, 1}) {
    const auto& rec = h.video[size_t(slot)];
    const auto frames = test::WalkRun(file, 2037 + rec.startOffset, 2037 + rec.endOffset);
    ASSERT_EQ(frames.size(), 30u);
    Decoder decoder(coding);
    ASSERT_TRUE(decoder.ok());
    std::vector<Decoded> pictures;
    for (const auto& f : frames)
      decoder.Decode(std::span<const uint8_t>(file).subspan(f.offset + 20, f.h.f_size), pictures);
    // No B-frames: every payload gives its picture at once.
    ASSERT_EQ(pictures.size(), frames.size());
    for (uint32_t k = 0; k < pictures.size(); ++k) {
      EXPECT_EQ(pictures[k].full, (StampValue{slot, k})) << "slot " << slot << " frame " << k;
      EXPECT_EQ(pictures[k].scaled, (StampValue{slot, k})) << "slot " << slot << " frame " << k;
      EXPECT_EQ(pictures[k].tiny, (StampValue{slot, k})) << "slot " << slot << " frame " << k;
    }
  }
}

TEST_P(SampleDecodeTest, DecodingMayStartAtAnyKeyFrame) {
  const int coding = GetParam();
  VideoParams p;
  p.coding = coding;
  p.gop = 5;
  std::vector<EncodedFrame> frames;
  EncodeChannelVideo(p, 6, 0, 12, [&](const EncodedFrame& f) { frames.push_back(f); });
  ASSERT_EQ(frames.size(), 12u);
  Decoder decoder(coding);
  std::vector<Decoded> pictures;
  for (size_t k = 5; k < frames.size(); ++k) decoder.Decode(frames[k].payload, pictures);
  ASSERT_EQ(pictures.size(), 7u);
  EXPECT_EQ(pictures.front().full, (StampValue{6, 5}));
  EXPECT_EQ(pictures.back().scaled, (StampValue{6, 11}));
}

INSTANTIATE_TEST_SUITE_P(Codings, SampleDecodeTest, ::testing::Values(1, 2));

}  // namespace
}  // namespace ov::sample
