#include "decoder/control/G711Table.h"

#include <cstring>
#include <memory>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/channel_layout.h>
}

namespace ov::g711 {
namespace {

struct CodecFree {
  void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
  void operator()(AVPacket* p) const { av_packet_free(&p); }
  void operator()(AVFrame* f) const { av_frame_free(&f); }
};
template <typename T>
using Owned = std::unique_ptr<T, CodecFree>;

}  // namespace

std::optional<std::array<int16_t, 256>> DecodeTable(Law law) {
  const AVCodec* codec =
      avcodec_find_decoder(law == Law::ALaw ? AV_CODEC_ID_PCM_ALAW : AV_CODEC_ID_PCM_MULAW);
  if (!codec) return std::nullopt;
  Owned<AVCodecContext> ctx(avcodec_alloc_context3(codec));
  Owned<AVPacket> packet(av_packet_alloc());
  Owned<AVFrame> frame(av_frame_alloc());
  if (!ctx || !packet || !frame) return std::nullopt;
  ctx->sample_rate = 8000;
  av_channel_layout_default(&ctx->ch_layout, 1);
  if (avcodec_open2(ctx.get(), codec, nullptr) < 0) return std::nullopt;
  if (av_new_packet(packet.get(), 256) < 0) return std::nullopt;
  for (int b = 0; b < 256; ++b) packet->data[b] = static_cast<uint8_t>(b);
  if (avcodec_send_packet(ctx.get(), packet.get()) < 0) return std::nullopt;
  if (avcodec_receive_frame(ctx.get(), frame.get()) < 0) return std::nullopt;
  if (frame->format != AV_SAMPLE_FMT_S16 || frame->nb_samples != 256) return std::nullopt;
  std::array<int16_t, 256> table{};
  std::memcpy(table.data(), frame->data[0], sizeof table);
  return table;
}

}  // namespace ov::g711
