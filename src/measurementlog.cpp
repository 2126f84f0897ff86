#include "measurementlog.h"

#include "safefile.h"

void writeLogLine(QString &text, const CylinderValues &readings, const CylinderValues &averages)
{
    const auto appendField = [&text](float value) {
        text += QString::number(static_cast<double>(value), 'f', 6);
    };
    for (const float reading : readings) {
        appendField(reading);
        text += QLatin1Char(',');
    }
    for (std::size_t i = 0; i < averages.size(); ++i) {
        appendField(averages[i]);
        if (i + 1 < averages.size())
            text += QLatin1Char(',');
    }
    text += QLatin1String("\r\n");
}

bool appendWithinBound(QString &log, qsizetype bound, const CylinderValues &readings,
                       const CylinderValues &averages)
{
    // A frame's line is written at every poll: its buffer is kept from line
    // to line rather than taken anew each time.
    static thread_local QString line;
    line.truncate(0);
    writeLogLine(line, readings, averages);
    if (line.size() > bound - log.size())
        return false;
    log += line;
    return true;
}

QString logFileName(const QString &prefix, const QDate &date, const QTime &time)
{
    return prefix
        + QStringLiteral("%1_%2_%3_%4_%5_%6.txt")
              .arg(date.day())
              .arg(date.month())
              .arg(date.year())
              .arg(time.hour())
              .arg(time.minute())
              .arg(time.second());
}

LogSaveResult writeLogFile(const QString &fileName, const QString &log, LogSaveFailure *failure)
{
    FileFailure written;
    if (writeRegularFile(fileName, log.toLocal8Bit(), &written))
        return LogSaveResult::Saved;
    if (failure)
        *failure = {written.error, written.reason};
    return written.fault == FileFault::WriteFailed ? LogSaveResult::WriteFailed
                                                   : LogSaveResult::OpenFailed;
}
