#ifndef ANALYSIS_STATISTICS_H
#define ANALYSIS_STATISTICS_H

#include "measure/readings.h"

#include <QString>

#include <array>
#include <cstddef>
#include <optional>
#include <vector>

struct Session;

// Statistics of one series, over its finite values only.
struct SeriesStatistics
{
    std::size_t count = 0;     // finite values used
    std::size_t nonFinite = 0; // nan, inf and -inf left out
    double mean = 0.0;         // all four are 0 when count is 0
    double minimum = 0.0;
    double maximum = 0.0;
    double standardDeviation = 0.0; // population (divides by count): the pulsation
};

SeriesStatistics seriesStatistics(const std::vector<float> &values);

// Per cylinder (index 0..3), of the raw readings.
std::array<SeriesStatistics, kCylinderCount> cylinderStatistics(const Session &session);

// A cylinder's pulsation stands out when its standard deviation is at least
// kPulsationRatio times, or at most 1/kPulsationRatio times, the median of the
// other three, and differs from that median by at least kPulsationMinimumKPa
// (so that sensor noise on a calm engine is not flagged).
constexpr double kPulsationRatio = 1.5;
constexpr double kPulsationMinimumKPa = 0.25;

// The cylinder number (1..4) whose pulsation stands out, when exactly one
// does (two that stand out against two others are a split, not a standout).
std::optional<int> standoutPulsation(const std::array<SeriesStatistics, kCylinderCount> &statistics);

// "Cylinder %1: its pulsation stands out from the others. This may point to a
// leak (a valve, false air) rather than to the carburettor's setting."
QString pulsationNote(int cylinder);

#endif // ANALYSIS_STATISTICS_H
