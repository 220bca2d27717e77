#pragma once
// The files of one export, written into a folder that may hold anything (links, FIFOs, other
// exports running at the same moment) without following, opening or replacing what is there.
//
// Each output is created as a new regular file under a short temporary name (O_CREAT | O_EXCL |
// O_NOFOLLOW), written, fsynced and then claimed under its final name by a rename that never
// replaces (renameat2 RENAME_NOREPLACE, or link + unlink where the file system lacks it). The
// report is appended to under an exclusive lock and nothing of it is read. Until Commit, the
// destructor rolls everything back: temporaries and claimed names are removed (only while they
// still name this export's own files) and the report is cut back to its old length.
//
// Threads: one folder belongs to the thread running the export.
#include <sys/types.h>

#include <atomic>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace ov::exporter {

struct OutputError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

class OutputFolder {
 public:
  // Opens the folder; throws OutputError when it is not a folder one can write in.
  explicit OutputFolder(const std::string& dir);
  ~OutputFolder();
  OutputFolder(const OutputFolder&) = delete;
  OutputFolder& operator=(const OutputFolder&) = delete;

  const std::string& Path() const { return m_path; }
  // True when nothing at all (not even a dangling link) has the name.
  bool IsFree(const std::string& name) const;

  // A new, empty temporary file open for reading and writing; returns its handle for Fd, Flush
  // and Claim.
  size_t Create();
  int Fd(size_t file) const;
  // Flushes the file to the disk; throws on a failed write. The descriptor stays open while the
  // folder lives: an inode still open cannot be reused, so a rollback that finds it under a name
  // knows the file is this export's own.
  void Flush(size_t file);
  // Gives the flushed file its final name: name itself, or when that is taken (another export
  // got there first) "stem-2.ext", "stem-3.ext" ...; returns the name claimed. With numbered
  // false a taken name is an OutputError.
  std::string Claim(size_t file, const std::string& name, bool numbered = true);

  // Opens (creating it when missing) the report and takes its lock, waiting up to a few seconds
  // for another export's; refuses anything but a regular file with one name. Call before the
  // first Claim, so that a report that cannot be written stops the export before any name is
  // taken.
  void LockReport(const std::string& name, const std::atomic<bool>* cancel);
  // Appends text to the locked report and flushes it to the disk.
  void AppendReport(const std::string& text);
  // Flushes the folder; from here on nothing is rolled back.
  void Commit();

 private:
  struct File {
    std::string temp, final;
    int fd = -1;
    dev_t dev = 0;
    ino_t ino = 0;
  };
  bool Owns(const std::string& name, const File& f) const;
  void RollBack();

  std::string m_path;
  int m_dir = -1;
  std::vector<File> m_files;
  int m_report = -1;
  std::string m_reportName;
  bool m_reportCreated = false;
  off_t m_reportSize = 0;
  dev_t m_reportDev = 0;
  ino_t m_reportIno = 0;
  bool m_committed = false;
};

// The name with "-n" before its extension: "a.mp4", 2 -> "a-2.mp4".
std::string NumberedName(const std::string& name, int n);

}  // namespace ov::exporter
