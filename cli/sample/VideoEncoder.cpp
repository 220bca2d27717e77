#include "cli/sample/VideoEncoder.h"

#include <algorithm>
#include <stdexcept>

#include "cli/sample/FrameStamp.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/frame.h>
#include <libavutil/log.h>
#include <libavutil/opt.h>
}

namespace ov::sample {
namespace {

// Fixed quantiser for MPEG-4: good enough that the stamp cells stay clean, small payloads.
constexpr int kMpeg4Qscale = 5;
// Constant quality for H.264 a little below x264's default (23): recorders trade detail for
// storage, and the stamp cells stay clean.
constexpr const char* kX264Crf = "26";

// The fast bar of interlaced samples: each field draws it where it is at its own instant, a
// cell's width apart, so the two fields disagree along its edges.
void DrawFieldBar(AVFrame* f, uint32_t frameNumber) {
  const int w = f->width, h = f->height;
  const int cellW = std::max(2, w / kStampGridColumns);
  const int travel = std::max(1, w - 2 * cellW);
  const int y0 = h * 9 / kStampGridRows, y1 = h * 16 / kStampGridRows;
  for (int y = y0; y < y1; ++y) {
    const int64_t field = int64_t(frameNumber) * 2 + (y & 1);  // bottom field: half a frame later
    const int x0 = int(field * cellW % travel);
    std::fill_n(f->data[0] + ptrdiff_t(y) * f->linesize[0] + x0, 2 * cellW, uint8_t(235));
  }
}

std::string AvError(int err) {
  char buf[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(err, buf, sizeof buf);
  return buf;
}

}  // namespace

std::vector<uint8_t> NormalizeH264AccessUnit(const std::vector<uint8_t>& au) {
  // Split at 00 00 01; the zero byte of a 4-byte start code and trailing zeros are not NAL data.
  std::vector<std::pair<size_t, size_t>> nals;
  size_t i = 0;
  size_t start = SIZE_MAX;
  while (i + 3 <= au.size()) {
    if (au[i] == 0 && au[i + 1] == 0 && au[i + 2] == 1) {
      if (start != SIZE_MAX) nals.emplace_back(start, i);
      start = i + 3;
      i += 3;
    } else {
      ++i;
    }
  }
  if (start != SIZE_MAX) nals.emplace_back(start, au.size());
  std::vector<uint8_t> sets;
  std::vector<uint8_t> rest;
  for (auto [b, e] : nals) {
    while (e > b && au[e - 1] == 0) --e;
    if (e <= b) continue;
    const int type = au[b] & 0x1F;
    if (type == 9 || type == 6) continue;  // access unit delimiter, SEI
    auto& dst = (type == 7 || type == 8) ? sets : rest;
    const uint8_t code[4] = {0, 0, 0, 1};
    dst.insert(dst.end(), code, code + 4);
    dst.insert(dst.end(), au.begin() + std::ptrdiff_t(b), au.begin() + std::ptrdiff_t(e));
  }
  sets.insert(sets.end(), rest.begin(), rest.end());
  return sets;
}

struct VideoEncoder::Impl {
  VideoParams params;
  AVCodecContext* ctx = nullptr;
  AVFrame* frame = nullptr;
  AVPacket* packet = nullptr;

  ~Impl() {
    av_packet_free(&packet);
    av_frame_free(&frame);
    avcodec_free_context(&ctx);
  }

