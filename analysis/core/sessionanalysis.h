#ifndef ANALYSIS_SESSIONANALYSIS_H
#define ANALYSIS_SESSIONANALYSIS_H

#include "session.h"
#include "statistics.h"
#include "syncanalysis.h"

#include <array>
#include <optional>

// The poll periods a log can have been recorded with, in seconds.
constexpr double kMinPollPeriodSeconds = 0.001;
constexpr double kMaxPollPeriodSeconds = 10.0;

// Everything the user chooses about an analysis except the display unit.
struct AnalysisSettings
{
    SyncSettings sync;
    // The poll period the session was recorded with; without it, stretches
    // are counted in readings.
    std::optional<double> pollPeriodSeconds;
};

// Everything the outputs (window, summary, CSV, report) show about one session.
struct SessionAnalysis
{
    AnalysisSettings settings;
    QString fileName; // as named by the user
    std::optional<QDateTime> recordedAt;
    std::size_t readingCount = 0;
    std::size_t skippedLines = 0;
    std::size_t nonFiniteValues = 0; // as in Session
    std::size_t impossibleValues = 0;
    std::optional<Calibration> appliedCalibration;

    std::array<SeriesStatistics, kCylinderCount> statistics; // of the raw readings
    std::optional<int> pulsationStandout;                    // cylinder 1..4
    SyncResult sync;
    PairSyncResult pairs;
};

SessionAnalysis analyseSession(const Session &session, const AnalysisSettings &settings);

// The session's length: "12.4 s" or "300 readings".
QString sessionLengthText(const SessionAnalysis &analysis, const QLocale &locale = QLocale::c());

// The wordings every output shares, translated:
// "3 bad lines skipped";
QString skippedLinesText(std::size_t lines);
// "5 values left out: 2 beyond ±200 kPa, which no sensor reads; 3 not a
// number (nan or inf)", naming only the kinds present; empty when none.
QString leftOutValuesText(const SessionAnalysis &analysis);
// "saved 2026-12-07 09:30" (the time the gauge saved the log).
QString savedText(const QDateTime &savedAt);

#endif // ANALYSIS_SESSIONANALYSIS_H
