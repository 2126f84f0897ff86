#ifndef TESTLOG_H
#define TESTLOG_H

// Logs for the tests and the benchmarks, written as the gauge writes them:
// every line through its own log-line function, files through its own save.

#include "measure/readings.h"
#include "measure/runningaverage.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <vector>

class QDate;
class QDir;
class QTime;

class TestLog
{
public:
    // The eight values of a log line: four raw readings, then their averages.
    using Row = std::array<float, 8>;

    // One reading and the averages the gauge showed beside it.
    void add(const CylinderValues &raw, const CylinderValues &averages);
    void add(const Row &row);
    // One reading, its averages those of the gauge's running average (of its
    // default length) over the readings added this way.
    void addRaw(const CylinderValues &raw);
    // Every row of eight columns of one length (a log as read back).
    void addColumns(const std::array<std::vector<float>, 8> &columns);
    // Text the gauge never writes (a damaged line, a blank one), as given.
    void addText(const QString &text);

    const QString &text() const { return lines; }
    QByteArray bytes() const { return lines.toLatin1(); }

    // Saved as the gauge saves its log; false when it could not be.
    bool save(const QString &path) const;
    // Saved into folder under the gauge's name for prefix, date and time
    // ("log_A_B_C_D_EMEDIE", "TOP_log_A_B_C_D_EMEDIE"); the path, or empty
    // when it could not be saved.
    QString saveInto(const QDir &folder, const QString &prefix, const QDate &date,
                     const QTime &time) const;

private:
    QString lines;
    std::array<RunningAverage, 4> averages;
};

// Bytes written to path as they are (a damaged log, a calibration file);
// false when they could not all be written.
bool writeTestFile(const QString &path, const QByteArray &bytes);

#endif // TESTLOG_H
