#include <gtest/gtest.h>

#include <optional>
#include <utility>

#include "tests/tools/ToolsFixture.h"
#include "tools/DirectoryListing.h"
#include "tools/StorageScan.h"
#include "tools/StorageTools.h"

namespace ov::tools {
namespace {

using test::MakeDirs;
using test::ScratchDir;
using test::Touch;
using Strings = std::vector<std::string>;

TEST(DirectoryListing, NameOrderIgnoresCaseAndCreationOrder) {
  const auto dir = ScratchDir("ListOrder");
  for (const char* n : {"b2", "B1", "a2", "A10", "_x", "a1"}) Touch(dir / n);
  MakeDirs(dir / "A3");
  Strings names;
  for (const auto& e : ListDirectory(dir)) names.push_back(e.name);
  EXPECT_EQ(names, (Strings{"a1", "A10", "a2", "A3", "B1", "b2", "_x"}));
  EXPECT_TRUE(ListDirectory(dir / "missing").empty());
}

TEST(DirectoryListing, NamesCountAsTheRecorderCountsThem) {
  EXPECT_EQ(NameLength("20240301"), 8u);
  EXPECT_EQ(NameLength("2024\xC3\xA9\x30\x31"), 7u);  // e-acute is one character
  EXPECT_EQ(NameLength("\xF0\x9F\x98\x80"
                       "123456"),
            8u);                          // outside the BMP: two units
  EXPECT_EQ(NameLength("\xFF\xFE"), 2u);  // not UTF-8: a byte each
  EXPECT_EQ(LastCharacters("/st/QL01/2024\xC3\xA9"
                           "012",
                           8),
            "2024\xC3\xA9"
            "012");
  EXPECT_EQ(LastCharacters("abc", 8), "abc");
}

class StorageScanTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = ScratchDir(::testing::UnitTest::GetInstance()->current_test_info()->name());
  }
  std::filesystem::path root_;
};

TEST_F(StorageScanTest, LaterQlFolderComesFirstAndOnlyEightCharacterFoldersCount) {
  MakeDirs(root_ / "QL01" / "aaaaaaa1");
  MakeDirs(root_ / "QL01" / "aaaaaaa2");
  MakeDirs(root_ / "QL02" / "bbbbbbb1");
  MakeDirs(root_ / "QL01" / "sevench");    // 7 characters
  MakeDirs(root_ / "QL01" / "ninechars");  // 9 characters
  Touch(root_ / "QL01" / "file0008");      // a file, not a folder
  MakeDirs(root_ / "QL1" / "cccccccc");    // not QL and two characters
  MakeDirs(root_ / "QL123" / "cccccccc");
  MakeDirs(root_ / "XL01" / "cccccccc");
  Touch(root_ / "QL03");  // a file named like a QL folder

  const auto scan = ScanStorageFolder(root_);
  ASSERT_EQ(scan.size(), 3u);
  EXPECT_EQ(scan[0].text, "QL01/aaaaaaa1");
  EXPECT_EQ(scan[0].insertAt, 0u);
  EXPECT_EQ(scan[1].insertAt, 1u);
  EXPECT_EQ(scan[2].text, "QL02/bbbbbbb1");
  EXPECT_EQ(scan[2].insertAt, 0u);
  EXPECT_EQ(StorageEntriesInListOrder(root_),
            (Strings{"QL02/bbbbbbb1", "QL01/aaaaaaa1", "QL01/aaaaaaa2"}));
}

TEST_F(StorageScanTest, SecondScanAddsInFrontOfWhatTheListHolds) {
  MakeDirs(root_ / "QL01" / "aaaaaaa1");
  Strings list{"kept"};
  InsertScanEntries(list, ScanStorageFolder(root_));
  MakeDirs(root_ / "QL00" / "zzzzzzz9");
  InsertScanEntries(list, ScanStorageFolder(root_));
  EXPECT_EQ(list, (Strings{"QL01/aaaaaaa1", "QL00/zzzzzzz9", "QL01/aaaaaaa1", "kept"}));
}

TEST_F(StorageScanTest, LowerCaseQlFolderIsFoundAsOnTheRecordersFileSystem) {
  MakeDirs(root_ / "ql07" / "12345678");
  EXPECT_EQ(StorageEntriesInListOrder(root_), (Strings{"ql07/12345678"}));
}

// The window as the storage commands see it.
class RecordingView : public IStorageView {
 public:
  std::optional<std::string> BrowseForFolder(const std::string& title,
                                             const std::string& initial) override {
    browsed.emplace_back(title, initial);
    return answer;
  }
  void SetPathText(const std::string& text) override { pathText = text; }
  void InsertRecordingEntry(size_t index, const std::string& text) override {
    combo.insert(combo.begin() + static_cast<std::ptrdiff_t>(std::min(index, combo.size())), text);
  }
  std::string SelectedRecordingEntry() const override { return selected; }

  std::optional<std::string> answer;
  std::vector<std::pair<std::string, std::string>> browsed;
  std::string pathText = "untouched";
  Strings combo;
  std::string selected;
};

TEST_F(StorageScanTest, OpenStorageShowsTheFolderAndFillsTheComboBox) {
  MakeDirs(root_ / "QL01" / "aaaaaaa1");
  MakeDirs(root_ / "QL02" / "bbbbbbb1");
  RecordingView view;
  view.combo = {"old"};
  view.answer = root_.string() + "/";
  StorageTools tools(view);
  tools.OnOpenStorage();

  ASSERT_EQ(view.browsed.size(), 1u);
  EXPECT_EQ(view.browsed[0].first, "Select Folder");
  EXPECT_EQ(view.browsed[0].second, "C:/Storage");
  EXPECT_EQ(tools.StoragePath(), root_.string());
  EXPECT_EQ(view.pathText, root_.string() + "/");
  EXPECT_EQ(view.combo, (Strings{"QL02/bbbbbbb1", "QL01/aaaaaaa1", "old"}));

  view.selected = "QL01/aaaaaaa1";
  EXPECT_EQ(tools.OnMakeChannelFiles(), root_.string() + "/QL01/aaaaaaa1");
  view.selected.clear();
  EXPECT_EQ(tools.OnMakeChannelFiles(), std::nullopt);
}

TEST_F(StorageScanTest, CancelledBrowserClearsTheFolderAndLeavesThePathBox) {
  RecordingView view;
  view.answer = root_.string();
  StorageTools tools(view);
  tools.OnOpenStorage();
  view.answer.reset();
  view.pathText = "before";
  tools.OnOpenStorage();
  EXPECT_EQ(view.pathText, "before");
  EXPECT_EQ(tools.StoragePath(), "");
}

}  // namespace
}  // namespace ov::tools
