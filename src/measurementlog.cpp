#include "measurementlog.h"

#include <QSaveFile>

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

LogSaveResult writeLogFile(const QString &fileName, const QString &log)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return LogSaveResult::OpenFailed;
    const QByteArray bytes = log.toLocal8Bit();
    // A text smaller than the device's write buffer only reaches the disk
    // when commit() flushes it, and commit() does not treat a failure of
    // that flush as a write error: it would put a truncated file in place.
    // Flush here, where a failure can still cancel the save.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        file.commit(); // discards the temporary file
        return LogSaveResult::WriteFailed;
    }
    return file.commit() ? LogSaveResult::Saved : LogSaveResult::WriteFailed;
}
