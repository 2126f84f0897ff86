#ifndef ONEHOURLOG_H
#define ONEHOURLOG_H

// What the benchmarks of aspirello-analisi open: one hour of the simulated
// engine polled every 10 ms, written as the gauge writes its log.
#include "enginemodel.h"
#include "measurementlog.h"
#include "testlog.h"

#include <QDate>
#include <QDir>
#include <QString>
#include <QTemporaryDir>
#include <QTime>

#include <cstdio>

#include <algorithm>
#include <vector>

constexpr int kOneHourReadings = 360000;     // one hour at 10 ms
constexpr double kOneHourPollPeriod = 0.010; // seconds

inline TestLog oneHourLog()
{
    EngineModel engine;
    TestLog log;
    for (int i = 0; i < kOneHourReadings; ++i) {
        const std::array<double, 4> pressures = engine.pressures(i * kOneHourPollPeriod);
        CylinderValues readings{};
        for (std::size_t c = 0; c < readings.size(); ++c)
            readings[c] = static_cast<float>(pressures[c]);
        log.addRaw(readings);
    }
    return log;
}

// Writes oneHourLog() as the gauge saves it into folder; empty on failure.
inline QString writeOneHourLog(const QTemporaryDir &folder)
{
    const QString path = folder.isValid()
        ? oneHourLog().saveInto(QDir(folder.path()), QString::fromLatin1(kLogFilePrefix),
                                QDate(2026, 12, 7), QTime(9, 0))
        : QString();
    if (path.isEmpty())
        std::fprintf(stderr, "cannot write a one-hour log\n");
    return path;
}

inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

#endif // ONEHOURLOG_H
