#include "commandline.h"

#include "exitcodes.h"
#include "livesource.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLocale>

#include <algorithm>
#include <cmath>
#include <functional>
#include <initializer_list>
#include <utility>
#include <vector>

namespace {

// The texts of this file, under one translation context.
struct CommandLineTexts
{
    Q_DECLARE_TR_FUNCTIONS(CommandLine)
};

// Every option of the program. The help text is written out in helpText(),
// not made by the parser, so the options carry no descriptions.
struct Options
{
    static QCommandLineOption flag(const QString &name) { return {name, QString()}; }
    static QCommandLineOption valued(const QString &name) { return {name, QString(), name}; }

    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")}, QString()};
    QCommandLineOption report = valued(QStringLiteral("report"));
    QCommandLineOption summary = flag(QStringLiteral("summary"));
    QCommandLineOption csv = flag(QStringLiteral("csv"));
    QCommandLineOption calibrate = valued(QStringLiteral("calibrate"));
    QCommandLineOption unit = valued(QStringLiteral("unit"));
    QCommandLineOption reference = valued(QStringLiteral("reference"));
    QCommandLineOption tolerance = valued(QStringLiteral("tolerance"));
    QCommandLineOption period = valued(QStringLiteral("period"));
    QCommandLineOption skipBadLines = flag(QStringLiteral("skip-bad-lines"));
    QCommandLineOption stopOnBadLine = flag(QStringLiteral("stop-on-bad-line"));
    QCommandLineOption calibration = valued(QStringLiteral("calibration"));
    QCommandLineOption live = valued(QStringLiteral("live"));
    QCommandLineOption forSeconds = valued(QStringLiteral("for"));
    QCommandLineOption compare = valued(QStringLiteral("compare"));
    QCommandLineOption cycle = valued(QStringLiteral("cycle"));
    QCommandLineOption damping = valued(QStringLiteral("damping"));

