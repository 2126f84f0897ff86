#include "commandrun.h"

#include "calibration.h"
#include "exitcodes.h"
#include "textoutput.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

// The texts of this file, under one translation context.
struct CommandRunTexts
{
    Q_DECLARE_TR_FUNCTIONS(CommandRun)
};

} // namespace

LoadedSessions loadSessions(const CommandLine &commandLine, const QString &calibrationPath)
{
    LoadedSessions loaded;
    std::optional<Calibration> calibration;
    if (commandLine.calibration == CalibrationUse::Use) {
        QString error;
        calibration = loadCalibration(calibrationPath, &error);
        if (!calibration) {
            loaded.exitCode = ExitCode::CalibrationRefused;
            loaded.error = error.isEmpty()
                ? CommandRunTexts::tr("no calibration is stored (%1); make one with --calibrate LOG")
                      .arg(QDir::toNativeSeparators(calibrationPath))
                : error;
            return loaded;
        }
    }
    for (const QString &path : commandLine.logs) {
        if (!QFileInfo::exists(path)) {
            loaded.sessions.clear();
            loaded.exitCode = ExitCode::MissingFile;
            loaded.error =
                CommandRunTexts::tr("%1 does not exist").arg(QDir::toNativeSeparators(path));
            return loaded;
        }
        ReadResult read = readLogFile(path, commandLine.badLines);
        if (!read.ok()) {
            loaded.sessions.clear();
            loaded.exitCode = ExitCode::UnreadableLog;
            loaded.error = read.errorText;
            return loaded;
        }
        if (read.session.skippedLines > 0) {
            loaded.warnings << QStringLiteral("%1: %2").arg(
                QDir::toNativeSeparators(path), skippedLinesText(read.session.skippedLines));
            for (const LineError &error : read.lineErrors)
                loaded.warnings << QStringLiteral("  ") + lineErrorText(path, error);
            if (read.session.skippedLines > read.lineErrors.size())
                loaded.warnings << QStringLiteral("  ...");
        }
        if (calibration)
            applyCalibration(read.session, *calibration);
        loaded.sessions.push_back(std::move(read.session));
    }
    return loaded;
}

int runTextCommand(const CommandLine &commandLine, const QString &calibrationPath,
                   const QDateTime &now, QTextStream &out, QTextStream &err, const QLocale &locale)
{
    switch (commandLine.mode) {
    case RunMode::Help:
        out << helpText();
        out.flush();
        return ExitCode::Ok;
    case RunMode::Summary:
    case RunMode::Csv:
    case RunMode::Calibrate:
        break;
    case RunMode::Report:
    case RunMode::Window:
        err << CommandRunTexts::tr("this mode needs the application") << '\n';
        err.flush();
        return ExitCode::BadOption;
    }

    const LoadedSessions loaded = loadSessions(commandLine, calibrationPath);
    for (const QString &warning : loaded.warnings)
        err << warning << '\n';
    err.flush();
    if (loaded.exitCode != ExitCode::Ok) {
        err << loaded.error << '\n';
        err.flush();
        return loaded.exitCode;
    }

    if (commandLine.mode == RunMode::Calibrate) {
        const CalibrationResult result = computeCalibration(loaded.sessions.front(), now);
        if (!result.calibration) {
            err << CommandRunTexts::tr("Calibration refused: %1").arg(result.refusal) << '\n';
            err.flush();
            return ExitCode::CalibrationRefused;
        }
        QString error;
        if (!saveCalibration(*result.calibration, calibrationPath, &error)) {
            err << error << '\n';
            err.flush();
            return ExitCode::OutputFailed;
        }
        const Calibration &calibration = *result.calibration;
        out << CommandRunTexts::tr("Calibration stored in %1. It is applied when asked for: "
                                   "--calibration use, or “Apply the sensor calibration” in the "
                                   "window.")
                   .arg(QDir::toNativeSeparators(calibrationPath))
            << '\n';
        for (int c = 0; c < kCylinderCount; ++c) {
            const std::size_t i = static_cast<std::size_t>(c);
            out << CommandRunTexts::tr("Sensor %1: offset %2, noise %3")
                       .arg(c + 1)
                       .arg(formatValue(calibration.offsetsKPa[i], commandLine.unit, locale),
                            formatValue(calibration.noiseKPa[i], commandLine.unit, locale))
                << '\n';
        }
        out.flush();
        return ExitCode::Ok;
    }

    const bool twoLogs = loaded.sessions.size() == 2;
    for (std::size_t i = 0; i < loaded.sessions.size(); ++i) {
        const SessionAnalysis analysis = analyseSession(loaded.sessions[i], commandLine.analysis);
        if (twoLogs) {
            if (i > 0)
                out << '\n';
            const QString title = i == 0 ? CommandRunTexts::tr("Before")
                                         : CommandRunTexts::tr("After");
            out << (commandLine.mode == RunMode::Csv ? csvField(title, csvSeparator(locale))
                                                     : QStringLiteral("== %1 ==").arg(title))
                << '\n';
        }
        out << (commandLine.mode == RunMode::Csv ? csvText(analysis, commandLine.unit, locale)
                                                 : summaryText(analysis, commandLine.unit, locale));
    }
    out.flush();
    return ExitCode::Ok;
}
