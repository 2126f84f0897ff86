#ifndef ANALYSIS_COMMANDLINE_H
#define ANALYSIS_COMMANDLINE_H

#include "liveanalysis.h"
#include "logreader.h"
#include "sessionanalysis.h"
#include "units.h"

#include <QString>
#include <QStringList>

#include <optional>

// What aspirello-analisi was asked to do.
enum class RunMode {
    Window,    // no mode option: the window, opening the logs given, if any
    Report,    // --report OUT LOG [LOG2]: graph, statistics and verdict to a file
    Summary,   // --summary LOG [LOG2]: plain text on standard output
    Csv,       // --csv LOG [LOG2]: CSV on standard output
    Calibrate, // --calibrate LOG: compute a calibration and store it
    Help,      // --help / -h
};

enum class ReportFormat {
    Pdf,
    Png,
    Svg,
};

enum class CalibrationUse {
    None, // the default
    Use,  // apply the stored calibration; an error when none is stored
};

// What the command line asks of a live session on the board.
struct LiveCommand
{
    QString port;                  // --live PORT: empty when not live
    std::optional<double> seconds; // --for SECONDS
    LiveSettings settings;         // --compare, --cycle, --damping (reference and tolerance
                                   // come from --reference and --tolerance)
    bool isLive() const { return !port.isEmpty(); }
};

struct CommandLine
{
    RunMode mode = RunMode::Window;
    QString reportPath;                            // Report only
    ReportFormat reportFormat = ReportFormat::Pdf; // from reportPath's suffix
    QStringList logs; // 0..2 (Window), 1..2 (Report, Summary, Csv), 1 (Calibrate)
    Unit unit = Unit::KPa;
    AnalysisSettings analysis; // reference, tolerance, period
    BadLinePolicy badLines = BadLinePolicy::Stop;
    CalibrationUse calibration = CalibrationUse::None;
    // --live PORT and its options: the board instead of logs.
    LiveCommand live;
};

struct CommandLineResult
{
    std::optional<CommandLine> commandLine;
    QString error;    // translated, when commandLine is empty
    int exitCode = 0; // ExitCode::Ok, or ExitCode::BadOption with error
};

// Parses the arguments after the program's name. Options may come before or
// after the logs, and take their value as the next argument or after "=":
//   --report OUT.pdf|OUT.png|OUT.svg   --summary   --csv   --calibrate (with one LOG)
//   --unit kpa|hpa|mbar|mmhg|cmhg|inhg
//   --reference 1..4          --tolerance KPA (> 0, in kPa whatever the unit)
//   --period MS               (the poll period in milliseconds; "10ms" and "0.01s" too)
//   --skip-bad-lines | --stop-on-bad-line (the default)
//   --calibration use|none    --help, -h
//   --live PORT  --for SECONDS  --compare reference|1-2|3-4|pairs|linkage
//   --cycle mean|minimum  --damping SECONDS (0.1 to 2)
// "--" ends the options. At most one of --report, --summary, --csv, --calibrate.
// With --live: no logs, no --calibrate, a poll period of 10..50 ms, and --for
// with a mode that needs no window; --for only with --live. An option given
// twice takes its last value; every value given is checked.
// Pure: touches no file.
CommandLineResult parseCommandLine(const QStringList &arguments);

// The report format for an output file name's suffix (case-insensitive).
std::optional<ReportFormat> reportFormatForPath(const QString &path);

// The --help text, translated: the options, the exit codes, the live options.
QString helpText();

#endif // ANALYSIS_COMMANDLINE_H
