// bench_idle FILE [SECONDS] [--ff32]: the whole player with the real decoder module. Opens FILE,
// then measures CPU and wake-ups of the process over SECONDS in three states: stopped after the
// open, paused after playing, and stopped at the recording's end. Prints one JSON line per state.
// --ff32 instead plays at 32X and prints the recording seconds covered per wall-clock second.
#include <QApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/PlayerApp.h"
#include "playback/ControlIds.h"
#include "ui/CommandIds.h"
#include "ui/PlayerDlg.h"
#include "ui/PlayerEngineLink.h"

namespace {
using namespace ov;

// Voluntary and involuntary context switches of every thread of the process: each is a wake-up.
long long Switches() {
  long long sum = 0;
  for (const auto& e : std::filesystem::directory_iterator("/proc/self/task")) {
    std::ifstream in(e.path() / "status");
    for (std::string line; std::getline(in, line);) {
      if (line.rfind("voluntary_ctxt_switches:", 0) == 0) sum += std::stoll(line.substr(24));
      if (line.rfind("nonvoluntary_ctxt_switches:", 0) == 0) sum += std::stoll(line.substr(27));
    }
  }
  return sum;
}

double CpuSeconds() {
  timespec ts{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

// Runs the window's event loop for ms (the program as it stands, nothing polled by the bench).
void Run(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

bool RunUntil(const std::function<bool()>& pred, int timeoutMs) {
  for (int waited = 0; !pred(); waited += 50) {
    if (waited > timeoutMs) return false;
    Run(50);
  }
  return true;
}

void Measure(const char* state, int seconds) {
  Run(500);  // let the last pictures and texts settle
  const double cpu0 = CpuSeconds();
  const long long sw0 = Switches();
  Run(seconds * 1000);
  const double cpu = CpuSeconds() - cpu0;
  const long long sw = Switches() - sw0;
  std::printf(
      "{\"bench\":\"idle\",\"state\":\"%s\",\"seconds\":%d,\"cpu_percent_of_core\":%.4f,"
      "\"wakeups_per_second\":%.2f}\n",
      state, seconds, 100.0 * cpu / seconds, double(sw) / seconds);
  std::fflush(stdout);
}

// Fast forward at 32X with every decoder running: recording seconds per wall-clock second. The
// rate is taken between the first and the last change of the slider's second inside the window,
// so neither the whole-second steps nor the recording's end (where the run stops early) skew it.
void FastForward(CPlayerDlg& d, int seconds) {
  using Clock = std::chrono::steady_clock;
  PlaybackState& s = d.Engine().State();
  d.OnCommand(ctl::kPlay);
  RunUntil([&] { return s.m_SliderSecond.load() >= 1; }, 20000);
  for (int i = 0; i < 5; ++i) d.OnCommand(ctl::kFF);  // 2X .. 32X
  RunUntil([&] { return s.m_SeekDone.load() != 0 && s.m_Speed.load() == 32; }, 20000);
  Run(1000);  // past the search and the first key frames
  const double cpu0 = CpuSeconds();
  const auto t0 = Clock::now();
  int32_t last = s.m_SliderSecond.load(), first = -1, latest = -1;
  Clock::time_point tFirst{}, tLatest{};
  while (Clock::now() - t0 < std::chrono::seconds(seconds) && s.m_AtEnd.load() == 0) {
    Run(5);
    const int32_t now = s.m_SliderSecond.load();
    if (now <= last) continue;  // no new second (or the end's reset to 0)
    last = now;
    if (first < 0) {
      first = now;
      tFirst = Clock::now();
    }
    latest = now;
    tLatest = Clock::now();
  }
  const double wall = std::chrono::duration<double>(Clock::now() - t0).count();
  const double span = std::chrono::duration<double>(tLatest - tFirst).count();
  const double rate = first >= 0 && span > 0 ? double(latest - first) / span : 0.0;
  std::printf(
      "{\"bench\":\"ff32\",\"seconds\":%.2f,\"recording_seconds_per_second\":%.2f,"
      "\"goal\":31.5,\"cpu_cores\":%.2f,\"at_end\":%d}\n",
      span, rate, (CpuSeconds() - cpu0) / wall, s.m_AtEnd.load());
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::printf(
        "usage: bench_idle FILE [SECONDS] [--ff32]\n"
        "Opens FILE in the player (real decoder module) and measures CPU %% of a core and\n"
        "wake-ups/s over SECONDS (default 10) stopped, paused after playing, and at the end.\n"
        "--ff32: plays at 32X for SECONDS and prints recording seconds per wall second.\n");
    return 0;
  }
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench_idle FILE [SECONDS]\n");
    return 2;
  }
  QApplication qapp(argc, argv);
  int seconds = 10;
  bool ff32 = false;
  for (int i = 2; i < argc; ++i) {
    if (std::strcmp(argv[i], "--ff32") == 0)
      ff32 = true;
    else
      seconds = std::max(1, std::atoi(argv[i]));
  }
  CPlayerApp::Config c;
  c.programDir = QFileInfo(QCoreApplication::applicationDirPath()).absoluteFilePath().toStdString();
  c.openPath = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath().toStdString();
  int rc = 0;
  c.onRunning = [&](CPlayerDlg& d) {
    PlaybackState& s = d.Engine().State();
    if (!RunUntil([&] { return s.m_FileReady.load(); }, 20000)) {
      std::fprintf(stderr, "bench_idle: the file did not open\n");
      rc = 1;
      return d.OnCommand(idc::kExit);
    }
    if (ff32) {
      FastForward(d, seconds);
      return d.OnCommand(idc::kExit);
    }
    Measure("stopped", seconds);
    d.OnCommand(ctl::kPlay);
    RunUntil([&] { return s.m_SliderSecond.load() >= 1; }, 20000);
    Measure("playing", 3);    // for scale: the same process at 1X
    d.OnCommand(ctl::kPlay);  // pause
    Measure("paused", seconds);
    // To the end: 59-second steps forward, then play out what is left.
    d.OnCommand(ctl::kPlay);
    for (int i = 0; i < 200 && s.m_AtEnd.load() == 0; ++i) {
      d.OnCommand(ctl::kForward59);
      RunUntil([&] { return s.m_SeekDone.load() != 0; }, 5000);
      Run(30);
    }
    if (!RunUntil([&] { return s.m_AtEnd.load() != 0; }, 120000)) {
      std::fprintf(stderr, "bench_idle: the recording did not reach its end\n");
      rc = 1;
    }
    Measure("at_end", seconds);
    d.OnCommand(idc::kExit);
  };
  CPlayerApp app(c);
  app.InitInstance();
  return rc;
}
