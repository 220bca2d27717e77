// Benchmarks of the playback engine on the real clock with the recording decoder:
//   pacing   lateness of every frame against its due time at a chosen speed (in-memory recording
//            of N channels whose frames are spread in time), and the drift at the end;
//   idle     CPU time and wake-ups of the whole process while the player stands stopped;
//   search   time from the start of a seek to m_SeekDone for random targets in a file.
#include <sys/resource.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "playback/PlaybackEngine.h"
#include "playback/SteadyClock.h"
#include "playback/trace/EventLog.h"
#include "playback/trace/RecordingDecoder.h"
#include "playback/trace/RecordingView.h"
#include "tests/playback/Fixture.h"

namespace {
using namespace ov;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

struct Rig {
  SteadyClock clock;
  EventLog log{clock};
  RecordingDecoder decoder{log};
  RecordingView view{log};
  CQuelmar_Ctrl_Player wrapper{&decoder};
  BackupFile file;
  PlaybackEngine engine{file, view, wrapper, clock};
};

double Percentile(std::vector<double> v, double p) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[size_t(std::min<double>(double(v.size() - 1), p * double(v.size() - 1) + 0.5))];
}

int FFPressesFor(int speed) {
  switch (speed) {
    case 2:
      return 1;
    case 4:
      return 2;
    case 8:
      return 3;
    case 16:
      return 4;
    case 32:
      return 5;
    default:
      return 0;
  }
}

int Pacing(int channels, int speed, int seconds) {
  test::Fixture fx(channels);
  const int fps = 25, frames = seconds * speed * fps + fps;
  for (int n = 0; n < channels; ++n) {
    // Channel n runs n x (40 / channels) ms behind channel 0: the frames of all channels are
    // spread evenly over each 40 ms frame interval.
    auto v = test::Fixture::Regular(frames, uint32_t(n * 40 / channels), 40, fps, 256);
    for (auto& f : v) f.time = test::kT0 + int32_t(f.msec / 1000);
    v.back().type = 1;
    fx.Video(n, v);
  }
  auto bytes = fx.Build();
  Rig rig;
  if (!rig.engine
           .OpenSources("bench.ysk", bytes->size(), test::Fixture::Source(bytes),
                        test::Fixture::Source(bytes))
           .accepted) {
    std::fprintf(stderr, "bench: recording not accepted\n");
    return 1;
  }
  // The first frame shown starts the engine's schedule: it is the reference of every due time.
  rig.log.Clear();
  rig.engine.OnPlay();
  for (int i = 0; i < FFPressesFor(speed); ++i) rig.engine.OnFF();
  rig.engine.WaitForSeek();
  std::this_thread::sleep_for(std::chrono::seconds(seconds));
  const auto events = rig.log.Snapshot();
  std::vector<std::pair<IClock::Ns, int64_t>> shown;  // instant, merge key
  for (const auto& e : events) {
    if (!e.fromDecoder || e.dispid != dispid::SubmitFrame || e.ints.size() < 6 || e.ints[5] < 0)
      continue;
    shown.emplace_back(e.t, int64_t(e.ints[0] - test::kT0) * 1000 + e.ints[1]);
  }
  if (shown.size() < 2) {
    std::fprintf(stderr, "bench: nothing shown\n");
    return 1;
  }
  std::vector<double> late;
  const auto t0 = shown.front().first;
  const int64_t k0 = shown.front().second;
  for (const auto& [t, k] : shown) {
    const double due = double((k - k0) * 1000000) / speed;  // ns after the first frame
    late.push_back((double((t - t0).count()) - due) / 1e6);
  }
  // A stall of the machine longer than the engine's catch-up limit makes it re-base its schedule
  // at the late frame: count those, and measure the drift since the last one.
  int rebases = 0;
  double sinceRebase = late.front();
  for (size_t i = 1; i < late.size(); ++i) {
    if (late[i] - late[i - 1] > 150.0 && late[i] > 200.0 + sinceRebase) {
      ++rebases;
      sinceRebase = late[i];
    }
  }
  const double mediaCovered = double(shown.back().second - k0);
  const double wall = double((shown.back().first - t0).count()) / 1e6;
  std::printf(
      "{\"bench\":\"pacing\",\"channels\":%d,\"speed\":%d,\"seconds\":%d,\"frames\":%zu,"
      "\"drift_ms\":%.3f,\"p50_late_ms\":%.3f,\"p99_late_ms\":%.3f,\"max_late_ms\":%.3f,"
      "\"min_late_ms\":%.3f,\"speed_honoured\":%.4f,\"rebases\":%d,"
      "\"drift_since_last_rebase_ms\":%.3f}\n",
      channels, speed, seconds, shown.size(), late.back(), Percentile(late, 0.5),
      Percentile(late, 0.99), *std::max_element(late.begin(), late.end()),
      *std::min_element(late.begin(), late.end()), wall > 0 ? mediaCovered / wall / speed : 0.0,
      rebases, late.back() - sinceRebase);
  rig.engine.Shutdown();
  return 0;
}

