#include "liveoptions.h"

#include "exitcodes.h"
#include "livesource.h"

#include <QCoreApplication>
#include <QLocale>

#include <cmath>

namespace {

struct LiveOptionTexts
{
    Q_DECLARE_TR_FUNCTIONS(CommandLine)
};

std::optional<double> positiveSeconds(const QString &text)
{
    QString number = text.trimmed().toLower();
    if (number.endsWith(QLatin1Char('s')))
        number.chop(1);
    bool ok = false;
    const double value = QLocale::c().toDouble(number, &ok);
    if (!ok || !std::isfinite(value) || value <= 0.0)
        return std::nullopt;
    return value;
}

} // namespace

const QStringList &liveValueOptions()
{
    static const QStringList options{QStringLiteral("--live"), QStringLiteral("--for"),
                                     QStringLiteral("--compare"), QStringLiteral("--cycle"),
                                     QStringLiteral("--damping")};
    return options;
}

LiveOptionParse parseLiveOption(const QString &option, const QString &value, LiveCommand &live,
                                QString *error)
{
    const auto fail = [error](const QString &text) {
        if (error)
            *error = text;
        return LiveOptionParse::Failed;
    };
    const QString choice = value.trimmed().toLower();
    if (option == QLatin1String("--live")) {
        if (value.trimmed().isEmpty())
            return fail(LiveOptionTexts::tr("--live needs the board's serial port"));
        live.port = value.trimmed();
    } else if (option == QLatin1String("--for")) {
        const std::optional<double> seconds = positiveSeconds(value);
        if (!seconds)
            return fail(LiveOptionTexts::tr("--for needs a positive number of seconds, not \"%1\"")
                            .arg(value));
        live.seconds = seconds;
    } else if (option == QLatin1String("--compare")) {
        if (choice == QLatin1String("reference"))
            live.settings.comparison = LiveComparison::Reference;
        else if (choice == QLatin1String("1-2"))
            live.settings.comparison = LiveComparison::Cylinders1And2;
        else if (choice == QLatin1String("3-4"))
            live.settings.comparison = LiveComparison::Cylinders3And4;
        else if (choice == QLatin1String("pairs"))
            live.settings.comparison = LiveComparison::Pairs;
        else if (choice == QLatin1String("linkage"))
            live.settings.comparison = LiveComparison::LinkageScrews;
        else
            return fail(LiveOptionTexts::tr("--compare needs reference, 1-2, 3-4, pairs or linkage, "
                                            "not \"%1\"")
                            .arg(value));
    } else if (option == QLatin1String("--cycle")) {
        if (choice == QLatin1String("mean"))
            live.settings.cycleValue = CycleValue::Mean;
        else if (choice == QLatin1String("minimum") || choice == QLatin1String("min"))
            live.settings.cycleValue = CycleValue::Minimum;
        else
            return fail(LiveOptionTexts::tr("--cycle needs mean or minimum, not \"%1\"").arg(value));
    } else if (option == QLatin1String("--damping")) {
        const std::optional<double> seconds = positiveSeconds(value);
        if (!seconds || *seconds < kShortestDampingSeconds || *seconds > kLongestDampingSeconds)
            return fail(LiveOptionTexts::tr("--damping needs a time constant from %1 to %2 seconds, "
                                            "not \"%3\"")
                            .arg(kShortestDampingSeconds)
                            .arg(kLongestDampingSeconds)
                            .arg(value));
        live.settings.dampingSeconds = *seconds;
    } else {
        return LiveOptionParse::NotLive;
    }
    return LiveOptionParse::Parsed;
}

QString liveCommandError(bool hasLogs, bool headless, bool calibrate,
                         std::optional<double> pollPeriodSeconds, const LiveCommand &live)
{
    if (!live.isLive())
        return live.seconds ? LiveOptionTexts::tr("--for goes with --live") : QString();
    if (calibrate)
        return LiveOptionTexts::tr("--calibrate reads a log, not the board");
    if (hasLogs)
        return LiveOptionTexts::tr("--live reads the board: it takes no log");
    if (headless && !live.seconds)
        return LiveOptionTexts::tr("--live with --summary, --csv or --report needs --for SECONDS");
    if (pollPeriodSeconds) {
        const double ms = *pollPeriodSeconds * 1000.0;
        if (ms < LiveSource::kShortestPollMs - 1e-9 || ms > LiveSource::kLongestPollMs + 1e-9)
            return LiveOptionTexts::tr("--period with --live is the poll period: %1 to %2 ms")
                .arg(LiveSource::kShortestPollMs)
                .arg(LiveSource::kLongestPollMs);
    }
    return QString();
}

QString liveHelpText()
{
    return LiveOptionTexts::tr(
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
