#include "cli/TextOut.h"

#include "export/ClipNames.h"

namespace ov::cli {
std::string TerminalText(std::string_view s) { return exporter::EscapedText(s); }

std::string JsonText(const nlohmann::json& j, int indent) {
  return j.dump(indent, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace ov::cli