long ContextSwitches() {
  long total = 0;
  for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
    std::ifstream in(task.path() / "status");
    std::string key;
    long value = 0;
    while (in >> key) {
      if (key == "voluntary_ctxt_switches:" || key == "nonvoluntary_ctxt_switches:") {
        in >> value;
        total += value;
      }
    }
  }
  return total;
}

double CpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
         double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

int Idle(int seconds) {
  test::Fixture fx(4);
  for (int n = 0; n < 4; ++n) fx.Video(n, test::Fixture::Regular(251, 0, 40, 25));
  auto bytes = fx.Build();
  Rig rig;
  rig.engine.OpenSources("bench.ysk", bytes->size(), test::Fixture::Source(bytes),
                         test::Fixture::Source(bytes));
  // Played a little and paused, as a user leaves it.
  rig.engine.OnPlay();
  rig.engine.WaitForSeek();
  std::this_thread::sleep_for(milliseconds(300));
  rig.engine.OnPlay();
  std::this_thread::sleep_for(milliseconds(100));
  const double cpu0 = CpuSeconds();
  const long sw0 = ContextSwitches();
  std::this_thread::sleep_for(std::chrono::seconds(seconds));
  const double cpu = CpuSeconds() - cpu0;
  const long switches = ContextSwitches() - sw0 - 2;  // this thread's own sleep
  std::printf(
      "{\"bench\":\"idle\",\"seconds\":%d,\"cpu_percent_of_core\":%.4f,"
      "\"wakeups_per_second\":%.2f}\n",
      seconds, 100.0 * cpu / seconds, double(std::max(0L, switches)) / seconds);
  rig.engine.Shutdown();
  return 0;
}

int Search(const std::string& path, int count) {
  Rig rig;
  const OpenOutcome out = rig.engine.OpenFile(path);
  if (!out.accepted) {
    std::fprintf(stderr, "bench: %s not accepted: %s\n", path.c_str(), out.message.c_str());
    return 1;
  }
  const int32_t total = rig.file.Recording().m_Index.m_TotalSeconds;
  std::mt19937 rng(12345);
  std::uniform_int_distribution<int> pick(0, std::max(0, total));
  std::vector<double> ms;
  int done = 0;
  for (int i = 0; i < count; ++i) {
    const int s = pick(rng);
    auto& st = rig.engine.State();
    st.m_SliderSecond.store(s);
    rig.engine.EstimateResume();
    const auto t0 = Clock::now();
    rig.engine.StartSeek(SecondsToCalendar(rig.engine.StartSecond() + s));
    rig.engine.WaitForSeek();
    ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
    done += st.m_SeekDone.load();
  }
  std::printf(
      "{\"bench\":\"search\",\"file_bytes\":%llu,\"total_seconds\":%d,\"count\":%d,"
      "\"seek_done\":%d,\"p50_ms\":%.3f,\"p99_ms\":%.3f,\"max_ms\":%.3f}\n",
      (unsigned long long)rig.file.PlayReader().Size(), total, count, done, Percentile(ms, 0.5),
      Percentile(ms, 0.99), *std::max_element(ms.begin(), ms.end()));
  rig.engine.Shutdown();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Playback engine benchmarks"};
  std::string mode = "pacing", file;
  int channels = 4, speed = 1, seconds = 10, count = 100;
  app.add_option("mode", mode, "pacing, idle or search")
      ->check(CLI::IsMember({"pacing", "idle", "search"}));
  app.add_option("--channels", channels, "pacing: channel count")->check(CLI::Range(1, 16));
  app.add_option("--speed", speed, "pacing: 1, 2, 4, 8, 16 or 32")
      ->check(CLI::IsMember({1, 2, 4, 8, 16, 32}));
  app.add_option("--seconds", seconds, "pacing and idle: wall-clock run time")
      ->check(CLI::Range(1, 7200));
  app.add_option("--file", file, "search: backup file (e.g. from make-sample --long)");
  app.add_option("--count", count, "search: number of random targets")
      ->check(CLI::Range(1, 100000));
  CLI11_PARSE(app, argc, argv);
  if (mode == "pacing") return Pacing(channels, speed, seconds);
  if (mode == "idle") return Idle(seconds);
  if (file.empty()) {
    std::fprintf(stderr, "bench: search needs --file\n");
    return 1;
  }
  return Search(file, count);
}
