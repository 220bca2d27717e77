// What the window's export waits for when the source's digest was taken while the dialog stood
// open: the user's choosing (THINK seconds) overlaps the hash, so the time from the Export press
// follows the clip. Prints the seconds from the press to the finished export.
// Usage: bench_export_ahead FILE OUT_DIR THINK_SECONDS CACHE_FILE   (minutes 1 to 11, channel 1)
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

#include "export/ClipExport.h"
#include "export/DigestAhead.h"

int main(int argc, char** argv) {
  using namespace ov::exporter;
  if (argc != 5) {
    std::fprintf(stderr, "usage: bench_export_ahead FILE OUT_DIR THINK_SECONDS CACHE_FILE\n");
    return 2;
  }
  ExportRequest req;
  req.source = argv[1];
  req.outDir = argv[2];
  req.hashCache = argv[4];
  req.from = "60";
  req.to = "660";
  req.channels = {1};
  req.format = ContainerFormat::Mkv;
  req.ahead = std::make_shared<DigestAhead>(req.source, req.hashCache);  // the dialog shows
  std::this_thread::sleep_for(std::chrono::duration<double>(std::atof(argv[3])));
  std::atomic<bool> cancel{false};
  const auto press = std::chrono::steady_clock::now();
  const ExportOutcome out = RunExport(req, {}, cancel);
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - press;
  if (!out.ok) {
    std::fprintf(stderr, "export failed: %s\n", out.error.c_str());
    return 1;
  }
  std::printf("%.2f s\n", took.count());
  return 0;
}
