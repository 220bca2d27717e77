// Files an attacker or a power cut leaves: special files, huge sparse runs, names that are not
// text. Each must be refused or indexed quickly, and reported without a crash.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "archive/BackupFile.h"
#include "archive/HeaderReader.h"
#include "tests/archive/YskBuilder.h"

namespace ov::test {
namespace {

namespace fs = std::filesystem;

fs::path Dir() {
  const char* env = std::getenv("OV_TEST_TMP");
  auto dir = fs::path(env ? env : "/tmp") / "hostile";
  fs::create_directories(dir);
  return dir;
}

struct CliRun {
  int status = -1;
  std::string out, err;
};

// Runs ostravue-cli under a time limit: a command that blocks shows as status 124.
CliRun Cli(const std::string& args) {
  const auto errFile = Dir() / "stderr.txt";
  const std::string cmd =
      "timeout 60 " + std::string(OV_CLI_PATH) + " " + args + " 2>'" + errFile.string() + "'";
  CliRun r;
  FILE* p = popen(cmd.c_str(), "r");
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
  r.status = WEXITSTATUS(pclose(p));
  std::ifstream in(errFile);
  r.err.assign(std::istreambuf_iterator<char>(in), {});
  return r;
}

// Lets the test count what the scans read after the file object has let go of the source.
class SharedSource final : public IFileSource {
 public:
  explicit SharedSource(std::shared_ptr<IFileSource> f) : m_f(std::move(f)) {}
  uint64_t Size() const override { return m_f->Size(); }
  size_t ReadAt(uint64_t offset, void* buffer, size_t n) override {
    return m_f->ReadAt(offset, buffer, n);
  }

 private:
  std::shared_ptr<IFileSource> m_f;
};

void StoreLE32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + size_t(i)] = uint8_t(v >> (8 * i));
}
constexpr size_t kVideoEnd0 = 21 + 55;  // endOffset of video record 0 in the header

TEST(HostileFiles, SpecialFilesAreRefusedBeforeAnyReadWithTheReason) {
  const auto dir = Dir();
  const auto fifo = dir / "fifo.ysk", folder = dir / "folder.ysk", missing = dir / "missing.ysk";
  fs::remove(fifo);
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  fs::create_directories(folder);

  struct Case {
    fs::path path;
    OpenRefusal why;
  };
  for (const Case& c :
       {Case{fifo, OpenRefusal::NotRegular}, Case{folder, OpenRefusal::NotRegular},
        Case{"/dev/zero.ysk", OpenRefusal::NotFound}, Case{missing, OpenRefusal::NotFound}}) {
    const PreOpenResult pre = CheckBeforeOpen(c.path.string());
    EXPECT_EQ(pre.status, PreOpenStatus::Ignored) << c.path;
    EXPECT_EQ(pre.refusal, c.why) << c.path;
    OpenRefusal why{};
    EXPECT_EQ(PosixFile::Open(c.path.string(), &why), nullptr);
    EXPECT_EQ(why, c.why) << c.path;
  }
  OpenRefusal why{};
  EXPECT_EQ(PosixFile::Open("/dev/zero", &why), nullptr);  // a device never reaches a read
  EXPECT_EQ(why, OpenRefusal::NotRegular);

  // Every command says why and returns; none waits for a writer on the FIFO.
  const CliRun info = Cli("info '" + fifo.string() + "'");
  EXPECT_EQ(info.status, 3);
  EXPECT_NE(info.err.find("not a regular file"), std::string::npos) << info.err;
  for (const std::string& cmd :
       {"seek '" + fifo.string() + "' --second 1", "trace '" + folder.string() + "' --script play",
        "seek '" + missing.string() + "' --second 1"}) {
    const CliRun r = Cli(cmd);
    EXPECT_EQ(r.status, 1) << cmd;
    // A folder is read as a recording set: it says it holds no backup file.
    const bool said = r.err.find("not a regular file") != std::string::npos ||
                      r.err.find("not found") != std::string::npos ||
                      r.err.find("a folder without backup files") != std::string::npos;
    EXPECT_TRUE(said) << cmd << ": " << r.err;
  }

  if (::geteuid() != 0) {  // the superuser reads any file
    const auto locked = dir / "locked.ysk";
    std::ofstream(locked) << std::string(3000, '\0');
    fs::permissions(locked, fs::perms::none);
    EXPECT_EQ(CheckBeforeOpen(locked.string()).refusal, OpenRefusal::PermissionDenied);
    EXPECT_NE(Cli("seek '" + locked.string() + "' --second 1").err.find("permission denied"),
              std::string::npos);
  }
}

