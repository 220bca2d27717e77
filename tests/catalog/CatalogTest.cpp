// The catalog on a made folder tree: what it records, what find answers, what a second run reads
// again, merging, migrating an older catalog and refusing damaged ones.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "archive/Calendar.h"
#include "catalog/CatalogRun.h"
#include "catalog/Database.h"
#include "catalog/FileScan.h"
#include "catalog/Query.h"
#include "tests/archive/YskBuilder.h"
#include "tests/export/ExportTestSupport.h"

namespace ov::catalog {
namespace {
namespace fs = std::filesystem;
using exporter::test::FreshDir;
using exporter::test::MakeRecording;

int64_t At(const std::string& text) { return CalendarToSeconds(*ParseDateTime(text)); }

void WriteBytes(const fs::path& p, const std::vector<uint8_t>& bytes) {
  fs::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// dirA/front.ysk: 4 cameras 12:00:00..12:00:19; dirA/sub/yard.ysk: "Door", "Yard" from 12:00:30;
// dirB/gap.ysk: one camera 13:00:00..13:00:19 with nothing from :05 to :14; dirB/cut.ysk: too
// short to be a backup; dirB/notes.txt: not a backup at all.
struct Tree {
  std::string root, a, b;
  explicit Tree(const std::string& name) {
    root = FreshDir(name);
    a = root + "/dirA";
    b = root + "/dirB";
    const std::string front =
        MakeRecording("cat-front", "--channels 4 --duration 20 --size 176x144 --flat --no-audio");
    const std::string yard = MakeRecording("cat-yard",
                                           "--channels 2 --names Door,Yard --duration 20 --size "
                                           "176x144 --flat --start \"2024-03-01 12:00:30\"");
    fs::create_directories(a + "/sub");
    fs::copy_file(front, a + "/front.ysk");
    fs::copy_file(yard, a + "/sub/yard.ysk");
    test::YskBuilder g;
    g.header.channelCount = 1;
    auto& run = g.AddVideo(0, test::kT0 + 3600, 0, 20, 1000, 5);
    for (size_t i = 5; i < run.frames.size(); ++i) run.frames[i].f_time += 10;
    WriteBytes(b + "/gap.ysk", g.Build());
    WriteBytes(b + "/cut.ysk", std::vector<uint8_t>(100, 7));
    WriteBytes(b + "/notes.txt", {1, 2, 3});
  }
};

std::set<std::string> Hits(Database& db, const std::string& at, const std::string& camera = "") {
  std::set<std::string> out;
  for (const ChannelHit& h : FindAt(db, At(at), ParseCamera(camera)))
    out.insert(fs::path(h.path).filename().string() + ":" + std::to_string(h.number) + ":" +
               h.name);
  return out;
}

TEST(Catalog, RecordsTheTreeAndFindAnswersFromIt) {
  const Tree t("catalog-tree");
  const std::string dbPath = FreshDir("catalog-db") + "/case.sqlite";
  auto db = Database::Open(dbPath, Database::Mode::Write);
  const RunStats s = RunCatalog(*db, {{t.a, t.b}, false, false, 3});
  EXPECT_EQ(s.progress.listed, 4u);
  EXPECT_EQ(s.progress.read, 4u);
  EXPECT_EQ(s.accepted, 3u);
  EXPECT_EQ(s.rejected, 1u);

  EXPECT_EQ(Hits(*db, "2024-03-01 12:00:10"),
            (std::set<std::string>{"front.ysk:1:Camera 1", "front.ysk:2:Camera 2",
                                   "front.ysk:3:Camera 3", "front.ysk:4:Camera 4"}));
  EXPECT_EQ(Hits(*db, "2024-03-01 12:00:35", "yard"), (std::set<std::string>{"yard.ysk:2:Yard"}));
  EXPECT_EQ(Hits(*db, "2024-03-01 12:00:35", "1"), (std::set<std::string>{"yard.ysk:1:Door"}));
  EXPECT_TRUE(Hits(*db, "2024-03-01 12:00:25").empty());  // between the two files
  // Inside and on both sides of the gap.
  EXPECT_EQ(Hits(*db, "2024-03-01 13:00:04").size(), 1u);
  EXPECT_TRUE(Hits(*db, "2024-03-01 13:00:05").empty());
  EXPECT_TRUE(Hits(*db, "2024-03-01 13:00:14").empty());
  EXPECT_EQ(Hits(*db, "2024-03-01 13:00:15").size(), 1u);

  Statement cut(db->Handle(), "SELECT status, code FROM files WHERE path LIKE '%/cut.ysk'");
  ASSERT_TRUE(cut.Step());
  EXPECT_EQ(cut.Text(0), "rejected");
  EXPECT_EQ(cut.Text(1), "C1001");

  const auto sets = ListSets(*db);
  ASSERT_EQ(sets.size(), 3u);  // three recorders, one day each
  for (const CaseSet& set : sets) EXPECT_EQ(set.day, "2024-03-01");
}

TEST(Catalog, ASecondRunReadsOnlyWhatChanged) {
  const Tree t("catalog-rerun");
  const std::string dbPath = FreshDir("catalog-rerun-db") + "/case.sqlite";
  auto db = Database::Open(dbPath, Database::Mode::Write);
  RunCatalog(*db, {{t.root}, false, false, 2});
  RunStats s = RunCatalog(*db, {{t.root}, false, false, 2});
  EXPECT_EQ(s.progress.read, 0u);
  EXPECT_EQ(s.unchanged, 4u);

  const fs::path yard = t.a + "/sub/yard.ysk";
  fs::last_write_time(yard, fs::last_write_time(yard) + std::chrono::seconds(5));
  s = RunCatalog(*db, {{t.root}, false, false, 2});
  EXPECT_EQ(s.progress.read, 1u);
  EXPECT_EQ(s.unchanged, 3u);

  // Asking for digests reads every file once, and never again.
  s = RunCatalog(*db, {{t.root}, true, false, 2});
  EXPECT_EQ(s.progress.read, 4u);
  s = RunCatalog(*db, {{t.root}, true, false, 2});
  EXPECT_EQ(s.progress.read, 0u);

  fs::remove(t.b + "/gap.ysk");
  s = RunCatalog(*db, {{t.root}, false, false, 2});
  EXPECT_EQ(s.removed, 1u);
  EXPECT_TRUE(Hits(*db, "2024-03-01 13:00:04").empty());
  // A run over one folder leaves the files of other folders alone.
  s = RunCatalog(*db, {{t.b}, false, false, 2});
  EXPECT_EQ(s.removed, 0u);
  EXPECT_EQ(Hits(*db, "2024-03-01 12:00:10").size(), 4u);
}

TEST(Catalog, MergesCatalogsMadeSeparately) {
  const Tree t("catalog-merge");
  const std::string dir = FreshDir("catalog-merge-db");
  {
    auto a = Database::Open(dir + "/a.sqlite", Database::Mode::Write);
    RunCatalog(*a, {{t.a}, false, false, 1});
    auto b = Database::Open(dir + "/b.sqlite", Database::Mode::Write);
    RunCatalog(*b, {{t.b}, false, false, 1});
  }
  auto all = Database::Open(dir + "/all.sqlite", Database::Mode::Write);
  MergeStats s = MergeCatalog(*all, dir + "/a.sqlite");
  EXPECT_EQ(s.added, 2u);
  s = MergeCatalog(*all, dir + "/b.sqlite");
  EXPECT_EQ(s.added, 2u);
  EXPECT_EQ(Hits(*all, "2024-03-01 12:00:35").size(), 2u);
  EXPECT_TRUE(Hits(*all, "2024-03-01 13:00:05").empty());  // the gaps came along
  EXPECT_EQ(Hits(*all, "2024-03-01 13:00:15").size(), 1u);
  // Merging the same catalog again replaces its files, it does not double them.
  s = MergeCatalog(*all, dir + "/a.sqlite");
  EXPECT_EQ(s.added, 0u);
  EXPECT_EQ(s.replaced, 2u);
  EXPECT_EQ(Hits(*all, "2024-03-01 12:00:35").size(), 2u);
  EXPECT_THROW(MergeCatalog(*all, t.a + "/front.ysk"), CatalogError);
}

TEST(Catalog, MigratesTheFirstLayout) {
  const std::string path = FreshDir("catalog-v1") + "/old.sqlite";
  {
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &raw), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(raw, kSchemaV1, nullptr, nullptr, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(raw,
                           "INSERT INTO files(id, path, size, mtime_ns, inode, device, status,"
                           " scanned_at) VALUES(1, '/x/a.ysk', 1, 1, 1, 1, 'accepted', 1);"
                           "INSERT INTO channels VALUES(1, 0, 1, 'Gate', 2, 1, 0, 100, 200);",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(raw);
  }
  // A merge reads the first layout as it is.
  const std::string dir = FreshDir("catalog-v1-merge");
  {
    auto all = Database::Open(dir + "/all.sqlite", Database::Mode::Write);
    EXPECT_EQ(MergeCatalog(*all, path).added, 1u);
  }
  auto db = Database::Open(path, Database::Mode::ReadOnly);  // migrated on the way
  EXPECT_EQ(db->UserVersion(), kSchemaVersion);
  const auto hits = FindAt(*db, 150, {});
  ASSERT_EQ(hits.size(), 1u);
  EXPECT_EQ(hits[0].name, "Gate");
  EXPECT_FALSE(hits[0].sha256);
}

// A catalog as the second layout wrote it: recorder keys in their old form, names not escaped.
void MakeSecondLayout(const std::string& path) {
  sqlite3* raw = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &raw), SQLITE_OK);
  for (const char* sql : {kSchemaV1, kMigrateV1ToV2})
    ASSERT_EQ(sqlite3_exec(raw, sql, nullptr, nullptr, nullptr), SQLITE_OK);
  ASSERT_EQ(
      sqlite3_exec(raw,
                   "INSERT INTO files(id, path, size, mtime_ns, inode, device, status, layout,"
                   " start_time, end_time, scanned_at) VALUES"
                   "(1, '/x/a.ysk', 1, 7, 1, 1, 'accepted', '2 ch, coding 2: Door|Yard', 1, 2, 1),"
                   "(2, '/x/b.ysk', 1, 7, 2, 1, 'accepted', '2 ch, coding 2: A|B|C', 1, 2, 1),"
                   "(3, '/x/c.ysk', 1, 7, 3, 1, 'accepted', '1 ch, coding 1: ', 1, 2, 1),"
                   "(4, '/x/d.ysk', 1, 7, 4, 1, 'rejected', NULL, NULL, NULL, 1);",
                   nullptr, nullptr, nullptr),
      SQLITE_OK);
  sqlite3_close(raw);
}

std::vector<std::pair<std::string, int64_t>> KeysAndTimes(Database& db) {
  Statement s(db.Handle(), "SELECT coalesce(layout, '-'), mtime_ns FROM files ORDER BY path");
  std::vector<std::pair<std::string, int64_t>> rows;
  while (s.Step()) rows.emplace_back(s.Text(0), s.Int(1));
  return rows;
}

TEST(Catalog, RewritesTheSecondLayoutsRecorderKeysOnOpenAndOnMerge) {
  const std::string dir = FreshDir("catalog-v2");
  MakeSecondLayout(dir + "/old.sqlite");
  // A name with a '|' in it cannot be told from two names: that file is read again next run.
  const std::vector<std::pair<std::string, int64_t>> want = {
      {"2ch/coding2/Door|Yard", 7}, {"2ch/coding2/A\\|B\\|C", -1}, {"1ch/coding1/", 7}, {"-", 7}};
  {
    auto all = Database::Open(dir + "/all.sqlite", Database::Mode::Write);
    EXPECT_EQ(MergeCatalog(*all, dir + "/old.sqlite").added, 4u);
    EXPECT_EQ(KeysAndTimes(*all), want);
  }
  auto db = Database::Open(dir + "/old.sqlite", Database::Mode::Write);
  EXPECT_EQ(db->UserVersion(), kSchemaVersion);
  EXPECT_EQ(KeysAndTimes(*db), want);
  const auto sets = ListSets(*db);
  ASSERT_EQ(sets.size(), 3u);
  EXPECT_EQ(sets[0].layout, "1ch/coding1/");

  // A file of today's scan carries the same key as the recording set code gives it.
  const Tree t("catalog-v3-keys");
  RunCatalog(*db, {{t.a}, false, false, 1});
  std::set<std::string> keys;
  for (const auto& set : ListSets(*db)) keys.insert(set.layout);
  EXPECT_EQ(keys.count("2ch/coding2/Door|Yard"), 1u);  // dirA/sub/yard.ysk joins the old row
}

TEST(Catalog, RefusesWhatIsNoCatalogWithoutHarm) {
  const std::string dir = FreshDir("catalog-damaged");
  WriteBytes(dir + "/garbage.sqlite", std::vector<uint8_t>(5000, 0xAB));
  EXPECT_THROW(Database::Open(dir + "/garbage.sqlite", Database::Mode::Write), CatalogError);
  EXPECT_THROW(Database::Open(dir + "/absent.sqlite", Database::Mode::ReadOnly), CatalogError);
  EXPECT_FALSE(fs::exists(dir + "/absent.sqlite"));

  // Another program's database is left alone.
  {
    sqlite3* raw = nullptr;
    sqlite3_open((dir + "/other.sqlite").c_str(), &raw);
    sqlite3_exec(raw, "CREATE TABLE t(x)", nullptr, nullptr, nullptr);
    sqlite3_close(raw);
  }
  EXPECT_THROW(Database::Open(dir + "/other.sqlite", Database::Mode::Write), CatalogError);
  {
    auto db = Database::Open(dir + "/newer.sqlite", Database::Mode::Write);
    db->Exec("PRAGMA user_version = 99");
  }
  EXPECT_THROW(Database::Open(dir + "/newer.sqlite", Database::Mode::ReadOnly), CatalogError);

  // A real catalog cut short: an error to report, at the open or at the first question.
  const Tree t("catalog-damaged-tree");
  {
    auto db = Database::Open(dir + "/cut.sqlite", Database::Mode::Write);
    RunCatalog(*db, {{t.root}, false, false, 1});
  }
  fs::resize_file(dir + "/cut.sqlite", fs::file_size(dir + "/cut.sqlite") / 2);
  EXPECT_THROW(
      {
        auto db = Database::Open(dir + "/cut.sqlite", Database::Mode::ReadOnly);
        FindAt(*db, At("2024-03-01 12:00:10"), {});
        ListSets(*db);
      },
      CatalogError);
}

}  // namespace
}  // namespace ov::catalog