  void Drain(std::vector<EncodedFrame>& out) {
    for (;;) {
      const int rc = avcodec_receive_packet(ctx, packet);
      if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF) return;
      if (rc < 0) throw std::runtime_error("video encoder failed: " + AvError(rc));
      EncodedFrame f;
      f.key = (packet->flags & AV_PKT_FLAG_KEY) != 0;
      f.frameNumber = uint32_t(packet->pts);
      f.payload.assign(packet->data, packet->data + packet->size);
      av_packet_unref(packet);
      if (params.coding == 2) f.payload = NormalizeH264AccessUnit(f.payload);
      out.push_back(std::move(f));
    }
  }
};

VideoEncoder::VideoEncoder(const VideoParams& p) : impl_(std::make_unique<Impl>()) {
  impl_->params = p;
  av_log_set_level(AV_LOG_ERROR);  // the encoders' statistics are noise on the console
  if (p.coding != 1 && p.coding != 2) throw std::runtime_error("video coding must be 1 or 2");
  if (p.width < 16 || p.height < 16 || p.width % 2 || p.height % 2)
    throw std::runtime_error("picture size must be even and at least 16x16");
  if (p.fps < 1 || p.fps > 120 || p.gop < 1) throw std::runtime_error("bad frame rate or gop");
  const AVCodec* codec = p.coding == 2 ? avcodec_find_encoder_by_name("libx264")
                                       : avcodec_find_encoder(AV_CODEC_ID_MPEG4);
  if (!codec) throw std::runtime_error("encoder not available in libavcodec");
  AVCodecContext* c = impl_->ctx = avcodec_alloc_context3(codec);
  if (!c) throw std::runtime_error("out of memory");
  c->width = p.width;
  c->height = p.height;
  c->pix_fmt = AV_PIX_FMT_YUV420P;
  c->time_base = AVRational{1, p.fps};
  c->framerate = AVRational{p.fps, 1};
  c->gop_size = p.gop;
  c->keyint_min = p.gop;
  c->max_b_frames = 0;
  c->thread_count = 1;
  c->flags |= AV_CODEC_FLAG_BITEXACT;  // no version strings in the stream
  if (p.coding == 2) {
    av_opt_set(c->priv_data, "preset", p.x264Preset.c_str(), 0);
    av_opt_set(c->priv_data, "tune", "zerolatency", 0);
    av_opt_set(c->priv_data, "crf", kX264Crf, 0);
    av_opt_set_int(c->priv_data, "forced-idr", 1, 0);
    const std::string x264 =
        "repeat-headers=1:annexb=1:aud=0:scenecut=0:bframes=0:threads=1:"
        "sliced-threads=0:rc-lookahead=0:sync-lookahead=0:keyint=" +
        std::to_string(p.gop) + ":min-keyint=" + std::to_string(p.gop) +
        (p.interlaced ? ":tff=1" : "");
    av_opt_set(c->priv_data, "x264-params", x264.c_str(), 0);
  } else {
    c->flags |= AV_CODEC_FLAG_QSCALE;
    c->global_quality = FF_QP2LAMBDA * kMpeg4Qscale;
    av_opt_set_int(c->priv_data, "sc_threshold", 1000000000, 0);  // key frames only by count
    if (p.interlaced) c->flags |= AV_CODEC_FLAG_INTERLACED_DCT | AV_CODEC_FLAG_INTERLACED_ME;
  }
  if (p.interlaced) c->field_order = AV_FIELD_TT;
  int rc = avcodec_open2(c, codec, nullptr);
  if (rc < 0) throw std::runtime_error("cannot open video encoder: " + AvError(rc));
  impl_->frame = av_frame_alloc();
  impl_->packet = av_packet_alloc();
  if (!impl_->frame || !impl_->packet) throw std::runtime_error("out of memory");
  impl_->frame->format = AV_PIX_FMT_YUV420P;
  impl_->frame->width = p.width;
  impl_->frame->height = p.height;
  rc = av_frame_get_buffer(impl_->frame, 0);
  if (rc < 0) throw std::runtime_error("cannot allocate picture: " + AvError(rc));
}

VideoEncoder::~VideoEncoder() = default;

void VideoEncoder::Encode(int channel, uint32_t frameNumber, std::vector<EncodedFrame>& out) {
  AVFrame* f = impl_->frame;
  int rc = av_frame_make_writable(f);
  if (rc < 0) throw std::runtime_error("cannot write picture: " + AvError(rc));
  YuvPicture pic{f->data[0],     f->data[1],     f->data[2], f->linesize[0],
                 f->linesize[1], f->linesize[2], f->width,   f->height};
  if (impl_->params.still) {
    DrawStillScene(pic, channel, frameNumber, impl_->params.scene);
    if (channel >= 0 && channel < 32 && (impl_->params.stampStill >> channel & 1u))
      DrawStamp(pic, channel, frameNumber);
  } else
    DrawSamplePicture(pic, channel, frameNumber, impl_->params.textured);
  if (impl_->params.interlaced) {
    DrawFieldBar(f, frameNumber);
    f->interlaced_frame = 1;
    f->top_field_first = 1;
  }
  f->pts = frameNumber;
  const bool key = frameNumber % uint32_t(impl_->params.gop) == 0;
  f->pict_type = key ? AV_PICTURE_TYPE_I : AV_PICTURE_TYPE_NONE;
  f->key_frame = key ? 1 : 0;
  rc = avcodec_send_frame(impl_->ctx, f);
  if (rc < 0) throw std::runtime_error("video encoder refused a picture: " + AvError(rc));
  impl_->Drain(out);
}

void VideoEncoder::Flush(std::vector<EncodedFrame>& out) {
  const int rc = avcodec_send_frame(impl_->ctx, nullptr);
  if (rc < 0 && rc != AVERROR_EOF) throw std::runtime_error("video encoder flush: " + AvError(rc));
  impl_->Drain(out);
}

}  // namespace ov::sample
