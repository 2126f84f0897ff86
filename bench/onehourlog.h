#ifndef ONEHOURLOG_H
#define ONEHOURLOG_H

// What the benchmarks of aspirello-analisi open: one hour of the simulated
// engine polled every 10 ms, written with the gauge's own log-line function.
#include "enginemodel.h"
#include "measure/runningaverage.h"
#include "measurementlog.h"

#include <QString>

#include <algorithm>
#include <vector>

constexpr int kOneHourReadings = 360000;     // one hour at 10 ms
constexpr double kOneHourPollPeriod = 0.010; // seconds

inline QString oneHourLog()
{
    EngineModel engine;
    std::array<RunningAverage, 4> averages;
    QString log;
    log.reserve(kOneHourReadings * 90);
    for (int i = 0; i < kOneHourReadings; ++i) {
        const std::array<double, 4> pressures = engine.pressures(i * kOneHourPollPeriod);
        CylinderValues readings{};
        CylinderValues means{};
        for (std::size_t c = 0; c < 4; ++c) {
            readings[c] = static_cast<float>(pressures[c]);
            averages[c].push(readings[c]);
            means[c] = averages[c].mean();
        }
        appendLogLine(log, readings, means);
    }
    return log;
}

inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

#endif // ONEHOURLOG_H
