#include "catalog/Query.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <limits>

#include "archive/Calendar.h"

namespace ov::catalog {
namespace {

// The camera condition on a channels row aliased c, with its parameters at ?8 and ?9.
const char* kCameraCondition =
    " AND (?8 IS NULL OR c.number = ?8) AND (?9 IS NULL OR c.name = ?9 COLLATE NOCASE)";

void BindCamera(Statement& s, const CameraFilter& camera) {
  s.Bind(8, camera.number).Bind(9, camera.name);
}

// A path as an SQLite URI, so that it is opened read-only whatever characters it holds.
std::string ReadOnlyUri(const std::string& path) {
  std::string uri = "file:";
  for (unsigned char ch : path) {
    if (std::isalnum(ch) || ch == '/' || ch == '.' || ch == '-' || ch == '_') {
      uri.push_back(char(ch));
    } else {
      char b[4];
      std::snprintf(b, sizeof b, "%%%02X", ch);
      uri += b;
    }
  }
  return uri + "?mode=ro";
}

int64_t Scalar(Database& db, const char* sql) {
  Statement s(db.Handle(), sql);
  return s.Step() ? s.Int(0) : 0;
}

}  // namespace

CameraFilter ParseCamera(const std::string& text) {
  CameraFilter f;
  if (text.empty()) return f;
  if (text.size() <= 3 &&
      std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); }))
    f.number = std::stoll(text);
  else
    f.name = text;
  return f;
}

std::string TimeText(int64_t seconds) {
  const auto clamped = int32_t(std::clamp<int64_t>(seconds, std::numeric_limits<int32_t>::min(),
                                                   std::numeric_limits<int32_t>::max()));
  const CalendarTime t = SecondsToCalendar(clamped);
  char b[64];
  std::snprintf(b, sizeof b, "%04u-%02u-%02u %02u:%02u:%02u", t.year, t.month, t.day, t.hour,
                t.minute, t.second);
  return b;
}

std::vector<ChannelHit> FindAt(Database& db, int64_t at, const CameraFilter& camera) {
  std::string sql =
      "SELECT f.path, f.sha256, c.number, c.name, c.first_time, c.last_time"
      " FROM channels c JOIN files f ON f.id = c.file_id"
      " WHERE c.video AND c.first_time <= ?1 AND c.last_time >= ?1"
      " AND NOT EXISTS (SELECT 1 FROM gaps g WHERE g.file_id = c.file_id AND g.slot = c.slot"
      " AND g.from_time <= ?1 AND g.to_time >= ?1)";
  sql += kCameraCondition;
  sql += " ORDER BY f.path, c.slot";
  Statement s(db.Handle(), sql.c_str());
  s.Bind(1, at);
  BindCamera(s, camera);
  std::vector<ChannelHit> hits;
  while (s.Step()) {
    ChannelHit h;
    h.path = s.Text(0);
    if (!s.IsNull(1)) h.sha256 = s.Text(1);
    h.number = s.Int(2);
    h.name = s.Text(3);
    h.first = s.Int(4);
    h.last = s.Int(5);
    hits.push_back(std::move(h));
  }
  return hits;
}

std::vector<EventHit> FindEvents(Database& db, int64_t from, int64_t to,
                                 const CameraFilter& camera) {
  std::string sql =
      "SELECT f.path, e.slot + 1, coalesce(c.name, ''), e.from_time, e.to_time, e.peak"
      " FROM events e JOIN files f ON f.id = e.file_id"
      " LEFT JOIN channels c ON c.file_id = e.file_id AND c.slot = e.slot"
      " WHERE e.to_time >= ?1 AND e.from_time <= ?2";
  sql += " AND (?8 IS NULL OR e.slot + 1 = ?8) AND (?9 IS NULL OR c.name = ?9 COLLATE NOCASE)";
  sql += " ORDER BY e.from_time, f.path, e.slot";
  Statement s(db.Handle(), sql.c_str());
  s.Bind(1, from).Bind(2, to);
  BindCamera(s, camera);
  std::vector<EventHit> hits;
  while (s.Step()) hits.push_back({s.Text(0), s.Int(1), s.Text(2), s.Int(3), s.Int(4), s.Real(5)});
  return hits;
}

