// Start-up and shutdown of the application with stand-in decoder modules.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/PlayerApp.h"
#include "controls/SkinButton.h"
#include "ov/Version.h"
#include "tests/app/TestPrompts.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/CommandIds.h"
#include "ui/PlayerDlg.h"
#include "ui/PlayerEngineLink.h"

namespace ov {
namespace {

namespace fs = std::filesystem;

constexpr const char* kFakeModule = "libov_fake_decoder.so";
constexpr const char* kNoRegisterModule = "libov_fake_noregister.so";

class PlayerAppTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = test::TestDir("app");
    log = dir /
          (std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".log");
    fs::remove(log);
    setenv("OV_FAKE_DECODER_LOG", log.c_str(), 1);
    unsetenv("OV_FAKE_REGISTER_RESULT");
  }

  std::vector<std::string> Log() const {
    std::vector<std::string> lines;
    std::ifstream in(log);
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    return lines;
  }
  static long IndexOf(const std::vector<std::string>& lines, const std::string& what) {
    for (size_t i = 0; i < lines.size(); ++i)
      if (lines[i] == what) return long(i);
    return -1;
  }
  static long Count(const std::vector<std::string>& lines, const std::string& what) {
    return std::count(lines.begin(), lines.end(), what);
  }

  CPlayerApp::Config BaseConfig(const char* module) {
    CPlayerApp::Config c;
    c.programDir = OV_BIN_DIR;
    c.moduleName = module;
    c.prompts = &prompts;
    return c;
  }

  // Runs the application, closing its window at once if one comes up.
  struct Run {
    std::unique_ptr<CPlayerApp> app;
    bool windowRan = false;
  };
  static Run Start(CPlayerApp::Config c) {
    Run r;
    c.onRunning = [&r](CPlayerDlg& d) {
      r.windowRan = true;
      d.reject();
    };
    r.app = std::make_unique<CPlayerApp>(c);
    r.app->InitInstance();
    return r;
  }

  fs::path dir, log;
  test::RecordingPrompts prompts;
};

TEST_F(PlayerAppTest, MissingModuleShowsLoadFailAndRunsNothing) {
  const Run r = Start(BaseConfig("libov_no_such_module.so"));
  EXPECT_EQ(r.app->LastOutcome(), CPlayerApp::Outcome::LoadFailed);
  EXPECT_FALSE(r.windowRan);
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0].text, "Load Dll Fail.");
  EXPECT_TRUE(Log().empty());
}

TEST_F(PlayerAppTest, WithoutAProgramDirTheModuleIsFoundBesideTheRunningProgram) {
  auto c = BaseConfig(kFakeModule);
  c.programDir.clear();  // the tests run from the folder the modules are built into
  const Run r = Start(c);
  EXPECT_TRUE(r.windowRan);
  EXPECT_EQ(r.app->LastOutcome(), CPlayerApp::Outcome::Ran);
}

TEST_F(PlayerAppTest, ModuleWithoutRegistrationIsReleased) {
  const Run r = Start(BaseConfig(kNoRegisterModule));
  EXPECT_EQ(r.app->LastOutcome(), CPlayerApp::Outcome::NoRegisterExport);
  EXPECT_FALSE(r.windowRan);
  EXPECT_FALSE(r.app->ModuleLoaded());
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0].text, "Loading DLL Failed.");
  EXPECT_EQ(Log(), std::vector<std::string>{"unload"});
}

