#include "picture/PictureFilter.h"

#include <algorithm>
#include <cstdio>

extern "C" {
#include <libavfilter/avfilter.h>
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
#include <libavutil/frame.h>
#include <libavutil/pixdesc.h>
}

namespace ov {
namespace {
std::string AvError(int rc) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(rc, text, sizeof text);
  return text;
}
}  // namespace

PictureFilter::PictureFilter() : m_out(av_frame_alloc()), m_copy(av_frame_alloc()) {}

PictureFilter::~PictureFilter() {
  Reset();
  av_frame_free(&m_out);
  av_frame_free(&m_copy);
}

void PictureFilter::Reset() {
  avfilter_graph_free(&m_graph);
  m_src = m_sink = nullptr;
  m_key.clear();
}

bool PictureFilter::Deinterlaces(const AVFrame* in, Deinterlace mode) {
  return mode == Deinterlace::On || (mode == Deinterlace::Auto && in && in->interlaced_frame);
}

std::string PictureFilter::Describe(const PictureAdjust& adjust, bool deinterlace,
                                    bool withPrevious) {
  std::string chain;
  // Field order from the picture's own flags; every picture handed over is deinterlaced (the
  // caller decides which ones), one output picture per input picture. Without a picture before
  // it bwdif has no motion to go by and keeps the combing: one field is interpolated instead.
  if (deinterlace)
    chain = withPrevious ? "bwdif=mode=send_frame:parity=auto:deint=all"
                         : "separatefields,scale=w=iw:h=ih*2:flags=bicubic";
  if (!adjust.Neutral()) {
    const PictureAdjust a = adjust.Clamped();
    char eq[160];
    std::snprintf(eq, sizeof eq, "eq=brightness=%.2f:contrast=%.2f:gamma=%.2f:saturation=%.2f",
                  a.brightness / 100.0, a.contrast / 100.0, a.gamma / 100.0, a.saturation / 100.0);
    if (!chain.empty()) chain += ',';
    chain += eq;
  }
  return chain;
}

bool PictureFilter::Build(const AVFrame* in, const std::string& chain) {
  char key[64];
  std::snprintf(key, sizeof key, "|%dx%d|%d|%d:%d", in->width, in->height, in->format,
                in->sample_aspect_ratio.num, in->sample_aspect_ratio.den);
  // Deinterlacing ends its graph to get the last picture out, so it is built for each picture;
  // the adjustments alone keep theirs while the picture's format stays.
  const bool reusable = chain.rfind("eq", 0) == 0;
  if (reusable && m_graph && m_key == chain + key) return true;
  Reset();
  m_graph = avfilter_graph_alloc();
  if (!m_graph) return false;
  m_graph->nb_threads = 1;  // the channels run side by side already
  char args[160];
  std::snprintf(args, sizeof args, "video_size=%dx%d:pix_fmt=%d:time_base=1/25:pixel_aspect=%d/%d",
                in->width, in->height, in->format, std::max(0, in->sample_aspect_ratio.num),
                std::max(1, in->sample_aspect_ratio.den));
  int rc = avfilter_graph_create_filter(&m_src, avfilter_get_by_name("buffer"), "in", args, nullptr,
                                        m_graph);
  if (rc >= 0)
    rc = avfilter_graph_create_filter(&m_sink, avfilter_get_by_name("buffersink"), "out", nullptr,
                                      nullptr, m_graph);
  AVFilterInOut* outputs = avfilter_inout_alloc();
  AVFilterInOut* inputs = avfilter_inout_alloc();
  if (rc >= 0 && outputs && inputs) {
    outputs->name = av_strdup("in");
    outputs->filter_ctx = m_src;
    inputs->name = av_strdup("out");
    inputs->filter_ctx = m_sink;
    rc = avfilter_graph_parse_ptr(m_graph, chain.c_str(), &inputs, &outputs, nullptr);
  } else if (rc >= 0) {
    rc = AVERROR(ENOMEM);
  }
  avfilter_inout_free(&inputs);
  avfilter_inout_free(&outputs);
  if (rc >= 0) rc = avfilter_graph_config(m_graph, nullptr);
  if (rc < 0) {
    m_error = "cannot set up " + chain + ": " + AvError(rc);
    Reset();
    return false;
  }
  m_key = chain + key;
  return true;
}

const AVFrame* PictureFilter::Apply(const AVFrame* in, const AVFrame* prev,
                                    const PictureAdjust& adjust, Deinterlace mode) {
  m_error.clear();
  if (!in || in->width <= 0 || in->height <= 0) return in;
  const bool deinterlace = Deinterlaces(in, mode);
  // bwdif looks one picture back and one ahead, and passes the first picture of a stream
  // through as it is: the one before goes in first, and the end of the stream lets the last out.
  const bool withPrev = deinterlace && prev && prev->data[0] && prev->width == in->width &&
                        prev->height == in->height && prev->format == in->format;
  const std::string chain = Describe(adjust, deinterlace, withPrev);
  if (chain.empty()) return in;
  if (!Build(in, chain)) return in;
  int64_t& pts = m_pts;
  auto push = [&](const AVFrame* f) {
    av_frame_unref(m_copy);
    if (av_frame_ref(m_copy, f) < 0) return false;
    m_copy->pts = pts++;
    return av_buffersrc_add_frame_flags(m_src, m_copy, AV_BUFFERSRC_FLAG_KEEP_REF) >= 0;
  };
  bool ok = (!withPrev || push(prev)) && push(in);
  if (ok && deinterlace) ok = av_buffersrc_add_frame_flags(m_src, nullptr, 0) >= 0;
  av_frame_unref(m_copy);
  bool got = false;
  for (;;) {  // the last picture out is the one for in
    AVFrame* f = av_frame_alloc();
    if (!f) break;
    if (av_buffersink_get_frame(m_sink, f) < 0) {
      av_frame_free(&f);
      break;
    }
    av_frame_unref(m_out);
    av_frame_move_ref(m_out, f);
    av_frame_free(&f);
    got = true;
  }
  if (deinterlace) Reset();
  if (!ok || !got) {
    m_error = "the picture did not come through " + chain;
    Reset();
    return in;
  }
  return m_out;
}

}  // namespace ov
