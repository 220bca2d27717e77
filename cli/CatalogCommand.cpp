// ostravue-cli catalog and find: a case catalog of every backup file under folders, in an SQLite
// database, and the questions put to it.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "archive/Calendar.h"
#include "archive/FileSource.h"
#include "catalog/CatalogRun.h"
#include "catalog/Database.h"
#include "catalog/Query.h"
#include "cli/Commands.h"
#include "cli/HelpFormat.h"
#include "cli/TextOut.h"

namespace ov::cli {
namespace {
using nlohmann::json;
using namespace ov::catalog;

struct CatalogArgs {
  std::vector<std::string> paths;
  std::string db;
  bool hash = false, activity = false, merge = false, json = false;
  int jobs = 0;
};

struct FindArgs {
  std::string db, at, from, to, camera;
  bool events = false, json = false;
};

int Usage(const char* command, const std::string& what) {
  std::cerr << "ostravue-cli " << command << ": " << TerminalText(what) << "\nTry 'ostravue-cli "
            << command << " --help'.\n";
  return kExitUsage;
}

bool Inside(const std::string& path, const std::string& folder) {
  return path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
         (folder.back() == '/' || path[folder.size()] == '/');
}

int RunMerge(const CatalogArgs& a) {
  const auto target = IdentityOfPath(a.db);
  for (const std::string& p : a.paths) {
    const auto id = IdentityOfPath(p);
    if (!id) {
      std::cerr << "ostravue-cli catalog: " << TerminalText(p) << ": no such catalog\n";
      return kExitFailed;
    }
    if (target && id->SameFile(*target))
      return Usage("catalog", "--db " + a.db + " is also a catalog to merge");
  }
  auto db = Database::Open(a.db, Database::Mode::Write);
  MergeStats total;
  for (const std::string& p : a.paths) {
    const MergeStats s = MergeCatalog(*db, p);
    total.added += s.added;
    total.replaced += s.replaced;
    total.kept += s.kept;
  }
  if (a.json)
    std::cout << JsonText({{"db", a.db},
                           {"merged", a.paths.size()},
                           {"added", total.added},
                           {"replaced", total.replaced},
                           {"kept", total.kept}})
              << "\n";
  std::fprintf(stderr, "catalog: merged %zu catalogs: %zu files added, %zu replaced, %zu kept\n",
               a.paths.size(), total.added, total.replaced, total.kept);
  return kExitDone;
}

int RunCatalogCommand(const CatalogArgs& a) {
  if (a.merge) return RunMerge(a);
  // Links resolved: a --db reached through a link into a scanned folder is refused too.
  const auto real = [](const std::string& p) {
    std::error_code ec;
    const auto c = std::filesystem::weakly_canonical(p, ec);
    return ec ? CatalogPath(p) : CatalogPath(c.string());
  };
  const std::string dbPath = real(a.db);
  for (const std::string& p : a.paths) {
    std::error_code ec;
    if (!std::filesystem::exists(p, ec)) {
      std::cerr << "ostravue-cli catalog: " << TerminalText(p) << ": No such file or directory\n";
      return kExitFailed;
    }
    // Nothing is ever written beside the evidence, the catalog included.
    if (Inside(dbPath, real(p)))
      return Usage("catalog", "--db " + a.db + " lies inside " + p +
                                  ": keep the catalog out of the folders it describes");
  }
  auto db = Database::Open(a.db, Database::Mode::Write);
  RunOptions o;
  o.roots = a.paths;
  o.hash = a.hash;
  o.activity = a.activity;
  o.jobs = a.jobs;
  const bool terminal = ::isatty(STDERR_FILENO) == 1;
  auto last = std::chrono::steady_clock::now() - std::chrono::seconds(1);
  const RunStats s = RunCatalog(*db, o, [&](const RunProgress& p) {
    const auto now = std::chrono::steady_clock::now();
    if (!terminal || (now - last < std::chrono::milliseconds(200) && p.read < p.toRead)) return;
    last = now;
    std::fprintf(stderr, "\rcatalog: %zu files, %zu/%zu read", p.listed, p.read, p.toRead);
    std::fflush(stderr);
  });
  if (terminal) std::fprintf(stderr, "\n");
  if (a.json)
    std::cout << JsonText({{"db", a.db},
                           {"files", s.progress.listed},
                           {"read", s.progress.read},
                           {"unchanged", s.unchanged},
                           {"removed", s.removed},
                           {"accepted", s.accepted},
                           {"rejected", s.rejected},
                           {"ignored", s.ignored}})
              << "\n";
  std::fprintf(stderr,
               "catalog: %zu files, %zu read (%zu accepted, %zu rejected, %zu ignored), %zu "
               "unchanged, %zu removed\n",
               s.progress.listed, s.progress.read, s.accepted, s.rejected, s.ignored, s.unchanged,
               s.removed);
  return kExitDone;
}

std::optional<int64_t> Seconds(const std::string& text, const char* option, std::string& why) {
  std::string reason;
  const auto t = ParseDateTime(text, &reason);
  if (!t) {
    why = std::string(option) + " '" + text + "': " + reason;
    return std::nullopt;
  }
  return CalendarToSeconds(*t);
}

int RunFind(const FindArgs& a) {
  std::string why;
  if (a.events) {
    if (a.from.empty() || a.to.empty()) return Usage("find", "--events needs --from and --to");
    if (!a.at.empty()) return Usage("find", "--at and --events exclude each other");
    const auto from = Seconds(a.from, "--from", why), to = Seconds(a.to, "--to", why);
    if (!from || !to) return Usage("find", why);
    auto db = Database::Open(a.db, Database::Mode::ReadOnly);
    const auto hits = FindEvents(*db, *from, *to, ParseCamera(a.camera));
    if (a.json) {
      json list = json::array();
      for (const EventHit& h : hits)
        list.push_back({{"path", h.path},
                        {"channel", h.number},
                        {"name", h.name},
                        {"from", TimeText(h.from)},
                        {"to", TimeText(h.to)},
                        {"peak", h.peak}});
      std::cout << JsonText({{"from", TimeText(*from)}, {"to", TimeText(*to)}, {"events", list}})
                << "\n";
    } else {
      for (const EventHit& h : hits)
        std::printf("%s .. %s  channel %lld %s  peak %.2f  %s\n", TimeText(h.from).c_str(),
                    TimeText(h.to).c_str(), static_cast<long long>(h.number),
                    TerminalText(h.name).c_str(), h.peak, TerminalText(h.path).c_str());
      if (hits.empty()) std::fprintf(stderr, "find: no event between those times\n");
    }
    return kExitDone;
  }
  if (a.at.empty()) return Usage("find", "give --at, or --events with --from and --to");
  if (!a.from.empty() || !a.to.empty()) return Usage("find", "--from and --to go with --events");
  const auto at = Seconds(a.at, "--at", why);
  if (!at) return Usage("find", why);
  auto db = Database::Open(a.db, Database::Mode::ReadOnly);
  const auto hits = FindAt(*db, *at, ParseCamera(a.camera));
  if (a.json) {
    json list = json::array();
    for (const ChannelHit& h : hits)
      list.push_back({{"path", h.path},
                      {"sha256", h.sha256 ? json(*h.sha256) : json(nullptr)},
                      {"channel", h.number},
                      {"name", h.name},
                      {"first", TimeText(h.first)},
                      {"last", TimeText(h.last)}});
    std::cout << JsonText({{"at", TimeText(*at)}, {"channels", list}}) << "\n";
  } else {
    for (const ChannelHit& h : hits)
      std::printf("channel %-2lld %-20s %s .. %s  %s\n", static_cast<long long>(h.number),
                  TerminalText(h.name).c_str(), TimeText(h.first).c_str(), TimeText(h.last).c_str(),
                  TerminalText(h.path).c_str());
    if (hits.empty()) std::fprintf(stderr, "find: no channel recorded at %s\n", a.at.c_str());
  }
  return kExitDone;
}

// Catalog errors (no catalog, damaged, newer) are the user's to read, after the command's name.
template <typename F>
int Guarded(const char* command, F&& f) {
  try {
    return f();
  } catch (const CatalogError& e) {
    std::cerr << "ostravue-cli " << command << ": " << TerminalText(e.what()) << "\n";
    return kExitFailed;
  }
}

}  // namespace

void RegisterCatalog(CLI::App& app, int& exitCode) {
  auto a = std::make_shared<CatalogArgs>();
  auto* cmd = app.add_subcommand(
      "catalog", "Record every backup file under folders in a case catalog (SQLite)");
  cmd->add_option("dir", a->paths, "Folders (or files) to scan; with --merge, catalogs to merge")
      ->required();
  cmd->add_option("--db", a->db, "The catalog to write (made when absent)")
      ->required()
      ->type_name("file");
  cmd->add_flag("--hash", a->hash, "Also record each file's SHA-256 (computed once)");
  cmd->add_flag("--activity", a->activity, "Also record the events of the activity analysis");
  cmd->add_option("--jobs", a->jobs, "Files read at once (default: one per core)")
      ->check(CLI::Range(1, 256))
      ->type_name("n");
  auto* merge = cmd->add_flag("--merge", a->merge, "Merge the catalogs given into --db");
  merge->excludes(cmd->get_option("--hash"))->excludes(cmd->get_option("--activity"));
  cmd->add_flag("--json", a->json, "Print the counts as one JSON object");
  SetGnuHelp(*cmd, "ostravue-cli catalog /media/drive1 --db case.sqlite --hash");
  cmd->callback(
      [a, &exitCode] { exitCode = Guarded("catalog", [&] { return RunCatalogCommand(*a); }); });
}

void RegisterFind(CLI::App& app, int& exitCode) {
  auto a = std::make_shared<FindArgs>();
  auto* cmd =
      app.add_subcommand("find", "List the files and channels of a catalog that hold a moment");
  cmd->add_option("--db", a->db, "The catalog to ask")->required()->type_name("file");
  cmd->add_option("--at", a->at, "The moment, \"YYYY-MM-DD HH:MM:SS\"")->type_name("time");
  cmd->add_flag("--events", a->events, "List the events between --from and --to instead");
  cmd->add_option("--from", a->from, "Start of the span (with --events)")->type_name("time");
  cmd->add_option("--to", a->to, "End of the span (with --events)")->type_name("time");
  cmd->add_option("--camera", a->camera, "Only this camera: its number 1..16 or its name")
      ->type_name("name|n");
  cmd->add_flag("--json", a->json, "Print one JSON object");
  SetGnuHelp(*cmd, "ostravue-cli find --db case.sqlite --at \"2024-03-01 12:00:30\" --camera 3");
  cmd->callback([a, &exitCode] { exitCode = Guarded("find", [&] { return RunFind(*a); }); });
}

}  // namespace ov::cli
