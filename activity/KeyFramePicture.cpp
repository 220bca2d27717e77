#include "activity/KeyFramePicture.h"

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <vector>

#include "decoder/AvHandles.h"

namespace ov::activity {
namespace {
// The regions that count: a person or car at this grid covers a handful of cells.
constexpr int kTopRegions = 4;
}  // namespace

struct KeyFrameDecoder::Impl {
  AVCodecContext* codec = nullptr;
  AVPacket* packet = nullptr;
  AVFrame* frame = nullptr;
  SwsContext* sws = nullptr;

  ~Impl() {
    sws_freeContext(sws);
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&codec);
  }
};

KeyFrameDecoder::KeyFrameDecoder(uint8_t coding) : m_impl(std::make_unique<Impl>()) {
  const AVCodec* dec = av::VideoDecoderFor(coding);
  if (!dec) return;
  AVCodecContext* c = avcodec_alloc_context3(dec);
  if (!c) return;
  // Only key frames are ever sent; the picture is reduced to a few hundred cells, so the
  // deblocking filter and exact arithmetic buy nothing.
  c->skip_frame = AVDISCARD_NONKEY;
  c->skip_loop_filter = AVDISCARD_ALL;
  c->flags |= AV_CODEC_FLAG_LOW_DELAY;
  c->flags2 |= AV_CODEC_FLAG2_FAST;
  c->thread_count = 1;  // the analysis runs one decoder per worker thread
  if (avcodec_open2(c, dec, nullptr) < 0) {
    avcodec_free_context(&c);
    return;
  }
  m_impl->codec = c;
  m_impl->packet = av_packet_alloc();
  m_impl->frame = av_frame_alloc();
}

KeyFrameDecoder::~KeyFrameDecoder() = default;

bool KeyFrameDecoder::IsOpen() const { return m_impl->codec && m_impl->packet && m_impl->frame; }

std::optional<Grid> KeyFrameDecoder::Decode(std::span<const uint8_t> payload) {
  if (!IsOpen() || payload.empty() || payload.size() > (64u << 20)) return std::nullopt;
  Impl& d = *m_impl;
  if (av_new_packet(d.packet, int(payload.size())) < 0) return std::nullopt;
  std::copy(payload.begin(), payload.end(), d.packet->data);
  d.packet->flags |= AV_PKT_FLAG_KEY;
  const int sent = avcodec_send_packet(d.codec, d.packet);
  av_packet_unref(d.packet);
  if (sent < 0) {
    avcodec_flush_buffers(d.codec);
    return std::nullopt;
  }
  // A key frame alone is a whole picture: it is taken out at once, never left for the next call.
  avcodec_send_packet(d.codec, nullptr);
  std::optional<Grid> out;
  while (avcodec_receive_frame(d.codec, d.frame) >= 0) {
    AVFrame* f = d.frame;
    if (!out && f->width > 0 && f->height > 0) {
      d.sws = sws_getCachedContext(d.sws, f->width, f->height, AVPixelFormat(f->format), kGridW,
                                   kGridH, AV_PIX_FMT_GRAY8, SWS_AREA, nullptr, nullptr, nullptr);
      if (d.sws) {
        Grid g{};
        uint8_t* dst[4] = {g.data(), nullptr, nullptr, nullptr};
        int stride[4] = {kGridW, 0, 0, 0};
        if (sws_scale(d.sws, f->data, f->linesize, 0, f->height, dst, stride) == kGridH) out = g;
      }
    }
    av_frame_unref(f);
  }
  avcodec_flush_buffers(d.codec);  // ready for the next key frame after the drain
  return out;
}

float GridChange(const Grid& a, const Grid& b) {
  std::array<int, kGridW * kGridH> diff{};
  for (size_t i = 0; i < diff.size(); ++i) diff[i] = int(b[i]) - int(a[i]);
  std::array<int, kGridW* kGridH> sorted = diff;
  const size_t mid = sorted.size() / 2;
  std::nth_element(sorted.begin(), sorted.begin() + long(mid), sorted.end());
  const int even = sorted[mid];
  for (auto& x : diff) x = std::abs(x - even);
  std::partial_sort(diff.begin(), diff.begin() + kTopRegions, diff.end(), std::greater<int>());
  int sum = 0;
  for (int i = 0; i < kTopRegions; ++i) sum += diff[size_t(i)];
  return float(sum) / kTopRegions;
}

}  // namespace ov::activity
