// The activity analysis against known truth: recordings of still scenes with sensor noise and a box
// crossing at random times, made with ffmpeg's command line (lavfi sources frozen with loop, noise,
// overlay, libx264 or mpeg4) and packed into backup files; then recall and precision per noise
// level and coding under the matching rules (a true event is found when a reported one overlaps
// it widened by 1 s; a reported event is true when it overlaps a true one widened by 2 s).
//
//   bench_activity_eval [--minutes 6] [--noise 4,8,14] [--coding 2,1] [--work DIR]
//
// Each recording has four cameras that differ the way real ones do: colour bars at a middling
// rate, a detailed scene at a high rate, bars under slowly changing light, and a detailed scene
// whose encoder inserts extra key frames.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "activity/Activity.h"
#include "archive/BackupFile.h"
#include "archive/YskFormat.h"
#include "cli/sample/VideoEncoder.h"

extern "C" {
#include <libavformat/avformat.h>
}

namespace fs = std::filesystem;
using namespace ov;

namespace {

constexpr int kCameras = 4;
constexpr int kFps = 25;
constexpr int32_t kStart = 1709294400;  // 2024-03-01 12:00:00

struct Crossing {
  double from = 0, to = 0;
};

struct Frame {
  std::vector<uint8_t> payload;
  bool key = false;
};

std::vector<Crossing> Crossings(std::mt19937& rng, double seconds) {
  std::uniform_real_distribution<double> gap(15, 45), length(2, 20);
  std::vector<Crossing> list;
  for (double t = 10 + gap(rng) / 2;;) {
    const double len = length(rng);
    if (t + len > seconds - 10) break;
    list.push_back({std::round(t * 10) / 10, std::round((t + len) * 10) / 10});
    t += len + gap(rng);
  }
  return list;
}

std::string Num(double x) {
  char b[32];
  std::snprintf(b, sizeof b, "%.2f", x);
  return b;
}

// ffmpeg's command line for one camera: a frozen picture, noise, the box at the crossings.
std::string FfmpegCommand(int camera, int coding, int noise, double seconds,
                          const std::string& size, const std::vector<Crossing>& crossings,
                          const std::string& out) {
  const bool bars = camera % 2 == 0;
  const std::string src = (bars ? "smptebars" : "mandelbrot") + std::string("=size=") + size +
                          ":rate=" + std::to_string(kFps);
  std::string x = "0", enable = "0";
  for (auto it = crossings.rbegin(); it != crossings.rend(); ++it) {
    const std::string in = "between(t," + Num(it->from) + "," + Num(it->to) + ")";
    x = "if(" + in + ",mod((t-" + Num(it->from) + ")*60,W)," + x + ")";
    enable += "+" + in;
  }
  std::string bg =
      "[0:v]trim=end_frame=1,loop=loop=-1:size=1,setpts=N/" + std::to_string(kFps) + "/TB";
  if (camera == 2) bg += ",eq=brightness='0.08*sin(2*PI*t/90)':eval=frame";  // slow light change
  bg += ",noise=alls=" + std::to_string(noise) + ":allf=t[bg]";
  const std::string box = std::string("color=c=") + (bars ? "black" : "white") +
                          ":size=48x64:rate=" + std::to_string(kFps);
  const std::string graph =
      bg + ";[bg][1:v]overlay=x='" + x + "':y=H/2-32:enable='" + enable + "'[v]";
  std::string cmd = "ffmpeg -v error -y -f lavfi -i " + src + " -f lavfi -i " + box +
                    " -filter_complex \"" + graph + "\" -map '[v]' -t " + Num(seconds) + " ";
  const bool extraKeys = camera == 3;
  if (extraKeys) cmd += "-force_key_frames 'expr:gte(t,n_forced*3.7)' ";
  if (coding == 2) {
    cmd += "-c:v libx264 -preset ultrafast -tune zerolatency -crf " +
           std::string(camera == 1 ? "18" : "26") + (extraKeys ? " -forced-idr 1" : "") +
           " -x264-params keyint=25:min-keyint=25:scenecut=0:repeat-headers=1:bframes=0 -f h264 ";
  } else {
    cmd += "-c:v mpeg4 -g 25 -bf 0 -qscale:v " + std::string(camera == 1 ? "3" : "6") +
           " -flags +global_header -bsf:v dump_extra=freq=keyframe -f m4v ";
  }
  return cmd + "'" + out + "'";
}

std::vector<Frame> ReadStream(const std::string& path, int coding) {
  AVFormatContext* fmt = nullptr;
  if (avformat_open_input(&fmt, path.c_str(), nullptr, nullptr) < 0)
    throw std::runtime_error("cannot read " + path);
  std::vector<Frame> frames;
  AVPacket* pkt = av_packet_alloc();
  while (av_read_frame(fmt, pkt) >= 0) {
    Frame f;
    f.key = (pkt->flags & AV_PKT_FLAG_KEY) != 0;
    f.payload.assign(pkt->data, pkt->data + pkt->size);
    if (coding == 2) f.payload = sample::NormalizeH264AccessUnit(f.payload);
    // The recorder marks a key frame only where it starts with its headers.
    if (f.key && !IsKeyFrameStartCode(uint8_t(coding), f.payload)) f.key = false;
    frames.push_back(std::move(f));
    av_packet_unref(pkt);
  }
  av_packet_free(&pkt);
  avformat_close_input(&fmt);
  return frames;
}

void Pack(const std::vector<std::vector<Frame>>& cameras, int coding, const std::string& path) {
  std::vector<uint8_t> out(kDataStartKind0, 0);
  YskHeader h;
  h.kind = 0;
  h.channelCount = uint8_t(cameras.size());
  h.videoCoding = uint8_t(coding);
  for (size_t c = 0; c < cameras.size(); ++c) {
    auto& rec = h.video[c];
    rec.name = "Camera " + std::to_string(c + 1);
    rec.channelNo = uint8_t(c);
    rec.startOffset = uint32_t(out.size() - kDataStartKind0);
    uint32_t prev = 0;
    for (size_t k = 0; k < cameras[c].size(); ++k) {
      const Frame& f = cameras[c][k];
      const int64_t ms = int64_t(k) * 1000 / kFps;
      YskFrameHeader fh{int32_t(kStart + ms / 1000), uint32_t(1000 + ms),
                        uint32_t(f.payload.size()), prev, f.key ? 1u : 0u};
      std::array<uint8_t, kYskFrameHeaderSize> raw{};
      EncodeFrameHeader(fh, raw);
      out.insert(out.end(), raw.begin(), raw.end());
      out.insert(out.end(), f.payload.begin(), f.payload.end());
      prev = fh.f_size;
    }
    rec.endOffset = uint32_t(out.size() - kDataStartKind0);
    h.videoMask |= 1u << c;
  }
  std::array<uint8_t, kYskHeaderSize> raw{};
  EncodeHeader(h, raw);
  std::copy(raw.begin(), raw.end(), out.begin());
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(out.data()), std::streamsize(out.size()));
}

