#include "cli/Commands.h"

namespace ov::cli {
void RegisterInfo(CLI::App&, int&) {}
}  // namespace ov::cli
