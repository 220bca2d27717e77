#include "cli/Commands.h"

namespace ov::cli {
void RegisterSeek(CLI::App&, int&) {}
}  // namespace ov::cli