// A 1 GiB hole in a run, as a power cut leaves it: the scans read a bounded number of bytes.
TEST(HostileFiles, SparseZeroRunsAreScannedWithinTheirBound) {
  YskBuilder b;
  b.header.channelCount = 1;
  b.AddVideo(0, kT0, 1000, 100, 40, 25);
  const std::vector<uint8_t> bytes = b.Build();
  const uint64_t dataStart = b.FrameOffset(0, 0);
  const std::vector<uint8_t> frames(bytes.begin() + std::ptrdiff_t(dataStart), bytes.end());
  constexpr uint64_t kHole = uint64_t(1) << 30;

  struct Case {
    const char* name;
    bool framesAtBothEnds;  // else the whole run is zeros
  };
  for (const Case c : {Case{"holed.ysk", true}, Case{"zeros.ysk", false}}) {
    const auto path = Dir() / c.name;
    std::vector<uint8_t> header(bytes.begin(), bytes.begin() + std::ptrdiff_t(dataStart));
    const uint64_t runBytes = c.framesAtBothEnds ? frames.size() * 2 + kHole : kHole;
    StoreLE32(header, kVideoEnd0, uint32_t(runBytes));
    {
      std::ofstream out(path, std::ios::binary | std::ios::trunc);
      out.write(reinterpret_cast<const char*>(header.data()), std::streamsize(header.size()));
      if (c.framesAtBothEnds)
        out.write(reinterpret_cast<const char*>(frames.data()), std::streamsize(frames.size()));
    }
    fs::resize_file(path, dataStart + (c.framesAtBothEnds ? frames.size() + kHole : kHole));
    if (c.framesAtBothEnds) {
      std::ofstream out(path, std::ios::binary | std::ios::app);
      out.write(reinterpret_cast<const char*>(frames.data()), std::streamsize(frames.size()));
    }

    std::shared_ptr<IFileSource> counted = PosixFile::Open(path.string());
    ASSERT_TRUE(counted);
    BackupFile f;
    const OpenOutcome o =
        f.ReadBackupHeader(PosixFile::Open(path.string()), std::make_unique<SharedSource>(counted));
    // Both ends of the run are searched within reach; the hole between them is never read.
    EXPECT_LT(counted->BytesRead(), 3 * kIndexReach) << c.name;
    if (c.framesAtBothEnds) {
      EXPECT_TRUE(o.accepted) << c.name;
      EXPECT_GT(f.Recording().m_VideoLast[0], dataStart + frames.size() + kHole - 1) << c.name;
    } else {
      EXPECT_FALSE(o.accepted) << c.name;  // no usable frame: the index fails
      EXPECT_EQ(o.code, 1007) << c.name;
    }
    // The search through the command line ends too, landing in the hole or not.
    EXPECT_EQ(Cli("seek '" + path.string() + "' --second 2").status, c.framesAtBothEnds ? 0 : 1);
    // So does playing into the hole, forwards and backwards.
    for (const char* script :
         {"play;wait 15000", "play;wait 2000;rew;wait 5000;seek 3;play;wait 5000"})
      EXPECT_EQ(Cli("trace '" + path.string() + "' --script '" + script + "' >/dev/null").status,
                c.framesAtBothEnds ? 0 : 1)
          << c.name << ": " << script;
    fs::remove(path);
  }
}

TEST(HostileFiles, NamesThatAreNotTextReachJsonAndTerminalSafely) {
  YskBuilder b;
  b.header.channelCount = 2;
  b.header.video[0].name = "Caf\xE9 \xFF\xFE";          // 8-bit, not UTF-8
  b.header.video[1].name = "Gate\x1B[2J\n\tfake line";  // terminal controls
  b.AddVideo(0, kT0, 1000, 30, 40, 10);
  b.AddVideo(1, kT0, 1000, 30, 40, 10);
  const auto path = Dir() / "names.ysk";
  const auto bytes = b.Build();
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));

  const CliRun json = Cli("info --json '" + path.string() + "'");
  ASSERT_EQ(json.status, 0) << json.err;
  const auto j = nlohmann::json::parse(json.out);
  EXPECT_EQ(j["names"][0], "Caf\xEF\xBF\xBD \xEF\xBF\xBD\xEF\xBF\xBD");  // one U+FFFD per byte
  EXPECT_EQ(j["names"][1], "Gate\x1B[2J\n\tfake line");  // valid text stays as it is, escaped
  EXPECT_EQ(j["paneTitles"][0], j["names"][0]);

  const CliRun table = Cli("info '" + path.string() + "'");
  ASSERT_EQ(table.status, 0);
  EXPECT_EQ(table.out.find('\x1B'), std::string::npos);
  EXPECT_NE(table.out.find("Gate\\x1B[2J\\x0A\\x09fake line"), std::string::npos) << table.out;
  EXPECT_NE(table.out.find("Caf\\xE9 \\xFF\\xFE"), std::string::npos) << table.out;
}

TEST(HostileFiles, SecondsNearTheEndsOfTheClockDoNotOverflow) {
  YskBuilder b;
  b.header.channelCount = 1;
  b.AddVideo(0, INT32_MAX - 5, 1000, 100, 40, 25);  // the last seconds the clock can count
  const auto path = Dir() / "late.ysk";
  const auto bytes = b.Build();
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  for (const char* second : {"2147483647", "-2147483648", "3"}) {
    const CliRun r = Cli("seek '" + path.string() + "' --second " + second);
    EXPECT_EQ(r.status, 0) << second << r.err;
    EXPECT_NO_THROW({
      const auto doc = nlohmann::json::parse(r.out);
      (void)doc;
    }) << second;
  }
  const CliRun t = Cli("trace '" + path.string() + "' --script 'play;wait 500;seek 3;wait 500'");
  EXPECT_EQ(t.status, 0) << t.err;
  EXPECT_EQ(AddSeconds(INT32_MAX, 1), INT32_MIN);
  EXPECT_EQ(AddSeconds(INT32_MIN, -1), INT32_MAX);
}

}  // namespace
}  // namespace ov::test
