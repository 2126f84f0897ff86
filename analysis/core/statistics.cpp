#include "statistics.h"

#include "session.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

SeriesStatistics seriesStatistics(const std::vector<float> &values)
{
    SeriesStatistics statistics;
    double sum = 0.0;
    for (const float value : values) {
        if (!std::isfinite(value)) {
            ++statistics.nonFinite;
            continue;
        }
        const double wide = value;
        if (statistics.count == 0) {
            statistics.minimum = wide;
            statistics.maximum = wide;
        } else {
            statistics.minimum = std::min(statistics.minimum, wide);
            statistics.maximum = std::max(statistics.maximum, wide);
        }
        sum += wide;
        ++statistics.count;
    }
    if (statistics.count == 0)
        return statistics;
    const double n = static_cast<double>(statistics.count);
    statistics.mean = sum / n;
    // Second pass about the mean: no cancellation for large offsets.
    double squares = 0.0;
    for (const float value : values) {
        if (std::isfinite(value)) {
            const double d = static_cast<double>(value) - statistics.mean;
            squares += d * d;
        }
    }
    statistics.standardDeviation = std::sqrt(squares / n);
    return statistics;
}

std::array<SeriesStatistics, kCylinderCount> cylinderStatistics(const Session &session)
{
    std::array<SeriesStatistics, kCylinderCount> statistics;
    for (int c = 0; c < kCylinderCount; ++c)
        statistics[static_cast<std::size_t>(c)] = seriesStatistics(session.raw(c));
    return statistics;
}

std::optional<int> standoutPulsation(const std::array<SeriesStatistics, kCylinderCount> &statistics)
{
    for (const SeriesStatistics &s : statistics) {
        if (s.count == 0)
            return std::nullopt;
    }
    std::optional<int> standout;
    int qualifying = 0;
    double strongest = 0.0;
    for (std::size_t c = 0; c < statistics.size(); ++c) {
        std::array<double, 3> others{};
        std::size_t k = 0;
        for (std::size_t o = 0; o < statistics.size(); ++o) {
            if (o != c)
                others[k++] = statistics[o].standardDeviation;
        }
        std::sort(others.begin(), others.end());
        const double median = others[1];
        const double own = statistics[c].standardDeviation;
        const double gap = std::fabs(own - median);
        if (gap < kPulsationMinimumKPa)
            continue;
        // With the gap above its minimum, at most one of the two is zero.
        const bool larger = own >= kPulsationRatio * median;
        const bool smaller = own * kPulsationRatio <= median;
        if (!larger && !smaller)
            continue;
        ++qualifying;
        if (gap > strongest) {
            strongest = gap;
            standout = static_cast<int>(c) + 1;
        }
    }
    // Two cylinders against two is a split, not one cylinder standing out.
    if (qualifying > 1)
        return std::nullopt;
    return standout;
}

QString pulsationNote(int cylinder)
{
    return QCoreApplication::translate(
               "Statistics",
               "Cylinder %1: its pulsation stands out from the others. This may point to a leak "
               "(a valve, false air) rather than to the carburettor's setting.")
        .arg(cylinder);
}
