#pragma once
// Questions put to a catalog (which files and channels hold a moment, which events fall in a
// span, which sets of files it holds) and the merge of catalogs made separately.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "catalog/Database.h"

namespace ov::catalog {

// A camera as the user names it: its number (1..16) when all digits, else its name (any case).
struct CameraFilter {
  std::optional<int64_t> number;
  std::optional<std::string> name;
};
CameraFilter ParseCamera(const std::string& text);

struct ChannelHit {
  std::string path;
  std::optional<std::string> sha256;
  int64_t number = 0;
  std::string name;
  int64_t first = 0, last = 0;
};
// The channels whose video covers the second `at` (between their first and last frame, not in a
// gap), by path and channel.
std::vector<ChannelHit> FindAt(Database& db, int64_t at, const CameraFilter& camera);

struct EventHit {
  std::string path;
  int64_t number = 0;
  std::string name;
  int64_t from = 0, to = 0;
  double peak = 0;
};
// The events that overlap [from, to], by time.
std::vector<EventHit> FindEvents(Database& db, int64_t from, int64_t to,
                                 const CameraFilter& camera);

// Files of one recorder (same layout) recorded on one day, by start time.
struct CaseSet {
  std::string layout;
  std::string day;  // YYYY-MM-DD of the first file's start
  std::vector<std::string> paths;
  int64_t start = 0, end = 0;
};
std::vector<CaseSet> ListSets(Database& db);

struct MergeStats {
  size_t added = 0, replaced = 0, kept = 0;
};
// Adds the files of the catalog at source to db. A path both hold keeps the later scan.
MergeStats MergeCatalog(Database& db, const std::string& source);

// "YYYY-MM-DD HH:MM:SS" of a recording second.
std::string TimeText(int64_t seconds);

}  // namespace ov::catalog
