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

namespace {

// Writes and flushes every byte. The file engine reports a write that stops
// short (a full disk, a size limit) by its count alone, without the
// system's reason; writing the rest once more then fails at once and gives
// the reason, which the user is told.
bool writeWhole(QSaveFile &file, const QByteArray &bytes)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0)
            return false;
        done += written;
    }
    // A text smaller than the device's write buffer only reaches the disk
    // when commit() flushes it, and commit() does not treat a failure of
    // that flush as a write error: it would put a truncated file in place.
    // Flush here, where a failure can still cancel the save.
    if (file.flush())
        return true;
    file.flush(); // only for the reason: the save has failed already
    return false;
}

} // namespace

LogSaveResult writeLogFile(const QString &fileName, const QString &log, LogSaveFailure *failure)
{
    QSaveFile file(fileName);
    const auto noteFailure = [&file, failure] {
        if (failure)
            *failure = {file.error(), file.errorString()};
    };
    if (!file.open(QIODevice::WriteOnly)) {
        noteFailure();
        return LogSaveResult::OpenFailed;
    }
    if (!writeWhole(file, log.toLocal8Bit())) {
        noteFailure();
        file.cancelWriting();
        file.commit(); // discards the temporary file
        return LogSaveResult::WriteFailed;
    }
    if (!file.commit()) {
        noteFailure();
        return LogSaveResult::WriteFailed;
    }
    return LogSaveResult::Saved;
}
