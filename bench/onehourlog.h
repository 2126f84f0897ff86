#ifndef ONEHOURLOG_H
#define ONEHOURLOG_H

// What the benchmarks of aspirello-analisi open: one hour of the simulated
// engine polled every 10 ms, written with the gauge's own log-line function.
#include "enginemodel.h"
#include "measure/runningaverage.h"
#include "measurementlog.h"

#include <QString>
#include <QTemporaryDir>

#include <cstdio>

#include <algorithm>
#include <vector>

constexpr int kOneHourReadings = 360000;     // one hour at 10 ms
constexpr double kOneHourPollPeriod = 0.010; // seconds

inline QString oneHourLog()
{
    EngineModel engine;
    std::array<RunningAverage, kCylinderCount> averages;
    QString log;
    log.reserve(kOneHourReadings * 90);
    for (int i = 0; i < kOneHourReadings; ++i) {
        const std::array<double, kCylinderCount> pressures = engine.pressures(i * kOneHourPollPeriod);
        CylinderValues readings{};
        CylinderValues means{};
        for (std::size_t c = 0; c < 4; ++c) {
            readings[c] = static_cast<float>(pressures[c]);
            averages[c].push(readings[c]);
            means[c] = averages[c].mean();
        }
        writeLogLine(log, readings, means);
    }
    return log;
}

// Writes oneHourLog() as the gauge saves it into folder; empty on failure.
inline QString writeOneHourLog(const QTemporaryDir &folder)
{
    const QString path = folder.filePath(QStringLiteral("log_A_B_C_D_EMEDIE7_12_2026_9_0_0.txt"));
    if (!folder.isValid() || writeLogFile(path, oneHourLog()) != LogSaveResult::Saved) {
        std::fprintf(stderr, "cannot write a one-hour log\n");
        return QString();
    }
    return path;
}

inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

#endif // ONEHOURLOG_H
