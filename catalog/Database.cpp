#include "catalog/Database.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <utility>
#include <vector>

#include "archive/RecorderIdentity.h"
#include "archive/YskFormat.h"

namespace ov::catalog {
namespace {

[[noreturn]] void Fail(sqlite3* db, const std::string& what) {
  throw CatalogError(what + ": " + (db ? sqlite3_errmsg(db) : "out of memory"));
}

// A key as written before RecorderIdentity's: "<n> ch, coding <c>:" then " name|name|...".
// Returns the new key, and whether the names split into exactly the channels counted.
std::optional<std::string> KeyOfOldLayout(const std::string& old, bool& exact) {
  int count = 0, coding = 0, used = 0;
  if (std::sscanf(old.c_str(), "%3d ch, coding %3d:%n", &count, &coding, &used) != 2 || used == 0)
    return std::nullopt;
  const size_t want = size_t(std::clamp(count, 0, kSlots));
  std::vector<std::string> names;
  if (size_t(used) < old.size()) {
    names.emplace_back();
    for (size_t i = size_t(used) + 1; i < old.size(); ++i) {  // past the space after the colon
      if (old[i] == '|')
        names.emplace_back();
      else
        names.back() += old[i];
    }
  }
  exact = names.size() == want;
  if (!exact) {
    // A name held a '|': the names' text is kept as one name (its '|' escaped), so the key
    // stays apart from every exact one until the file is read anew.
    std::string rest = size_t(used) < old.size() ? old.substr(size_t(used) + 1) : std::string();
    names.assign(1, rest);
  }
  return RecorderIdentity(count, coding, names);
}

// ov_recorder_key(old) and ov_old_key_exact(old) for the migration's statements.
void OldKeyFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
  const bool wantExact = sqlite3_user_data(ctx) != nullptr;
  if (sqlite3_value_type(argv[0]) != SQLITE_TEXT) {
    if (wantExact)
      sqlite3_result_int(ctx, 1);
    else
      sqlite3_result_value(ctx, argv[0]);
    return;
  }
  const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
  const std::string old(text, size_t(sqlite3_value_bytes(argv[0])));
  bool exact = true;
  const std::optional<std::string> key = KeyOfOldLayout(old, exact);
  if (wantExact) {
    sqlite3_result_int(ctx, key && !exact ? 0 : 1);
  } else if (key) {
    sqlite3_result_text(ctx, key->data(), int(key->size()), SQLITE_TRANSIENT);
  } else {
    sqlite3_result_value(ctx, argv[0]);  // not a key of the old form: left as it is
  }
}

}  // namespace

// The second layout: SHA-256 of whole files, the analysis' events and each channel's gaps.
const char* const kMigrateV1ToV2 = R"sql(
ALTER TABLE files ADD COLUMN sha256 TEXT;
ALTER TABLE files ADD COLUMN activity INTEGER NOT NULL DEFAULT 0;
CREATE TABLE gaps(
  file_id INTEGER NOT NULL REFERENCES files(id) ON DELETE CASCADE,
  slot INTEGER NOT NULL, from_time INTEGER NOT NULL, to_time INTEGER NOT NULL);
CREATE INDEX gaps_channel ON gaps(file_id, slot);
CREATE TABLE events(
  file_id INTEGER NOT NULL REFERENCES files(id) ON DELETE CASCADE,
  slot INTEGER NOT NULL, from_time INTEGER NOT NULL, to_time INTEGER NOT NULL, peak REAL);
CREATE INDEX events_time ON events(from_time, to_time);
CREATE INDEX events_file ON events(file_id);
CREATE INDEX files_layout ON files(layout, start_time);
PRAGMA user_version = 2;
)sql";

const char* const kSchemaV1 = R"sql(
CREATE TABLE files(
  id INTEGER PRIMARY KEY, path TEXT NOT NULL UNIQUE, size INTEGER NOT NULL,
  mtime_ns INTEGER NOT NULL, inode INTEGER NOT NULL, device INTEGER NOT NULL,
  status TEXT NOT NULL, code TEXT, message TEXT, kind INTEGER, channel_count INTEGER,
  video_coding INTEGER, layout TEXT, start_time INTEGER, end_time INTEGER,
  scanned_at INTEGER NOT NULL);
CREATE TABLE channels(
  file_id INTEGER NOT NULL REFERENCES files(id) ON DELETE CASCADE,
  slot INTEGER NOT NULL, number INTEGER NOT NULL, name TEXT NOT NULL, coding INTEGER,
  video INTEGER NOT NULL, sound INTEGER NOT NULL, first_time INTEGER, last_time INTEGER,
  PRIMARY KEY(file_id, slot));
CREATE INDEX channels_time ON channels(first_time, last_time);
PRAGMA application_id = 1331053377;
PRAGMA user_version = 1;
)sql";

Statement::Statement(sqlite3* db, const char* sql) : m_db(db) {
  if (sqlite3_prepare_v2(db, sql, -1, &m_stmt, nullptr) != SQLITE_OK) Fail(db, "catalog query");
}
Statement::~Statement() { sqlite3_finalize(m_stmt); }

