#include "cli/Commands.h"

namespace ov::cli {
void RegisterStorageTools(CLI::App&, int&) {}
}  // namespace ov::cli
