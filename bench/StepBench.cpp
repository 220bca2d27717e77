// Step back while paused: each step decodes the chain from the key frame before the picture, the
// frames before it decode-only, and waits until the pane shows it. Prints the time per step
// (median, p99, max) over a walk back through two key-frame intervals.
// Usage: bench_step [--size WxH] [--gop N]  (default 704x576, a key frame every 100 pictures: 4 s)
#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "cli/sample/SampleWriter.h"
#include "decoder/Quelmar_Ctrl_Player.h"
#include "decoder/control/DecoderControl.h"
#include "decoder/control/PaneView.h"

namespace {
using Clock = std::chrono::steady_clock;

class NullSink : public ov::ISoundSink {
 public:
  void Write(std::span<const int16_t>) override {}
  void Discard() override {}
};
}  // namespace

int main(int argc, char** argv) {
  int width = 704, height = 576, gop = 100;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--size") == 0) std::sscanf(argv[i + 1], "%dx%d", &width, &height);
    if (std::strcmp(argv[i], "--gop") == 0) gop = std::max(1, std::atoi(argv[i + 1]));
  }
  QApplication app(argc, argv);
  ov::sample::VideoParams p;
  p.width = width;
  p.height = height;
  p.gop = gop;
  std::vector<ov::sample::EncodedFrame> frames;
  ov::sample::EncodeChannelVideo(p, 0, 0, static_cast<uint32_t>(2 * gop + 1),
                                 [&](const ov::sample::EncodedFrame& f) { frames.push_back(f); });

  QWidget window;
  window.resize(width, height);
  ov::DecoderControl control(&window, nullptr, std::make_unique<NullSink>());
  ov::CQuelmar_Ctrl_Player player(&control);
  player.SetLayout(1);
  control.View()->resize(width, height);
  window.show();
  for (int i = 0; i < 20; ++i) QApplication::processEvents();

  // Every picture of the walk back, from the last one to the first: each step starts again from
  // its key frame, as the player does.
  std::vector<double> ms;
  for (int target = int(frames.size()) - 1; target >= 1; --target) {
    const int key = target / gop * gop;
    const auto t0 = Clock::now();
    for (int i = key; i <= target; ++i) {
      const auto& f = frames[size_t(i)];
      ov::FrameCall call;
      call.payload = f.payload;
      call.msec = i * 40 % 1000;
      call.type = f.key ? 1 : 0;
      call.channel = 0;
      call.show = i == target;
      call.tag = uint32_t(i + 1);
      player.SubmitFrame(call);
    }
    while (player.ShownFrame(0) != uint32_t(target + 1)) {
      if (Clock::now() - t0 > std::chrono::seconds(5)) break;
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
    QApplication::processEvents();
  }
  std::vector<double> sorted = ms;
  std::sort(sorted.begin(), sorted.end());
  auto at = [&](double q) {
    return sorted[std::min(sorted.size() - 1, size_t(q * sorted.size()))];
  };
  std::printf("step back at %dx%d, key frame every %d pictures: %zu steps\n", width, height, gop,
              ms.size());
  std::printf("first step %.1f ms, median %.1f ms, p99 %.1f ms, max %.1f ms\n", ms.front(), at(0.5),
              at(0.99), sorted.back());
  return 0;
}
