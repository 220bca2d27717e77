// The command line's export and snapshot where users and systems are unkind: signals in the
// middle of an export, dates the calendar does not have, the longest legal file name, and a
// snapshot over a hole of zero bytes a power cut leaves.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "ExportTestSupport.h"
#include "archive/YskFormat.h"

namespace ov::exporter::test {
namespace {
namespace fs = std::filesystem;

// Holes are whole 20-byte empty frames (zero bytes read as frame headers); this one is just
// under 1 GiB.
constexpr uint64_t kGiB = (uint64_t(1) << 30) - 4;

std::vector<std::string> Files(const std::string& dir) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
  return names;
}

bool AnyPart(const std::string& dir) {
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(dir, ec))
    if (e.path().extension() == ".part") return true;
  return false;
}

// Starts the command line with args, its output thrown away; returns its process id.
pid_t Spawn(const std::vector<std::string>& args) {
  // Everything the child needs is made before the fork: it may only make plain system calls.
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(OV_CLI_PATH));
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int null = ::open("/dev/null", O_RDWR);
    ::dup2(null, 0);
    ::dup2(null, 1);
    ::dup2(null, 2);
    ::execv(OV_CLI_PATH, argv.data());
    ::_exit(127);
  }
  return pid;
}

TEST(ExportSafety, ASignalDuringAnExportRemovesItsFilesAndExitsWith128PlusItsNumber) {
  const std::string rec =
      MakeRecording("signals", "--channels 16 --duration 30 --size 176x144 --no-audio");
  for (int signo : {SIGINT, SIGHUP, SIGPIPE, SIGTERM}) {
    SCOPED_TRACE(testing::Message() << "signal " << signo);
    // The export is quick; it is stopped once its first temporary file is there, and tried
    // again when it ended before that could be seen.
    bool caught = false;
    for (int attempt = 0; attempt < 8 && !caught; ++attempt) {
      const std::string dir = FreshDir("signal-" + std::to_string(signo));
      const pid_t pid = Spawn({"export", rec, "--from", "0", "--to", "30", "--all", "--out", dir});
      ASSERT_GT(pid, 0);
      int status = 0;
      const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
      while (std::chrono::steady_clock::now() < until) {
        if (AnyPart(dir)) {
          ::kill(pid, SIGSTOP);
          caught = true;
          break;
        }
        if (::waitpid(pid, &status, WNOHANG) == pid) break;
        std::this_thread::sleep_for(std::chrono::microseconds(200));
      }
      if (!caught) {
        if (::waitpid(pid, &status, WNOHANG) == 0) {
          ::kill(pid, SIGKILL);
          ::waitpid(pid, &status, 0);
        }
        continue;
      }
      // A signal that is pending when the process goes on is handled as one that came then.
      ::kill(pid, signo);
      ::kill(pid, SIGCONT);
      ASSERT_EQ(::waitpid(pid, &status, 0), pid);
      // The stop may have come after the files were renamed: then the export was done.
      if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
        caught = false;
        continue;
      }
      ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
      EXPECT_EQ(WEXITSTATUS(status), 128 + signo);
      EXPECT_TRUE(Files(dir).empty()) << Files(dir).front();
    }
    EXPECT_TRUE(caught) << "the export never ran long enough to be interrupted";
  }
}

TEST(ExportSafety, ADayTheMonthDoesNotHaveIsRefusedByExportAndSnapshot) {
  const std::string rec = MakeRecording("dates", "--channels 1 --duration 2 --size 176x144");
  const std::string dir = FreshDir("dates");
  const std::string reason = "there is no day 30 in 2024-02: it has 29 days";
  const auto ex = Sh(Cli() + " export " + Quote(rec) +
                     " --from '2024-02-30 12:00:00' --to '2024-03-01 12:00:01' --channel 1 --out " +
                     Quote(dir));
  EXPECT_EQ(ex.exitCode, 1);
  EXPECT_NE(ex.out.find(reason), std::string::npos) << ex.out;
  const auto snap = Sh(Cli() + " snapshot " + Quote(rec) +
                       " --channel 1 --at '2024-02-30 12:00:00' " + Quote(dir + "/x.png"));
  EXPECT_EQ(snap.exitCode, 1);
  EXPECT_NE(snap.out.find(reason), std::string::npos) << snap.out;
  EXPECT_TRUE(Files(dir).empty());
}

