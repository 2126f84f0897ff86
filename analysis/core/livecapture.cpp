#include "livecapture.h"

#include "usermessages.h"

#include <QDir>
#include <QFileInfo>

LiveRecording::LiveRecording(int averageLength)
{
    for (RunningAverage &average : averages)
        average.setCapacity(averageLength);
}

bool LiveRecording::add(const CylinderValues &raw)
{
    if (full)
        return false;
    CylinderValues means{};
    for (std::size_t c = 0; c < averages.size(); ++c) {
        averages[c].push(raw[c]);
        means[c] = averages[c].mean();
    }
    if (!appendWithinBound(logText, kLogBound, raw, means)) {
        full = true;
        return false;
    }
    recorded.append({raw[0], raw[1], raw[2], raw[3], means[0], means[1], means[2], means[3]});
    return true;
}

void LiveRecording::clear()
{
    const int length = averages[0].capacityLimit();
    for (RunningAverage &average : averages)
        average.setCapacity(length);
    logText.clear();
    full = false;
    recorded = Session();
}

CaptureSave saveRecording(const LiveRecording &recording, const QString &folder, const QDateTime &at)
{
    CaptureSave result;
    const QDir dir(folder);
    QDateTime moment = at;
    QString path;
    for (int tries = 0; tries < 3600; ++tries, moment = moment.addSecs(1)) {
        path = dir.filePath(logFileName(QLatin1String(kLogFilePrefix), moment.date(), moment.time()));
        if (!QFileInfo::exists(path))
            break;
    }
    LogSaveFailure failure;
    if (writeLogFile(path, recording.log(), &failure) != LogSaveResult::Saved) {
        result.error = saveFailedMessage(failure.error, failure.reason);
        return result;
    }
    result.saved = true;
    result.path = path;
    return result;
}
