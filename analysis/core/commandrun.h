#ifndef ANALYSIS_COMMANDRUN_H
#define ANALYSIS_COMMANDRUN_H

#include "commandline.h"
#include "session.h"

#include <QLocale>
#include <QString>
#include <QTextStream>

#include <vector>

// The logs of a command, read and (when asked) calibrated, ready to analyse.
struct LoadedSessions
{
    std::vector<Session> sessions; // in command-line order
    int exitCode = 0;              // ExitCode::Ok, or why not
    QString error;                 // translated, when exitCode is not Ok
    // Notes for standard error that are not failures: lines skipped per log.
    QStringList warnings;
};

// Reads every log of the command with its bad-line policy; a missing file
// gives ExitCode::MissingFile, an unreadable one ExitCode::UnreadableLog.
// With CalibrationUse::Use, loads the calibration at calibrationPath and
// applies it to each session (ExitCode::CalibrationRefused when none is
// stored or it is not valid).
LoadedSessions loadSessions(const CommandLine &commandLine, const QString &calibrationPath);

// Runs the modes that need no window and no drawing: Help, Summary, Csv and
// Calibrate (which stores the calibration at calibrationPath and prints it).
// Results go to out, messages to err; returns the exit code. With two logs,
// Summary and Csv write one block per log, "Before" then "After". Numbers
// are written in locale's form (its decimal separator; CSV as csvText says).
// Report and Window are the application's; for them this returns BadOption.
int runTextCommand(const CommandLine &commandLine, const QString &calibrationPath,
                   const QDateTime &now, QTextStream &out, QTextStream &err,
                   const QLocale &locale = QLocale::c());

#endif // ANALYSIS_COMMANDRUN_H
