// Open + index time and bytes read per file, warm cache: the median of N opens of each file.
// usage: bench_open [-n N] FILE...
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "archive/BackupFile.h"

int main(int argc, char** argv) {
  int n = 20;
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "-n") && i + 1 < argc) n = std::atoi(argv[++i]);
    else files.push_back(argv[i]);
  }
  if (files.empty()) {
    std::fprintf(stderr, "usage: bench_open [-n N] FILE...\n");
    return 1;
  }
  std::printf("%-40s %10s %10s %10s %12s %s\n", "file", "size MiB", "median ms", "max ms",
              "read KiB", "status");
  for (const auto& path : files) {
    std::vector<double> ms;
    uint64_t bytes = 0, size = 0;
    std::string status;
    for (int i = 0; i < n; ++i) {
      auto a = ov::PosixFile::Open(path), b = ov::PosixFile::Open(path);
      if (!a || !b) return 2;
      size = a->Size();
      ov::IFileSource* pa = a.get();
      ov::IFileSource* pb = b.get();
      ov::BackupFile file;
      const auto t0 = std::chrono::steady_clock::now();
      // Sources are counted before the file takes them; the counts live on after Close is not
      // called, so read them while the file is open.
      const ov::OpenOutcome o = file.ReadBackupHeader(std::move(a), std::move(b));
      const auto t1 = std::chrono::steady_clock::now();
      ms.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
      if (o.accepted) bytes = pa->BytesRead() + pb->BytesRead();
      status = o.accepted ? "accepted" : o.message;
    }
    std::sort(ms.begin(), ms.end());
    std::printf("%-40s %10.1f %10.2f %10.2f %12.1f %s\n", path.c_str(), size / 1048576.0,
                ms[ms.size() / 2], ms.back(), bytes / 1024.0, status.c_str());
  }
  return 0;
}
