#pragma once
// Each subcommand of ostravue-cli registers itself on the app; its callback stores the exit status.
#include <CLI/CLI.hpp>

namespace ov::cli {
void RegisterInfo(CLI::App& app, int& exitCode);
void RegisterMakeSample(CLI::App& app, int& exitCode);
void RegisterSeek(CLI::App& app, int& exitCode);
void RegisterTrace(CLI::App& app, int& exitCode);
void RegisterStorageTools(CLI::App& app, int& exitCode);
void RegisterExport(CLI::App& app, int& exitCode);
void RegisterSnapshot(CLI::App& app, int& exitCode);
void RegisterActivity(CLI::App& app, int& exitCode);
void RegisterCatalog(CLI::App& app, int& exitCode);
void RegisterFind(CLI::App& app, int& exitCode);
}  // namespace ov::cli
