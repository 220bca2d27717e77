// Open + index time and bytes read per file, warm cache.
// usage: bench_open [--benchmark_repetitions=N ...] FILE...
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "archive/BackupFile.h"

namespace {

void OpenAndIndex(benchmark::State& state, const std::string& path) {
  uint64_t bytes = 0, size = 0;
  for (auto _ : state) {
    auto a = ov::PosixFile::Open(path), b = ov::PosixFile::Open(path);
    if (!a || !b) {
      state.SkipWithError("cannot open the file");
      return;
    }
    size = a->Size();
    // The counts live in the sources; read them while the file still holds them.
    ov::IFileSource* pa = a.get();
    ov::IFileSource* pb = b.get();
    ov::BackupFile file;
    // Only the header read and index are timed, not opening the descriptors.
    const auto t0 = std::chrono::steady_clock::now();
    const ov::OpenOutcome o = file.ReadBackupHeader(std::move(a), std::move(b));
    const auto t1 = std::chrono::steady_clock::now();
    state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
    if (!o.accepted) {
      state.SkipWithError(("rejected: " + o.message).c_str());
      return;
    }
    bytes = pa->BytesRead() + pb->BytesRead();
  }
  state.counters["read_KiB"] = double(bytes) / 1024.0;
  state.counters["size_MiB"] = double(size) / 1048576.0;
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench_open [--benchmark_...] FILE...\n");
    return 1;
  }
  for (int i = 1; i < argc; ++i) {
    benchmark::RegisterBenchmark(argv[i], OpenAndIndex, std::string(argv[i]))
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->ComputeStatistics("max", [](const std::vector<double>& v) {
          return *std::max_element(v.begin(), v.end());
        });
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
