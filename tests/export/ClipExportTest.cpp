// Clips exported from made recordings and read back with ffprobe and ffmpeg.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "ExportTestSupport.h"
#include "archive/Calendar.h"
#include "export/ClipExport.h"
#include "export/ClipNames.h"
#include "export/HashCache.h"

namespace ov::exporter::test {
namespace {
namespace fs = std::filesystem;

constexpr int32_t kStart = 1709294400;  // make-sample's default start, 2024-03-01 12:00:00

std::vector<std::string> Files(const std::string& dir) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

struct Coding {
  int coding;
  const char* codec;
  const char* rawFormat;
};

class ClipExportTest : public ::testing::TestWithParam<Coding> {};

// Key frames every 1.2 s and channel 2 running 7 ms late, so the range starts between key frames
// and the seconds of the two channels do not turn over together.
TEST_P(ClipExportTest, CopiesTheRangeFromTheKeyFrameBeforeItWithSoundAndChecksums) {
  const Coding c = GetParam();
  const std::string rec = MakeRecording(std::string("clip") + c.codec,
                                        "--channels 2 --duration 30 --gop 30 --offset-ms 7 "
                                        "--size 176x144 --coding " +
                                            std::to_string(c.coding));
  const std::string dir = FreshDir(std::string("clip-") + c.codec);
  const auto r =
      Sh(Cli() + " export " + Quote(rec) + " --from 5 --to 15 --channel 2 --out " + Quote(dir));
  ASSERT_EQ(r.exitCode, 0) << r.out;

  const auto expected = ExpectedClip(VideoFrames(Manifest(rec), 1), kStart + 5, kStart + 15);
  ASSERT_FALSE(expected.empty());
  ASSERT_LT(expected.front().f_time, kStart + 5) << "the range should start between key frames";
  const std::string name = "Camera 2_" + CompactStamp(expected.front().f_time);
  const std::string clip = dir + "/" + name + ".mp4";
  ASSERT_TRUE(fs::exists(clip)) << r.out;
  EXPECT_EQ(Files(dir),
            (std::vector<std::string>{name + ".mp4", name + ".sha256", "export-report.txt"}));

  EXPECT_EQ(Probe(clip, "v", "stream=codec_name"), c.codec);
  EXPECT_EQ(Probe(clip, "v", "stream=nb_read_frames"), std::to_string(expected.size()));
  const double frameS = 1.0 / 25;
  const double wantS = (expected.back().f_msec - expected.front().f_msec) / 1000.0 + frameS;
  EXPECT_NEAR(std::stod(Probe(clip, "v", "stream=duration")), wantS, frameS);
  EXPECT_EQ(Probe(clip, "a", "stream=codec_name"), "aac");
  EXPECT_NEAR(std::stod(Probe(clip, "a", "stream=duration")), wantS, 0.2);
  EXPECT_EQ(Probe(clip, "v", "format_tags=title"), "Camera 2");
  EXPECT_EQ(Probe(clip, "v", "format_tags=comment"), fs::path(rec).filename().string());
  EXPECT_EQ(Probe(clip, "v", "format_tags=creation_time").substr(0, 19),
            IsoStamp(expected.front().f_time).substr(0, 19));

  // Nothing re-encoded: the pictures equal those of the raw payloads decoded directly.
  const std::string raw = dir + "/../raw-" + c.codec;
  WritePayloads(rec, expected, raw);
  const auto want = PictureHashes(raw, std::string("-f ") + c.rawFormat);
  EXPECT_EQ(want.size(), expected.size());
  EXPECT_EQ(PictureHashes(clip, ""), want);

  const auto check = Sh("cd " + Quote(dir) + " && sha256sum -c " + Quote(name + ".sha256"));
  EXPECT_EQ(check.exitCode, 0) << check.out;
  EXPECT_NE(check.out.find(rec + ": OK"), std::string::npos) << check.out;

  const std::string report = ReadText(dir + "/export-report.txt");
  EXPECT_NE(report.find("Recorder channels: 2"), std::string::npos) << report;
  EXPECT_NE(report.find("Video frames: " + std::to_string(expected.size())), std::string::npos);
  EXPECT_NE(report.find("First frame: " + DisplayStamp(expected.front().f_time)),
            std::string::npos);
  EXPECT_NE(report.find("Last frame: " + DisplayStamp(expected.back().f_time)), std::string::npos);
  EXPECT_NE(report.find("Gaps: none"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Codings, ClipExportTest,
                         ::testing::Values(Coding{2, "h264", "h264"}, Coding{1, "mpeg4", "m4v"}),
                         [](const auto& info) { return std::string(info.param.codec); });

TEST(ClipExport, MatroskaKeepsTheG711SoundAndDateTimesChooseTheRange) {
  const std::string rec = MakeRecording("mkv", "--channels 3 --duration 12 --size 176x144");
  const std::string dir = FreshDir("mkv");
  const auto r = Sh(Cli() + " export " + Quote(rec) +
                    " --from '2024-03-01 12:00:02' --to '2024-03-01 12:00:06' --all --format mkv"
                    " --out " +
                    Quote(dir));
  ASSERT_EQ(r.exitCode, 0) << r.out;
  const auto manifest = Manifest(rec);
  for (int slot = 0; slot < 3; ++slot) {
    const auto expected = ExpectedClip(VideoFrames(manifest, slot), kStart + 2, kStart + 6);
    const std::string clip = dir + "/Camera " + std::to_string(slot + 1) + "_" +
                             CompactStamp(expected.front().f_time) + ".mkv";
    ASSERT_TRUE(fs::exists(clip)) << r.out;
    EXPECT_EQ(Probe(clip, "v", "stream=nb_read_frames"), std::to_string(expected.size()));
    EXPECT_EQ(Probe(clip, "a", "stream=codec_name"), "pcm_mulaw");
    // Matroska keeps no stream duration; the last sound packet's end tells the track's length.
    const auto last =
        Sh("ffprobe -v error -select_streams a -show_entries packet=pts_time,"
           "duration_time -of csv=p=0 " +
           Quote(clip) + " | tail -n 1");
    const double end = std::stod(last.out) + std::stod(last.out.substr(last.out.find(',') + 1));
    EXPECT_NEAR(end, 4.0, 0.2) << last.out;
  }
  const auto check = Sh("cd " + Quote(dir) + " && sha256sum -c *.sha256");
  EXPECT_EQ(check.exitCode, 0) << check.out;
}

// When the clip's tone starts, in ms after its first picture: the tracks' start times and the
// first loud sample of the sound decoded as ffmpeg plays it (edit lists and priming applied).
double ToneOnsetMs(const std::string& clip) {
  const std::string pcm = clip + ".pcm";
  const auto r = Sh("ffmpeg -v error -nostdin -y -i " + Quote(clip) +
                    " -map 0:a -f s16le -ac 1 -ar 8000 " + Quote(pcm));
  if (r.exitCode != 0) ADD_FAILURE() << r.out;
  std::ifstream in(pcm, std::ios::binary);
  std::vector<int16_t> samples;
  int16_t v = 0;
  while (in.read(reinterpret_cast<char*>(&v), sizeof v)) samples.push_back(v);
  // The tone has a quarter of full scale; the coder's ringing before it stays far below half.
  size_t loud = 0;
  while (loud < samples.size() && std::abs(samples[loud]) < 4000) ++loud;
  if (loud == samples.size()) ADD_FAILURE() << clip << ": no tone";
  const double soundStart = std::stod(Probe(clip, "a", "stream=start_time"));
  const double pictureStart = std::stod(Probe(clip, "v", "stream=start_time"));
  return (soundStart + double(loud) / 8000 - pictureStart) * 1000;
}

// Key frames every 1.12 s put the clip's start off the 200 ms grid of the sound frames: the clip
// of second 2 starts at the key frame 1.12 s in, 80 ms before the sound frame of 1.2 s; that of
// second 4 at 3.36 s, 40 ms before the one of 3.4 s. Either container keeps that distance.
TEST(ClipExport, SoundKeepsItsDistanceFromAKeyFrameBetweenSoundFrames) {
  const std::string rec =
      MakeRecording("offgrid", "--channels 1 --duration 8 --gop 28 --size 176x144 --flat");
  const auto video = VideoFrames(Manifest(rec), 0);
  const struct {
    int from;
    double onsetMs;
  } ranges[] = {{2, 80}, {4, 40}};
  for (const auto& range : ranges) {
    const auto expected = ExpectedClip(video, kStart + range.from, kStart + range.from + 3);
    ASSERT_FALSE(expected.empty());
    ASSERT_EQ(expected.front().f_time, kStart + range.from - 1);
    for (const char* format : {"mp4", "mkv"}) {
      SCOPED_TRACE(std::string(format) + " from second " + std::to_string(range.from));
      const std::string dir = FreshDir("offgrid-" + std::to_string(range.from) + format);
      const auto r = Sh(Cli() + " export " + Quote(rec) + " --channel 1 --from " +
                        std::to_string(range.from) + " --to " + std::to_string(range.from + 3) +
                        " --format " + format + " --out " + Quote(dir));
      ASSERT_EQ(r.exitCode, 0) << r.out;
      const std::string clip =
          dir + "/Camera 1_" + CompactStamp(expected.front().f_time) + "." + format;
      EXPECT_NEAR(ToneOnsetMs(clip), range.onsetMs, 10);
    }
  }
}

TEST(ClipExport, RefusalsLeaveNothingBehindAndDamageNothing) {
  const std::string rec =
      MakeRecording("refuse", "--channels 2 --video-slots 0 --duration 8 --size 176x144 --flat");
  const std::string dir = FreshDir("refuse");
  const std::string base = Cli() + " export " + Quote(rec) + " --out " + Quote(dir);
  const std::string elsewhere =
      Cli() + " export " + Quote(rec) + " --out " + Quote(dir + "/missing");
  struct Case {
    std::string args, message;
  };
  const std::vector<Case> cases = {
      {"--from 100 --to 200 --channel 1", "has no frames from"},
      {"--from 5 --to 2 --channel 1", "must lie after its start"},
      {"--from 1 --to 2 --channel 2", "channel 2 has no video"},
      {"--from 1 --to 2 --channel 17", "not 1..16"},
      {"--from 'noon' --to 2 --channel 1", "\"YYYY-MM-DD HH:MM:SS\""},
      {"--from 1 --to 2 --channel 1", "no such folder"},
  };
  for (const auto& c : cases) {
    const auto r = Sh((&c == &cases.back() ? elsewhere : base) + " " + c.args);
    EXPECT_NE(r.exitCode, 0) << c.args;
    EXPECT_NE(r.out.find(c.message), std::string::npos) << c.args << "\n" << r.out;
    EXPECT_TRUE(Files(dir).empty()) << c.args;
  }

  // A file too large for the allowed size fails the way a full disk does.
  const auto full = Sh("ulimit -f 16; trap '' XFSZ; " + base + " --from 0 --to 8 --channel 1");
  EXPECT_NE(full.exitCode, 0);
  EXPECT_NE(full.out.find("writing the clip"), std::string::npos) << full.out;
  EXPECT_TRUE(Files(dir).empty());

  // A second export of the same range would overwrite the first: refused, the first stays intact.
  ASSERT_EQ(Sh(base + " --from 1 --to 3 --channel 1").exitCode, 0);
  const auto before = Files(dir);
  const auto again = Sh(base + " --from 1 --to 3 --channel 1");
  EXPECT_NE(again.exitCode, 0);
  EXPECT_NE(again.out.find("exists already"), std::string::npos) << again.out;
  EXPECT_EQ(Files(dir), before);
  EXPECT_EQ(Sh("cd " + Quote(dir) + " && sha256sum -c --quiet *.sha256").exitCode, 0);
}

TEST(ClipExport, CancelRemovesEveryFileOfTheExport) {
  const std::string rec = MakeRecording("cancel", "--channels 2 --duration 20 --size 176x144");
  const std::string dir = FreshDir("cancel");
  ExportRequest req;
  req.source = rec;
  req.from = "0";
  req.to = "20";
  req.all = true;
  req.outDir = dir;
  std::atomic<bool> cancel{false};
  int calls = 0;
  const auto out = RunExport(
      req,
      [&](const ExportProgress& p) {
        EXPECT_LE(p.doneBytes, p.totalBytes);
        if (++calls == 3) cancel = true;  // early in the first clip
      },
      cancel);
  EXPECT_FALSE(out.ok);
  EXPECT_TRUE(out.cancelled);
  EXPECT_EQ(calls, 3);
  EXPECT_TRUE(Files(dir).empty());
}

// Exports seconds 0..3 of rec into a fresh folder and returns the source's digest as the check
// file gives it; *total hears the progress' total.
std::string ExportedSourceDigest(const std::string& rec, const std::string& cache,
                                 const std::string& name, std::shared_ptr<DigestAhead> ahead = {},
                                 uint64_t* total = nullptr) {
  std::atomic<bool> cancel{false};
  ExportRequest req;
  req.source = rec;
  req.from = "0";
  req.to = "3";
  req.all = true;
  req.outDir = FreshDir(name);
  req.hashCache = cache;
  req.ahead = std::move(ahead);
  const auto out = RunExport(
      req,
      [&](const ExportProgress& p) {
        if (total) *total = p.totalBytes;
      },
      cancel);
  EXPECT_TRUE(out.ok) << out.error;
  return ReadText(out.checksumPath).substr(0, 64);
}

// The source's digest is taken beside the clips' writing and remembered for the same unchanged
// file: a remembered digest is used as it is, and any write to the file makes it miss.
TEST(ClipExport, SourceDigestIsRememberedForTheUnchangedFileOnly) {
  const std::string rec = MakeRecording("hashcache", "--channels 1 --duration 6 --size 176x144");
  const std::string cache = FreshDir("hashcache-cache") + "/sums";
  const std::string real = Sh("sha256sum " + Quote(rec) + " | cut -c1-64").out.substr(0, 64);
  auto run = [&](const std::string& name, uint64_t* total = nullptr) {
    return ExportedSourceDigest(rec, cache, name, {}, total);
  };
  const auto id = IdentityOfPath(rec);
  ASSERT_TRUE(id);
  EXPECT_EQ(run("hashcache-1"), real);
  EXPECT_EQ(CachedSha256(cache, *id), real);

  // A planted digest shows the cache is read, and the source not read again.
  const std::string planted(64, 'a');
  RememberSha256(cache, *id, planted);
  uint64_t total = 0;
  EXPECT_EQ(run("hashcache-2", &total), planted);
  EXPECT_LT(total, id->size) << "the progress should count the clip only";

  // Written to (same size, same contents even): the entry misses and the file is hashed again.
  ASSERT_EQ(Sh("cat " + Quote(rec) + " > " + Quote(rec + ".tmp") + " && cat " +
               Quote(rec + ".tmp") + " > " + Quote(rec))
                .exitCode,
            0);
  EXPECT_EQ(run("hashcache-3"), real);
  fs::remove(rec + ".tmp");
}

// A digest taken ahead (while the export dialog is open) is handed to the export of the same
// file only: a file written to after it was taken is hashed again as the export read it.
TEST(ClipExport, DigestTakenAheadServesTheSameFileOnly) {
  const std::string rec = MakeRecording("ahead", "--channels 1 --duration 6 --size 176x144");
  const std::string cache = FreshDir("ahead-cache") + "/sums";
  const std::string real = Sh("sha256sum " + Quote(rec) + " | cut -c1-64").out.substr(0, 64);
  std::atomic<bool> cancel{false};
  auto run = [&](const std::string& name, std::shared_ptr<DigestAhead> ahead) {
    return ExportedSourceDigest(rec, cache, name, std::move(ahead));
  };
  auto ahead = std::make_shared<DigestAhead>(rec, cache);
  EXPECT_EQ(run("ahead-1", ahead), real);
  const auto id = IdentityOfPath(rec);
  ASSERT_TRUE(id);
  EXPECT_EQ(CachedSha256(cache, *id), real) << "the digest taken ahead is remembered";

  // Planted in the cache: the hash ahead takes it from there instead of reading the file.
  const std::string planted(64, 'b');
  RememberSha256(cache, *id, planted);
  ahead = std::make_shared<DigestAhead>(rec, cache);
  EXPECT_EQ(ahead->DigestFor(*id, cancel), planted);

  // Written to after the digest was taken (same contents, new times): the export does not take
  // the old file's digest but reads the file it opened.
  ASSERT_EQ(Sh("cat " + Quote(rec) + " > " + Quote(rec + ".tmp") + " && cat " +
               Quote(rec + ".tmp") + " > " + Quote(rec))
                .exitCode,
            0);
  EXPECT_EQ(run("ahead-2", ahead), real);
  fs::remove(rec + ".tmp");
}

TEST(HashCache, DamagedOrOversizedCacheFilesAreReadWithinBoundsAndMended) {
  const std::string cache = FreshDir("hashcache-damaged") + "/sums";
  {
    std::ofstream out(cache, std::ios::binary);
    out << "1 2 3 4 5 " << std::string(64, 'b') << "\n";  // a good line
    out << "1 2 3 garbage\n\x01\xff 7 7 7 7 7 " << std::string(63, 'c') << "\n";
    out << std::string(2 * kHashCacheMaxBytes, 'x');  // no line end for far too long
  }
  FileIdentity id{1, 2, 3, 4, 5};
  EXPECT_EQ(CachedSha256(cache, id), std::string(64, 'b'));
  EXPECT_FALSE(CachedSha256(cache, FileIdentity{1, 2, 3, 4, 6})) << "another change time";
  for (uint64_t n = 0; n < kHashCacheMaxEntries + 10; ++n)
    RememberSha256(cache, FileIdentity{100 + n, n, n, 0, 0}, std::string(64, 'd'));
  EXPECT_LE(fs::file_size(cache), kHashCacheMaxBytes);
  EXPECT_FALSE(CachedSha256(cache, FileIdentity{100, 0, 0, 0, 0})) << "the oldest went";
  EXPECT_TRUE(
      CachedSha256(cache, FileIdentity{100 + kHashCacheMaxEntries + 9, kHashCacheMaxEntries + 9,
                                       kHashCacheMaxEntries + 9, 0, 0}));
  RememberSha256(cache, FileIdentity{7, 7, 7, 7, 7}, "not a digest");
  EXPECT_FALSE(CachedSha256(cache, FileIdentity{7, 7, 7, 7, 7}));
}

}  // namespace
}  // namespace ov::exporter::test