Statement& Statement::Bind(int i, int64_t v) {
  sqlite3_bind_int64(m_stmt, i, v);
  return *this;
}
Statement& Statement::Bind(int i, double v) {
  sqlite3_bind_double(m_stmt, i, v);
  return *this;
}
Statement& Statement::Bind(int i, const std::string& v) {
  sqlite3_bind_text(m_stmt, i, v.data(), int(v.size()), SQLITE_TRANSIENT);
  return *this;
}
Statement& Statement::BindNull(int i) {
  sqlite3_bind_null(m_stmt, i);
  return *this;
}
bool Statement::Step() {
  const int rc = sqlite3_step(m_stmt);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  sqlite3_reset(m_stmt);
  Fail(m_db, "catalog");
}
void Statement::Run() {
  while (Step()) {
  }
  Reset();
}
void Statement::Reset() {
  sqlite3_reset(m_stmt);
  sqlite3_clear_bindings(m_stmt);
}
int64_t Statement::Int(int col) const { return sqlite3_column_int64(m_stmt, col); }
double Statement::Real(int col) const { return sqlite3_column_double(m_stmt, col); }
std::string Statement::Text(int col) const {
  const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, col));
  return p ? std::string(p, size_t(sqlite3_column_bytes(m_stmt, col))) : std::string();
}
bool Statement::IsNull(int col) const { return sqlite3_column_type(m_stmt, col) == SQLITE_NULL; }

std::unique_ptr<Database> Database::Open(const std::string& path, Mode mode) {
  struct stat st {};
  if (mode == Mode::ReadOnly && ::stat(path.c_str(), &st) != 0)
    throw CatalogError(path + ": no such catalog");
  if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode))
    throw CatalogError(path + ": not a regular file");
  sqlite3* raw = nullptr;
  const int flags =
      (mode == Mode::Write ? SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE : SQLITE_OPEN_READONLY) |
      SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_URI;
  const int rc = sqlite3_open_v2(path.c_str(), &raw, flags, nullptr);
  std::unique_ptr<Database> db(new Database(raw, path));
  if (rc != SQLITE_OK) Fail(raw, path);
  sqlite3_extended_result_codes(raw, 1);
  sqlite3_busy_timeout(raw, 10000);  // another job merging into the same catalog
  int64_t appId = 0, version = 0, tables = 0;
  try {
    Statement a(raw, "PRAGMA application_id");
    if (a.Step()) appId = a.Int(0);
    Statement v(raw, "PRAGMA user_version");
    if (v.Step()) version = v.Int(0);
    Statement t(raw, "SELECT count(*) FROM sqlite_master");
    if (t.Step()) tables = t.Int(0);
  } catch (const CatalogError&) {
    throw CatalogError(path + ": not a catalog (" + sqlite3_errmsg(raw) + ")");
  }
  const bool fresh = appId == 0 && version == 0 && tables == 0;
  if (!fresh && appId != kApplicationId) throw CatalogError(path + ": not a catalog");
  if (fresh && mode == Mode::ReadOnly) throw CatalogError(path + ": an empty catalog");
  if (version > kSchemaVersion)
    throw CatalogError(path + ": made by a newer version (schema " + std::to_string(version) +
                       ", this program reads up to " + std::to_string(kSchemaVersion) + ")");
  if (mode == Mode::ReadOnly) {
    if (version < kSchemaVersion) {
      // Bring it up to date once, then read it as asked.
      db.reset();
      Open(path, Mode::Write);
      return Open(path, Mode::ReadOnly);
    }
    return db;
  }
  db->Exec("PRAGMA foreign_keys = ON; PRAGMA synchronous = NORMAL");
  if (fresh) db->Exec(kSchemaV1);
  db->Migrate();
  return db;
}

Database::~Database() { sqlite3_close_v2(m_db); }

void Database::Exec(const char* sql) {
  char* err = nullptr;
  if (sqlite3_exec(m_db, sql, nullptr, nullptr, &err) != SQLITE_OK) {
    std::string what = err ? err : sqlite3_errmsg(m_db);
    sqlite3_free(err);
    throw CatalogError(m_path + ": " + what);
  }
}

int Database::UserVersion() {
  Statement v(m_db, "PRAGMA user_version");
  return v.Step() ? int(v.Int(0)) : 0;
}

void RewriteOldRecorderKeys(Database& db, int64_t firstId) {
  sqlite3* raw = db.Handle();
  static const char kExact = 1;
  if (sqlite3_create_function(raw, "ov_recorder_key", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
                              nullptr, OldKeyFunction, nullptr, nullptr) != SQLITE_OK ||
      sqlite3_create_function(raw, "ov_old_key_exact", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
                              const_cast<char*>(&kExact), OldKeyFunction, nullptr,
                              nullptr) != SQLITE_OK)
    Fail(raw, db.Path());
  Statement mark(raw,
                 "UPDATE files SET mtime_ns = -1 WHERE id >= ?1 AND layout IS NOT NULL"
                 " AND NOT ov_old_key_exact(layout)");
  mark.Bind(1, firstId).Run();
  Statement rewrite(raw,
                    "UPDATE files SET layout = ov_recorder_key(layout)"
                    " WHERE id >= ?1 AND layout IS NOT NULL");
  rewrite.Bind(1, firstId).Run();
}

void Database::Migrate() {
  // Each step runs in a transaction of its own: a catalog is never left between two layouts.
  for (int v = UserVersion(); v < kSchemaVersion; v = UserVersion()) {
    Transaction t(*this);
    if (v == 1) {
      Exec(kMigrateV1ToV2);
    } else if (v == 2) {
      RewriteOldRecorderKeys(*this);
      Exec("PRAGMA user_version = 3");
    } else {
      throw CatalogError(m_path + ": schema " + std::to_string(v) + " cannot be migrated");
    }
    t.Commit();
  }
}

Transaction::~Transaction() {
  if (!m_done) sqlite3_exec(m_db.Handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}
void Transaction::Commit() {
  m_db.Exec("COMMIT");
  m_done = true;
}

}  // namespace ov::catalog
