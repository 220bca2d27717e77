// Exports that must not be fooled: damaged recordings, hostile names and folders, a source
// replaced while it is read, and two exports into one folder at once.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "ExportTestSupport.h"
#include "archive/YskFormat.h"
#include "export/ClipExport.h"
#include "export/ClipNames.h"
#include "export/OutputFolder.h"

namespace ov::exporter::test {
namespace {
namespace fs = std::filesystem;

constexpr int32_t kStart = 1709294400;  // make-sample's default start

std::string Read(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

size_t Count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

// A copy of a made recording with some frame headers changed.
std::string Damaged(const std::string& rec, const std::string& name,
                    const std::function<void(std::vector<uint8_t>&, const nlohmann::json&)>& edit) {
  std::ifstream in(rec, std::ios::binary);
  std::vector<uint8_t> b((std::istreambuf_iterator<char>(in)), {});
  edit(b, Manifest(rec));
  const std::string out = fs::path(rec).parent_path() / name;
  std::ofstream(out, std::ios::binary)
      .write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
  return out;
}

// The manifest's first frame of channel slot in second s of the recording (sound or video).
const nlohmann::json& FrameAt(const nlohmann::json& m, int slot, bool audio, int s, size_t nth) {
  for (const auto& f : m["frames"])
    if (f["channel"] == slot && f["audio"] == audio && f["f_time"] == kStart + s && nth-- == 0)
      return f;
  throw std::runtime_error("no such frame");
}

TEST(HostileExport, ADamagedRecordingExportsWhatPlaysAndSaysWhatWasDamaged) {
  const std::string rec =
      MakeRecording("damage", "--channels 4 --duration 12 --size 176x144 --flat");
  const std::string bad = Damaged(rec, "damage-edited.ysk", [](auto& b, const auto& m) {
    const uint64_t typed = FrameAt(m, 0, false, 4, 3)["offset"];
    StoreLE32(b.data() + typed + 16, 9);  // a header of unknown type
    const uint64_t clock = FrameAt(m, 0, false, 6, 5)["offset"];
    StoreLE32(b.data() + clock + 4, LoadLE32(b.data() + clock + 4) + 2'000'000'000u);
    const uint64_t sound = FrameAt(m, 0, true, 5, 0)["offset"];
    StoreLE32(b.data() + sound, uint32_t(kStart + 1'000'000));
  });
  const std::string dir = FreshDir("damage");
  const auto r =
      Sh(Cli() + " export " + Quote(bad) + " --from 2 --to 8 --channel 1 --out " + Quote(dir));
  ASSERT_EQ(r.exitCode, 0) << r.out;
  const auto expected = ExpectedClip(VideoFrames(Manifest(rec), 0), kStart + 2, kStart + 8);
  const std::string clip = dir + "/Camera 1_" + CompactStamp(expected.front().f_time) + ".mp4";
  EXPECT_EQ(Probe(clip, "v", "stream=nb_read_frames"), std::to_string(expected.size()));
  const double wantS = (expected.back().f_msec - expected.front().f_msec) / 1000.0 + 0.04;
  EXPECT_NEAR(std::stod(Probe(clip, "v", "stream=duration")), wantS, 0.1);
  EXPECT_NEAR(std::stod(Probe(clip, "a", "stream=duration")), wantS, 0.2);
  const std::string report = Read(dir + "/export-report.txt");
  EXPECT_NE(report.find("unknown type 9"), std::string::npos) << report;
  EXPECT_NE(report.find("millisecond clock jumps"), std::string::npos) << report;
  EXPECT_NE(report.find("1 sound frames"), std::string::npos) << report;
}

TEST(HostileExport, NamesCannotForgeReportLinesOrHideClips) {
  const std::string rec =
      MakeRecording("names", "--channels 2 --duration 3 --size 176x144 --flat --names " +
                                 Quote("Gate\nClip: forged.mp4\n  SHA-256: 00,.hidden"));
  const std::string dir = FreshDir("names");
  const auto r = Sh(Cli() + " export " + Quote(rec) + " --from 0 --to 3 --all --out " + Quote(dir));
  ASSERT_EQ(r.exitCode, 0) << r.out;
  EXPECT_EQ(r.out.find('\n' + std::string("Clip:")), std::string::npos) << r.out;
  for (const auto& e : fs::directory_iterator(dir))
    EXPECT_NE(e.path().filename().string()[0], '.') << e.path();
  const std::string report = Read(dir + "/export-report.txt");
  EXPECT_EQ(Count(report, "\nClip: "), 2u) << report;
  EXPECT_EQ(Count(report, "\n  SHA-256: "), 2u) << report;
  EXPECT_NE(report.find("Camera: Gate\\x0AClip: forged.mp4\\x0A  SHA-256: 00 (channel 1)"),
            std::string::npos)
      << report;
}

TEST(HostileExport, AHostileReportStopsTheExportBeforeAnyNameIsTaken) {
  const std::string rec =
      MakeRecording("hostile", "--channels 1 --duration 3 --size 176x144 --flat");
  struct Case {
    const char* what;
    std::string make;
  };
  for (const Case& c :
       {Case{"folder", "mkdir R"}, Case{"zero", "ln -s /dev/zero R"}, Case{"fifo", "mkfifo R"}}) {
    const std::string dir = FreshDir(std::string("hostile-") + c.what);
    std::string make = c.make;
    ASSERT_EQ(Sh(make.replace(make.find('R'), 1, Quote(dir + "/export-report.txt"))).exitCode, 0);
    const auto r = Sh("timeout 60 " + Cli() + " export " + Quote(rec) +
                      " --from 0 --to 3 --channel 1 --out " + Quote(dir));
    EXPECT_EQ(r.exitCode, 1) << c.what << "\n" << r.out;
    EXPECT_NE(r.out.find("export-report.txt"), std::string::npos) << r.out;
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 1) << c.what;
  }
}

TEST(HostileExport, TwoExportsOfOneSecondIntoOneFolderBothKeepTheirClip) {
  const std::string rec = MakeRecording("twice", "--channels 1 --duration 8 --size 176x144");
  const std::string dir = FreshDir("twice");
  ExportRequest req;
  req.source = rec;
  req.from = "0";
  req.to = "8";
  req.channels = {1};
  req.outDir = dir;
  std::atomic<bool> cancel{false};
  // The second export starts after the first has checked its names and ends before the first
  // claims them: the worst moment for the first.
  ExportOutcome inner;
  bool started = false;
  const auto outer = RunExport(
      req,
      [&](const ExportProgress&) {
        if (started) return;
        started = true;
        ExportRequest other = req;
        other.to = "7";
        inner = RunExport(other, {}, cancel);
      },
      cancel);
  ASSERT_TRUE(inner.ok) << inner.error;
  ASSERT_TRUE(outer.ok) << outer.error;
  ASSERT_EQ(outer.clips.size(), 1u);
  EXPECT_EQ(outer.clips[0].fileName, NumberedName(inner.clips[0].fileName, 2));
  EXPECT_NE(outer.checksumPath, inner.checksumPath);
  const std::string report = Read(dir + "/export-report.txt");
  EXPECT_EQ(Count(report, "Export report\n"), 2u);
  EXPECT_NE(report.find("Clip: " + outer.clips[0].fileName), std::string::npos) << report;
  const auto check = Sh("cd " + Quote(dir) + " && sha256sum -c *.sha256");
  EXPECT_EQ(check.exitCode, 0) << check.out;
  EXPECT_EQ(Count(check.out, ".mp4: OK"), 2u) << check.out;
  EXPECT_EQ(Probe(dir + "/" + inner.clips[0].fileName, "v", "stream=nb_read_frames"), "175");
  EXPECT_EQ(Probe(dir + "/" + outer.clips[0].fileName, "v", "stream=nb_read_frames"), "200");
}

TEST(HostileExport, ASourceReplacedDuringTheExportIsHashedAsReadAndReported) {
  const std::string rec = MakeRecording("replaced", "--channels 1 --duration 8 --size 176x144");
  const std::string dir = FreshDir("replaced");
  const fs::path src = fs::path(dir).parent_path() / "replaced-src.ysk";
  const fs::path other = fs::path(dir).parent_path() / "replaced-other.ysk";
  fs::copy_file(rec, src, fs::copy_options::overwrite_existing);
  ExportRequest req;
  req.source = src.string();
  req.from = "0";
  req.to = "8";
  req.channels = {1};
  req.outDir = dir;
  std::atomic<bool> cancel{false};
  bool swapped = false;
  const auto out = RunExport(
      req,
      [&](const ExportProgress&) {
        if (swapped) return;
        swapped = true;
        std::ofstream(other, std::ios::binary) << "another file";
        fs::rename(other, src);
      },
      cancel);
  ASSERT_TRUE(out.ok) << out.error;
  EXPECT_NE(out.sourceChanged.find("replaced"), std::string::npos) << out.sourceChanged;
  const std::string report = Read(out.reportPath);
  EXPECT_NE(report.find("Source check: CHANGED"), std::string::npos) << report;
  // The checksum file vouches for the bytes the clips came from, not for the new file.
  const std::string want = Sh("sha256sum " + Quote(rec) + " | cut -c1-64").out.substr(0, 64);
  EXPECT_EQ(Read(out.checksumPath).substr(0, 64), want);
  EXPECT_NE(report.find("SHA-256: " + want), std::string::npos);
}

}  // namespace
}  // namespace ov::exporter::test