struct Score {
  int truth = 0, found = 0, reported = 0, correct = 0;
  void Add(const Score& o) {
    truth += o.truth, found += o.found, reported += o.reported, correct += o.correct;
  }
  double Recall() const { return truth ? double(found) / truth : 1.0; }
  double Precision() const { return reported ? double(correct) / reported : 1.0; }
};

bool Overlap(int a0, int a1, int b0, int b1) { return a0 <= b1 && b0 <= a1; }

Score Match(const std::vector<Crossing>& truth, const std::vector<ActivityEvent>& events) {
  Score s;
  s.truth = int(truth.size());
  s.reported = int(events.size());
  auto from = [](const Crossing& c) { return int(std::floor(c.from)); };
  auto to = [](const Crossing& c) { return int(std::ceil(c.to)) - 1; };
  for (const auto& t : truth)
    for (const auto& e : events)
      if (Overlap(e.fromSecond, e.toSecond, from(t) - 1, to(t) + 1)) {
        ++s.found;
        break;
      }
  for (const auto& e : events)
    for (const auto& t : truth)
      if (Overlap(e.fromSecond, e.toSecond, from(t) - 2, to(t) + 2)) {
        ++s.correct;
        break;
      }
  return s;
}

std::vector<int> ParseList(const std::string& text) {
  std::vector<int> v;
  size_t at = 0;
  while (at < text.size()) {
    size_t used = 0;
    v.push_back(std::stoi(text.substr(at), &used));
    at += used + 1;
  }
  return v;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Recall and precision of the activity analysis on made recordings"};
  double minutes = 6;
  std::string noiseList = "4,8,14", codingList = "2,1", work = "build/bench/activity-eval",
              size = "352x288";
  bool verbose = false;
  app.add_option("--minutes", minutes, "Length of each recording")->capture_default_str();
  app.add_option("--noise", noiseList, "Noise strengths (ffmpeg noise alls)")
      ->capture_default_str();
  app.add_option("--coding", codingList, "2 = H.264, 1 = MPEG-4 Part 2")->capture_default_str();
  app.add_option("--size", size, "Picture size")->capture_default_str();
  app.add_option("--work", work, "Folder for the recordings")->capture_default_str();
  app.add_flag("--verbose", verbose, "Every camera's truth and events");
  CLI11_PARSE(app, argc, argv);
  fs::create_directories(work);
  const double seconds = minutes * 60;
  std::printf("| coding | noise | true events | found | recall | reported | true | precision |\n");
  std::printf("|---|---|---|---|---|---|---|---|\n");
  Score all;
  for (int coding : ParseList(codingList))
    for (int noise : ParseList(noiseList)) {
      std::mt19937 rng(unsigned(noise * 10 + coding));
      std::vector<std::vector<Crossing>> truth;
      std::vector<std::vector<Frame>> cameras;
      for (int c = 0; c < kCameras; ++c) {
        truth.push_back(Crossings(rng, seconds));
        const std::string stream =
            work + "/cam" + std::to_string(c) + (coding == 2 ? ".h264" : ".m4v");
        const std::string cmd =
            FfmpegCommand(c, coding, noise, seconds, size, truth.back(), stream);
        if (std::system(cmd.c_str()) != 0) {
          std::fprintf(stderr, "failed: %s\n", cmd.c_str());
          return 1;
        }
        cameras.push_back(ReadStream(stream, coding));
      }
      const std::string rec =
          work + "/eval-" + std::to_string(coding) + "-" + std::to_string(noise) + ".ysk";
      Pack(cameras, coding, rec);
      BackupFile file;
      if (!file.ReadBackupHeader(rec).accepted) {
        std::fprintf(stderr, "the packed recording does not open: %s\n", rec.c_str());
        return 1;
      }
      ActivityJob job(file.SharedRecording(), file.ScanReader(), {});
      job.Start();
      job.Wait();
      const ActivitySnapshot snap = job.Snapshot();
      Score score;
      for (int c = 0; c < kCameras && c < int(snap.channels.size()); ++c) {
        const Score one = Match(truth[size_t(c)], snap.channels[size_t(c)].events);
        score.Add(one);
        if (verbose) {
          std::fprintf(stderr,
                       "coding %d noise %d camera %d: recall %d/%d precision %d/%d\n  truth:",
                       coding, noise, c + 1, one.found, one.truth, one.correct, one.reported);
          for (const auto& t : truth[size_t(c)]) std::fprintf(stderr, " %.1f-%.1f", t.from, t.to);
          std::fprintf(stderr, "\n  found:");
          for (const auto& e : snap.channels[size_t(c)].events)
            std::fprintf(stderr, " %d-%d(%.2f)", e.fromSecond, e.toSecond, double(e.peak));
          std::fprintf(stderr, "\n");
        }
      }
      all.Add(score);
      std::printf("| %s | %d | %d | %d | %.1f %% | %d | %d | %.1f %% |\n",
                  coding == 2 ? "H.264" : "MPEG-4", noise, score.truth, score.found,
                  100 * score.Recall(), score.reported, score.correct, 100 * score.Precision());
      std::fflush(stdout);
    }
  std::printf("| all | | %d | %d | %.1f %% | %d | %d | %.1f %% |\n", all.truth, all.found,
              100 * all.Recall(), all.reported, all.correct, 100 * all.Precision());
  return 0;
}
