#ifndef ANALYSIS_LIVERUN_H
#define ANALYSIS_LIVERUN_H

#include "commandline.h"
#include "livecapture.h"
#include "liveanalysis.h"
#include "sessionanalysis.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

#include <memory>

// A live session recorded without a window: the board polled for the time
// asked, every accepted frame recorded and judged live.
struct LiveRun
{
    int exitCode = 0;  // ExitCode::Ok or ExitCode::LiveFailed
    QString error;     // why nothing was recorded (translated), when no reading came
    QStringList notes; // for standard error: the board's problems, a lost board
    QString port;
    double seconds = 0.0; // from the first frame to the last
    quint64 pollsSent = 0;
    quint64 discards = 0;
    LiveRecording recording;
    LiveAnalysis live;
    // The recording as the log analysis sees it (calibrated when asked), and its analysis.
    Session session;
    SessionAnalysis analysis;
};

// Records from commandLine.live.port for commandLine.live.seconds, polling
// at the --period given (else the default), and analyses what was recorded
// with the log analysis' own rules and the live verdict. Runs the event loop
// of the thread until done. A calibration is applied to the analysis (never
// to the recorded log) when the command asks for it; calibrationPath as in
// loadSessions.
std::unique_ptr<LiveRun> recordLive(const CommandLine &commandLine, const QString &calibrationPath);

// Writes the run's notes to err and, when nothing was recorded, why; false
// then, and the run's exit code is the command's.
bool tellLiveRun(const LiveRun &run, QTextStream &err);

// --live with --summary or --csv: the recorded session's summary or CSV,
// followed by the live verdict and engine speed. Returns the exit code.
int runLiveTextCommand(const CommandLine &commandLine, const QString &calibrationPath,
                       QTextStream &out, QTextStream &err);

// The live rows of the CSV (item,value): the live verdict, how long it held,
// each bar's difference, the engine speed or why it is not measured.
QString liveCsvRows(const LiveAnalysis &live, Unit unit);

#endif // ANALYSIS_LIVERUN_H
