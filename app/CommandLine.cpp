#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

#include "archive/Calendar.h"
#include "ov/Version.h"

namespace ov {

std::optional<CPlayerApp::Config::StartPoint> ParseStartPoint(const std::string& text) {
  if (const std::optional<CalendarTime> t = ParseDateTime(text)) {
    if (t->day > DaysInMonth(t->year, t->month)) return std::nullopt;
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
  p.setApplicationDescription(QCoreApplication::translate(
      "CommandLine", "Plays file, a backup (.ysk) of a video recorder."));
  p.addPositionalArgument(
      QStringLiteral("file"),
      QCoreApplication::translate("CommandLine",
                                  "The backup file to open; several files play as one recording."),
      QStringLiteral("[file...]"));
  const QCommandLineOption help(
      QStringList{"h", "help"},
      QCoreApplication::translate("CommandLine", "Show this help and exit."));
  const QCommandLineOption version(
      QStringLiteral("version"),
      QCoreApplication::translate("CommandLine", "Show the version and exit."));
  const QCommandLineOption start(
      QStringLiteral("start"),
      QCoreApplication::translate("CommandLine",
                                  "Start playing at a recording time \"YYYY-MM-DD HH:MM:SS\" or "
                                  "at a number of seconds from the start."),
      QStringLiteral("time"));
  const QCommandLineOption layout(
      QStringLiteral("layout"),
      QCoreApplication::translate("CommandLine", "Show 1, 4, 9 or 16 panes."),
      QStringLiteral("panes"));
  const QCommandLineOption fullScreen(
      QStringLiteral("fullscreen"),
      QCoreApplication::translate("CommandLine", "Show the video area full screen."));
  const QCommandLineOption paused(
      QStringLiteral("paused"),
      QCoreApplication::translate("CommandLine",
                                  "Open without playing (the default without --start)."));
  const QCommandLineOption noSettings(
      QStringLiteral("no-settings"),
      QCoreApplication::translate(
          "CommandLine", "Start with the default settings and remember nothing this time."));
  const QCommandLineOption folder(
      QStringLiteral("folder"),
      QCoreApplication::translate("CommandLine",
                                  "Open the backup files of a folder (not its subfolders) as one "
                                  "recording."),
      QStringLiteral("dir"));
  for (const auto* o :
       {&help, &version, &start, &layout, &fullScreen, &paused, &noSettings, &folder})
    p.addOption(*o);

  const QString program = QStringLiteral("ostravue");
  auto fail = [&](const QString& why) {
    out.action = CommandLine::Action::Error;
    out.text =
        QStringLiteral("%1: %2\n").arg(program, why).toStdString() +
        QCoreApplication::translate("CommandLine", "Try '%1 --help'.\n").arg(program).toStdString();
    return out;
  };
  if (!p.parse(args)) return fail(p.errorText());
  if (p.isSet(help)) {
    out.action = CommandLine::Action::Help;
    // The usage line names the program, not the path it was started by.
    QString text = p.helpText();
    const qsizetype options = text.indexOf(QStringLiteral(" [options]"));
    const qsizetype colon = text.indexOf(QStringLiteral(": "));
    if (colon > 0 && options > colon + 2 && text.indexOf(QLatin1Char('\n')) > options)
      text.replace(colon + 2, options - colon - 2, QStringLiteral("ostravue"));
    text += QStringLiteral("\n") + QCoreApplication::translate("CommandLine", "Examples:") +
            QStringLiteral(
                "\n  ostravue rec.ysk\n  ostravue --start \"2024-03-01 12:00:30\" "
                "--layout 4 rec.ysk\n  ostravue --start 90 --paused rec.ysk\n");
    out.text = text.toStdString();
    return out;
  }
  if (p.isSet(version)) {
    out.action = CommandLine::Action::Version;
    out.text = std::string("ostravue ") + kVersion + "\n";
    return out;
  }
  const QStringList files = p.positionalArguments();
  // The file dialog hands over absolute paths; a command-line path is made one the same way.
  if (files.size() > 1 || p.isSet(folder)) {
    for (const QString& f : p.values(folder))
      out.config.setPaths.push_back(QFileInfo(f).absoluteFilePath().toStdString());
    for (const QString& f : files)
      out.config.setPaths.push_back(QFileInfo(f).absoluteFilePath().toStdString());
  } else if (!files.isEmpty()) {
    out.config.openPath = QFileInfo(files[0]).absoluteFilePath().toStdString();
  }
  if (p.isSet(start)) {
    out.config.start = ParseStartPoint(p.value(start).toStdString());
    if (!out.config.start) {
      // A date-time with a field out of range says which; any other text gets the forms.
      std::string why;
      const std::string text = p.value(start).toStdString();
      if (text.size() == 19 && text[4] == '-' && text[10] == ' ' && !ParseDateTime(text, &why))
        return fail(
            QStringLiteral("--start \"%1\": %2").arg(p.value(start), QString::fromStdString(why)));
      return fail(QStringLiteral("--start wants \"YYYY-MM-DD HH:MM:SS\" or seconds, not \"%1\"")
                      .arg(p.value(start)));
    }
    if (files.isEmpty() && !p.isSet(folder)) return fail(QStringLiteral("--start needs a file"));
    out.config.paused = p.isSet(paused);
  }
  if (p.isSet(layout)) {
    const QString v = p.value(layout);
    if (v != "1" && v != "4" && v != "9" && v != "16")
      return fail(QStringLiteral("--layout wants 1, 4, 9 or 16, not \"%1\"").arg(v));
    out.config.layout = v.toInt();
  }
  out.config.fullScreen = p.isSet(fullScreen);
  out.config.noSettings = p.isSet(noSettings);
  return out;
}

}  // namespace ov
