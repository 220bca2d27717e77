#include "cli/Commands.h"

namespace ov::cli {
void RegisterTrace(CLI::App&, int&) {}
}  // namespace ov::cli
