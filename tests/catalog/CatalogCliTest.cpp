// catalog and find on the command line: the answers, the digests against sha256sum, the events
// of the analysis, and the statuses of wrong use and damaged catalogs.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>

#include "tests/export/ExportTestSupport.h"

namespace ov {
namespace {
namespace fs = std::filesystem;
using exporter::test::Cli;
using exporter::test::FreshDir;
using exporter::test::MakeRecording;
using exporter::test::Quote;
using exporter::test::Sh;
using nlohmann::json;

TEST(CatalogCli, CatalogsFindsAndMerges) {
  const std::string root = FreshDir("catalog-cli-tree");
  const std::string rec =
      MakeRecording("cat-cli-events",
                    "--channels 2 --duration 20 --size 176x144 --no-audio --noise 6 --events 2:5-8 "
                    "--names Gate,Hall");
  fs::create_directories(root + "/drive1/day1");
  fs::copy_file(rec, root + "/drive1/day1/a.ysk");
  const std::string dbDir = FreshDir("catalog-cli-db");
  const std::string db = dbDir + "/case.sqlite";

  auto r = Sh(Cli() + " catalog " + Quote(root + "/drive1") + " --db " + Quote(db) +
              " --hash --activity --jobs 2 --json");
  ASSERT_EQ(r.exitCode, 0) << r.out;
  // stdout and stderr arrive together: the counts are the line that is JSON.
  const size_t brace = r.out.find('{');
  ASSERT_NE(brace, std::string::npos) << r.out;
  const json counts = json::parse(r.out.substr(brace, r.out.find('\n', brace) - brace));
  EXPECT_EQ(counts["files"], 1);
  EXPECT_EQ(counts["accepted"], 1);

  r = Sh(Cli() + " find --db " + Quote(db) + " --at '2024-03-01 12:00:06' --camera hall --json");
  ASSERT_EQ(r.exitCode, 0) << r.out;
  json j = json::parse(r.out);
  ASSERT_EQ(j["channels"].size(), 1u);
  EXPECT_EQ(j["channels"][0]["channel"], 2);
  EXPECT_EQ(j["channels"][0]["name"], "Hall");
  EXPECT_EQ(j["channels"][0]["path"], root + "/drive1/day1/a.ysk");
  const auto sum = Sh("sha256sum " + Quote(rec));
  EXPECT_EQ(j["channels"][0]["sha256"], sum.out.substr(0, 64));

  r = Sh(Cli() + " find --db " + Quote(db) +
         " --events --from '2024-03-01 12:00:00' --to '2024-03-01 12:00:19' --json");
  ASSERT_EQ(r.exitCode, 0) << r.out;
  j = json::parse(r.out);
  ASSERT_EQ(j["events"].size(), 1u) << r.out;
  EXPECT_EQ(j["events"][0]["channel"], 2);
  EXPECT_EQ(j["events"][0]["from"], "2024-03-01 12:00:05");
  EXPECT_EQ(j["events"][0]["to"], "2024-03-01 12:00:07");
  r = Sh(Cli() + " find --db " + Quote(db) +
         " --events --from '2024-03-01 12:00:10' --to '2024-03-01 12:00:19' --json");
  EXPECT_EQ(json::parse(r.out)["events"].size(), 0u);

  // A second catalog of another drive, merged with the first.
  fs::create_directories(root + "/drive2");
  fs::copy_file(rec, root + "/drive2/b.ysk");
  r = Sh(Cli() + " catalog " + Quote(root + "/drive2") + " --db " + Quote(dbDir + "/two.sqlite"));
  ASSERT_EQ(r.exitCode, 0) << r.out;
  r = Sh(Cli() + " catalog --merge " + Quote(db) + " " + Quote(dbDir + "/two.sqlite") + " --db " +
         Quote(dbDir + "/all.sqlite") + " --json");
  ASSERT_EQ(r.exitCode, 0) << r.out;
  r = Sh(Cli() + " find --db " + Quote(dbDir + "/all.sqlite") + " --at '2024-03-01 12:00:06'");
  ASSERT_EQ(r.exitCode, 0) << r.out;
  EXPECT_NE(r.out.find("/drive1/day1/a.ysk"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("/drive2/b.ysk"), std::string::npos) << r.out;

  // Nothing was written among the recordings.
  size_t files = 0;
  for (const auto& e : fs::recursive_directory_iterator(root)) files += e.is_regular_file();
  EXPECT_EQ(files, 2u);
}

TEST(CatalogCli, RefusesWrongUseAndDamagedCatalogs) {
  const std::string dir = FreshDir("catalog-cli-errors");
  fs::create_directories(dir + "/drive");
  auto r = Sh(Cli() + " catalog " + Quote(dir + "/drive") + " --db " +
              Quote(dir + "/drive/case.sqlite"));
  EXPECT_EQ(r.exitCode, 2) << r.out;
  EXPECT_FALSE(fs::exists(dir + "/drive/case.sqlite"));
  fs::create_directory_symlink(dir + "/drive", dir + "/link");
  r = Sh(Cli() + " catalog " + Quote(dir + "/drive") + " --db " + Quote(dir + "/link/case.sqlite"));
  EXPECT_EQ(r.exitCode, 2) << r.out;
  EXPECT_FALSE(fs::exists(dir + "/drive/case.sqlite"));
  r = Sh(Cli() + " catalog " + Quote(dir + "/absent") + " --db " + Quote(dir + "/c.sqlite"));
  EXPECT_EQ(r.exitCode, 1) << r.out;
  r = Sh(Cli() + " find --db " + Quote(dir + "/c.sqlite"));
  EXPECT_EQ(r.exitCode, 2) << r.out;
  r = Sh(Cli() + " find --db " + Quote(dir + "/c.sqlite") + " --at '2024-02-30 10:00:00'");
  EXPECT_EQ(r.exitCode, 2) << r.out;
  r = Sh(Cli() + " find --db " + Quote(dir + "/c.sqlite") + " --at '2024-02-03 10:00:00'");
  EXPECT_EQ(r.exitCode, 1) << r.out;
  EXPECT_NE(r.out.find("no such catalog"), std::string::npos) << r.out;

  std::ofstream(dir + "/bad.sqlite") << std::string(3000, 'x');
  r = Sh(Cli() + " find --db " + Quote(dir + "/bad.sqlite") + " --at '2024-02-03 10:00:00'");
  EXPECT_EQ(r.exitCode, 1) << r.out;
  EXPECT_NE(r.out.find("not a catalog"), std::string::npos) << r.out;
  r = Sh(Cli() + " catalog --merge " + Quote(dir + "/bad.sqlite") + " --db " +
         Quote(dir + "/all.sqlite"));
  EXPECT_EQ(r.exitCode, 1) << r.out;
}

}  // namespace
}  // namespace ov
