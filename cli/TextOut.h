#pragma once
// Output of names read from files and folders: they are bytes of any kind, so what reaches a
// terminal or a JSON document is made safe here and nowhere else.
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

namespace ov::cli {

// For a terminal: valid UTF-8 passes, control characters (C0, DEL, C1) and bytes that are not
// UTF-8 are shown as \xNN, and a backslash as \\, so no name can move the cursor or forge a line.
std::string TerminalText(std::string_view bytes);

// One JSON document on one line (indent < 0) or indented; never throws on names that are not
// UTF-8: every invalid byte becomes U+FFFD.
std::string JsonText(const nlohmann::json& j, int indent = -1);

}  // namespace ov::cli
