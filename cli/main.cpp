#include <CLI/CLI.hpp>
#include <exception>
#include <iostream>

#include "cli/Commands.h"
#include "cli/TextOut.h"
#include "ov/Version.h"

int main(int argc, char** argv) {
  CLI::App app{
      "ostravue-cli: backup file tools (info, make-sample, seek, trace, export, snapshot, "
      "activity, "
      "storage "
      "tools)"};
  app.name("ostravue-cli");  // the usage line names the program, not the path it was started by
  app.require_subcommand(1);
  app.set_version_flag("--version", std::string("ostravue-cli ") + ov::kVersion);
  int exitCode = 0;
  ov::cli::RegisterInfo(app, exitCode);
  ov::cli::RegisterMakeSample(app, exitCode);
  ov::cli::RegisterSeek(app, exitCode);
  ov::cli::RegisterTrace(app, exitCode);
  ov::cli::RegisterStorageTools(app, exitCode);
  ov::cli::RegisterExport(app, exitCode);
  ov::cli::RegisterSnapshot(app, exitCode);
  ov::cli::RegisterActivity(app, exitCode);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    if (e.get_exit_code() != 0 && app.get_subcommands().empty()) {
      // No command was recognised: say which there are.
      std::string names;
      for (const CLI::App* sub : app.get_subcommands([](const CLI::App*) { return true; }))
        names += (names.empty() ? "" : ", ") + sub->get_name();
      std::string given;
      for (int i = 1; i < argc && given.empty(); ++i)
        if (argv[i][0] != '-') given = argv[i];
      std::cerr << "ostravue-cli: "
                << (given.empty() ? std::string("no command given")
                                  : "unknown command '" + ov::cli::TerminalText(given) + "'")
                << "; the commands are: " << names << "\nRun 'ostravue-cli --help' for more.\n";
      return 1;
    }
    const int rc = app.exit(e);
    return rc == 0 ? 0 : 1;  // usage errors exit 1
  } catch (const std::exception& e) {
    // Whatever a command did not foresee ends with a message, never an abort.
    std::cerr << "ostravue-cli: " << ov::cli::TerminalText(e.what()) << "\n";
    return 1;
  } catch (...) {
    std::cerr << "ostravue-cli: unexpected failure\n";
    return 1;
  }
  return exitCode;
}
