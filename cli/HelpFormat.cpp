#include "cli/HelpFormat.h"

#include <cctype>
#include <sstream>

namespace ov::cli {
namespace {
constexpr size_t kColumn = 28;  // where descriptions start

std::string Item(const std::string& term, const std::string& desc) {
  std::string line = "  " + term;
  if (desc.empty()) return line + "\n";
  if (line.size() + 2 > kColumn) return line + "\n" + std::string(kColumn, ' ') + desc + "\n";
  return line + std::string(kColumn - line.size(), ' ') + desc + "\n";
}
}  // namespace

GnuFormatter::GnuFormatter() { column_width(kColumn); }

std::string GnuFormatter::make_help(const CLI::App* app, std::string name,
                                    CLI::AppFormatMode mode) const {
  if (mode == CLI::AppFormatMode::Sub) return make_expanded(app);
  std::ostringstream out;
  out << make_usage(app, name) << make_description(app) << make_positionals(app)
      << make_groups(app, mode) << make_subcommands(app, mode) << make_footer(app);
  return out.str();
}

std::string GnuFormatter::make_usage(const CLI::App* app, std::string) const {
  std::string out = "Usage: " + CommandPath(app);
  if (!app->get_subcommands({}).empty()) return out + " command [options] [arguments]\n";
  out += " [options]";
  for (const CLI::Option* o :
       app->get_options([](const CLI::Option* o) { return o->get_positional(); }))
    out +=
        " " + (o->get_required() ? o->get_name(true, false) : "[" + o->get_name(true, false) + "]");
  return out + "\n";
}

std::string GnuFormatter::make_description(const CLI::App* app) const {
  const std::string d = app->get_description();
  return d.empty() ? std::string() : d + ".\n";
}

std::string GnuFormatter::make_positionals(const CLI::App* app) const {
  const auto opts = app->get_options([](const CLI::Option* o) { return o->get_positional(); });
  return opts.empty() ? std::string() : make_group("Arguments", true, opts);
}

std::string GnuFormatter::make_group(std::string group, bool is_positional,
                                     std::vector<const CLI::Option*> opts) const {
  std::string out = "\n" + group + ":\n";
  for (const CLI::Option* o : opts) out += make_option(o, is_positional);
  return out;
}

std::string GnuFormatter::make_subcommands(const CLI::App* app, CLI::AppFormatMode) const {
  const auto subs = app->get_subcommands({});
  if (subs.empty()) return {};
  std::string out = "\nCommands:\n";
  for (const CLI::App* s : subs) out += Item(s->get_name(), s->get_description());
  return out + "\nRun '" + CommandPath(app) + " command --help' for a command's options.\n";
}

std::string GnuFormatter::make_footer(const CLI::App* app) const {
  const std::string f = app->get_footer();
  return f.empty() ? std::string() : "\nExample:\n  " + f + "\n";
}

std::string GnuFormatter::make_option_name(const CLI::Option* opt, bool is_positional) const {
  if (is_positional) return opt->get_name(true, false);
  std::string shorts, longs;
  for (const std::string& s : opt->get_snames()) shorts += (shorts.empty() ? "-" : ", -") + s;
  for (const std::string& l : opt->get_lnames()) longs += (longs.empty() ? "--" : ", --") + l;
  // Long-only options line up under the long names of those with a short one.
  return shorts.empty() ? "    " + longs : shorts + (longs.empty() ? "" : ", " + longs);
}

std::string GnuFormatter::make_option_opts(const CLI::Option* opt) const {
  if (opt->get_type_size() == 0) return {};
  // Argument names are lower case; a command names each one, this is the fallback.
  std::string name = opt->get_type_name();
  name = name.substr(0, name.find(':'));  // no list of allowed values: the text gives them
  for (char& c : name) c = char(std::tolower(static_cast<unsigned char>(c)));
  return " " + name;
}

std::string GnuFormatter::make_option_desc(const CLI::Option* opt) const {
  std::string d = opt->get_description();
  if (!opt->get_default_str().empty() && opt->get_type_size() != 0)
    d += " (default " + opt->get_default_str() + ")";
  return d;
}

std::string GnuFormatter::make_option(const CLI::Option* opt, bool is_positional) const {
  return Item(make_option_name(opt, is_positional) + (is_positional ? "" : make_option_opts(opt)),
              make_option_desc(opt));
}

std::string CommandPath(const CLI::App* app) {
  std::string path;
  for (; app != nullptr; app = app->get_parent())
    path = app->get_name() + (path.empty() ? "" : " " + path);
  return path;
}

void SetGnuHelp(CLI::App& app, const std::string& example) {
  app.formatter(std::make_shared<GnuFormatter>());
  app.set_help_flag("-h,--help", "Show this help and exit");
  if (!example.empty()) app.footer(example);
}

}  // namespace ov::cli
