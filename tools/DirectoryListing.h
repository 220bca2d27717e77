#pragma once
// Directory listings in a fixed name order, so that the storage tools give the same results on
// every file system. The order is the one a recorder's own (Windows) tools see on NTFS: names
// compared code unit by code unit after upper-casing, so "a2" < "B1" < "b2".
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace ov::tools {

struct DirEntry {
  std::string name;  // the entry's own name (UTF-8), never "." or ".."
  bool isDirectory = false;
};

// The entries of dir sorted with CompareEntryNames. An unreadable or missing folder gives an
// empty list; entries whose type cannot be read count as files. Never throws.
// When error is given it receives why the folder could not be read, or is cleared.
std::vector<DirEntry> ListDirectory(const std::filesystem::path& dir,
                                    std::error_code* error = nullptr);

// < 0, 0, > 0 as a sorts before, equal to or after b. Case-insensitive for ASCII and Latin-1;
// two names that differ only in case are then ordered by their bytes so the order stays total.
int CompareEntryNames(std::string_view a, std::string_view b);

// True when a and b are the same name ignoring case (as CompareEntryNames sees it).
bool SameNameIgnoringCase(std::string_view a, std::string_view b);

// Length in UTF-16 code units, which is how the recorder's tools count a name's characters.
// Bytes that are not valid UTF-8 count one each.
size_t NameLength(std::string_view name);

// The last n characters (code points) of text, or all of it when it is shorter.
std::string LastCharacters(std::string_view text, size_t n);

}  // namespace ov::tools
