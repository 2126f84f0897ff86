#ifndef ANALYSIS_SESSION_H
#define ANALYSIS_SESSION_H

#include "calibration.h"
#include "measure/readings.h"

#include <QDateTime>
#include <QString>

#include <array>
#include <cstddef>
#include <optional>
#include <vector>

// A raw reading and a running average for each cylinder.
constexpr int kLogColumnCount = 2 * kCylinderCount;

// No sensor gives a reading beyond this, in kPa either side of the
// atmosphere: such a value is left out of the session, as an unreadable one
// is, and counted.
constexpr double kPlausibleLimitKPa = 200.0;

// The columns of a log line, in the order Aspirello writes them.
enum LogColumn : int {
    Raw1 = 0, // raw reading of cylinder 1, kPa
    Raw2,
    Raw3,
    Raw4,
    Average1, // running average of cylinder 1 after that reading, kPa
    Average2,
    Average3,
    Average4,
};

// One measurement log read back: one row per accepted frame, eight float
// columns. Readings carry no time stamps; a row's index is its reading
// number (0-based here, shown from 1).
struct Session
{
    // The file as the user named it (empty for text parsed from memory).
    QString fileName;
    // Local date and time of the save, from Aspirello's file-name pattern.
    std::optional<QDateTime> recordedAt;
    // The file name began with the "TOP_" prefix of Aspirello's TOP button.
    bool topMark = false;

    // columns[c][i]: column c of reading i. All eight have the same length.
    std::array<std::vector<float>, kLogColumnCount> columns;

    // Bad lines (blank lines between readings among them) left out under the
    // skip policy.
    std::size_t skippedLines = 0;
    // Values of good lines that are not used: not a number (nan, inf, -inf
    // as logged) and beyond kPlausibleLimitKPa (stored as nan). Over all
    // eight columns.
    std::size_t nonFiniteValues = 0;
    std::size_t impossibleValues = 0;

    // The calibration subtracted from every value, if one was applied.
    std::optional<Calibration> appliedCalibration;

    std::size_t readingCount() const { return columns[0].size(); }
    bool isEmpty() const { return columns[0].empty(); }

    // Raw readings and running averages of a cylinder, index 0..3 for 1..4.
    const std::vector<float> &raw(int cylinderIndex) const;
    const std::vector<float> &average(int cylinderIndex) const;

    // Appends one reading: four raw values and four averages.
    void append(const std::array<float, kLogColumnCount> &row);
};

// The file name without its folder, for titles and messages, on one line
// (see printableName).
QString displayName(const Session &session);

// A date and time as every output shows it: "2026-12-07 09:30", local time.
QString dateTimeText(const QDateTime &dateTime);

#endif // ANALYSIS_SESSION_H
