#ifndef MEASUREMENTLOG_H
#define MEASUREMENTLOG_H

#include "measure/readings.h"

#include <QDate>
#include <QString>
#include <QTime>

// One log line: the four raw readings and the four running averages, each
// widened to double and written fixed-point with six decimals, separated by
// commas and ended by CR LF. Appended in place to the log.
void appendLogLine(QString &log, const CylinderValues &readings, const CylinderValues &averages);

// prefix, day, month, year, hour, minute, second (no leading zeros), ".txt".
QString logFileName(const QString &prefix, const QDate &date, const QTime &time);

enum class LogSaveResult
{
    Saved,
    OpenFailed,  // the file could not be created
    WriteFailed, // it could not be written or completed; any earlier file of
                 // that name is left as it was
};

// Writes the log text, byte for byte with no line-ending translation, into a
// temporary file that replaces fileName only once it is complete.
LogSaveResult writeLogFile(const QString &fileName, const QString &log);

#endif // MEASUREMENTLOG_H
