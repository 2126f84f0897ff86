#include "measurementlog.h"

#include "safefile.h"

void appendLogLine(QString &log, const CylinderValues &readings, const CylinderValues &averages)
{
    const auto appendField = [&log](float value) {
        log += QString::number(static_cast<double>(value), 'f', 6);
    };
    for (const float reading : readings) {
        appendField(reading);
        log += QLatin1Char(',');
    }
    for (std::size_t i = 0; i < averages.size(); ++i) {
        appendField(averages[i]);
        if (i + 1 < averages.size())
            log += QLatin1Char(',');
    }
    log += QLatin1String("\r\n");
}

MeasurementLog::MeasurementLog(qsizetype bound)
    : logText()
    , line()
    , maxCharacters(bound)
{
}

MeasurementLog::Append MeasurementLog::append(const CylinderValues &readings,
                                              const CylinderValues &averages)
{
    if (full)
        return Append::Full;
    // The line is formed apart first, in a buffer kept from line to line,
    // so that the text never grows past the bound, not even for a moment.
    line.truncate(0);
    appendLogLine(line, readings, averages);
    if (line.size() > maxCharacters - logText.size()) {
        full = true;
        return Append::Filled;
    }
    logText += line;
    return Append::Logged;
}

void MeasurementLog::clear()
{
    if (!logText.isEmpty())
        logText.clear();
    full = false;
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
