#ifndef MEASUREMENTLOG_H
#define MEASUREMENTLOG_H

#include "measure/readings.h"

#include <QDate>
#include <QFileDevice>
#include <QString>
#include <QTime>

// One log line: the four raw readings and the four running averages, each
// widened to double and written fixed-point with six decimals, separated by
// commas and ended by CR LF. Appended in place to the log.
void appendLogLine(QString &log, const CylinderValues &readings, const CylinderValues &averages);

// The most characters the log holds: 2^27 less room for the string's own
// header, so that the text and its header fit 256 MiB (two bytes a
// character). That is an eighth of the largest string Qt 5 can hold and far
// below Qt 6's, and some 1.5 million lines of up to 89 characters: over four
// hours of readings at one every 10 ms, over eight at one every 20 ms.
// Saving needs half as much again for the moment of the save.
constexpr qsizetype kLogBound = (qsizetype(1) << 27) - 64;

// The measurement log with its bound. A line that would take the text past
// the bound is not appended, and the log is full: it takes no more lines,
// not even shorter ones, until it is emptied, so that what it holds is an
// unbroken run of readings.
class MeasurementLog
{
public:
    enum class Append {
        Logged,
        Filled, // the line did not fit: the log has just become full
        Full,   // the log was already full
    };

    explicit MeasurementLog(qsizetype bound = kLogBound);

    Append append(const CylinderValues &readings, const CylinderValues &averages);
    // Empties the log; it takes lines again.
    void clear();

    const QString &text() const { return logText; }
    bool isFull() const { return full; }
    qsizetype bound() const { return maxCharacters; }
    // A bound below the present text leaves the text as it is; the next
    // line then fills the log.
    void setBound(qsizetype characters) { maxCharacters = characters; }

private:
    QString logText;
    QString line;
    qsizetype maxCharacters;
    bool full = false;
};

// The prefix of the names "Salva" gives its log files; "TOP" puts "TOP_"
// before it.
constexpr char kLogFilePrefix[] = "log_A_B_C_D_EMEDIE";

// prefix, day, month, year, hour, minute, second (no leading zeros), ".txt".
QString logFileName(const QString &prefix, const QDate &date, const QTime &time);

enum class LogSaveResult {
    Saved,
    OpenFailed,  // the file could not be created
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
