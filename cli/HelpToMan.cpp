// ov_help2man TEMPLATE OUT PROGRAM: writes a manual page from TEMPLATE with the options, commands
// and examples taken from PROGRAM's own --help (and from each command's that it lists), so the
// page and the help can never disagree. TEMPLATE's %OPTIONS%, %COMMANDS% and %EXAMPLES% are
// replaced.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string Run(const std::string& program, const std::string& command) {
  // The page is written in English whatever the builder's language.
  std::string cmd = "env LANGUAGE=C LC_ALL=C LANG=C '" + program + "'";
  if (!command.empty()) cmd += " " + command;
  cmd += " --help";
  std::string out;
  if (FILE* p = popen(cmd.c_str(), "r")) {
    char buf[4096];
    while (size_t n = fread(buf, 1, sizeof buf, p)) out.append(buf, n);
    if (pclose(p) != 0) out.clear();
  }
  if (out.empty()) {
    std::cerr << "ov_help2man: '" << cmd << "' gave no help\n";
    std::exit(1);
  }
  return out;
}

// Text as roff reads it: backslashes and minus signs escaped, no line taken for a request.
std::string Roff(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\\')
      out += "\\e";
    else if (c == '-')
      out += "\\-";
    else
      out += c;
  }
  if (!out.empty() && (out[0] == '.' || out[0] == '\'')) out = "\\&" + out;
  return out;
}

// "-h, --help" bold, "<time>" or "time" italic.
std::string Term(const std::string& term) {
  std::istringstream words(term);
  std::string w, out;
  while (words >> w) {
    std::string tail;
    if (w.back() == ',') {
      tail = ",";
      w.pop_back();
    }
    if (w.size() > 2 && w.front() == '<' && w.back() == '>') w = w.substr(1, w.size() - 2);
    out += (out.empty() ? "" : " ") + std::string(w[0] == '-' ? "\\fB" : "\\fI") + Roff(w) +
           "\\fR" + tail;
  }
  return out;
}

struct Section {
  std::string title;
  std::vector<std::string> lines;
};

struct Help {
  std::string usage;
  std::string description;
  std::vector<Section> sections;
};

Help Parse(const std::string& text) {
  Help h;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("Usage: ", 0) == 0) {
      h.usage = line.substr(7);
    } else if (!line.empty() && line[0] != ' ' && line.back() == ':') {
      h.sections.push_back({line.substr(0, line.size() - 1), {}});
    } else if (!line.empty() && line[0] != ' ' && h.sections.empty()) {
      h.description += (h.description.empty() ? "" : " ") + line;
    } else if (!line.empty() && !h.sections.empty()) {
      h.sections.back().lines.push_back(line);
    }
  }
  return h;
}

// An option list: every item a .TP with its term and its description, wrapped lines joined.
std::string Items(const Section& s) {
  std::string out;
  size_t column = std::string::npos;
  for (const std::string& line : s.lines) {
    const size_t indent = line.find_first_not_of(' ');
    if (indent == std::string::npos) continue;
    if (column != std::string::npos && indent >= column) {
      out += Roff(line.substr(indent)) + "\n";
      continue;
    }
    const size_t gap = line.find("  ", indent);
    const size_t desc =
        gap == std::string::npos ? std::string::npos : line.find_first_not_of(' ', gap);
    out +=
        ".TP\n" + Term(line.substr(indent, gap == std::string::npos ? gap : gap - indent)) + "\n";
    if (desc != std::string::npos) out += Roff(line.substr(desc)) + "\n";
    column = desc == std::string::npos ? indent + 4 : desc;
  }
  return out;
}

std::string Examples(const Help& h) {
  std::string out;
  for (const Section& s : h.sections) {
    if (s.title.rfind("Example", 0) != 0) continue;
    for (const std::string& line : s.lines) {
      const size_t indent = line.find_first_not_of(' ');
      if (indent == std::string::npos) continue;
      out += ".PP\n.RS 4\n\\fB" + Roff(line.substr(indent)) + "\\fR\n.RE\n";
    }
  }
  return out;
}

std::string Options(const Help& h) {
  std::string out;
  for (const Section& s : h.sections)
    if (s.title == "Arguments" || s.title == "Options") out += Items(s);
  return out;
}

std::vector<std::string> CommandNames(const Help& h) {
  std::vector<std::string> names;
  for (const Section& s : h.sections)
    if (s.title == "Commands")
      for (const std::string& line : s.lines)
        if (line.size() > 2 && line.compare(0, 2, "  ") == 0 && line[2] != ' ')
          names.push_back(line.substr(2, line.find(' ', 2) - 2));
  return names;
}

void Replace(std::string& text, const std::string& key, const std::string& value) {
  for (size_t at; (at = text.find(key)) != std::string::npos;) text.replace(at, key.size(), value);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: ov_help2man template out program\n";
    return 2;
  }
  std::ifstream t(argv[1]);
  std::stringstream page;
  page << t.rdbuf();
  std::string text = page.str();
  const Help top = Parse(Run(argv[3], ""));
  std::string commands, examples = Examples(top);
  for (const std::string& name : CommandNames(top)) {
    const Help h = Parse(Run(argv[3], name));
    commands += ".SS \"" + Roff(name) + "\"\n\\fB" + Roff(h.usage) + "\\fR\n.br\n" +
                Roff(h.description) + "\n" + Options(h);
    examples += Examples(h);
  }
  Replace(text, "%OPTIONS%", Options(top));
  Replace(text, "%COMMANDS%", commands);
  Replace(text, "%EXAMPLES%", examples);
  std::ofstream out(argv[2]);
  out << text;
  return out ? 0 : 1;
}