TEST_F(PlayerAppTest, FailedRegistrationStillRunsTheWindow) {
  setenv("OV_FAKE_REGISTER_RESULT", "-2147220473", 1);
  auto c = BaseConfig(kFakeModule);
  bool ran = false;
  c.onRunning = [&](CPlayerDlg& d) {
    ran = d.isVisible();
    d.OnCommand(idc::kExit);
  };
  CPlayerApp app(c);
  app.InitInstance();
  EXPECT_TRUE(ran);
  EXPECT_EQ(app.LastOutcome(), CPlayerApp::Outcome::Ran);
  EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(PlayerAppTest, ShutdownWithNoFileReleasesEverythingOnceInOrder) {
  auto c = BaseConfig(kFakeModule);
  c.onRunning = [&](CPlayerDlg& d) {
    // Esc ends the modal run through Cancel.
    QTimer::singleShot(0, &d, [&d] { d.reject(); });
  };
  {
    CPlayerApp app(c);
    app.InitInstance();
    EXPECT_FALSE(app.ModuleLoaded());
  }
  auto lines = Log();
  ASSERT_GE(IndexOf(lines, "create"), 0);
  EXPECT_LT(IndexOf(lines, "register"), IndexOf(lines, "create"));
  EXPECT_LT(IndexOf(lines, "create"), IndexOf(lines, "destroy"));
  EXPECT_LT(IndexOf(lines, "destroy"), IndexOf(lines, "unload"));
  EXPECT_EQ(lines.back(), "unload");
  EXPECT_EQ(Count(lines, "destroy"), 1);
  EXPECT_EQ(Count(lines, "unload"), 1);
}

TEST_F(PlayerAppTest, FirstDecoderConfigurationIsSentInOrder) {
  auto c = BaseConfig(kFakeModule);
  c.onRunning = [](CPlayerDlg& d) { d.reject(); };
  CPlayerApp app(c);
  app.InitInstance();
  auto lines = Log();
  long first = IndexOf(lines, "create") + 1;
  ASSERT_GT(first, 0);
  ASSERT_GT(lines.size(), size_t(first) + 24);
  EXPECT_EQ(lines[size_t(first)].rfind("invoke 4 ", 0), 0u) << lines[size_t(first)];
  for (int i = 0; i < 16; ++i)
    EXPECT_EQ(lines[size_t(first + 1 + i)],
              "invoke 41 " + std::to_string(i) + " 'CH-" + std::to_string(i + 1) + "'");
  std::vector<std::string> rest(lines.begin() + first + 17, lines.begin() + first + 25);
  EXPECT_EQ(rest, (std::vector<std::string>{"invoke 63 'Ostravue'",
                                            "invoke 64 '                  Ver " OV_VERSION "'",
                                            "invoke 24 0", "invoke 47 0", "invoke 46 0",
                                            "invoke 45 0", "invoke 44 0", "invoke 48 0"}));
  // The volume follows once the slider has its level.
  EXPECT_EQ(lines[size_t(first + 25)], "invoke 24 8");
}

// Threads of the process, less Qt's shared pool: painting large pictures may start those, and
// they end on their own some time after.
int CountTasks() {
  int n = 0;
  for (auto& e : fs::directory_iterator("/proc/self/task")) {
    std::ifstream comm(e.path() / "comm");
    std::string name;
    std::getline(comm, name);
    if (name != "Thread (pooled)") ++n;
  }
  return n;
}

bool FileIsOpen(const fs::path& path) {
  for (auto& e : fs::directory_iterator("/proc/self/fd")) {
    std::error_code ec;
    if (fs::read_symlink(e.path(), ec) == fs::canonical(path)) return true;
  }
  return false;
}

TEST_F(PlayerAppTest, ShutdownAfterPlayingStopsThreadsAndClosesTheFile) {
  fs::path sample = test::TestDir("samples") / "app-2ch.ysk";
  ASSERT_TRUE(test::MakeSample(sample, "--channels 2 --duration 6 --size 176x144"));
  auto c = BaseConfig(kFakeModule);
  c.openPath = sample.string();
  const int tasksBefore = CountTasks();
  bool played = false, wasOpen = false;
  c.onRunning = [&](CPlayerDlg& d) {
    PlaybackState& s = d.Engine().State();
    if (!test::WaitUntil([&] { return s.m_FileReady.load(); }, 10000)) {
      d.reject();
      return;
    }
    wasOpen = FileIsOpen(sample);
    d.OnCommand(idc::kPlay);
    played = test::WaitUntil([&] { return s.m_SliderSecond.load() >= 1; }, 10000);
    d.OnCommand(idc::kExit);
  };
  CPlayerApp app(c);
  app.InitInstance();
  EXPECT_TRUE(wasOpen);
  EXPECT_TRUE(played);
  EXPECT_FALSE(FileIsOpen(sample));
  EXPECT_LE(CountTasks(), tasksBefore);
  auto lines = Log();
  EXPECT_EQ(Count(lines, "destroy"), 1);
  EXPECT_EQ(lines.back(), "unload");
}

TEST_F(PlayerAppTest, CommandLineStartLayoutAndFullScreenApplyOnceTheWindowRuns) {
  fs::path sample = test::TestDir("samples") / "app-long.ysk";
  ASSERT_TRUE(
      test::MakeSample(sample, "--channels 2 --duration 90 --size 96x64 --fps 5 --no-audio"));
  for (bool paused : {false, true}) {
    auto c = BaseConfig(kFakeModule);
    c.openPath = sample.string();
    c.start = CPlayerApp::Config::StartPoint{false, 60};
    c.paused = paused;
    c.layout = 4;
    c.fullScreen = true;
    int state = 0, slider = 0;
    bool full = false;
    c.onRunning = [&](CPlayerDlg& d) {
      PlaybackState& s = d.Engine().State();
      state = StateNumber(s.m_PlayState.load());
      slider = s.m_SliderSecond.load();
      full = d.IsVideoFullScreen();
      d.OnCommand(idc::kExit);
    };
    CPlayerApp app(c);
    app.InitInstance();
    EXPECT_FALSE(app.FileRejected());
    EXPECT_EQ(state, paused ? 20 : 21);
    EXPECT_EQ(slider, 60);
    EXPECT_TRUE(full);
  }

  auto c = BaseConfig(kFakeModule);
  c.openPath = (test::TestDir("app") / "not-a-backup.txt").string();
  std::ofstream(c.openPath) << "text";
  c.onRunning = [](CPlayerDlg& d) { d.OnCommand(idc::kExit); };
  CPlayerApp app(c);
  app.InitInstance();
  EXPECT_TRUE(app.FileRejected());
  // Said in the window too, with the reason and what to do instead.
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_NE(prompts.messages[0].text.find("not-a-backup.txt was not opened: "), std::string::npos)
      << prompts.messages[0].text;
  EXPECT_NE(prompts.messages[0].text.find("Ctrl+O"), std::string::npos);

  // A start past the end lands on the last second and says so.
  prompts.messages.clear();
  auto late = BaseConfig(kFakeModule);
  late.openPath = sample.string();
  late.start = CPlayerApp::Config::StartPoint{false, 500};
  late.onRunning = [](CPlayerDlg& d) { d.OnCommand(idc::kExit); };
  CPlayerApp lateApp(late);
  lateApp.InitInstance();
  EXPECT_FALSE(lateApp.FileRejected());
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_NE(prompts.messages[0].text.find("past the end of the recording"), std::string::npos)
      << prompts.messages[0].text;
}

}  // namespace
}  // namespace ov
