// Writing an export's files into a folder that may hold anything: names are claimed without
// replacing, the report is refused when it is not a plain file, and a failure rolls back.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "ExportTestSupport.h"
#include "export/OutputFolder.h"

namespace ov::exporter::test {
namespace {
namespace fs = std::filesystem;

std::string Read(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void Write(const fs::path& p, const std::string& text) {
  std::ofstream(p, std::ios::binary) << text;
}

size_t NewFile(OutputFolder& folder, const std::string& text) {
  const size_t f = folder.Create();
  EXPECT_EQ(::write(folder.Fd(f), text.data(), text.size()), ssize_t(text.size()));
  folder.Flush(f);
  return f;
}

TEST(OutputFolder, ClaimsANameWithoutReplacingWhatIsThere) {
  const fs::path dir = FreshDir("claim");
  Write(dir / "clip.mp4", "earlier");
  fs::create_symlink("/nowhere", dir / "dangling.mp4");
  {
    OutputFolder folder(dir.string());
    EXPECT_FALSE(folder.IsFree("clip.mp4"));
    EXPECT_FALSE(folder.IsFree("dangling.mp4"));  // a link counts, even one to nothing
    EXPECT_TRUE(folder.IsFree("other.mp4"));
    EXPECT_EQ(folder.Claim(NewFile(folder, "mine"), "clip.mp4"), "clip-2.mp4");
    EXPECT_EQ(folder.Claim(NewFile(folder, "mine too"), "dangling.mp4"), "dangling-2.mp4");
    folder.Commit();
  }
  EXPECT_EQ(Read(dir / "clip.mp4"), "earlier");
  EXPECT_EQ(Read(dir / "clip-2.mp4"), "mine");
  EXPECT_TRUE(fs::is_symlink(dir / "dangling.mp4"));
  EXPECT_EQ(Read(dir / "dangling-2.mp4"), "mine too");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 4);  // no temporary left
  EXPECT_EQ(NumberedName("a.b.mp4", 3), "a.b-3.mp4");
  EXPECT_EQ(NumberedName("noext", 2), "noext-2");
}

TEST(OutputFolder, AReportThatIsNotAPlainFileIsRefusedAndLeftAlone) {
  const fs::path dir = FreshDir("hostile-report");
  const fs::path elsewhere = dir / "elsewhere.txt";
  Write(elsewhere, "someone else's");
  struct Case {
    const char* what;
    void (*make)(const fs::path& report, const fs::path& elsewhere);
  };
  const Case cases[] = {
      {"link", [](const fs::path& r, const fs::path& e) { fs::create_symlink(e, r); }},
      {"link to a device",
       [](const fs::path& r, const fs::path&) { fs::create_symlink("/dev/zero", r); }},
      {"FIFO", [](const fs::path& r, const fs::path&) { ASSERT_EQ(::mkfifo(r.c_str(), 0644), 0); }},
      {"folder", [](const fs::path& r, const fs::path&) { fs::create_directory(r); }},
      {"second name of a file",
       [](const fs::path& r, const fs::path& e) { fs::create_hard_link(e, r); }},
  };
  for (const Case& c : cases) {
    const fs::path sub = dir / c.what;
    fs::create_directory(sub);
    const fs::path report = sub / "export-report.txt";
    c.make(report, elsewhere);
    OutputFolder folder(sub.string());
    const size_t f = NewFile(folder, "clip");
    EXPECT_THROW(folder.LockReport("export-report.txt", nullptr), OutputError) << c.what;
    (void)f;
    // Nothing claimed yet; the folder's destructor removes the temporary.
  }
  EXPECT_EQ(Read(elsewhere), "someone else's");
  for (const Case& c : cases) EXPECT_EQ(std::distance(fs::directory_iterator(dir / c.what), {}), 1);
}

TEST(OutputFolder, AFailureBeforeCommitRollsEverythingBack) {
  const fs::path dir = FreshDir("rollback");
  Write(dir / "export-report.txt", "old record\n");
  {
    OutputFolder folder(dir.string());
    folder.LockReport("export-report.txt", nullptr);
    folder.Claim(NewFile(folder, "a"), "a.mp4");
    folder.Claim(NewFile(folder, "b"), "b.sha256");
    folder.AppendReport("new record\n");
    EXPECT_EQ(Read(dir / "export-report.txt"), "old record\n\nnew record\n");
    // No Commit: as when the export fails after this point.
  }
  EXPECT_EQ(Read(dir / "export-report.txt"), "old record\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 1);

  // A report this export created goes with it; a claimed name that no longer holds this
  // export's file (someone put another there) is left alone.
  fs::remove(dir / "export-report.txt");
  {
    OutputFolder folder(dir.string());
    folder.LockReport("export-report.txt", nullptr);
    folder.Claim(NewFile(folder, "a"), "a.mp4");
    fs::remove(dir / "a.mp4");
    Write(dir / "a.mp4", "not ours");
  }
  EXPECT_FALSE(fs::exists(dir / "export-report.txt"));
  EXPECT_EQ(Read(dir / "a.mp4"), "not ours");
}

}  // namespace
}  // namespace ov::exporter::test
