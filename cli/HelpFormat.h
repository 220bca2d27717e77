#pragma once
// One help style for every command of ostravue-cli, the same as the player's: GNU layout
// ("-h, --help", lower-case argument names, defaults in the text), an example per command, and
// usage errors that end with "Try '... --help'." and exit status 2.
#include <CLI/CLI.hpp>
#include <string>

namespace ov::cli {

// Exit statuses shared by ostravue and ostravue-cli.
enum ExitStatus : int { kExitDone = 0, kExitFailed = 1, kExitUsage = 2, kExitIgnored = 3 };

class GnuFormatter : public CLI::Formatter {
 public:
  GnuFormatter();
  std::string make_help(const CLI::App* app, std::string name,
                        CLI::AppFormatMode mode) const override;
  std::string make_usage(const CLI::App* app, std::string name) const override;
  std::string make_description(const CLI::App* app) const override;
  std::string make_positionals(const CLI::App* app) const override;
  std::string make_group(std::string group, bool is_positional,
                         std::vector<const CLI::Option*> opts) const override;
  std::string make_subcommands(const CLI::App* app, CLI::AppFormatMode mode) const override;
  std::string make_footer(const CLI::App* app) const override;
  std::string make_option_name(const CLI::Option* opt, bool is_positional) const override;
  std::string make_option_opts(const CLI::Option* opt) const override;
  std::string make_option_desc(const CLI::Option* opt) const override;
  std::string make_option(const CLI::Option* opt, bool is_positional) const override;
};

// Sets the formatter, the help flag's text and the example on a command (or on the program).
void SetGnuHelp(CLI::App& app, const std::string& example);

// "ostravue-cli info" for the command a parse error belongs to; "ostravue-cli" for the program.
std::string CommandPath(const CLI::App* app);

}  // namespace ov::cli
