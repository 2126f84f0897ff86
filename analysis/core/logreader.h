#ifndef ANALYSIS_LOGREADER_H
#define ANALYSIS_LOGREADER_H

#include "session.h"

#include <QByteArray>
#include <QDateTime>
#include <QIODevice>
#include <QString>

#include <cstddef>
#include <optional>
#include <vector>

// What to do with a line that is not eight numbers.
enum class BadLinePolicy {
    Stop, // the whole log is refused, naming the first bad line
    Skip, // bad lines are left out and counted; every good line is kept whole
};

// Why one line was not taken.
enum class LineProblem {
    FieldCount, // not eight comma-separated fields (an empty line has one, empty)
    NotANumber, // a field that is not a number ("nan", "inf", "-inf" are numbers)
    OutOfRange, // a number beyond the single-precision range (one too small to tell from
                // zero reads as zero)
    BinaryData, // control characters or bytes outside ASCII in the line
};

struct LineError
{
    std::size_t lineNumber = 0; // from 1
    LineProblem problem = LineProblem::FieldCount;
    int fieldCount = 0; // fields found on the line
    int field = 0;      // the offending field, from 1 (0 when the line as a whole is bad)
};

enum class ReadStatus {
    Ok,
    CannotOpen, // missing, unreadable, a folder, not a regular file
    TooLarge,   // larger than kMaxLogBytes
    Changed,    // cut short or extended by another program while it was read
    BinaryFile, // NUL bytes: not a text file at all (refused under both policies)
    BadLine,    // stop policy and a bad line
    NoReadings, // empty, or every line bad
};

struct ReadResult
{
    ReadStatus status = ReadStatus::Ok;
    Session session;
    // Under the skip policy, the first bad lines (at most kMaxReportedLineErrors);
    // under the stop policy, the one that stopped reading.
    std::vector<LineError> lineErrors;
    // The reason for the user, translated, with the file name and (for a bad
    // line) the line number. Empty when status is Ok.
    QString errorText;

    bool ok() const { return status == ReadStatus::Ok; }
};

constexpr std::size_t kMaxReportedLineErrors = 100;

// The largest log read: four times the largest the gauge writes. Its
// readings take 32 bytes a line in memory, some three-eighths of the file
// for the gauge's lines.
constexpr qint64 kMaxLogBytes = qint64(512) << 20;

// Reads a log file, a regular one only. Lines end in CR LF (as Aspirello writes them) or LF; a
// last line without an end is taken too. Each line must hold eight numbers
// separated by commas, written with a full stop as decimal separator (spaces
// around a number are tolerated); "nan", "inf" and "-inf" are read as such.
// The date and time come from the file name when it follows Aspirello's
// pattern. Values of good lines that are not finite or not plausible are
// counted in the session; the implausible ones are stored as nan.
ReadResult readLogFile(const QString &path, BadLinePolicy policy);

// The same from an open device that can seek (the file of readLogFile),
// named fileName in messages; no date is taken from the name. A device
// whose size changes while it is read gives ReadStatus::Changed.
ReadResult readLogDevice(QIODevice &device, const QString &fileName, BadLinePolicy policy);

// The same for text already in memory; fileName only names it in messages
// and is stored in the session (no date is taken from it).
ReadResult parseLogText(const char *data, std::size_t size, const QString &fileName,
                        BadLinePolicy policy);
ReadResult parseLogText(const QByteArray &text, const QString &fileName, BadLinePolicy policy);

// One line without its end (no CR, no LF): the eight values, or why not.
// Pure; the reader's own line parser.
struct LineParse
{
    bool ok = false;
    std::array<float, kLogColumnCount> values{};
    LineProblem problem = LineProblem::FieldCount;
    int fieldCount = 0;
    int field = 0;
};
LineParse parseLogLine(const char *begin, const char *end);

// "%1, line %2: ..." for the user, translated.
QString lineErrorText(const QString &fileName, const LineError &error);

// The local date and time of a save, from a name such as
// "log_A_B_C_D_EMEDIE6_2_2016_9_5_3.txt" or "TOP_log_A_B_C_D_EMEDIE6_2_2016_9_5_3.txt"
// (a folder before it is ignored). Nothing when the name does not follow the
// pattern or names an impossible date or time.
std::optional<QDateTime> dateTimeFromLogFileName(const QString &fileName);

// True when the name (without folder) begins with the "TOP_" prefix of the pattern.
bool isTopLogFileName(const QString &fileName);

#endif // ANALYSIS_LOGREADER_H
