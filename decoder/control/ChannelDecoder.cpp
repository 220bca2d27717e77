#include "decoder/control/ChannelDecoder.h"

#include <mutex>
#include <system_error>

#include "decoder/control/PaneLayout.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/imgutils.h>
#include <libavutil/pixdesc.h>
#include <libswscale/swscale.h>
}

namespace ov {
namespace {
// Plane pointers of the part of frame that crop covers. The crop's corner is moved to the chroma
// grid (at most one pixel) so every plane starts on the same picture point. False for formats
// that are not planar or packed bytes.
bool CropPlanes(const AVFrame* frame, zoom::PixelRect& crop, const uint8_t* planes[4]) {
  const AVPixFmtDescriptor* d = av_pix_fmt_desc_get(static_cast<AVPixelFormat>(frame->format));
  if (!d ||
      (d->flags & (AV_PIX_FMT_FLAG_HWACCEL | AV_PIX_FMT_FLAG_BITSTREAM | AV_PIX_FMT_FLAG_PAL)))
    return false;
  const int alignX = 1 << d->log2_chroma_w, alignY = 1 << d->log2_chroma_h;
  crop.x -= crop.x % alignX;
  crop.y -= crop.y % alignY;
  int steps[4] = {};
  av_image_fill_max_pixsteps(steps, nullptr, d);
  for (int i = 0; i < 4; ++i) {
    if (!frame->data[i]) continue;
    const bool chroma = i == 1 || i == 2;
    const int x = chroma ? crop.x >> d->log2_chroma_w : crop.x;
    const int y = chroma ? crop.y >> d->log2_chroma_h : crop.y;
    planes[i] = frame->data[i] + ptrdiff_t(y) * frame->linesize[i] + ptrdiff_t(x) * steps[i];
  }
  return true;
}

// Shrinking, or a whole picture brought to its pane: fast bilinear is several times cheaper than
// the exact filter, and the difference does not show on camera pictures.
constexpr int kScaleFlags = SWS_FAST_BILINEAR;
// A zoomed region enlarged past its recorded pixels: the detail looked for is a few pixels wide,
// and bicubic keeps its edges where bilinear smears them. Only the small region is scaled.
constexpr int kEnlargeFlags = SWS_BICUBIC;
std::atomic<ChannelDecoder::StartFailFn> g_startFailure{nullptr};
}  // namespace

void ChannelDecoder::SetStartFailureForTest(StartFailFn fail) { g_startFailure.store(fail); }

ChannelDecoder::ChannelDecoder(int channel, PictureBoard& board, ErrorFn onError)
    : m_channel(channel), m_board(board), m_onError(std::move(onError)) {
  // Damaged frames are reported through the error callback; libavcodec's own chatter about
  // them would only flood stderr during playback.
  static std::once_flag quiet;
  std::call_once(quiet, [] { av_log_set_level(AV_LOG_FATAL); });
  m_frame.reset(av_frame_alloc());
  m_last.reset(av_frame_alloc());
  m_prev.reset(av_frame_alloc());
  m_packet.reset(av_packet_alloc());
  // Under a thread or memory limit no decoding thread may start: the channel is then unavailable
  // and the others play on.
  try {
    const StartFailFn fail = g_startFailure.load();
    if (fail && fail(channel))
      throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again),
                              "thread");
    m_pool = DecodePool::Shared();
  } catch (const std::system_error& e) {
    m_startError = e.code().message();
    return;
  }
  m_running = true;
}

ChannelDecoder::~ChannelDecoder() {
  m_queue.Stop();
  if (m_pool) m_pool->Remove(*this);  // waits for a worker still decoding for this channel
  Close();
}

void ChannelDecoder::Submit(const uint8_t* data, size_t size, bool key, int32_t fTime, int32_t msec,
                            bool show, uint32_t tag) {
  if (!data || size == 0 || !m_running) return;
  m_submitted.fetch_add(1, std::memory_order_relaxed);
  EncodedFrame f;
  f.data = m_packets.Copy(data, size);
  if (!f.data) return;
  f.payloadSize = size;
  f.key = key;
  f.generation = m_generation.load(std::memory_order_acquire);
  f.fTime = fTime;
  f.msec = msec;
  f.show = show;
  f.tag = tag;
  f.submitted = std::chrono::steady_clock::now();
  // A decode-only frame is a link in the chain to the picture a move lands on: losing it would
  // lose that picture, so the submitter waits for the decoder instead.
  const bool queued =
      show ? m_queue.Push(std::move(f)) : m_queue.PushWaiting(std::move(f), FrameQueue::kRoomWait);
  if (queued) m_pool->Ready(*this, Shown());
}

