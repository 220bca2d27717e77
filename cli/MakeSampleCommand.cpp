#include "cli/Commands.h"

namespace ov::cli {
void RegisterMakeSample(CLI::App&, int&) {}
}  // namespace ov::cli
