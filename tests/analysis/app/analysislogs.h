#ifndef ANALYSISLOGS_H
#define ANALYSISLOGS_H

// The logs the tests of aspirello-analisi open, saved under the gauge's file
// names.

#include "measurementlog.h"
#include "testlog.h"

#include <QDate>
#include <QDir>
#include <QTime>

#include <cmath>
#include <functional>

// The averages of cylinder c at reading i (the raw readings pulsate 3 kPa
// around them).
using AverageAt = std::function<float(int cylinder, int reading)>;

inline QString writeTestLog(const QDir &folder, const QString &prefix, const QTime &time,
                            int readings, const AverageAt &average, const char *extraLine = nullptr,
                            int extraAt = -1)
{
    TestLog log;
    for (int i = 0; i < readings; ++i) {
        if (extraLine && i == extraAt)
            log.addText(QString::fromLatin1(extraLine));
        CylinderValues raw{}, averages{};
        for (std::size_t c = 0; c < raw.size(); ++c) {
            averages[c] = average(int(c), i);
            raw[c] = averages[c] + float(3.0 * std::sin(0.9 * i + double(c)));
        }
        log.add(raw, averages);
    }
    return log.saveInto(folder, prefix, QDate(2026, 12, 7), time);
}

// Cylinder 3 starts 3 kPa above the others and is brought into the band over
// the first half: the session ends in sync.
inline float convergingAverage(int cylinder, int reading)
{
    const float offset = cylinder == 2 && reading < 200 ? 3.0f * float(200 - reading) / 200.0f : 0.0f;
    return -30.0f + offset;
}

// Cylinder 2 stays 2 kPa below the reference to the end.
inline float offAverage(int cylinder, int)
{
    return cylinder == 1 ? -32.0f : -30.0f;
}

// The two sessions the window and report tests open: one that ends in sync
// (a plain log) and one that does not (a TOP log).
inline QString writeInSyncLog(const QDir &folder)
{
    return writeTestLog(folder, QLatin1String(kLogFilePrefix), QTime(9, 5, 3), 400,
                        convergingAverage);
}

inline QString writeOffLog(const QDir &folder)
{
    return writeTestLog(folder, QLatin1String(kTopLogFileMark) + QLatin1String(kLogFilePrefix),
                        QTime(9, 7, 0), 300, offAverage);
}

#endif // ANALYSISLOGS_H
