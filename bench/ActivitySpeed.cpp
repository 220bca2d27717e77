// Time of the activity analysis of one file: until the first strips show (every channel has some
// seconds), until the frame sizes are all in, and until the whole analysis is done; beside it the
// time of `cat FILE > /dev/null`, the recording's length and the load average.
//
//   bench_activity_speed FILE [--playing]
#include <CLI/CLI.hpp>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

#include "activity/Activity.h"
#include "archive/BackupFile.h"

using namespace ov;
using Clock = std::chrono::steady_clock;

namespace {
double Since(Clock::time_point t0) {
  return std::chrono::duration<double>(Clock::now() - t0).count();
}
std::string LoadAverage() {
  std::ifstream in("/proc/loadavg");
  std::string a, b, c;
  in >> a >> b >> c;
  return a + " " + b + " " + c;
}
}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Time of the whole activity analysis of a file"};
  std::string path;
  bool playing = false;
  app.add_option("file", path, "Backup file")->required();
  app.add_flag("--playing", playing, "Analyse as while playback runs (yielding)");
  CLI11_PARSE(app, argc, argv);

  std::printf("load average before: %s\n", LoadAverage().c_str());
  auto t0 = Clock::now();
  const std::string cat = "cat '" + path + "' > /dev/null";
  if (std::system(cat.c_str()) != 0) return 1;
  const double catS = Since(t0);

  t0 = Clock::now();
  BackupFile file;
  if (!file.ReadBackupHeader(path).accepted) {
    std::fprintf(stderr, "%s does not open\n", path.c_str());
    return 1;
  }
  const double openS = Since(t0);
  ActivityJob job(file.SharedRecording(), file.ScanReader(), {});
  job.SetPlaying(playing);
  t0 = Clock::now();
  job.Start();
  double firstS = -1, sizesS = -1;
  ActivitySnapshot s;
  for (;;) {
    s = job.Snapshot();
    if (firstS < 0 && !s.channels.empty()) {
      bool all = true;
      for (const auto& c : s.channels) {
        bool any = false;
        for (float x : c.level) any = any || x >= 0.0f;
        all = all && any;
      }
      if (all) firstS = Since(t0);
    }
    if (sizesS < 0 && s.progress >= 0.149) sizesS = Since(t0);
    if (s.complete) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  const double allS = Since(t0);
  size_t events = 0;
  for (const auto& c : s.channels) events += c.events.size();
  std::printf("file: %.2f GiB, %zu channels, %d s recorded\n",
              double(file.ScanReader().Size()) / (1u << 30), s.channels.size(), s.seconds);
  std::printf("cat FILE > /dev/null: %.2f s\n", catS);
  std::printf("open: %.3f s; first strips: %.3f s; sizes done: %.2f s; whole analysis: %.2f s\n",
              openS, firstS, sizesS, allS);
  std::printf("whole analysis / cat: %.2f; recording seconds per second of analysis: %.0f\n",
              allS / catS, s.seconds / allS);
  std::printf("events found: %zu\n", events);
  std::printf("load average after: %s\n", LoadAverage().c_str());
  return 0;
}
