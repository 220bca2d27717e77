#pragma once
// The player's command line: ostravue [OPTIONS] [FILE].
#include <QStringList>
#include <optional>
#include <string>

#include "app/PlayerApp.h"

namespace ov {

struct CommandLine {
  enum class Action { Run, Help, Version, Error };
  Action action = Action::Run;
  std::string text;  // the help, the version line or the error, ready to print
  CPlayerApp::Config config;
};

// Parses args (the program name first). Needs a QCoreApplication (any kind) to exist.
CommandLine ParseCommandLine(const QStringList& args);

// "YYYY-MM-DD HH:MM:SS" (a recording time) or a count of seconds from the recording's start.
std::optional<CPlayerApp::Config::StartPoint> ParseStartPoint(const std::string& text);

}  // namespace ov
