// Decoder control figures: frames decoded per second against plain libavcodec on the same
// payloads, CPU and latency at 1X in the 16-pane view, and pictures per pane at 32X and in
// reverse; with --zoom, the 16-pane view at 1X zoomed against unzoomed, side by side. Runs
// offscreen; prints one table. Usage: bench_decoder [--quick] [--throughput] [--zoom]
// OV_NOSHOW=1 keeps the view hidden, to tell the cost of painting from the rest.
#include <pthread.h>
#include <sys/resource.h>

#include <QApplication>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>
#include <vector>

#include "cli/sample/SampleWriter.h"
#include "decoder/Quelmar_Ctrl_Player.h"
#include "decoder/control/DecoderControl.h"
#include "decoder/control/PaneLayout.h"
#include "decoder/control/PaneView.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libswscale/swscale.h>
}

namespace {

using Clock = std::chrono::steady_clock;
using Frames = std::vector<ov::sample::EncodedFrame>;

class NullSink : public ov::ISoundSink {
 public:
  void Write(std::span<const int16_t>) override {}
  void Discard() override {}
};

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

double CpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

void Pump(Clock::duration d) {
  const auto end = Clock::now() + d;
  while (Clock::now() < end) {
    QApplication::processEvents(QEventLoop::AllEvents, 2);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

std::vector<Frames> Encode(int width, int height, int channels, int count) {
  std::vector<Frames> clips(static_cast<size_t>(channels));
  for (int ch = 0; ch < channels; ++ch) {
    ov::sample::VideoParams p;
    p.width = width;
    p.height = height;
    ov::sample::EncodeChannelVideo(
        p, ch, 0, static_cast<uint32_t>(count),
        [&](const ov::sample::EncodedFrame& f) { clips[ch].push_back(f); });
  }
  return clips;
}

double MbitPerSecond(const Frames& f) {
  size_t bytes = 0;
  for (const auto& x : f) bytes += x.payload.size();
  return bytes * 8.0 / (f.size() / 25.0) / 1e6;
}

// Plain libavcodec: one context and one thread per channel, as the control runs them; with
// scale set, also libswscale to the pane's size (the control's full work, minus the queue).
struct Rate {
  double fps = 0;
  double cpuUsPerFrame = 0;
};

Rate PlainFps(const std::vector<Frames>& clips, int reps, QSize scaleTo) {
  std::vector<std::thread> threads;
  const double cpu0 = CpuSeconds();
  const auto t0 = Clock::now();
  for (const Frames& clip : clips) {
    threads.emplace_back([&clip, reps, scaleTo] {
      pthread_setname_np(pthread_self(), "plain-decode");  // told apart in a profile
      const AVCodec* codec = avcodec_find_decoder(AV_CODEC_ID_H264);
      AVCodecContext* ctx = avcodec_alloc_context3(codec);
      ctx->thread_count = 1;
      avcodec_open2(ctx, codec, nullptr);
      AVPacket* pkt = av_packet_alloc();
      AVFrame* frame = av_frame_alloc();
      SwsContext* sws = nullptr;
      std::vector<uint8_t> out(size_t(std::max(1, scaleTo.width() * scaleTo.height() * 4)));
      std::vector<uint8_t> padded;
      for (int r = 0; r < reps; ++r) {
        for (const auto& f : clip) {
          padded.assign(f.payload.begin(), f.payload.end());
          padded.resize(f.payload.size() + AV_INPUT_BUFFER_PADDING_SIZE);
          pkt->data = padded.data();
          pkt->size = int(f.payload.size());
          avcodec_send_packet(ctx, pkt);
          while (avcodec_receive_frame(ctx, frame) == 0) {
            if (!scaleTo.isEmpty()) {
              sws = sws_getCachedContext(
                  sws, frame->width, frame->height, AVPixelFormat(frame->format), scaleTo.width(),
                  scaleTo.height(), AV_PIX_FMT_RGB32, SWS_FAST_BILINEAR, nullptr, nullptr, nullptr);
              uint8_t* dst[4] = {out.data()};
              int stride[4] = {scaleTo.width() * 4};
              sws_scale(sws, frame->data, frame->linesize, 0, frame->height, dst, stride);
            }
            av_frame_unref(frame);
          }
        }
      }
      sws_freeContext(sws);
      av_frame_free(&frame);
      av_packet_free(&pkt);
      avcodec_free_context(&ctx);
    });
  }
  for (auto& t : threads) t.join();
  size_t total = 0;
  for (const Frames& c : clips) total += c.size() * size_t(reps);
  return {double(total) / Seconds(Clock::now() - t0), (CpuSeconds() - cpu0) * 1e6 / double(total)};
}

struct Run {
  double fps = 0;
  double cpuUsPerFrame = 0;
  double cpuPerVideoSecond = 0;
  uint64_t submitted = 0, decoded = 0, dropped = 0;
  double p50 = 0, p99 = 0, maxLatency = 0;
  double minPicturesPerSecond = 0;
  long maxRssMiB = 0;
};

// The decoder control's view size: 704x576 as the window shows it, or OV_VIEW=WxH (full screen).
QSize ViewSize() {
  int w = 0, h = 0;
  const char* v = getenv("OV_VIEW");
  if (v && std::sscanf(v, "%dx%d", &w, &h) == 2 && w >= 64 && h >= 64 && w <= 8192 && h <= 8192)
    return QSize(w, h);
  return QSize(704, 576);
}

struct Control {
  explicit Control(int panes)
      : control(nullptr, nullptr, std::make_unique<NullSink>()), player(&control) {
    control.View()->resize(ViewSize());
    if (!getenv("OV_NOSHOW")) control.View()->show();
    player.SetLayout(panes);
    Pump(std::chrono::milliseconds(50));
  }
  ov::DecoderControl control;
  ov::CQuelmar_Ctrl_Player player;
};

void Submit(ov::CQuelmar_Ctrl_Player& p, int ch, const ov::sample::EncodedFrame& f) {
  ov::FrameCall call;
  call.payload = f.payload;
  call.type = f.key ? 1 : 0;
  call.channel = ch;
  p.SubmitFrame(call);
}

// As fast as the decoders take them: a frame goes in whenever its channel's queue has room.
Run ControlThroughput(const std::vector<Frames>& clips, int reps, int panes) {
  Control c(panes);
  const int n = int(clips.size());
  std::atomic<bool> fed{false};
  const double cpu0 = CpuSeconds();
  const auto t0 = Clock::now();
  std::thread feeder([&] {
    pthread_setname_np(pthread_self(), "feeder");
    for (int r = 0; r < reps; ++r)
      for (size_t i = 0; i < clips[0].size(); ++i)
        for (int ch = 0; ch < n; ++ch) {
          // 20 queued frames last well over 2 ms, so the decoders never run dry.
          while (c.control.QueuedFrames(ch) >= 20)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
          Submit(c.player, ch, clips[ch][i]);
        }
    fed = true;
  });
  const uint64_t expected = uint64_t(reps) * clips[0].size() * clips.size();
  while (!fed || c.control.Stats().decoded < expected) {
    QApplication::processEvents(QEventLoop::AllEvents, 2);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    if (Seconds(Clock::now() - t0) > 120) break;
  }
  feeder.join();
  Run r;
  const auto s = c.control.Stats();
  r.fps = double(s.decoded) / Seconds(Clock::now() - t0);
  r.cpuUsPerFrame = (CpuSeconds() - cpu0) * 1e6 / double(std::max<uint64_t>(1, s.decoded));
  r.decoded = s.decoded;
  r.dropped = s.queueDropped + s.keyWaitDropped;
  return r;
}

double Percentile(std::vector<double> v, double q) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[std::min(v.size() - 1, size_t(q * double(v.size())))];
}

// Paced like the playback loop: round i of all channels at i x 40 ms / speed. keyOnly: reverse
// play, which hands over key frames only.
Run Paced(const std::vector<Frames>& clips, double speed, double seconds, bool keyOnly,
          bool aligned = false, int zoomSteps = 0) {
  Control c(16);
  for (int ch = 0; ch < 16 && zoomSteps != 0; ++ch) c.player.ZoomPane(ch, zoomSteps);
  const int n = int(clips.size());
  std::vector<size_t> order;
  for (size_t i = 0; i < clips[0].size(); ++i)
    if (!keyOnly || clips[0][i].key) order.push_back(i);
  const double stepMs = (keyOnly ? 1000.0 : 40.0) / speed;  // key frames are a second apart
  std::atomic<bool> fed{false};
  std::vector<uint64_t> painted0(16);
  for (int ch = 0; ch < 16; ++ch) painted0[ch] = c.control.View()->PaintedPictures(ch);
  c.control.View()->TakeLatencies();
  const double cpu0 = CpuSeconds();
  const auto t0 = Clock::now();
  std::thread feeder([&] {
    // Cameras do not run in step: channel ch's frames come ch / n of a frame interval after
    // channel 0's (with aligned set, all at once: the worst case for the latency).
    for (size_t e = 0;; ++e) {
      const size_t round = e / size_t(n);
      const int ch = int(e % size_t(n));
      const double atMs = aligned ? double(round) * stepMs : double(e) * stepMs / n;
      const auto due = t0 + std::chrono::microseconds(int64_t(atMs * 1000));
      if (Seconds(due - t0) >= seconds) break;
      std::this_thread::sleep_until(due);
      Submit(c.player, ch, clips[ch][order[round % order.size()]]);
    }
    fed = true;
  });
  while (!fed) Pump(std::chrono::milliseconds(5));
  feeder.join();
  const double elapsed = Seconds(Clock::now() - t0);
  Pump(std::chrono::milliseconds(200));  // let the last pictures reach the screen
  Run r;
  r.cpuPerVideoSecond = (CpuSeconds() - cpu0) / (elapsed * speed);
  const auto s = c.control.Stats();
  r.submitted = s.submitted;
  r.decoded = s.decoded;
  r.dropped = s.queueDropped + s.keyWaitDropped;
  const auto lat = c.control.View()->TakeLatencies();
  r.p50 = Percentile(lat, 0.50);
  r.p99 = Percentile(lat, 0.99);
  r.maxLatency = lat.empty() ? 0 : *std::max_element(lat.begin(), lat.end());
  r.minPicturesPerSecond = 1e9;
  for (int ch = 0; ch < n; ++ch)
    r.minPicturesPerSecond =
        std::min(r.minPicturesPerSecond,
                 double(c.control.View()->PaintedPictures(ch) - painted0[ch]) / elapsed);
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  r.maxRssMiB = u.ru_maxrss / 1024;
  return r;
}

std::vector<Frames> Take(const std::vector<Frames>& all, int n) {
  return std::vector<Frames>(all.begin(), all.begin() + n);
}

struct Options {
  bool quick = false;
  bool throughputOnly = false;
  bool zoomOnly = false;
};

// Reads the arguments; false (with the exit status) when the program should stop here.
bool ParseOptions(int argc, char** argv, Options& o, int& status) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::printf(
          "usage: bench_decoder [--quick] [--throughput]\n"
          "Decoder control against plain libavcodec (one context and thread per stream) on the\n"
          "same H.264 payloads, 352x288 and 704x576, 1, 4 and 16 channels; then CPU, latency and\n"
          "pictures per pane at 1X, 1X with aligned key frames, 32X and reverse 32X.\n"
          "  --quick       one repetition and 3 s paced runs instead of 3 and 10 s\n"
          "  --throughput  only the decoding-rate table\n"
          "  --zoom        only the 16-pane view at 1X with every pane zoomed 4 and 12 steps\n"
          "                against unzoomed, in turns, best of three each\n"
          "  OV_NOSHOW=1   keeps the view hidden (the cost of painting left out)\n"
          "  OV_VIEW=WxH   the view's size (default 704x576; 1920x1080 for full screen)\n");
      status = 0;
      return false;
    }
    if (std::strcmp(argv[i], "--quick") == 0) {
      o.quick = true;
    } else if (std::strcmp(argv[i], "--throughput") == 0) {
      o.throughputOnly = true;
    } else if (std::strcmp(argv[i], "--zoom") == 0) {
      o.zoomOnly = true;
    } else {
      std::fprintf(stderr, "bench_decoder: unknown argument %s (see --help)\n", argv[i]);
      status = 2;
      return false;
    }
  }
  return true;
}

