#include <CLI/CLI.hpp>
#include <exception>
#include <iostream>

#include "cli/Commands.h"
#include "cli/HelpFormat.h"
#include "cli/TextOut.h"
#include "ov/Version.h"

int main(int argc, char** argv) {
  CLI::App app{"Tools for video recorder backup files that need no window"};
  app.name("ostravue-cli");  // the usage line names the program, not the path it was started by
  app.require_subcommand(1);
  ov::cli::SetGnuHelp(app, "ostravue-cli info rec.ysk");
  app.set_version_flag("--version", std::string("ostravue-cli ") + ov::kVersion,
                       "Show the version and exit");
  int exitCode = 0;
  ov::cli::RegisterInfo(app, exitCode);
  ov::cli::RegisterMakeSample(app, exitCode);
  ov::cli::RegisterSeek(app, exitCode);
  ov::cli::RegisterTrace(app, exitCode);
  ov::cli::RegisterStorageTools(app, exitCode);
  ov::cli::RegisterExport(app, exitCode);
  ov::cli::RegisterSnapshot(app, exitCode);
  ov::cli::RegisterActivity(app, exitCode);
  ov::cli::RegisterCatalog(app, exitCode);
  ov::cli::RegisterFind(app, exitCode);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    if (e.get_exit_code() == 0) return app.exit(e);  // --help and --version
    const std::vector<CLI::App*> given = app.get_subcommands();
    if (given.empty()) {
      // No command was recognised: say which there are.
      std::string names;
      for (const CLI::App* sub : app.get_subcommands([](const CLI::App*) { return true; }))
        names += (names.empty() ? "" : ", ") + sub->get_name();
      std::string word;
      for (int i = 1; i < argc && word.empty(); ++i)
        if (argv[i][0] != '-') word = argv[i];
      std::cerr << "ostravue-cli: "
                << (word.empty() ? std::string("no command given")
                                 : "unknown command '" + ov::cli::TerminalText(word) + "'")
                << "; the commands are: " << names << "\nTry 'ostravue-cli --help'.\n";
      return ov::cli::kExitUsage;
    }
    std::cerr << ov::cli::CommandPath(given.front()) << ": " << ov::cli::TerminalText(e.what())
              << "\nTry '" << ov::cli::CommandPath(given.front()) << " --help'.\n";
    return ov::cli::kExitUsage;
  } catch (const std::exception& e) {
    // Whatever a command did not foresee ends with a message, never an abort.
    std::cerr << "ostravue-cli: " << ov::cli::TerminalText(e.what()) << "\n";
    return ov::cli::kExitFailed;
  } catch (...) {
    std::cerr << "ostravue-cli: unexpected failure\n";
    return ov::cli::kExitFailed;
  }
  return exitCode;
}
