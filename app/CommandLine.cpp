#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <cstdio>

#include "archive/Calendar.h"
#include "ov/Version.h"

namespace ov {

std::optional<CPlayerApp::Config::StartPoint> ParseStartPoint(const std::string& text) {
  if (const std::optional<SystemTime> t = ParseDateTime(text)) {
    if (t->wDay > DaysInMonth(t->wYear, t->wMonth)) return std::nullopt;
    return CPlayerApp::Config::StartPoint{true, CalendarToSeconds(*t)};
  }
  // A plain count: digits only, at most ten of them (past any recording's length already).
  if (text.empty() || text.size() > 10 || text.find_first_not_of("0123456789") != std::string::npos)
    return std::nullopt;
  return CPlayerApp::Config::StartPoint{false, std::stoll(text)};
}

CommandLine ParseCommandLine(const QStringList& args) {
  CommandLine out;
  QCommandLineParser p;
  p.setApplicationDescription(QStringLiteral("Plays FILE, a backup (.ysk) of a video recorder."));
  p.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The backup file to open."),
                          QStringLiteral("[FILE]"));
  const QCommandLineOption help(QStringList{"h", "help"}, QStringLiteral("Show this help."));
  const QCommandLineOption version(QStringLiteral("version"), QStringLiteral("Show the version."));
  const QCommandLineOption start(
      QStringLiteral("start"),
      QStringLiteral("Start playing at a recording time \"YYYY-MM-DD HH:MM:SS\" or SECONDS from "
                     "the start."),
      QStringLiteral("TIME"));
  const QCommandLineOption layout(QStringLiteral("layout"),
                                  QStringLiteral("Show 1, 4, 9 or 16 panes."),
                                  QStringLiteral("PANES"));
  const QCommandLineOption fullScreen(QStringLiteral("fullscreen"),
                                      QStringLiteral("Show the video area full screen."));
  const QCommandLineOption paused(QStringLiteral("paused"),
                                  QStringLiteral("Open without playing (the default without "
                                                 "--start)."));
  for (const auto* o : {&help, &version, &start, &layout, &fullScreen, &paused}) p.addOption(*o);

  const QString program = QStringLiteral("ostravue");
  auto fail = [&](const QString& why) {
    out.action = CommandLine::Action::Error;
    out.text = QStringLiteral("%1: %2\nTry '%1 --help'.\n").arg(program, why).toStdString();
    return out;
  };
  if (!p.parse(args)) return fail(p.errorText());
  if (p.isSet(help)) {
    out.action = CommandLine::Action::Help;
    // The usage line names the program, not the path it was started by.
    QString text = p.helpText();
    const qsizetype options = text.indexOf(QStringLiteral(" [options]"));
    if (text.startsWith(QStringLiteral("Usage: ")) && options > 7)
      text.replace(7, options - 7, QStringLiteral("ostravue"));
    out.text = text.toStdString();
    return out;
  }
  if (p.isSet(version)) {
    out.action = CommandLine::Action::Version;
    out.text = std::string("ostravue ") + kVersion + "\n";
    return out;
  }
  const QStringList files = p.positionalArguments();
  if (files.size() > 1) return fail(QStringLiteral("only one FILE may be given"));
  // The file dialog hands over absolute paths; a command-line path is made one the same way.
  if (!files.isEmpty()) out.config.openPath = QFileInfo(files[0]).absoluteFilePath().toStdString();
  if (p.isSet(start)) {
    out.config.start = ParseStartPoint(p.value(start).toStdString());
    if (!out.config.start) {
      // A date-time with a field out of range says which; any other text gets the forms.
      std::string why;
      const std::string text = p.value(start).toStdString();
      if (text.size() == 19 && text[4] == '-' && text[10] == ' ' && !ParseDateTime(text, &why))
        return fail(
            QStringLiteral("--start \"%1\": %2").arg(p.value(start), QString::fromStdString(why)));
      return fail(QStringLiteral("--start wants \"YYYY-MM-DD HH:MM:SS\" or SECONDS, not \"%1\"")
                      .arg(p.value(start)));
    }
    if (files.isEmpty()) return fail(QStringLiteral("--start needs a FILE"));
    out.config.paused = p.isSet(paused);
  }
  if (p.isSet(layout)) {
    const QString v = p.value(layout);
    if (v != "1" && v != "4" && v != "9" && v != "16")
      return fail(QStringLiteral("--layout wants 1, 4, 9 or 16, not \"%1\"").arg(v));
    out.config.layout = v.toInt();
  }
  out.config.fullScreen = p.isSet(fullScreen);
  return out;
}

}  // namespace ov