void ChannelDecoder::Wake() {
  if (!m_running) return;
  m_redraw.store(true, std::memory_order_release);
  m_pool->Ready(*this, Shown());
}

bool ChannelDecoder::Shown() const { return !m_board.TargetSize(m_channel).isEmpty(); }

void ChannelDecoder::Flush(bool blank) {
  const uint32_t g = m_generation.fetch_add(1, std::memory_order_acq_rel) + 1;
  if (blank) {
    m_board.Blank(m_channel, g);
  } else {
    m_board.Advance(m_channel, g);
  }
  m_queue.Clear();
}

ChannelDecoder::Stats ChannelDecoder::GetStats() const {
  Stats s;
  s.submitted = m_submitted.load();
  s.decoded = m_decoded.load();
  s.presented = m_presented.load();
  s.errors = m_errors.load();
  s.queueDropped = m_queue.Dropped();
  s.keyWaitDropped = m_keyWaitDropped.load();
  s.queueMax = m_queue.MaxSizeSeen();
  return s;
}

void ChannelDecoder::Work() {
  // A channel decodes what it has queued for up to one slice: switching between channels on every
  // frame costs more than the decoding of a small frame, and a longer turn would keep the others
  // waiting.
  constexpr auto kSlice = std::chrono::milliseconds(4);
  const auto sliceEnd = std::chrono::steady_clock::now() + kSlice;
  while (std::optional<EncodedFrame> f = m_queue.TryPop()) {
    if (f->generation != m_lastGeneration) {
      m_lastGeneration = f->generation;
      if (m_ctx) avcodec_flush_buffers(m_ctx.get());
      av_frame_unref(m_last.get());
      av_frame_unref(m_prev.get());
      m_needKey = true;
    }
    Decode(*f);
    if (std::chrono::steady_clock::now() >= sliceEnd && m_queue.Size() > 0) {
      m_pool->Ready(*this, Shown());  // the rest after the others' turns
      return;
    }
  }
  // A resized or uncovered pane gets its last picture again, made for its new size.
  if (m_redraw.exchange(false, std::memory_order_acq_rel) && m_last->data[0] &&
      m_board.TargetOf(m_channel).serial != m_lastTarget)
    Show(m_last.get(), m_lastMeta, true);
}

void ChannelDecoder::Decode(EncodedFrame& f) {
  if (f.key) {
    const VideoCoding c = DetectCoding(std::span<const uint8_t>(f.data.data(), f.payloadSize));
    if (c != VideoCoding::Unknown && (c != m_coding || !m_ctx)) {
      Close();
      if (Open(c)) m_coding = c;
    }
    if (m_ctx) m_needKey = false;
  }
  if (m_needKey || !m_ctx) {
    m_keyWaitDropped.fetch_add(1, std::memory_order_relaxed);
    return;
  }
  // A reference-counted packet: libavcodec keeps a reference instead of copying the payload.
  m_packet->buf = f.data.release();
  m_packet->data = m_packet->buf->data;
  m_packet->size = static_cast<int>(f.payloadSize);
  m_packet->flags = f.key ? AV_PKT_FLAG_KEY : 0;
  int rc = avcodec_send_packet(m_ctx.get(), m_packet.get());
  av_packet_unref(m_packet.get());
  if (rc < 0 && rc != AVERROR(EAGAIN)) return Fail(rc);
  // Some decoders only log a picture over max_pixels and return no frame: count it as damage.
  if (int64_t(m_ctx->width) * m_ctx->height > kMaxPictureArea) return Fail(AVERROR_INVALIDDATA);
  for (;;) {
    rc = avcodec_receive_frame(m_ctx.get(), m_frame.get());
    if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF) break;
    if (rc < 0) return Fail(rc);
    const bool corrupt =
        m_frame->decode_error_flags != 0 || (m_frame->flags & AV_FRAME_FLAG_CORRUPT) != 0;
    if (corrupt) {
      av_frame_unref(m_frame.get());
      return Fail(AVERROR_INVALIDDATA);
    }
    m_decoded.fetch_add(1, std::memory_order_relaxed);
    if (!f.show) {
      av_frame_unref(m_frame.get());
      continue;
    }
    m_lastMeta = {f.generation, f.submitted, f.tag};
    av_frame_unref(m_prev.get());
    av_frame_move_ref(m_prev.get(), m_last.get());
    av_frame_move_ref(m_last.get(), m_frame.get());
    Show(m_last.get(), m_lastMeta);
  }
}