// One row of the decoding-rate table: n channels, plain decode against the control.
void ThroughputRow(const std::vector<Frames>& clips, QSize size, int n, int reps) {
  const QSize pane = ov::pane::FitSize(ov::pane::ContentRect(ViewSize(), n, 0).size(),
                                       double(size.width()) / size.height());
  // Best of three, interleaved: the machine is shared, and the best run is the one least
  // disturbed by others.
  Rate plain, scaled;
  Run c;
  c.cpuUsPerFrame = 1e30;
  scaled.cpuUsPerFrame = 1e30;
  for (int t = 0; t < 3; ++t) {
    const Rate p = PlainFps(Take(clips, n), reps, {});
    plain.fps = std::max(plain.fps, p.fps);
    const Rate s = PlainFps(Take(clips, n), reps, pane);
    scaled.fps = std::max(scaled.fps, s.fps);
    scaled.cpuUsPerFrame = std::min(scaled.cpuUsPerFrame, s.cpuUsPerFrame);
    const Run ct = ControlThroughput(Take(clips, n), reps, n);
    c.fps = std::max(c.fps, ct.fps);
    c.cpuUsPerFrame = std::min(c.cpuUsPerFrame, ct.cpuUsPerFrame);
    c.dropped += ct.dropped;
  }
  std::printf("%-9d %10.0f %12.0f %10.0f %8.1f%% | %12.0f %12.0f %8.1f%% %8llu\n", n, plain.fps,
              scaled.fps, c.fps, (scaled.fps / c.fps - 1) * 100, scaled.cpuUsPerFrame,
              c.cpuUsPerFrame, (c.cpuUsPerFrame / scaled.cpuUsPerFrame - 1) * 100,
              (unsigned long long)c.dropped);
}

