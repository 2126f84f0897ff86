#ifndef ONEHOURLOG_H
#define ONEHOURLOG_H

// What the benchmarks of aspirello-analisi open: one hour of the simulated
// engine polled every 10 ms, written as the gauge writes its log.
#include "enginemodel.h"
#include "measurementlog.h"
#include "testlog.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
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
        const std::array<double, kCylinderCount> pressures = engine.pressures(i * kOneHourPollPeriod);
        CylinderValues readings{};
        for (std::size_t c = 0; c < readings.size(); ++c)
            readings[c] = static_cast<float>(pressures[c]);
        log.addRaw(readings);
    }
    return log;
}

// oneHourLog() saved as the gauge saves it, in a folder of its own that
// goes with it.
struct OneHourLogFile
{
    QTemporaryDir folder;
    QString path; // empty when it could not be written (said on standard error)
    double megabytes = 0.0;

    OneHourLogFile()
    {
        if (folder.isValid())
            path = oneHourLog().saveInto(QDir(folder.path()), QString::fromLatin1(kLogFilePrefix),
                                         QDate(2026, 12, 7), QTime(9, 0));
        if (path.isEmpty())
            std::fprintf(stderr, "cannot write a one-hour log\n");
        else
            megabytes = static_cast<double>(QFileInfo(path).size()) / 1e6;
    }
};

inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

#endif // ONEHOURLOG_H
