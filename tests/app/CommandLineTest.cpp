// The player's command line: parsing, what the options do to the window, and the exit statuses of
// both programs.
#include <gtest/gtest.h>

#include <QDir>
#include <array>
#include <cstdio>
#include <string>

#include "app/CommandLine.h"
#include "archive/Calendar.h"
#include "ov/Version.h"

namespace ov {
namespace {

QStringList Args(std::initializer_list<const char*> rest) {
  QStringList out{QStringLiteral("/some/build/bin/ostravue")};
  for (const char* a : rest) out << QString::fromUtf8(a);
  return out;
}

TEST(CommandLineTest, StartPointsAreARecordingTimeOrSecondsAndNothingElse) {
  CalendarTime t{2031, 7, 4, 12, 0, 5, 0};
  auto cal = ParseStartPoint("2031-07-04 12:00:05");
  ASSERT_TRUE(cal);
  EXPECT_TRUE(cal->calendar);
  EXPECT_EQ(cal->seconds, CalendarToSeconds(t));
  auto secs = ParseStartPoint("95");
  ASSERT_TRUE(secs);
  EXPECT_FALSE(secs->calendar);
  EXPECT_EQ(secs->seconds, 95);
  for (const char* bad :
       {"", "-5", "1e3", "12:00", "99999999999", "2031-02-29 00:00:00", "2031-07-04 24:00:00",
        "2031-13-01 00:00:00", "2031-07-04 12:00:05x", "1969-12-31 23:59:59"})
    EXPECT_FALSE(ParseStartPoint(bad)) << bad;
  EXPECT_TRUE(ParseStartPoint("2032-02-29 00:00:00"));
}

TEST(CommandLineTest, OptionsFillTheConfiguration) {
  CommandLine cl = ParseCommandLine(Args(
      {"--start", "2031-07-04 12:00:05", "--layout", "4", "--fullscreen", "--paused", "f.ysk"}));
  ASSERT_EQ(cl.action, CommandLine::Action::Run) << cl.text;
  EXPECT_EQ(cl.config.openPath, QDir::current().absoluteFilePath("f.ysk").toStdString());
  ASSERT_TRUE(cl.config.start);
  EXPECT_TRUE(cl.config.start->calendar);
  EXPECT_TRUE(cl.config.paused);
  EXPECT_EQ(cl.config.layout, 4);
  EXPECT_TRUE(cl.config.fullScreen);

  cl = ParseCommandLine(Args({"--start", "30", "f.ysk"}));
  EXPECT_FALSE(cl.config.paused);  // --start plays unless told otherwise
  cl = ParseCommandLine(Args({}));
  EXPECT_EQ(cl.action, CommandLine::Action::Run);
  EXPECT_TRUE(cl.config.openPath.empty());
  EXPECT_TRUE(cl.config.paused);

  // Several files, or a folder, are one recording set; one file stays one file.
  cl = ParseCommandLine(Args({"a.ysk", "b.ysk"}));
  ASSERT_EQ(cl.action, CommandLine::Action::Run) << cl.text;
  EXPECT_TRUE(cl.config.openPath.empty());
  EXPECT_EQ(cl.config.setPaths,
            (std::vector<std::string>{QDir::current().absoluteFilePath("a.ysk").toStdString(),
                                      QDir::current().absoluteFilePath("b.ysk").toStdString()}));
  cl = ParseCommandLine(Args({"--folder", "day", "--start", "30"}));
  ASSERT_EQ(cl.action, CommandLine::Action::Run) << cl.text;
  EXPECT_EQ(cl.config.setPaths,
            (std::vector<std::string>{QDir::current().absoluteFilePath("day").toStdString()}));
}

TEST(CommandLineTest, HelpVersionAndRefusals) {
  CommandLine help = ParseCommandLine(Args({"--help"}));
  EXPECT_EQ(help.action, CommandLine::Action::Help);
  EXPECT_EQ(help.text.rfind("Usage: ostravue [options] [file...]\n", 0), 0u) << help.text;
  EXPECT_NE(help.text.find("\nExamples:\n  ostravue "), std::string::npos) << help.text;
  for (const char* opt : {"--start <time>", "--layout <panes>", "--fullscreen", "--paused",
                          "--version", "--no-settings"})
    EXPECT_NE(help.text.find(opt), std::string::npos) << opt;
  CommandLine version = ParseCommandLine(Args({"--version", "f.ysk"}));
  EXPECT_EQ(version.action, CommandLine::Action::Version);
  EXPECT_EQ(version.text, std::string("ostravue ") + kVersion + "\n");

  for (auto args : {Args({"--layout", "5"}), Args({"--layout"}), Args({"--start", "30"}),
                    Args({"--start", "soon", "f.ysk"}), Args({"--folder"}), Args({"--bogus"})}) {
    CommandLine cl = ParseCommandLine(args);
    EXPECT_EQ(cl.action, CommandLine::Action::Error) << args.join(' ').toStdString();
    EXPECT_EQ(cl.text.rfind("ostravue: ", 0), 0u) << cl.text;
  }
  // A day the month does not have is refused with the reason.
  CommandLine feb30 = ParseCommandLine(Args({"--start", "2024-02-30 12:00:00", "f.ysk"}));
  EXPECT_EQ(feb30.action, CommandLine::Action::Error);
  EXPECT_NE(feb30.text.find("there is no day 30 in 2024-02: it has 29 days"), std::string::npos)
      << feb30.text;
}

struct ProcessRun {
  int status = -1;
  std::string out;
};
// Runs a shell command with no display at all; standard error joins standard output.
ProcessRun Shell(const std::string& cmd) {
  ProcessRun r;
  FILE* p =
      popen(("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " + cmd + " 2>&1").c_str(), "r");
  if (!p) return r;
  std::array<char, 512> buf{};
  while (size_t n = fread(buf.data(), 1, buf.size(), p)) r.out.append(buf.data(), n);
  const int st = pclose(p);
  r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  return r;
}

TEST(CommandLineTest, ProgramsAnswerWithoutADisplayAndExitWithTheirStatus) {
  const std::string player = OV_PLAYER_PATH, cli = OV_CLI_PATH;
  ProcessRun r = Shell(player + " --help");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out.rfind("Usage: ostravue ", 0), 0u) << r.out;
  // The help in the language of the locale, Qt's headings included; English otherwise.
  r = Shell("LANGUAGE=de " + player + " --help");
  EXPECT_NE(r.out.find("Diese Hilfe zeigen und beenden."), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("\nBeispiele:\n  ostravue "), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Optionen:"), std::string::npos) << r.out;
  r = Shell("LANGUAGE=es " + player + " --help");
  EXPECT_NE(r.out.find("Muestra esta ayuda y sale."), std::string::npos) << r.out;
  r = Shell("LANGUAGE=zh_CN " + player + " --help");
  EXPECT_NE(r.out.find("显示此帮助并退出。"), std::string::npos) << r.out;
  r = Shell("LANGUAGE=de " + player + " --layout 3");
  EXPECT_NE(r.out.find("Weitere Informationen mit „ostravue --help“."), std::string::npos) << r.out;
  r = Shell("LANGUAGE=C " + player + " --help");
  EXPECT_NE(r.out.find("Show this help and exit."), std::string::npos) << r.out;
  r = Shell(player + " --version");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, std::string("ostravue ") + kVersion + "\n");
  r = Shell(player + " --layout 3");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.out.find("Try 'ostravue --help'."), std::string::npos) << r.out;
  r = Shell(player + " /no/such/file.ysk");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("/no/such/file.ysk: No such file or directory"), std::string::npos) << r.out;

  r = Shell(cli + " --version");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, std::string("ostravue-cli ") + kVersion + "\n");
  r = Shell(cli + " frobnicate");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.out.find("unknown command 'frobnicate'"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("info, make-sample, seek, trace"), std::string::npos) << r.out;
  r = Shell(cli + " --help");
  EXPECT_NE(r.out.find("Usage: ostravue-cli "), std::string::npos) << r.out;
  // One style: usage errors exit 2 and point at the command's help, missing files exit 1.
  r = Shell(cli + " info --bogus x.ysk");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.out.find("Try 'ostravue-cli info --help'."), std::string::npos) << r.out;
  r = Shell(cli + " info /no/such/file.ysk --json");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "ostravue-cli info: /no/such/file.ysk: No such file or directory\n");
  r = Shell(cli + " export --help");
  EXPECT_NE(r.out.find("  -h, --help "), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("      --from time "), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Example:\n  ostravue-cli export "), std::string::npos) << r.out;
  // Every command shows an example of itself, not the program's, and the GNU help flag.
  for (const char* command : {"info", "make-sample", "seek", "trace", "storage-scan", "make-chv",
                              "export", "snapshot", "activity"}) {
    r = Shell(cli + " " + command + " --help");
    EXPECT_EQ(r.status, 0) << command;
    EXPECT_NE(r.out.find(std::string("Example:\n  ostravue-cli ") + command + " "),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("  -h, --help "), std::string::npos) << r.out;
  }
}

}  // namespace
}  // namespace ov
