#include "programrun.h"

#include "analysiswindow.h"
#include "calibration.h"
#include "commandrun.h"
#include "exitcodes.h"
#include "liveprogram.h"
#include "livewindow.h"
#include "reportwriter.h"
#include "translations.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileDevice>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

class ProgramText
{
    Q_DECLARE_TR_FUNCTIONS(Program)
};

// Whatever went to standard output reached it: a full disk or a closed pipe
// behind it loses the results, which is a failure like any other.
int checkedOutput(int code, QTextStream &out, QTextStream &err)
{
    errno = 0;
    out.flush();
    QString reason;
    if (out.status() != QTextStream::Ok) {
        const auto *file = qobject_cast<QFileDevice *>(out.device());
        reason = file ? file->errorString() : QString();
    } else if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        reason = QString::fromLocal8Bit(std::strerror(errno));
    } else {
        return code;
    }
    if (reason.isEmpty() || reason == QLatin1String("Unknown error"))
        reason = ProgramText::tr("the system gave no reason");
    err << ProgramText::tr("Standard output could not be written: %1").arg(reason) << '\n';
    err.flush();
    return code == ExitCode::Ok ? ExitCode::OutputFailed : code;
}

bool displayAvailable()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
#else
    return true;
#endif
}

} // namespace

bool argumentsWantWindow(const QStringList &arguments)
{
    const CommandLineResult parsed = parseCommandLine(arguments);
    return parsed.commandLine && parsed.commandLine->mode == RunMode::Window;
}

bool argumentsWantReport(const QStringList &arguments)
{
    const CommandLineResult parsed = parseCommandLine(arguments);
    return parsed.commandLine && parsed.commandLine->mode == RunMode::Report;
}

int runReportCommand(const CommandLine &commandLine, const QString &calibrationPath, QTextStream &out,
                     QTextStream &err)
{
    LoadedSessions loaded = loadSessions(commandLine, calibrationPath);
    for (const QString &warning : loaded.warnings)
        err << warning << '\n';
    if (loaded.exitCode != ExitCode::Ok) {
        err << loaded.error << '\n';
        err.flush();
        return loaded.exitCode;
    }
    ReportContent content;
    content.unit = commandLine.unit;
    content.locale = QLocale();
    for (const Session &session : loaded.sessions)
        content.sessions.push_back(
            ReportSession{&session, analyseSession(session, commandLine.analysis)});
    QString error;
    if (!writeReport(commandLine.reportPath, commandLine.reportFormat, content, &error)) {
        err << error << '\n';
        err.flush();
        return ExitCode::OutputFailed;
    }
    out << ProgramText::tr("Report written to %1")
               .arg(QDir::toNativeSeparators(commandLine.reportPath))
        << '\n';
    out.flush();
    return ExitCode::Ok;
}

int runAnalysisProgram(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QCoreApplication::setOrganizationName(QStringLiteral("Aspirello"));
    QCoreApplication::setApplicationName(QStringLiteral("aspirello-analisi"));

    const bool window = argumentsWantWindow(arguments);
    const bool reportOption = argumentsWantReport(arguments);
    if (reportOption) {
        // The report is drawn with widgets but never shown: no display needed.
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }

    std::unique_ptr<QCoreApplication> application;
    if (window && displayAvailable())
        application = std::make_unique<QApplication>(argc, argv);
    else if (reportOption)
        application = std::make_unique<QApplication>(argc, argv);
    else
        application = std::make_unique<QCoreApplication>(argc, argv);
    installTranslations(*application, QLocale::system());

    QTextStream out(stdout);
    QTextStream err(stderr);
    const CommandLineResult parsed = parseCommandLine(arguments);
    if (!parsed.commandLine) {
        err << parsed.error << '\n' << ProgramText::tr("Try --help.") << '\n';
        return parsed.exitCode;
    }
    const CommandLine &commandLine = *parsed.commandLine;
    const QString calibrationPath = defaultCalibrationPath();

    if (commandLine.live.isLive() && commandLine.mode != RunMode::Window
        && commandLine.mode != RunMode::Help)
        return runLiveCommand(commandLine, calibrationPath, out, err);
    switch (commandLine.mode) {
    case RunMode::Report:
        return checkedOutput(runReportCommand(commandLine, calibrationPath, out, err), out, err);
    case RunMode::Window:
        break;
    default:
        return checkedOutput(runTextCommand(commandLine, calibrationPath,
                                            QDateTime::currentDateTime(), out, err, QLocale()),
                             out, err);
    }

    if (!qobject_cast<QApplication *>(application.get())) {
        err << ProgramText::tr(
            "There is no display to show the window on. Without one, use --report, "
            "--summary or --csv (see --help).")
            << '\n';
        return ExitCode::NoDisplay;
    }
    AnalysisWindow analysisWindow(calibrationPath);
    analysisWindow.setUnit(commandLine.unit);
    analysisWindow.setAnalysisSettings(commandLine.analysis);
    analysisWindow.setBadLinePolicy(commandLine.badLines);
    analysisWindow.setCalibrationApplied(commandLine.calibration == CalibrationUse::Use);
    if (!commandLine.logs.isEmpty())
        analysisWindow.openLogs(commandLine.logs);
    analysisWindow.show();
    if (commandLine.live.isLive())
        analysisWindow.openLiveWindow(commandLine.live, commandLine.analysis.pollPeriodSeconds);
    return application->exec();
}
