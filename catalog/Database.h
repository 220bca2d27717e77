#pragma once
// The case catalog's SQLite database: opening, the schema and its migrations, and a thin
// statement wrapper. The catalog is the only file this module ever writes.
//
// Threads: a Database and its statements belong to one thread at a time (the writer).
#include <sqlite3.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

namespace ov::catalog {

// The layout the code reads and writes (PRAGMA user_version). Older catalogs are migrated when
// opened for writing; newer ones are refused.
inline constexpr int kSchemaVersion = 3;
// Marks a catalog among SQLite files (PRAGMA application_id): "OVCA".
inline constexpr int32_t kApplicationId = 0x4F564341;

class CatalogError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class Statement {
 public:
  Statement(sqlite3* db, const char* sql);
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  Statement& Bind(int i, int64_t v);
  Statement& Bind(int i, double v);
  Statement& Bind(int i, const std::string& v);
  Statement& BindNull(int i);
  template <typename T>
  Statement& Bind(int i, const std::optional<T>& v) {
    return v ? Bind(i, *v) : BindNull(i);
  }
  // True while a row is there; throws on an error.
  bool Step();
  // Runs to completion and resets, keeping the bindings' slots for the next use.
  void Run();
  void Reset();

  int64_t Int(int col) const;
  double Real(int col) const;
  std::string Text(int col) const;
  bool IsNull(int col) const;

 private:
  sqlite3* m_db;
  sqlite3_stmt* m_stmt = nullptr;
};

class Database {
 public:
  enum class Mode { ReadOnly, Write };
  // Opens path; Write creates it when absent and migrates an older schema. Throws CatalogError
  // with a message for the user when it is no catalog, damaged, newer, or cannot be opened.
  static std::unique_ptr<Database> Open(const std::string& path, Mode mode);
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  sqlite3* Handle() const { return m_db; }
  void Exec(const char* sql);
  int UserVersion();
  const std::string& Path() const { return m_path; }

 private:
  Database(sqlite3* db, std::string path) : m_db(db), m_path(std::move(path)) {}
  void Migrate();
  sqlite3* m_db;
  std::string m_path;
};

// Wraps BEGIN ... COMMIT; rolls back when left without Commit.
class Transaction {
 public:
  explicit Transaction(Database& db) : m_db(db) { m_db.Exec("BEGIN IMMEDIATE"); }
  ~Transaction();
  void Commit();

 private:
  Database& m_db;
  bool m_done = false;
};

// The first layout: headers and channel ranges only. Kept so that a catalog of it is migrated,
// and so that tests can make one.
extern const char* const kSchemaV1;
// The step from the first layout to the second, for tests that make a catalog of the second.
extern const char* const kMigrateV1ToV2;
// The third layout's step: recorder keys written before it ("4 ch, coding 2: A|B", names not
// escaped) become RecorderIdentity's. A key whose names held a '|' cannot be split for certain:
// its file is marked changed (mtime_ns -1), so the next catalog run reads it again. Applies to
// the rows with an id above firstId - 1.
void RewriteOldRecorderKeys(Database& db, int64_t firstId = 1);

}  // namespace ov::catalog