std::vector<CaseSet> ListSets(Database& db) {
  Statement s(db.Handle(),
              "SELECT path, layout, start_time, end_time FROM files"
              " WHERE status = 'accepted' AND start_time IS NOT NULL"
              " ORDER BY layout, start_time, path");
  std::vector<CaseSet> sets;
  while (s.Step()) {
    const std::string layout = s.Text(1);
    const int64_t start = s.Int(2), end = s.Int(3);
    const std::string day = TimeText(start).substr(0, 10);
    if (sets.empty() || sets.back().layout != layout || sets.back().day != day)
      sets.push_back({layout, day, {}, start, end});
    sets.back().paths.push_back(s.Text(0));
    sets.back().end = std::max(sets.back().end, end);
  }
  return sets;
}

MergeStats MergeCatalog(Database& db, const std::string& source) {
  Statement attach(db.Handle(), "ATTACH DATABASE ?1 AS src");
  attach.Bind(1, ReadOnlyUri(source)).Run();
  struct Detach {
    Database& db;
    ~Detach() { sqlite3_exec(db.Handle(), "DETACH DATABASE src", nullptr, nullptr, nullptr); }
  } detach{db};
  int64_t appId = 0, version = 0;
  try {
    appId = Scalar(db, "PRAGMA src.application_id");
    version = Scalar(db, "PRAGMA src.user_version");
  } catch (const CatalogError&) {
    throw CatalogError(source + ": not a catalog (" + sqlite3_errmsg(db.Handle()) + ")");
  }
  if (appId != kApplicationId) throw CatalogError(source + ": not a catalog");
  if (version < 1 || version > kSchemaVersion)
    throw CatalogError(source + ": schema " + std::to_string(version) + " cannot be merged");
  const bool v2 = version >= 2;

  MergeStats stats;
  Transaction t(db);
  stats.kept = size_t(Scalar(db,
                             "SELECT count(*) FROM src.files s JOIN main.files m ON m.path = s.path"
                             " WHERE m.scanned_at > s.scanned_at"));
  db.Exec(
      "DELETE FROM main.files WHERE id IN (SELECT m.id FROM main.files m JOIN src.files s"
      " ON s.path = m.path WHERE s.scanned_at >= m.scanned_at)");
  stats.replaced = size_t(sqlite3_changes(db.Handle()));
  const int64_t before = Scalar(db, "SELECT coalesce(max(id), 0) FROM main.files");
  db.Exec(v2 ? "INSERT INTO main.files(path, size, mtime_ns, inode, device, status, code, message,"
               " kind, channel_count, video_coding, layout, start_time, end_time, scanned_at,"
               " sha256, activity) SELECT path, size, mtime_ns, inode, device, status, code,"
               " message, kind, channel_count, video_coding, layout, start_time, end_time,"
               " scanned_at, sha256, activity FROM src.files s"
               " WHERE NOT EXISTS (SELECT 1 FROM main.files m WHERE m.path = s.path)"
             : "INSERT INTO main.files(path, size, mtime_ns, inode, device, status, code, message,"
               " kind, channel_count, video_coding, layout, start_time, end_time, scanned_at)"
               " SELECT path, size, mtime_ns, inode, device, status, code, message, kind,"
               " channel_count, video_coding, layout, start_time, end_time, scanned_at"
               " FROM src.files s"
               " WHERE NOT EXISTS (SELECT 1 FROM main.files m WHERE m.path = s.path)");
  stats.added = size_t(sqlite3_changes(db.Handle())) - stats.replaced;
  // The rows just added are those above `before`: their children follow them by path.
  const std::string join =
      " JOIN src.files s ON s.id = x.file_id JOIN main.files m ON m.path = s.path WHERE m.id > " +
      std::to_string(before);
  db.Exec(("INSERT INTO main.channels SELECT m.id, x.slot, x.number, x.name, x.coding, x.video,"
           " x.sound, x.first_time, x.last_time FROM src.channels x" +
           join)
              .c_str());
  // Keys written before RecorderIdentity's are rewritten as a migration would.
  if (version < 3) RewriteOldRecorderKeys(db, before + 1);
  if (v2) {
    db.Exec(
        ("INSERT INTO main.gaps SELECT m.id, x.slot, x.from_time, x.to_time FROM src.gaps x" + join)
            .c_str());
    db.Exec(("INSERT INTO main.events SELECT m.id, x.slot, x.from_time, x.to_time, x.peak"
             " FROM src.events x" +
             join)
                .c_str());
  }
  t.Commit();
  return stats;
}

}  // namespace ov::catalog