TEST(ExportSafety, ASnapshotTakesTheLongestLegalNameAndLeavesNothingElse) {
  const std::string rec = MakeRecording("longname", "--channels 1 --duration 2 --size 176x144");
  const std::string dir = FreshDir("longname");
  const std::string name = std::string(NAME_MAX - 4, 'n') + ".png";
  const auto r =
      Sh(Cli() + " snapshot " + Quote(rec) + " --channel 1 --at 1 " + Quote(dir + "/" + name));
  ASSERT_EQ(r.exitCode, 0) << r.out;
  EXPECT_EQ(Files(dir), std::vector<std::string>{name});
}

// A copy of recording with `hole` zero bytes before the first frame of second `second`, left
// sparse on the disk; the run's end moves with it.
std::string WithHole(const std::string& recording, int32_t second, uint64_t hole,
                     const std::string& name) {
  std::ifstream in(recording, std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
  uint64_t split = 0;
  for (const auto& f : VideoFrames(Manifest(recording), 0))
    if (f.f_time >= second) {
      split = f.offset;
      break;
    }
  EXPECT_GT(split, 0u);
  YskHeader h =
      DecodeHeader(std::span<const uint8_t, kYskHeaderSize>(bytes.data(), kYskHeaderSize));
  EXPECT_EQ(h.kind, 0);
  EXPECT_EQ(kDataStartKind0 + h.video[0].endOffset, bytes.size()) << "one run, at the end";
  h.video[0].endOffset += uint32_t(hole);
  EncodeHeader(h, std::span<uint8_t, kYskHeaderSize>(bytes.data(), kYskHeaderSize));
  const std::string path = FreshDir("holes") + "/" + name;
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  EXPECT_EQ(::pwrite(fd, bytes.data(), split, 0), ssize_t(split));
  EXPECT_EQ(::pwrite(fd, bytes.data() + split, bytes.size() - split, off_t(split + hole)),
            ssize_t(bytes.size() - split));
  ::close(fd);
  return path;
}

TEST(ExportSafety, ASnapshotOverAHoleReadsABoundedPartOfIt) {
  const std::string rec =
      MakeRecording("hole", "--channels 1 --no-audio --duration 8 --size 176x144 --gop 25 --flat");
  const int32_t start = VideoFrames(Manifest(rec), 0).front().f_time;
  const std::string dir = FreshDir("hole-out");
  // A small hole is passed: the picture after it decodes.
  const std::string small = WithHole(rec, start + 4, 64000, "small.ysk");
  const auto ok = Sh(Cli() + " snapshot " + Quote(small) + " --channel 1 --at 6 " +
                     Quote(dir + "/after-small.png"));
  EXPECT_EQ(ok.exitCode, 0) << ok.out;

  // A 1 GiB hole ends the channel as playback ends it, after a bounded read; the memory the
  // search takes does not grow with the hole.
  const std::string huge = WithHole(rec, start + 4, kGiB, "huge.ysk");
  const pid_t before =
      Spawn({"snapshot", huge, "--channel", "1", "--at", "2", dir + "/before-huge.png"});
  int status = 0;
  ASSERT_EQ(::waitpid(before, &status, 0), before);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  const pid_t after =
      Spawn({"snapshot", huge, "--channel", "1", "--at", "6", dir + "/after-huge.png"});
  rusage usage{};
  ASSERT_EQ(::wait4(after, &status, 0, &usage), after);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1);
  EXPECT_LT(usage.ru_maxrss, 400 * 1024) << "KiB at the peak";
  const auto said = Sh(Cli() + " snapshot " + Quote(huge) + " --channel 1 --at 6 " +
                       Quote(dir + "/after-huge.png"));
  EXPECT_NE(said.out.find("has no picture there"), std::string::npos) << said.out;
  EXPECT_EQ(Files(dir).size(), 2u);
  fs::remove(huge);
  fs::remove(small);
}

}  // namespace
}  // namespace ov::exporter::test
