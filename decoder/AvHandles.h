#pragma once
// Owning handles for FFmpeg's decoding objects, and the decoder for a recording's video coding,
// shared by everything that decodes pictures (the panes, snapshots, previews, the analysis).
#include <cstdint>
#include <memory>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libswscale/swscale.h>
}

namespace ov::av {

struct Free {
  void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
  void operator()(AVFrame* f) const { av_frame_free(&f); }
  void operator()(AVPacket* p) const { av_packet_free(&p); }
  void operator()(SwsContext* s) const { sws_freeContext(s); }
};
using CodecContext = std::unique_ptr<AVCodecContext, Free>;
using Frame = std::unique_ptr<AVFrame, Free>;
using Packet = std::unique_ptr<AVPacket, Free>;
using Scaler = std::unique_ptr<SwsContext, Free>;

// The decoder for the video coding a file's header gives: 2 is H.264, anything else MPEG-4 Part 2.
inline const AVCodec* VideoDecoderFor(uint8_t coding) {
  return avcodec_find_decoder(coding == 2 ? AV_CODEC_ID_H264 : AV_CODEC_ID_MPEG4);
}

}  // namespace ov::av
