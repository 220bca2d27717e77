#include "tools/DirectoryListing.h"

#include <algorithm>
#include <cstdint>
#include <system_error>

namespace ov::tools {
namespace {

// Decodes one UTF-8 sequence at text[i]; invalid bytes decode as themselves (one byte each).
char32_t NextCodePoint(std::string_view text, size_t& i) {
  const auto b0 = static_cast<uint8_t>(text[i]);
  size_t len = 1;
  char32_t cp = b0;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    len = 2;
    cp = b0 & 0x1F;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    len = 3;
    cp = b0 & 0x0F;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    len = 4;
    cp = b0 & 0x07;
  }
  if (len > 1) {
    if (i + len > text.size()) len = 1;
    for (size_t k = 1; k < len; ++k) {
      const auto b = static_cast<uint8_t>(text[i + k]);
      if ((b & 0xC0) != 0x80) {
        len = 1;
        break;
      }
      cp = (cp << 6) | (b & 0x3F);
    }
    if (len == 1) cp = b0;
  }
  i += len;
  return cp;
}

char32_t Upper(char32_t c) {
  if (c >= U'a' && c <= U'z') return c - 0x20;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;
  if (c == 0xFF) return 0x178;
  return c;
}

// Upper-cased UTF-16 code units, the key NTFS orders a folder's names by.
std::u16string SortKey(std::string_view name) {
  std::u16string key;
  key.reserve(name.size());
  for (size_t i = 0; i < name.size();) {
    const char32_t c = Upper(NextCodePoint(name, i));
    if (c >= 0x10000) {
      key.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
      key.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
    } else {
      key.push_back(static_cast<char16_t>(c));
    }
  }
  return key;
}

}  // namespace

int CompareEntryNames(std::string_view a, std::string_view b) {
  const int folded = SortKey(a).compare(SortKey(b));
  if (folded != 0) return folded;
  return a.compare(b);
}

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
  return SortKey(a) == SortKey(b);
}

size_t NameLength(std::string_view name) {
  size_t units = 0;
  for (size_t i = 0; i < name.size();) units += NextCodePoint(name, i) >= 0x10000 ? 2 : 1;
  return units;
}

std::string LastCharacters(std::string_view text, size_t n) {
  size_t start = text.size();
  while (start > 0 && n > 0) {
    --start;
    if ((static_cast<uint8_t>(text[start]) & 0xC0) != 0x80) --n;
  }
  return std::string(text.substr(start));
}

std::vector<DirEntry> ListDirectory(const std::filesystem::path& dir, std::error_code* error) {
  std::vector<DirEntry> entries;
  std::error_code ec;
  std::filesystem::directory_iterator it(dir, ec), end;
  for (; !ec && it != end; it.increment(ec)) {
    DirEntry e;
    e.name = it->path().filename().string();
    if (e.name.empty() || e.name == "." || e.name == "..") continue;
    std::error_code typeError;
    e.isDirectory = it->is_directory(typeError);  // follows links, as a search reports them
    entries.push_back(std::move(e));
  }
  if (error) *error = ec;
  std::sort(entries.begin(), entries.end(), [](const DirEntry& x, const DirEntry& y) {
    return CompareEntryNames(x.name, y.name) < 0;
  });
  return entries;
}

}  // namespace ov::tools