// The paced runs of the 16-pane view at 1X, 1X with aligned key frames, 32X and reverse 32X.
void PacedTable(const std::vector<Frames>& clips, double pacedSeconds) {
  std::printf("%-22s %9s %9s %9s %9s %9s %9s %10s %8s\n", "16-pane view", "cpu/s", "submitted",
              "decoded", "dropped", "p50 ms", "p99 ms", "min pic/s", "RSS MiB");
  struct Mode {
    const char* name;
    double speed;
    bool reverse;
    bool aligned;
  };
  for (const Mode m : {Mode{"1X", 1, false, false}, Mode{"1X key frames aligned", 1, false, true},
                       Mode{"32X", 32, false, false}, Mode{"reverse 32X", 32, true, false}}) {
    const Run r = Paced(clips, m.speed, pacedSeconds, m.reverse, m.aligned);
    std::printf("%-22s %9.3f %9llu %9llu %9llu %9.1f %9.1f %10.1f %8ld\n", m.name,
                r.cpuPerVideoSecond, (unsigned long long)r.submitted, (unsigned long long)r.decoded,
                (unsigned long long)r.dropped, r.p50, r.p99, r.minPicturesPerSecond, r.maxRssMiB);
  }
}

// The cost of zoom: the 16-pane view at 1X with every pane zoomed (the visible region cut out
// of the decoded picture and scaled to the pane) against the whole pictures. Runs in turns, best
// of three of each, so a neighbour's load falls on both alike.
void ZoomTable(const std::vector<Frames>& clips, double pacedSeconds) {
  std::printf("%-22s %9s %9s %9s %10s %9s\n", "16-pane view at 1X", "cpu/s", "vs whole", "decoded",
              "min pic/s", "p99 ms");
  const int steps[] = {0, 4, 12};  // whole, 2.4x, 14.6x
  Run best[3];
  for (Run& b : best) b.cpuPerVideoSecond = 1e30;
  for (int round = 0; round < 3; ++round)
    for (int i = 0; i < 3; ++i) {
      const Run r = Paced(clips, 1, pacedSeconds, false, false, steps[i]);
      if (r.cpuPerVideoSecond < best[i].cpuPerVideoSecond) best[i] = r;
    }
  for (int i = 0; i < 3; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, i == 0 ? "whole" : "zoomed %d steps", steps[i]);
    std::printf("%-22s %9.3f %8.1f%% %9llu %10.1f %9.1f\n", name, best[i].cpuPerVideoSecond,
                (best[i].cpuPerVideoSecond / best[0].cpuPerVideoSecond - 1) * 100,
                (unsigned long long)best[i].decoded, best[i].minPicturesPerSecond, best[i].p99);
  }
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  int status = 0;
  if (!ParseOptions(argc, argv, o, status)) return status;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const int frames = 100, reps = o.quick ? 1 : 3;
  const double pacedSeconds = o.quick ? 3 : 10;
  std::setvbuf(stdout, nullptr, _IOLBF, 0);  // progress shows even when piped to a file
  std::printf("cores: %u\n", std::thread::hardware_concurrency());
  for (QSize size : {QSize(352, 288), QSize(704, 576)}) {
    const auto clips = Encode(size.width(), size.height(), 16, frames);
    std::printf("\n== %dx%d H.264, %d frames a channel, %.2f Mb/s a channel at 25 fps ==\n",
                size.width(), size.height(), frames, MbitPerSecond(clips[0]));
    if (o.zoomOnly) {
      ZoomTable(clips, pacedSeconds);
      continue;
    }
    std::printf("%-9s %10s %12s %10s %9s | %12s %12s %9s %8s\n", "channels", "plain fps",
                "plain+scale", "control", "wall ovh", "plain+sc us", "control us", "cpu ovh",
                "dropped");
    for (int n : {1, 4, 16}) ThroughputRow(clips, size, n, reps);
    if (!o.throughputOnly) PacedTable(clips, pacedSeconds);
  }
  return 0;
}
