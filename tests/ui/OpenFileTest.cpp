// Opening files from the window: the dialog, the silent exits, every rejection's message and the
// no-file state it leaves, and the decoder configuration of an accepted file.
#include <QLineEdit>
#include <fstream>

#include "tests/ui/PlayerDlgFixture.h"
#include "ui/CommandIds.h"

namespace ov {
namespace {

namespace fs = std::filesystem;
using test::PlayerDlgFixture;

class OpenFileTest : public PlayerDlgFixture {
 protected:
  static YskHeader GoodHeader() {
    YskHeader h;
    h.kind = 0;
    h.channelCount = 1;
    h.videoCoding = 2;
    h.videoMask = 1;
    h.video[0].name = "A";
    h.video[0].startOffset = 0;
    h.video[0].endOffset = 100;
    return h;
  }
  fs::path Write(const std::string& name, const YskHeader& h, size_t size) {
    fs::path p = test::TestDir("open") / name;
    test::WriteHeaderFile(p, h, size);
    return p;
  }
  QColor PathBackground() {
    return static_cast<QLineEdit*>(dlg->Control(idc::kPathBox))->palette().color(QPalette::Base);
  }
  static bool IsOpen(const fs::path& path) {
    for (auto& e : fs::directory_iterator("/proc/self/fd")) {
      std::error_code ec;
      if (fs::read_symlink(e.path(), ec) == fs::absolute(path)) return true;
    }
    return false;
  }
  void ExpectNoFileState(const fs::path& path) {
    EXPECT_EQ(State().m_FileChosen.load(), 0);
    EXPECT_FALSE(State().m_FileReady.load());
    EXPECT_EQ(State().m_PlayState.load(), TransportState::Paused);
    EXPECT_EQ(Text(idc::kPathBox), "");
    EXPECT_EQ(Text(idc::kTotalTime), "00 : 00 : 00 / 00 : 00 : 00");
    EXPECT_EQ(Text(idc::kOsd), "");
    EXPECT_EQ(PathBackground(), QColor(238, 238, 238));
    EXPECT_FALSE(IsOpen(path));
  }
  fs::path Sample4() {
    fs::path p = test::TestDir("samples") / "ui-4ch.ysk";
    EXPECT_TRUE(
        test::MakeSample(p, "--channels 4 --duration 4 --size 176x144 --names N0,N1,N2,N3"));
    return p;
  }
};

TEST_F(OpenFileTest, DialogAsksForYskFilesAndCancelChangesNothing) {
  dlg->OnCommand(idc::kFileOpen);
  ASSERT_EQ(prompts.fileRequests.size(), 1u);
  EXPECT_EQ(prompts.fileRequests[0].filter, "Ysk Files (*.ysk)");
  EXPECT_EQ(prompts.fileRequests[0].defaultExt, "ysk");
  EXPECT_EQ(prompts.fileRequests[0].initialName, "Ysk File");
  EXPECT_TRUE(prompts.messages.empty());
  EXPECT_EQ(State().m_FileChosen.load(), 0);
}

TEST_F(OpenFileTest, EachBrokenFileShowsItsMessageAndLeavesNoFile) {
  struct Case {
    const char* name;
    std::function<void(YskHeader&)> change;
    size_t size;
    const char* message;
    const char* why;
  };
  const std::vector<Case> cases = {
      {"short.ysk", [](YskHeader&) {}, 2037, "C1001 : Broken or corrupted data file.",
       "2037 bytes long"},
      {"kind1.ysk", [](YskHeader& h) { h.kind = 1; }, 3000,
       "C1002 : Broken or corrupted data file.", "only 3000 bytes"},
      {"kind3.ysk", [](YskHeader& h) { h.kind = 3; }, 50000, "C1003 : Incorrect data file.",
       "holds 3"},
      {"chan.ysk",
       [](YskHeader& h) {
         h.channelCount = 0;
         h.video[5].channelNo = 0x80;
       },
       5000, "C1004 : Broken or corrupted data file.", "channel 6"},
      {"count.ysk", [](YskHeader& h) { h.channelCount = 17; }, 5000,
       "C1005 : Broken or corrupted data file.", "17 channels"},
      {"mask.ysk", [](YskHeader& h) { h.videoMask = 0xFFFF0000u; }, 5000,
       "C1006 : Broken or corrupted data file.", "0xFFFF0000"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    YskHeader h = GoodHeader();
    c.change(h);
    fs::path p = Write(c.name, h, c.size);
    prompts.messages.clear();
    Open(p);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, c.message);
    EXPECT_TRUE(prompts.messages[0].caption.empty());
    // Beneath the numbered text: what was wrong and what to do next.
    EXPECT_NE(prompts.messages[0].detail.find("\n\n"), std::string::npos);
    EXPECT_NE(prompts.messages[0].detail.find(c.why), std::string::npos)
        << prompts.messages[0].detail;
    ExpectNoFileState(p);
  }
}

TEST_F(OpenFileTest, UnindexableFileIsRejectedWithC1007) {
  YskHeader h = GoodHeader();
  fs::path p = Write("noindex.ysk", h, 5000);
  // A frame of an unknown type where the channel's first key frame should be.
  YskFrameHeader f{1600000000, 0, 10, 0, 7};
  std::array<uint8_t, kYskFrameHeaderSize> bytes{};
  EncodeFrameHeader(f, bytes);
  std::fstream(p, std::ios::in | std::ios::out | std::ios::binary)
      .seekp(2037)
      .write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  Open(p);
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0].text, "C1007 : Broken or corrupted data file.");
  ExpectNoFileState(p);
}

