#include "commandline.h"

#include "exitcodes.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cmath>

namespace {

// The texts of this file, under one translation context.
struct CommandLineTexts
{
    Q_DECLARE_TR_FUNCTIONS(CommandLine)
};

// Options that take a value.
const QStringList kValueOptions{
    QStringLiteral("--report"),    QStringLiteral("--unit"),   QStringLiteral("--reference"),
    QStringLiteral("--tolerance"), QStringLiteral("--period"), QStringLiteral("--calibration"),
    QStringLiteral("--calibrate"),
};

CommandLineResult failure(const QString &error)
{
    CommandLineResult result;
    result.error = error;
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

// "10", "10ms" -> 0.010 s; "0.01s" -> 0.010 s.
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

} // namespace

std::optional<ReportFormat> reportFormatForPath(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("pdf"))
        return ReportFormat::Pdf;
    if (suffix == QLatin1String("png"))
        return ReportFormat::Png;
    if (suffix == QLatin1String("svg"))
        return ReportFormat::Svg;
    return std::nullopt;
}

CommandLineResult parseCommandLine(const QStringList &arguments)
{
    CommandLine line;
    std::optional<RunMode> mode;
    const auto setMode = [&mode](RunMode wanted, const QString &option) -> QString {
        if (mode && *mode != wanted)
            return CommandLineTexts::tr("%1 cannot be combined with another of --report, --summary, "
                                        "--csv, --calibrate")
                .arg(option);
        mode = wanted;
        return QString();
    };
    bool help = false;
    bool optionsEnded = false;
    bool policyGiven = false;
    for (int i = 0; i < arguments.size(); ++i) {
        QString argument = arguments.at(i);
        if (optionsEnded || !argument.startsWith(QLatin1Char('-'))
            || argument == QLatin1String("-")) {
            line.logs << argument;
            continue;
        }
        if (argument == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        QString value;
        bool hasValue = false;
        const int equals = argument.indexOf(QLatin1Char('='));
        if (argument.startsWith(QLatin1String("--")) && equals > 2) {
            value = argument.mid(equals + 1);
            argument.truncate(equals);
            hasValue = true;
        }
        if (kValueOptions.contains(argument) || liveValueOptions().contains(argument)) {
            if (!hasValue) {
                if (i + 1 >= arguments.size())
                    return failure(CommandLineTexts::tr("%1 needs a value").arg(argument));
                value = arguments.at(++i);
            }
        } else if (hasValue) {
            return failure(CommandLineTexts::tr("%1 takes no value").arg(argument));
        }

        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            help = true;
        } else if (argument == QLatin1String("--summary")) {
            const QString error = setMode(RunMode::Summary, argument);
            if (!error.isEmpty())
                return failure(error);
        } else if (argument == QLatin1String("--csv")) {
            const QString error = setMode(RunMode::Csv, argument);
            if (!error.isEmpty())
                return failure(error);
        } else if (argument == QLatin1String("--report")) {
            const QString error = setMode(RunMode::Report, argument);
            if (!error.isEmpty())
                return failure(error);
            const std::optional<ReportFormat> format = reportFormatForPath(value);
            if (!format)
                return failure(CommandLineTexts::tr(
                                   "--report needs a file ending in .pdf, .png or .svg, not \"%1\"")
                                   .arg(value));
            line.reportPath = value;
            line.reportFormat = *format;
        } else if (argument == QLatin1String("--calibrate")) {
            const QString error = setMode(RunMode::Calibrate, argument);
            if (!error.isEmpty())
                return failure(error);
            line.logs.prepend(value);
        } else if (argument == QLatin1String("--unit")) {
            const std::optional<Unit> unit = parseUnit(value);
            if (!unit)
                return failure(
                    CommandLineTexts::tr("unknown unit \"%1\" (kpa, hpa, mbar, mmhg, cmhg, inhg)")
                        .arg(value));
            line.unit = *unit;
        } else if (argument == QLatin1String("--reference")) {
            bool ok = false;
            const int cylinder = value.trimmed().toInt(&ok);
            if (!ok || cylinder < 1 || cylinder > 4)
                return failure(
                    CommandLineTexts::tr("--reference needs a cylinder from 1 to 4, not \"%1\"")
                        .arg(value));
            line.analysis.sync.referenceCylinder = cylinder;
        } else if (argument == QLatin1String("--tolerance")) {
            const std::optional<double> tolerance = parseNumber(value);
            if (!tolerance || *tolerance <= 0.0)
                return failure(
                    CommandLineTexts::tr("--tolerance needs a positive number of kPa, not \"%1\"")
                        .arg(value));
            line.analysis.sync.toleranceKPa = *tolerance;
        } else if (argument == QLatin1String("--period")) {
            const std::optional<double> period = parsePeriod(value);
            if (!period)
                return failure(CommandLineTexts::tr("--period needs a poll period from %1 to %2 "
                                                    "milliseconds, not \"%3\"")
                                   .arg(kMinPollPeriodSeconds * 1000.0)
                                   .arg(kMaxPollPeriodSeconds * 1000.0)
                                   .arg(value));
            line.analysis.pollPeriodSeconds = period;
        } else if (argument == QLatin1String("--skip-bad-lines")
                   || argument == QLatin1String("--stop-on-bad-line")) {
            const BadLinePolicy policy = argument == QLatin1String("--skip-bad-lines")
                ? BadLinePolicy::Skip
                : BadLinePolicy::Stop;
            if (policyGiven && policy != line.badLines)
                return failure(CommandLineTexts::tr(
                    "--skip-bad-lines and --stop-on-bad-line exclude each other"));
            policyGiven = true;
            line.badLines = policy;
        } else if (argument == QLatin1String("--calibration")) {
            const QString choice = value.trimmed().toLower();
            if (choice == QLatin1String("use"))
                line.calibration = CalibrationUse::Use;
            else if (choice == QLatin1String("none"))
                line.calibration = CalibrationUse::None;
            else
                return failure(
                    CommandLineTexts::tr("--calibration needs \"use\" or \"none\", not \"%1\"")
                        .arg(value));
        } else if (liveValueOptions().contains(argument)) {
            QString error;
            if (parseLiveOption(argument, value, line.live, &error) == LiveOptionParse::Failed)
                return failure(error);
        } else {
            return failure(CommandLineTexts::tr("unknown option %1 (see --help)").arg(argument));
        }
    }

    if (help) {
        line.mode = RunMode::Help;
        CommandLineResult result;
        result.commandLine = line;
        return result;
    }
    line.mode = mode.value_or(RunMode::Window);
    if (line.live.isLive() || line.live.seconds) {
        const bool headless = line.mode == RunMode::Report || line.mode == RunMode::Summary
            || line.mode == RunMode::Csv;
        const QString error = liveCommandError(!line.logs.isEmpty(), headless,
                                               line.mode == RunMode::Calibrate,
                                               line.analysis.pollPeriodSeconds, line.live);
        if (!error.isEmpty())
            return failure(error);
        line.live.settings.referenceCylinder = line.analysis.sync.referenceCylinder;
        line.live.settings.toleranceKPa = line.analysis.sync.toleranceKPa;
        CommandLineResult result;
        result.commandLine = line;
        return result;
    }
    switch (line.mode) {
    case RunMode::Window:
        if (line.logs.size() > 2)
            return failure(CommandLineTexts::tr("at most two logs can be opened (before and after)"));
        break;
    case RunMode::Report:
    case RunMode::Summary:
    case RunMode::Csv:
        if (line.logs.isEmpty())
            return failure(CommandLineTexts::tr("no log given"));
        if (line.logs.size() > 2)
            return failure(CommandLineTexts::tr("at most two logs (before and after), not %1")
                               .arg(line.logs.size()));
        break;
    case RunMode::Calibrate:
        if (line.logs.size() != 1)
            return failure(CommandLineTexts::tr("--calibrate takes exactly one log"));
        if (line.calibration == CalibrationUse::Use)
            return failure(CommandLineTexts::tr("--calibrate cannot use a stored calibration"));
        break;
    case RunMode::Help:
        break;
    }
    CommandLineResult result;
    result.commandLine = line;
    return result;
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
