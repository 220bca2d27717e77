#include "export/ClipMuxer.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "decoder/AvHandles.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavcodec/bsf.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/error.h>
#include <libavutil/opt.h>
}

namespace ov::exporter {
namespace {

constexpr int kSoundRate = 8000;          // G.711 and the recorders' 16-bit sound: 8 kHz mono
constexpr int64_t kSoundGapFillMs = 100;  // a later sound frame than this leaves silence
constexpr AVRational kMs{1, 1000};
constexpr int kIoBufferBytes = 64 << 10;

// The clip goes to a descriptor the caller opened (a new file, never a name's old target).
int WriteToFd(void* opaque, uint8_t* buf, int size) {
  const int fd = *static_cast<int*>(opaque);
  int done = 0;
  while (done < size) {
    const ssize_t n = ::write(fd, buf + done, size_t(size - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return AVERROR(n < 0 ? errno : EIO);
    done += int(n);
  }
  return done;
}

int64_t SeekFd(void* opaque, int64_t offset, int whence) {
  const int fd = *static_cast<int*>(opaque);
  if (whence & AVSEEK_SIZE) {
    struct stat st {};
    return ::fstat(fd, &st) == 0 ? int64_t(st.st_size) : AVERROR(errno);
  }
  const off_t at = ::lseek(fd, off_t(offset), whence & ~AVSEEK_FORCE);
  return at < 0 ? AVERROR(errno) : int64_t(at);
}

void Check(int err, const std::string& what) {
  if (err >= 0) return;
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(err, text, sizeof text);
  throw std::runtime_error(what + ": " + text);
}

struct BsfDeleter {
  void operator()(AVBSFContext* b) const { av_bsf_free(&b); }
};
using Packet = av::Packet;
using Frame = av::Frame;
using Codec = av::CodecContext;

Packet MakePacket(std::span<const uint8_t> bytes) {
  Packet p(av_packet_alloc());
  if (!p) throw std::runtime_error("out of memory");
  Check(av_new_packet(p.get(), int(bytes.size())), "packet");
  if (!bytes.empty()) std::memcpy(p->data, bytes.data(), bytes.size());
  return p;
}

AVCodecID VideoCodecId(uint8_t coding) {
  if (coding == 2) return AV_CODEC_ID_H264;
  if (coding == 0 || coding == 1) return AV_CODEC_ID_MPEG4;
  throw std::runtime_error("the file's video coding " + std::to_string(coding) + " is not known");
}

AVCodecID SoundCodecId(SoundFormat f) {
  switch (f) {
    case SoundFormat::ALaw:
      return AV_CODEC_ID_PCM_ALAW;
    case SoundFormat::Pcm16:
      return AV_CODEC_ID_PCM_S16LE;
    case SoundFormat::MuLaw:
      break;
  }
  return AV_CODEC_ID_PCM_MULAW;
}

// Picture size from decoding the key frame; the parameter sets from the extract_extradata filter.
void ProbeKeyFrame(AVCodecID id, std::span<const uint8_t> key, AVCodecParameters* par) {
  const AVCodec* dec = avcodec_find_decoder(id);
  Codec ctx(dec ? avcodec_alloc_context3(dec) : nullptr);
  if (!ctx) throw std::runtime_error("no decoder for the file's video");
  Check(avcodec_open2(ctx.get(), dec, nullptr), "video decoder");
  Packet pkt = MakePacket(key);
  Frame frame(av_frame_alloc());
  if (avcodec_send_packet(ctx.get(), pkt.get()) < 0 ||
      avcodec_send_packet(ctx.get(), nullptr) < 0 ||
      avcodec_receive_frame(ctx.get(), frame.get()) < 0 || frame->width <= 0 || frame->height <= 0)
    throw std::runtime_error("the first key frame of the range does not decode");
  par->width = frame->width;
  par->height = frame->height;
  par->sample_aspect_ratio = frame->sample_aspect_ratio;

  const AVBitStreamFilter* filter = av_bsf_get_by_name("extract_extradata");
  AVBSFContext* raw = nullptr;
  Check(filter ? av_bsf_alloc(filter, &raw) : AVERROR_BSF_NOT_FOUND, "extract_extradata");
  std::unique_ptr<AVBSFContext, BsfDeleter> bsf(raw);
  bsf->par_in->codec_id = id;
  Check(av_bsf_init(bsf.get()), "extract_extradata");
  Packet in = MakePacket(key);
  Check(av_bsf_send_packet(bsf.get(), in.get()), "extract_extradata");
  Packet out(av_packet_alloc());
  Check(av_bsf_receive_packet(bsf.get(), out.get()), "extract_extradata");
  size_t size = 0;
  const uint8_t* extra = av_packet_get_side_data(out.get(), AV_PKT_DATA_NEW_EXTRADATA, &size);
  if (!extra || size == 0)
    throw std::runtime_error("the first key frame carries no parameter sets");
  par->extradata = static_cast<uint8_t*>(av_mallocz(size + AV_INPUT_BUFFER_PADDING_SIZE));
  if (!par->extradata) throw std::runtime_error("out of memory");
  std::memcpy(par->extradata, extra, size);
  par->extradata_size = int(size);
}

}  // namespace

const char* Extension(ContainerFormat f) { return f == ContainerFormat::Mp4 ? "mp4" : "mkv"; }

struct ClipMuxer::Impl {
  AVFormatContext* oc = nullptr;
  AVIOContext* io = nullptr;
  int fd = -1;
  int64_t limitSamples = 0;  // the clip's length: no silence beyond it
  AVStream* video = nullptr;
  AVStream* sound = nullptr;
  bool headerWritten = false;
  bool finished = false;
  SoundFormat soundFormat = SoundFormat::MuLaw;
  // MP4: G.711 decoder, AAC encoder and the samples waiting for a full AAC frame.
  Codec soundDecoder, aac;
  std::vector<float> pending;
  int64_t queuedSamples = 0;   // samples handed to the track, silence included
  int64_t encodedSamples = 0;  // samples given to the encoder
  Packet pkt{av_packet_alloc()};
  Frame frame{av_frame_alloc()};

  ~Impl() {
    if (oc) avformat_free_context(oc);
    if (io) {
      av_freep(&io->buffer);
      avio_context_free(&io);
    }
  }

  void Write(AVPacket* p, AVStream* st, AVRational from) {
    av_packet_rescale_ts(p, from, st->time_base);
    p->stream_index = st->index;
    Check(av_interleaved_write_frame(oc, p), "writing the clip");
  }

  void OpenSound(ContainerFormat format) {
    sound = avformat_new_stream(oc, nullptr);
    if (!sound) throw std::runtime_error("out of memory");
    sound->time_base = kMs;
    AVCodecParameters* par = sound->codecpar;
    par->codec_type = AVMEDIA_TYPE_AUDIO;
    par->sample_rate = kSoundRate;
    av_channel_layout_default(&par->ch_layout, 1);
    if (format == ContainerFormat::Mkv) {
      par->codec_id = SoundCodecId(soundFormat);
      par->bits_per_coded_sample = soundFormat == SoundFormat::Pcm16 ? 16 : 8;
      par->block_align = par->bits_per_coded_sample / 8;
      return;
    }
    const AVCodec* dec = avcodec_find_decoder(SoundCodecId(soundFormat));
    soundDecoder.reset(dec ? avcodec_alloc_context3(dec) : nullptr);
    const AVCodec* enc = avcodec_find_encoder(AV_CODEC_ID_AAC);
    aac.reset(enc ? avcodec_alloc_context3(enc) : nullptr);
    if (!soundDecoder || !aac) throw std::runtime_error("no G.711 decoder or AAC encoder");
    soundDecoder->sample_rate = kSoundRate;
    av_channel_layout_default(&soundDecoder->ch_layout, 1);
    Check(avcodec_open2(soundDecoder.get(), dec, nullptr), "sound decoder");
    aac->sample_rate = kSoundRate;
    av_channel_layout_default(&aac->ch_layout, 1);
    aac->sample_fmt = AV_SAMPLE_FMT_FLTP;
    aac->bit_rate = 32000;  // plenty for 8 kHz speech and street noise
    aac->time_base = {1, kSoundRate};
    if (oc->oformat->flags & AVFMT_GLOBALHEADER) aac->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    // The fast coder keeps an hour of sound to seconds; 8 kHz speech gains nothing from the
    // default's slower search.
    av_opt_set(aac->priv_data, "aac_coder", "fast", 0);
    Check(avcodec_open2(aac.get(), enc, nullptr), "AAC encoder");
    Check(avcodec_parameters_from_context(par, aac.get()), "AAC encoder");
  }

  void DrainAac() {
    for (;;) {
      const int r = avcodec_receive_packet(aac.get(), pkt.get());
      if (r == AVERROR(EAGAIN) || r == AVERROR_EOF) return;
      Check(r, "AAC encoder");
      Write(pkt.get(), sound, aac->time_base);
    }
  }

  void EncodePending(bool all) {
    const int size = aac->frame_size > 0 ? aac->frame_size : 1024;
    size_t at = 0;
    while (pending.size() - at >= size_t(size) || (all && at < pending.size())) {
      const int n = int(std::min(pending.size() - at, size_t(size)));
      Frame f(av_frame_alloc());
      f->nb_samples = n;
      f->format = AV_SAMPLE_FMT_FLTP;
      f->sample_rate = kSoundRate;
      av_channel_layout_default(&f->ch_layout, 1);
      Check(av_frame_get_buffer(f.get(), 0), "AAC encoder");
      std::memcpy(f->data[0], pending.data() + at, size_t(n) * sizeof(float));
      f->pts = encodedSamples;
      encodedSamples += n;
      at += size_t(n);
      Check(avcodec_send_frame(aac.get(), f.get()), "AAC encoder");
      DrainAac();
    }
    pending.erase(pending.begin(), pending.begin() + std::ptrdiff_t(at));
  }
};

ClipMuxer::ClipMuxer(int fd, const std::string& name, ContainerFormat format, const ClipStreams& s)
    : m(std::make_unique<Impl>()) {
  m->soundFormat = s.sound;
  m->fd = fd;
  m->limitSamples = std::max<int64_t>(s.durationMs, 0) * kSoundRate / 1000;
  Check(avformat_alloc_output_context2(
            &m->oc, nullptr, format == ContainerFormat::Mp4 ? "mp4" : "matroska", name.c_str()),
        "container");
  m->video = avformat_new_stream(m->oc, nullptr);
  if (!m->video) throw std::runtime_error("out of memory");
  m->video->time_base = kMs;
  AVCodecParameters* par = m->video->codecpar;
  par->codec_type = AVMEDIA_TYPE_VIDEO;
  par->codec_id = VideoCodecId(s.videoCoding);
  ProbeKeyFrame(par->codec_id, s.firstKeyFrame, par);
  if (s.withSound) m->OpenSound(format);
  av_dict_set(&m->oc->metadata, "title", s.title.c_str(), 0);
  av_dict_set(&m->oc->metadata, "comment", s.comment.c_str(), 0);
  av_dict_set(&m->oc->metadata, "creation_time", s.creationTime.c_str(), 0);
  auto* buffer = static_cast<unsigned char*>(av_malloc(kIoBufferBytes));
  m->io = buffer ? avio_alloc_context(buffer, kIoBufferBytes, 1, &m->fd, nullptr, WriteToFd, SeekFd)
                 : nullptr;
  if (!m->io) {
    av_free(buffer);
    throw std::runtime_error("out of memory");
  }
  m->oc->pb = m->io;
  m->oc->flags |= AVFMT_FLAG_CUSTOM_IO;
  Check(avformat_write_header(m->oc, nullptr), "writing the clip");
  m->headerWritten = true;
}

ClipMuxer::~ClipMuxer() = default;

int ClipMuxer::Width() const { return m->video->codecpar->width; }
int ClipMuxer::Height() const { return m->video->codecpar->height; }

void ClipMuxer::WriteVideo(std::span<const uint8_t> payload, int64_t ptsMs, int64_t durationMs,
                           bool key) {
  Packet p = MakePacket(payload);
  p->pts = p->dts = ptsMs;
  p->duration = durationMs;
  if (key) p->flags |= AV_PKT_FLAG_KEY;
  m->Write(p.get(), m->video, kMs);
}

void ClipMuxer::WriteSound(std::span<const uint8_t> payload, int64_t ptsMs) {
  if (!m->sound || payload.empty()) return;
  const int64_t samples =
      m->soundFormat == SoundFormat::Pcm16 ? int64_t(payload.size() / 2) : int64_t(payload.size());
  if (!m->aac) {
    Packet p = MakePacket(payload);
    p->pts = p->dts = std::max(ptsMs, m->queuedSamples * 1000 / kSoundRate);
    p->duration = samples * 1000 / kSoundRate;
    m->queuedSamples = (p->pts + p->duration) * kSoundRate / 1000;
    m->Write(p.get(), m->sound, kMs);
    return;
  }
  // A gap in the recorder's sound stays a gap in time: the AAC track is filled with silence, a
  // second at a time so that a long gap costs no memory, and never beyond the clip's end. The
  // track starts with the picture, so the silence before the first sound frame is always put in
  // (the encoder knows no start time); later, a time stamp's jitter is not taken for a gap.
  const int64_t due = std::min(ptsMs * kSoundRate / 1000, m->limitSamples);
  const int64_t jitter = m->queuedSamples == 0 ? 0 : kSoundGapFillMs * kSoundRate / 1000;
  if (due - m->queuedSamples > jitter) {
    while (m->queuedSamples < due) {
      const int64_t n = std::min<int64_t>(due - m->queuedSamples, kSoundRate);
      m->pending.insert(m->pending.end(), size_t(n), 0.0f);
      m->queuedSamples += n;
      m->EncodePending(false);
    }
  }
  if (m->queuedSamples >= m->limitSamples) return;  // the clip is over
  Packet p = MakePacket(payload);
  Check(avcodec_send_packet(m->soundDecoder.get(), p.get()), "sound decoder");
  while (avcodec_receive_frame(m->soundDecoder.get(), m->frame.get()) >= 0) {
    const auto* s16 = reinterpret_cast<const int16_t*>(m->frame->data[0]);
    for (int i = 0; i < m->frame->nb_samples; ++i) m->pending.push_back(float(s16[i]) / 32768.0f);
    m->queuedSamples += m->frame->nb_samples;
    av_frame_unref(m->frame.get());
  }
  m->EncodePending(false);
}

double ClipMuxer::SoundSeconds() const { return double(m->queuedSamples) / kSoundRate; }

void ClipMuxer::Finish() {
  if (m->finished) return;
  if (m->aac) {
    m->EncodePending(true);
    Check(avcodec_send_frame(m->aac.get(), nullptr), "AAC encoder");
    m->DrainAac();
  }
  Check(av_interleaved_write_frame(m->oc, nullptr), "writing the clip");
  Check(av_write_trailer(m->oc), "writing the clip");
  // Flushing writes the last buffered bytes: a full disk shows here.
  avio_flush(m->io);
  Check(m->io->error, "writing the clip");
  m->finished = true;
}

}  // namespace ov::exporter