TEST_F(OpenFileTest, IgnoredPathsKeepTheDisplay) {
  fs::path good = Sample4();
  Open(good);
  ASSERT_TRUE(State().m_FileReady.load());
  const std::string total = Text(idc::kTotalTime);
  // A name in capitals, as recorders write to FAT sticks, opens like any other.
  fs::path upper = test::TestDir("open") / "UPPER.YSK";
  fs::copy_file(good, upper, fs::copy_options::overwrite_existing);
  Open(upper);
  ASSERT_EQ(Text(idc::kPathBox), upper.string());
  fs::path other = test::TestDir("open") / "notes.txt";
  fs::copy_file(good, other, fs::copy_options::overwrite_existing);
  Open(other);
  Open(test::TestDir("open") / "missing.ysk");
  EXPECT_TRUE(prompts.messages.empty());
  EXPECT_EQ(Text(idc::kPathBox), upper.string());
  EXPECT_EQ(Text(idc::kTotalTime), total);
  EXPECT_TRUE(State().m_FileReady.load());
}

TEST_F(OpenFileTest, AcceptedFileConfiguresTheDecoderInOrder) {
  fs::path p = Sample4();
  control->ClearCalls();
  Open(p);
  EXPECT_TRUE(prompts.messages.empty());
  EXPECT_EQ(State().m_FileChosen.load(), 1);
  EXPECT_TRUE(State().m_FileReady.load());
  EXPECT_EQ(Text(idc::kPathBox), p.string());
  EXPECT_EQ(PathBackground(), QColor(255, 255, 255));
  EXPECT_EQ(Text(idc::kTotalTime), "00 : 00 : 00 / 00 : 00 : 04");
  EXPECT_EQ(Text(idc::kSpeed), "");
  EXPECT_EQ(Text(idc::kOsd), "");

  std::vector<std::string> calls = control->Calls();
  auto at = std::find(calls.begin(), calls.end(), "56");
  ASSERT_NE(at, calls.end());
  // The display mode is already 3 when a file can be opened, so both SetMode calls carry 3.
  std::vector<std::string> expected = {"56", "10 3 0", "10 3 0", "6 -1 4"};
  for (int i = 0; i < 16; ++i)
    expected.push_back("41 " + std::to_string(i) + " 'CH " + std::to_string(i + 1) + "'");
  for (int i = 0; i < 4; ++i) expected.push_back("41 " + std::to_string(i) + " ''");
  for (int i = 0; i < 4; ++i)
    expected.push_back("41 " + std::to_string(i) + " 'N" + std::to_string(i) + "'");
  ASSERT_GE(size_t(calls.end() - at), expected.size());
  EXPECT_EQ(std::vector<std::string>(at, at + long(expected.size())), expected);
  // The open reset the decoder before configuring it.
  EXPECT_NE(std::find(calls.begin(), at, "40"), at);
}

TEST_F(OpenFileTest, BrokenFileAfterAGoodOneClosesTheGoodOne) {
  fs::path good = Sample4();
  Open(good);
  ASSERT_TRUE(State().m_FileReady.load());
  YskHeader h = GoodHeader();
  h.kind = 3;
  fs::path bad = Write("after.ysk", h, 5000);
  Open(bad);
  ASSERT_EQ(prompts.messages.size(), 1u);
  ExpectNoFileState(bad);
  EXPECT_FALSE(IsOpen(good));
  // Transport is inert without a file.
  dlg->OnCommand(idc::kPlay);
  EXPECT_EQ(State().m_PlayState.load(), TransportState::Paused);
}

}  // namespace
}  // namespace ov
