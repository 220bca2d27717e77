#include "export/PreviewPicture.h"

#include <algorithm>
#include <memory>

#include "decoder/AvHandles.h"

namespace ov::exporter {
namespace {

std::nullopt_t Fail(std::string* error, const char* why) {
  if (error) *error = why;
  return std::nullopt;
}

}  // namespace

std::optional<PreviewPicture> DecodeKeyFramePreview(const FrameReader& reader, uint8_t videoCoding,
                                                    uint64_t offset, uint64_t runBegin,
                                                    uint64_t runEnd, int maxWidth, int maxHeight,
                                                    std::string* error) {
  if (maxWidth < 2 || maxHeight < 2) return Fail(error, "no room for a picture");
  YskFrameHeader h{};
  if (offset < runBegin || offset + kYskFrameHeaderSize > runEnd || !reader.Header(offset, h))
    return Fail(error, "no frame there");
  if (h.f_type != 1) return Fail(error, "not a key frame");
  const uint64_t payload = offset + kYskFrameHeaderSize;
  if (h.f_size == 0 || h.f_size > kMaxFrameBytes || payload + h.f_size > runEnd)
    return Fail(error, "damaged frame size");

  const AVCodec* codec = av::VideoDecoderFor(videoCoding);
  av::CodecContext dec(codec ? avcodec_alloc_context3(codec) : nullptr);
  if (!dec) return Fail(error, "no decoder");
  dec->thread_count = 1;  // a single picture: threads would only add start-up time
  if (avcodec_open2(dec.get(), codec, nullptr) < 0) return Fail(error, "cannot open the decoder");
  av::Packet pkt(av_packet_alloc());
  av::Frame frame(av_frame_alloc());
  if (!pkt || !frame || av_new_packet(pkt.get(), int(h.f_size)) < 0)
    return Fail(error, "out of memory");
  if (reader.Bytes(payload, pkt->data, h.f_size) != h.f_size)
    return Fail(error, "cannot read the frame");
  pkt->flags |= AV_PKT_FLAG_KEY;
  bool have = false;
  if (avcodec_send_packet(dec.get(), pkt.get()) >= 0) {
    avcodec_send_packet(dec.get(), nullptr);
    have = avcodec_receive_frame(dec.get(), frame.get()) >= 0;
  }
  if (!have || frame->width <= 0 || frame->height <= 0)
    return Fail(error, "the picture does not decode");

  // Fitted into the box; the sample aspect is taken as square, as the panes show it.
  const double scale = std::min(double(maxWidth) / frame->width, double(maxHeight) / frame->height);
  PreviewPicture out;
  out.width = std::max(2, int(frame->width * scale) & ~1);
  out.height = std::max(2, int(frame->height * scale) & ~1);
  out.second = h.f_time;
  out.msec = h.f_msec;
  av::Scaler sws(sws_getContext(frame->width, frame->height, AVPixelFormat(frame->format),
                                out.width, out.height, AV_PIX_FMT_RGB24, SWS_AREA, nullptr, nullptr,
                                nullptr));
  if (!sws) return Fail(error, "cannot scale the picture");
  out.rgb.resize(size_t(out.width) * size_t(out.height) * 3);
  uint8_t* dst[4] = {out.rgb.data(), nullptr, nullptr, nullptr};
  int dstStride[4] = {out.width * 3, 0, 0, 0};
  sws_scale(sws.get(), frame->data, frame->linesize, 0, frame->height, dst, dstStride);
  return out;
}

}  // namespace ov::exporter