    QList<QCommandLineOption> all() const
    {
        return {help,      report,     summary, csv,          calibrate,     unit,
                reference, tolerance,  period,  skipBadLines, stopOnBadLine, calibration,
                live,      forSeconds, compare, cycle,        damping};
    }
};

// An option's name as it is typed: "-h", "--unit".
QString typed(const QString &name)
{
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

CommandLineResult failure(const QString &error)
{
    CommandLineResult result;
    result.error = error;
    result.exitCode = ExitCode::BadOption;
    return result;
}

CommandLineResult success(const CommandLine &line)
{
    CommandLineResult result;
    result.commandLine = line;
    result.exitCode = ExitCode::Ok;
    return result;
}

std::optional<double> parseNumber(const QString &text)
{
    bool ok = false;
    const double value = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// "10", "10ms" -> 0.010 s; "0.01s" -> 0.010 s; within the periods a log
// can have been recorded with.
std::optional<double> parsePeriod(const QString &text)
{
    QString number = text.trimmed().toLower();
    double scale = 0.001;
    if (number.endsWith(QLatin1String("ms"))) {
        number.chop(2);
    } else if (number.endsWith(QLatin1Char('s'))) {
        number.chop(1);
        scale = 1.0;
    }
    const std::optional<double> value = parseNumber(number);
    if (!value)
        return std::nullopt;
    const double seconds = *value * scale;
    if (!(seconds >= kMinPollPeriodSeconds && seconds <= kMaxPollPeriodSeconds))
        return std::nullopt;
    return seconds;
}

// "2", "2s" -> 2 s; only a positive number.
std::optional<double> positiveSeconds(const QString &text)
{
    QString number = text.trimmed().toLower();
    if (number.endsWith(QLatin1Char('s')))
        number.chop(1);
    const std::optional<double> value = parseNumber(number);
    if (!value || *value <= 0.0)
        return std::nullopt;
    return value;
}

// The value a word names among choices (case and blanks around it aside).
template <typename T>
std::optional<T> chosen(const QString &word,
                        std::initializer_list<std::pair<const char *, T>> choices)
{
    const QString text = word.trimmed().toLower();
    for (const auto &[name, value] : choices) {
        if (text == QLatin1String(name))
            return value;
    }
    return std::nullopt;
}

// Reads every value given to option (an option given twice counts with its
// last), each through read, which says why it refuses one (a translated
// text) or takes it into the command line.
template <typename Read>
QString readValues(const QCommandLineParser &parser, const QCommandLineOption &option, Read read)
{
    const QStringList values = parser.values(option);
    for (const QString &value : values) {
        const QString error = read(value);
        if (!error.isEmpty())
            return error;
    }
    return QString();
}

// The value options: each value checked and taken, or the first refused.
QString readValueOptions(const QCommandLineParser &parser, const Options &options, CommandLine &line)
{
    const std::vector<std::pair<const QCommandLineOption *, std::function<QString(const QString &)>>>
        readers{
            {&options.report,
             [&line](const QString &value) {
                 const std::optional<ReportFormat> format = reportFormatForPath(value);
                 if (!format)
                     return CommandLineTexts::tr(
                                "--report needs a file ending in .pdf, .png or .svg, not \"%1\"")
                         .arg(value);
                 line.reportPath = value;
                 line.reportFormat = *format;
                 return QString();
             }},
            {&options.unit,
             [&line](const QString &value) {
                 const std::optional<Unit> unit = parseUnit(value);
                 if (!unit)
                     return CommandLineTexts::tr(
                                "unknown unit \"%1\" (kpa, hpa, mbar, mmhg, cmhg, inhg)")
                         .arg(value);
                 line.unit = *unit;
                 return QString();
             }},
            {&options.reference,
             [&line](const QString &value) {
                 bool ok = false;
                 const int cylinder = value.trimmed().toInt(&ok);
                 if (!ok || cylinder < 1 || cylinder > kCylinderCount)
                     return CommandLineTexts::tr(
                                "--reference needs a cylinder from 1 to 4, not \"%1\"")
                         .arg(value);
                 line.analysis.sync.referenceCylinder = cylinder;
                 return QString();
             }},
            {&options.tolerance,
             [&line](const QString &value) {
                 const std::optional<double> tolerance = parseNumber(value);
                 if (!tolerance || *tolerance <= 0.0)
                     return CommandLineTexts::tr(
                                "--tolerance needs a positive number of kPa, not \"%1\"")
                         .arg(value);
                 line.analysis.sync.toleranceKPa = *tolerance;
                 return QString();
             }},
            {&options.period,
             [&line](const QString &value) {
                 const std::optional<double> period = parsePeriod(value);
                 if (!period)
                     return CommandLineTexts::tr("--period needs a poll period from %1 to %2 "
                                                 "milliseconds, not \"%3\"")
                         .arg(kMinPollPeriodSeconds * 1000.0)
                         .arg(kMaxPollPeriodSeconds * 1000.0)
                         .arg(value);
                 line.analysis.pollPeriodSeconds = period;
                 return QString();
             }},
            {&options.calibration,
             [&line](const QString &value) {
                 const std::optional<CalibrationUse> use =
                     chosen(value,
                            {std::pair{"use", CalibrationUse::Use},
                             std::pair{"none", CalibrationUse::None}});
                 if (!use)
                     return CommandLineTexts::tr(
                                "--calibration needs \"use\" or \"none\", not \"%1\"")
                         .arg(value);
                 line.calibration = *use;
                 return QString();
             }},
            {&options.live,
             [&line](const QString &value) {
                 if (value.trimmed().isEmpty())
                     return CommandLineTexts::tr("--live needs the board's serial port");
                 line.live.port = value.trimmed();
                 return QString();
             }},
            {&options.forSeconds,
             [&line](const QString &value) {
                 const std::optional<double> seconds = positiveSeconds(value);
                 if (!seconds)
                     return CommandLineTexts::tr(
                                "--for needs a positive number of seconds, not \"%1\"")
                         .arg(value);
                 line.live.seconds = seconds;
                 return QString();
             }},
            {&options.compare,
             [&line](const QString &value) {
                 const std::optional<LiveComparison> comparison =
                     chosen(value,
                            {std::pair{"reference", LiveComparison::Reference},
                             std::pair{"1-2", LiveComparison::Cylinders1And2},
                             std::pair{"3-4", LiveComparison::Cylinders3And4},
                             std::pair{"pairs", LiveComparison::Pairs},
                             std::pair{"linkage", LiveComparison::LinkageScrews}});
                 if (!comparison)
                     return CommandLineTexts::tr(
                                "--compare needs reference, 1-2, 3-4, pairs or linkage, "
                                "not \"%1\"")
                         .arg(value);
                 line.live.settings.comparison = *comparison;
                 return QString();
             }},
            {&options.cycle,
             [&line](const QString &value) {
                 const std::optional<CycleValue> cycle = chosen(
                     value,
                     {std::pair{"mean", CycleValue::Mean}, std::pair{"minimum", CycleValue::Minimum},
                      std::pair{"min", CycleValue::Minimum}});
                 if (!cycle)
                     return CommandLineTexts::tr("--cycle needs mean or minimum, not \"%1\"")
                         .arg(value);
                 line.live.settings.cycleValue = *cycle;
                 return QString();
             }},
            {&options.damping,
             [&line](const QString &value) {
                 const std::optional<double> seconds = positiveSeconds(value);
                 if (!seconds || *seconds < kShortestDampingSeconds
                     || *seconds > kLongestDampingSeconds)
                     return CommandLineTexts::tr(
                                "--damping needs a time constant from %1 to %2 seconds, "
                                "not \"%3\"")
                         .arg(kShortestDampingSeconds)
                         .arg(kLongestDampingSeconds)
                         .arg(value);
                 line.live.settings.dampingSeconds = *seconds;
                 return QString();
             }},
        };
    for (const auto &[option, read] : readers) {
        const QString error = readValues(parser, *option, read);
        if (!error.isEmpty())
            return error;
    }
    return QString();
}

// What a whole live command line may not hold. Empty when it is sound.
QString liveCommandError(const CommandLine &line)
{
    const LiveCommand &live = line.live;
    if (!live.isLive())
        return live.seconds ? CommandLineTexts::tr("--for goes with --live") : QString();
    if (line.mode == RunMode::Calibrate)
        return CommandLineTexts::tr("--calibrate reads a log, not the board");
    if (!line.logs.isEmpty())
        return CommandLineTexts::tr("--live reads the board: it takes no log");
    const bool headless = line.mode == RunMode::Report || line.mode == RunMode::Summary
        || line.mode == RunMode::Csv;
    if (headless && !live.seconds)
        return CommandLineTexts::tr("--live with --summary, --csv or --report needs --for SECONDS");
    if (line.analysis.pollPeriodSeconds) {
        const double ms = *line.analysis.pollPeriodSeconds * 1000.0;
        if (ms < LiveSource::kShortestPollMs - 1e-9 || ms > LiveSource::kLongestPollMs + 1e-9)
            return CommandLineTexts::tr("--period with --live is the poll period: %1 to %2 ms")
                .arg(LiveSource::kShortestPollMs)
                .arg(LiveSource::kLongestPollMs);
    }
    return QString();
}

// How many logs the mode takes. Empty when they fit.
QString logCountError(const CommandLine &line)
{
    switch (line.mode) {
    case RunMode::Window:
        if (line.logs.size() > 2)
            return CommandLineTexts::tr("at most two logs can be opened (before and after)");
        break;
    case RunMode::Report:
    case RunMode::Summary:
    case RunMode::Csv:
        if (line.logs.isEmpty())
            return CommandLineTexts::tr("no log given");
        if (line.logs.size() > 2)
            return CommandLineTexts::tr("at most two logs (before and after), not %1")
                .arg(line.logs.size());
        break;
    case RunMode::Calibrate:
        if (line.logs.size() != 1)
            return CommandLineTexts::tr("--calibrate takes exactly one log");
        if (line.calibration == CalibrationUse::Use)
            return CommandLineTexts::tr("--calibrate cannot use a stored calibration");
        break;
    case RunMode::Help:
        break;
    }
    return QString();
}

// The live options' part of --help.
QString liveHelpText()
{
    return CommandLineTexts::tr(
               "\n"
               "Live, on the board itself:\n"
               "  --live PORT               poll the board on PORT (ttyUSB0, /dev/ttyACM0, ...);\n"
               "                            alone it opens the live window on it\n"
               "  --for SECONDS             with --summary, --csv or --report: record that long,\n"
               "                            then analyse what was recorded\n"
               "  --period MS               the poll period, %1 to %2 ms (default: %3)\n"
               "  --compare reference|1-2|3-4|pairs|linkage   what the live verdict compares\n"
               "                            (default: each cylinder against the reference)\n"
               "  --cycle mean|minimum      per engine cycle, its mean or its minimum (default: "
               "mean)\n"
               "  --damping SECONDS         time constant, %4 to %5 s (default: %6)\n"
               "Exit code %7: the port could not be opened, the board gave no reading, or it was\n"
               "lost during the session (what was recorded is still analysed).\n")
        .arg(LiveSource::kShortestPollMs)
        .arg(LiveSource::kLongestPollMs)
        .arg(LiveSource::kDefaultPollMs)
        .arg(kShortestDampingSeconds)
        .arg(kLongestDampingSeconds)
        .arg(kDefaultDampingSeconds)
        .arg(ExitCode::LiveFailed);
}

} // namespace

std::optional<ReportFormat> reportFormatForPath(const QString &path)
{
    return chosen(QFileInfo(path).suffix(),
                  {std::pair{"pdf", ReportFormat::Pdf}, std::pair{"png", ReportFormat::Png},
                   std::pair{"svg", ReportFormat::Svg}});
}

CommandLineResult parseCommandLine(const QStringList &arguments)
{
    const Options options;
    QCommandLineParser parser;
    parser.addOptions(options.all());
    // The parser wants the program's name first.
    const bool parsed = parser.parse(QStringList{QStringLiteral("aspirello-analisi")} + arguments);
    if (!parser.unknownOptionNames().isEmpty())
        return failure(CommandLineTexts::tr("unknown option %1 (see --help)")
                           .arg(typed(parser.unknownOptionNames().constFirst())));
    if (!parsed) {
        // The parser stops at the option it could not take: a value option
        // last, without its value, or a flag with "=value".
        const QString name = parser.optionNames().value(parser.optionNames().size() - 1);
        const QList<QCommandLineOption> all = options.all();
        const bool takesValue =
            std::any_of(all.cbegin(), all.cend(), [&name](const QCommandLineOption &option) {
                return option.names().contains(name) && !option.valueName().isEmpty();
            });
        return failure((takesValue ? CommandLineTexts::tr("%1 needs a value")
                                   : CommandLineTexts::tr("%1 takes no value"))
                           .arg(typed(name)));
    }

    // At most one mode; the message names the one that came second.
    const std::pair<const QCommandLineOption *, RunMode> modes[] = {
        {&options.report, RunMode::Report},
        {&options.summary, RunMode::Summary},
        {&options.csv, RunMode::Csv},
        {&options.calibrate, RunMode::Calibrate},
    };
    std::optional<RunMode> mode;
    for (const QString &name : parser.optionNames()) {
        for (const auto &[option, wanted] : modes) {
            if (!option->names().contains(name))
                continue;
            if (mode && *mode != wanted)
                return failure(CommandLineTexts::tr("%1 cannot be combined with another of "
                                                    "--report, --summary, --csv, --calibrate")
                                   .arg(typed(name)));
            mode = wanted;
        }
    }

    CommandLine line;
    const QString valueError = readValueOptions(parser, options, line);
    if (!valueError.isEmpty())
        return failure(valueError);
    if (parser.isSet(options.skipBadLines) && parser.isSet(options.stopOnBadLine))
        return failure(
            CommandLineTexts::tr("--skip-bad-lines and --stop-on-bad-line exclude each other"));
    if (parser.isSet(options.skipBadLines))
        line.badLines = BadLinePolicy::Skip;
    line.logs = parser.values(options.calibrate) + parser.positionalArguments();

    if (parser.isSet(options.help)) {
        line.mode = RunMode::Help;
        return success(line);
    }
    line.mode = mode.value_or(RunMode::Window);
    if (line.live.isLive() || line.live.seconds) {
        const QString error = liveCommandError(line);
        if (!error.isEmpty())
            return failure(error);
        line.live.settings.referenceCylinder = line.analysis.sync.referenceCylinder;
        line.live.settings.toleranceKPa = line.analysis.sync.toleranceKPa;
        return success(line);
    }
    const QString countError = logCountError(line);
    if (!countError.isEmpty())
        return failure(countError);
    return success(line);
}

QString helpText()
{
    return CommandLineTexts::tr(
               "Usage: aspirello-analisi [OPTIONS] [LOG [LOG2]]\n"
               "Reads the measurement logs Aspirello saves and shows the four pressures over time,\n"
               "per-cylinder statistics and a verdict on the carburettors' synchronisation.\n"
               "Without --report, --summary, --csv or --calibrate it opens its window.\n"
               "\n"
               "  --report OUT.pdf|OUT.png|OUT.svg  write the graph, statistics and verdict\n"
               "                                    without a window (two logs: before/after)\n"
               "  --summary                 print the statistics and the verdict as text\n"
               "  --csv                     print them as CSV\n"
               "  --calibrate LOG           compute a sensor calibration from a log recorded with\n"
               "                            all four sensors on one vacuum source, and store it\n"
               "  --calibration use|none    apply the stored calibration (default: none)\n"
               "  --unit kpa|hpa|mbar|mmhg|cmhg|inhg   unit of every number (default: kpa)\n"
               "  --reference 1..4          reference cylinder (default: 1)\n"
               "  --tolerance KPA           tolerance band in kPa (default: 1.0)\n"
               "  --period MS               poll period in milliseconds (1 to 10000): durations\n"
               "                            in seconds\n"
               "  --skip-bad-lines          skip malformed lines, counting them\n"
               "  --stop-on-bad-line        refuse a log with a malformed line (default)\n"
               "  --help, -h                this text\n"
               "\n"
               "The verdict says whether all four cylinders end within the tolerance of the\n"
               "reference cylinder; the pairs compare the mean of cylinders 1+2 with the mean of\n"
               "3+4, for engines whose carburettors are linked in pairs. --summary and --csv\n"
               "write numbers with the locale's decimal separator; where that is a comma, CSV\n"
               "fields are separated by semicolons.\n"
               "\n"
               "Exit codes: %1 done, %2 bad option, %3 missing file, %4 unreadable log,\n"
               "%5 calibration refused, missing or unusable, %6 output not written (also standard "
               "output), %7 no display for the window.\n")
               .arg(ExitCode::Ok)
               .arg(ExitCode::BadOption)
               .arg(ExitCode::MissingFile)
               .arg(ExitCode::UnreadableLog)
               .arg(ExitCode::CalibrationRefused)
               .arg(ExitCode::OutputFailed)
               .arg(ExitCode::NoDisplay)
        + liveHelpText();
}
