#include "decoder/control/G711Table.h"

#include <cstring>

#include "decoder/AvHandles.h"

extern "C" {
#include <libavutil/channel_layout.h>
}

namespace ov::g711 {

std::optional<std::array<int16_t, 256>> DecodeTable(Law law) {
  const AVCodec* codec =
      avcodec_find_decoder(law == Law::ALaw ? AV_CODEC_ID_PCM_ALAW : AV_CODEC_ID_PCM_MULAW);
  if (!codec) return std::nullopt;
  av::CodecContext ctx(avcodec_alloc_context3(codec));
  av::Packet packet(av_packet_alloc());
  av::Frame frame(av_frame_alloc());
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
