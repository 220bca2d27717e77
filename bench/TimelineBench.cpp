// bench_timeline: the activity timeline's two costs a person feels.
//
//   bench_timeline preview FILE [COUNT]
//     previews of COUNT points spread over every video channel and the whole recording, each
//     asked for alone and waited for (nothing cached), then the same points again (cached).
//     Prints the milliseconds from the ask to the picture: median, 90th percentile, maximum.
//   bench_timeline paint [SECONDS]
//     paints the timeline of 16 channels over SECONDS seconds (86400: a day) at the window's
//     size, whole and zoomed in, with the offscreen platform. Prints milliseconds per paint.
#include <QApplication>
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <random>
#include <string>
#include <vector>

#include "archive/BackupFile.h"
#include "ui/ActivityTimeline.h"
#include "ui/PreviewWorker.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

void Report(const char* what, std::vector<double> ms) {
  if (ms.empty()) return;
  std::sort(ms.begin(), ms.end());
  std::printf("%-28s n %zu  median %.1f ms  p90 %.1f ms  max %.1f ms\n", what, ms.size(),
              ms[ms.size() / 2], ms[ms.size() * 9 / 10], ms.back());
}

int Preview(const std::string& path, int count) {
  ov::BackupFile file;
  const ov::OpenOutcome out = file.ReadBackupHeader(path);
  if (!out.accepted) {
    std::fprintf(stderr, "%s: %s\n", path.c_str(), out.message.c_str());
    return 1;
  }
  const ov::OpenRecording& rec = file.Recording();
  std::vector<int> videoSlots;
  for (int n = 0; n < ov::kSlots; ++n)
    if (rec.m_HasVideo[size_t(n)]) videoSlots.push_back(n);
  const int32_t total = rec.m_Index.m_TotalSeconds;
  if (videoSlots.empty() || total <= 0) return 1;
  std::mutex lock;
  std::condition_variable cv;
  int ready = 0, pictures = 0;
  ov::PreviewWorker worker(file.SharedRecording(), file.ScanReader(),
                           rec.m_Index.m_StartInfo[0].f_time,
                           [&](int, int32_t, ov::PreviewWorker::Picture p) {
                             std::lock_guard<std::mutex> g(lock);
                             ++ready;
                             pictures += p != nullptr;
                             cv.notify_all();
                           });
  std::mt19937 rng(1);
  std::vector<std::pair<int, int32_t>> points;
  for (int i = 0; i < count; ++i)
    points.emplace_back(videoSlots[size_t(i) % videoSlots.size()],
                        std::uniform_int_distribution<int32_t>(0, total)(rng));
  for (const char* round : {"preview, first ask", "preview, asked again"}) {
    std::vector<double> ms;
    for (const auto& [slot, second] : points) {
      const auto t0 = Clock::now();
      if (worker.Cached(slot, second)) {
        ms.push_back(Ms(Clock::now() - t0));
        continue;
      }
      std::unique_lock<std::mutex> g(lock);
      const int before = ready;
      g.unlock();
      worker.Request(slot, second);
      g.lock();
      cv.wait(g, [&] { return ready > before; });
      ms.push_back(Ms(Clock::now() - t0));
    }
    Report(round, ms);
  }
  std::printf("pictures %d of %d asks; %zu channels, %d s\n", pictures, ready, videoSlots.size(),
              total);
  return 0;
}

int Paint(int argc, char** argv, int32_t seconds) {
  QApplication app(argc, argv);
  auto snap = std::make_shared<ov::ActivitySnapshot>();
  snap->seconds = seconds;
  snap->complete = true;
  std::mt19937 rng(2);
  std::uniform_real_distribution<float> level(0.0f, 0.3f);
  std::vector<int32_t> shown;
  for (int n = 0; n < 16; ++n) {
    ov::ChannelActivity ch;
    ch.slot = n;
    ch.level.resize(size_t(seconds));
    for (float& x : ch.level) x = level(rng);
    for (int32_t s = 600; s + 20 < seconds; s += 1800) ch.events.push_back({s, s + 20, 0.9f});
    snap->channels.push_back(std::move(ch));
    shown.push_back(n);
  }
  ov::CActivityTimeline t(nullptr);
  t.resize(712, ov::CActivityTimeline::kBandHeight - 1);
  t.SetRecording(seconds, 1700000000);
  t.SetSnapshot(snap);
  t.SetChannels(shown, 0);
  t.SetPlayhead(seconds / 3);
  QImage target(t.size(), QImage::Format_RGB32);
  for (const char* what : {"paint, whole recording", "paint, three minutes"}) {
    std::vector<double> ms;
    for (int i = 0; i < 50; ++i) {
      const auto t0 = Clock::now();
      t.render(&target);
      ms.push_back(Ms(Clock::now() - t0));
    }
    Report(what, ms);
    t.View().ZoomAt(300, 0.0);  // as deep as it goes
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "preview" && argc >= 3) return Preview(argv[2], argc > 3 ? std::atoi(argv[3]) : 100);
  if (mode == "paint") {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    return Paint(argc, argv, argc > 2 ? std::atoi(argv[2]) : 86400);
  }
  std::fprintf(stderr, "usage: bench_timeline preview FILE [COUNT] | paint [SECONDS]\n");
  return 2;
}
