#include "cli/TextOut.h"

#include <cstdint>
#include <cstdio>

namespace ov::cli {
namespace {
// Length of the valid UTF-8 sequence at s[i], or 0 when the byte does not start one.
size_t Utf8Length(std::string_view s, size_t i) {
  const auto b = [&](size_t k) { return static_cast<uint8_t>(s[k]); };
  const uint8_t c = b(i);
  size_t n = 0;
  uint32_t cp = 0;
  if (c < 0x80) return 1;
  if (c >= 0xC2 && c <= 0xDF)
    n = 2, cp = c & 0x1Fu;
  else if (c >= 0xE0 && c <= 0xEF)
    n = 3, cp = c & 0x0Fu;
  else if (c >= 0xF0 && c <= 0xF4)
    n = 4, cp = c & 0x07u;
  else
    return 0;
  if (i + n > s.size()) return 0;
  for (size_t k = 1; k < n; ++k) {
    if ((b(i + k) & 0xC0) != 0x80) return 0;
    cp = cp << 6 | (b(i + k) & 0x3Fu);
  }
  const uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
  if (cp < least[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  if (cp >= 0x80 && cp <= 0x9F) return 0;  // C1 controls are escaped like C0
  return n;
}
}  // namespace

std::string TerminalText(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size();) {
    const auto c = static_cast<uint8_t>(s[i]);
    const size_t n = Utf8Length(s, i);
    if (c == '\\') {
      out += "\\\\";
      ++i;
    } else if (n == 0 || c < 0x20 || c == 0x7F) {
      char esc[8];
      std::snprintf(esc, sizeof esc, "\\x%02X", c);
      out += esc;
      ++i;
    } else {
      out.append(s.substr(i, n));
      i += n;
    }
  }
  return out;
}

std::string JsonText(const nlohmann::json& j, int indent) {
  return j.dump(indent, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace ov::cli
