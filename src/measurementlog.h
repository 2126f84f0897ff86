#ifndef MEASUREMENTLOG_H
#define MEASUREMENTLOG_H

#include "measure/readings.h"

#include <QDate>
#include <QFileDevice>
#include <QString>
#include <QTime>

// One log line: the four raw readings and the four running averages, each
// widened to double and written fixed-point with six decimals, separated by
// commas and ended by CR LF. Written in place at the end of text.
void writeLogLine(QString &text, const CylinderValues &readings, const CylinderValues &averages);

// The most characters the log holds: 2^27 less room for the string's own
// header, so that the text and its header fit 256 MiB (two bytes a
// character). That is an eighth of the largest string Qt 5 can hold and far
// below Qt 6's, and some 1.5 million lines of up to 89 characters: over four
// hours of readings at one every 10 ms, over eight at one every 20 ms.
// Saving needs half as much again for the moment of the save.
constexpr qsizetype kLogBound = (qsizetype(1) << 27) - 64;

// Appends the log line of one frame to log when it fits within bound
// characters; false, with log left as it was, when it would take the text
// past the bound. The line is formed apart first, so that the text never
// grows past the bound, not even for a moment. (The window takes no more
// lines once one has not fitted, until the log is emptied, so that what it
// holds is an unbroken run of readings.)
bool appendWithinBound(QString &log, qsizetype bound, const CylinderValues &readings,
                       const CylinderValues &averages);

// The prefix of the names "Salva" gives its log files; "TOP" puts
// kTopLogFileMark before it.
constexpr char kLogFilePrefix[] = "log_A_B_C_D_EMEDIE";
constexpr char kTopLogFileMark[] = "TOP_";

// prefix, day, month, year, hour, minute, second (no leading zeros), ".txt".
QString logFileName(const QString &prefix, const QDate &date, const QTime &time);

enum class LogSaveResult {
    Saved,
    OpenFailed,  // the file could not be created, or the name is not a regular file
    WriteFailed, // it could not be written or completed; any earlier file of
                 // that name is left as it was
};

// Why a save failed, as the toolkit reports it.
struct LogSaveFailure
{
    QFileDevice::FileError error = QFileDevice::NoError;
    QString reason;
};

// Writes the log text, byte for byte with no line-ending translation, into a
// temporary file that replaces fileName only once it is complete. On failure
// the toolkit's reason goes to failure, when given.
LogSaveResult writeLogFile(const QString &fileName, const QString &log,
                           LogSaveFailure *failure = nullptr);

#endif // MEASUREMENTLOG_H