bool ChannelDecoder::Open(VideoCoding coding) {
  const AVCodec* codec =
      avcodec_find_decoder(coding == VideoCoding::H264 ? AV_CODEC_ID_H264 : AV_CODEC_ID_MPEG4);
  if (!codec) return false;
  m_ctx.reset(avcodec_alloc_context3(codec));
  if (!m_ctx) return false;
  m_ctx->thread_count = 1;  // parallelism comes from running the channels side by side
  // Larger pictures are refused as damaged: sixteen of them must fit in memory side by side.
  m_ctx->max_pixels = kMaxPictureArea;
  // Report damage instead of concealing it, so a damaged run is dropped rather than shown.
  m_ctx->err_recognition |= AV_EF_BITSTREAM | AV_EF_EXPLODE;
  if (avcodec_open2(m_ctx.get(), codec, nullptr) < 0) {
    m_ctx.reset();
    return false;
  }
  return true;
}

void ChannelDecoder::Close() {
  m_ctx.reset();
  m_sws.reset();
  m_coding = VideoCoding::Unknown;
}

void ChannelDecoder::Fail(int error) {
  m_errors.fetch_add(1, std::memory_order_relaxed);
  m_needKey = true;
  if (m_ctx) avcodec_flush_buffers(m_ctx.get());
  av_frame_unref(m_last.get());
  av_frame_unref(m_prev.get());
  m_queue.DropToNextKey();
  if (m_onError) m_onError(m_channel, error);
}

QImage& ChannelDecoder::TakeImage(QSize size) {
  // A picture is free when the board no longer shares it; writing into a shared one would copy it.
  QImage* spare = nullptr;
  for (QImage& img : m_images) {
    if (!img.isDetached()) continue;
    if (img.size() == size) return img;
    spare = &img;  // free, but of an older pane size
  }
  if (!spare) {
    // All in use: another one, or (past the bound, with many pictures held back) the oldest.
    if (m_images.size() < kMaxImages) {
      m_images.reserve(kMaxImages);  // references handed out stay valid
      spare = &m_images.emplace_back();
    } else {
      spare = &m_images.front();
    }
  }
  *spare = QImage(size, QImage::Format_RGB32);
  return *spare;
}

void ChannelDecoder::Show(const AVFrame* decoded, const FrameMeta& f, bool redraw) {
  const PictureBoard::Target target = m_board.TargetOf(m_channel);
  const QSize box = target.size;
  m_lastTarget = target.serial;
  if (box.isEmpty() || decoded->width <= 0 || decoded->height <= 0) return;  // pane not shown
  const AVFrame* frame =
      m_filter.Apply(decoded, m_prev.get(), target.settings.adjust, target.settings.deinterlace);
  // The shape as recorded: filters may change the picture's aspect fields, never its shape.
  double aspect = static_cast<double>(decoded->width) / decoded->height;
  if (decoded->sample_aspect_ratio.num > 0 && decoded->sample_aspect_ratio.den > 0)
    aspect *= av_q2d(decoded->sample_aspect_ratio);
  // A zoomed region keeps the picture's aspect, so it fills the same place the whole one did.
  const QSize size = pane::FitSize(box, aspect);
  if (size.isEmpty()) return;
  zoom::PixelRect crop = ToPixels(target.settings.region, frame->width, frame->height);
  const uint8_t* const* src = frame->data;
  const uint8_t* cropped[4] = {};
  if (!target.settings.region.Whole()) {
    if (!CropPlanes(frame, crop, cropped)) return;
    src = cropped;
  }
  const bool enlarge = size.width() > crop.w || size.height() > crop.h;
  // The cached context frees the old one whenever it makes a new one.
  m_sws.reset(sws_getCachedContext(
      m_sws.release(), crop.w, crop.h, static_cast<AVPixelFormat>(frame->format), size.width(),
      size.height(), AV_PIX_FMT_RGB32,
      enlarge && !target.settings.region.Whole() ? kEnlargeFlags : kScaleFlags, nullptr, nullptr,
      nullptr));
  if (!m_sws) return;
  QImage& img = TakeImage(size);
  uint8_t* dst[4] = {img.bits(), nullptr, nullptr, nullptr};
  int dstStride[4] = {static_cast<int>(img.bytesPerLine()), 0, 0, 0};
  sws_scale(m_sws.get(), src, frame->linesize, 0, crop.h, dst, dstStride);
  const bool shown = redraw ? m_board.Redraw(m_channel, f.generation, img, f.tag)
                            : m_board.Present(m_channel, f.generation, img, f.submitted, f.tag);
  if (shown) m_presented.fetch_add(1, std::memory_order_relaxed);
}

}  // namespace ov
