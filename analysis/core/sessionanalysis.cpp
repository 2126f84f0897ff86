#include "sessionanalysis.h"

#include <QCoreApplication>

#include <algorithm>

namespace {

// The texts of this file, under one translation context.
struct SessionTexts
{
    Q_DECLARE_TR_FUNCTIONS(Session)
};

int clampedCount(std::size_t count)
{
    return static_cast<int>(std::min<std::size_t>(count, 0x7fffffff));
}

} // namespace

SessionAnalysis analyseSession(const Session &session, const AnalysisSettings &settings)
{
    SessionAnalysis analysis;
    analysis.settings = settings;
    analysis.fileName = session.fileName;
    analysis.recordedAt = session.recordedAt;
    analysis.readingCount = session.readingCount();
    analysis.skippedLines = session.skippedLines;
    analysis.nonFiniteValues = session.nonFiniteValues;
    analysis.impossibleValues = session.impossibleValues;
    analysis.appliedCalibration = session.appliedCalibration;
    analysis.statistics = cylinderStatistics(session);
    analysis.pulsationStandout = standoutPulsation(analysis.statistics);
    analysis.sync = analyseSync(session, settings.sync);
    analysis.settings.sync = analysis.sync.settings; // the reference as used
    analysis.pairs = analysePairs(session, settings.sync);
    return analysis;
}

QString sessionLengthText(const SessionAnalysis &analysis, const QLocale &locale)
{
    return durationText(analysis.readingCount, analysis.settings.pollPeriodSeconds, locale);
}

QString skippedLinesText(std::size_t lines)
{
    return SessionTexts::tr("%n bad lines skipped", nullptr, clampedCount(lines));
}

QString leftOutValuesText(const SessionAnalysis &analysis)
{
    const std::size_t total = analysis.impossibleValues + analysis.nonFiniteValues;
    if (total == 0)
        return QString();
    QStringList kinds;
    if (analysis.impossibleValues > 0)
        kinds << SessionTexts::tr("%n beyond ±%1 kPa, which no sensor reads", nullptr,
                                  clampedCount(analysis.impossibleValues))
                     .arg(kPlausibleLimitKPa);
    if (analysis.nonFiniteValues > 0)
        kinds << SessionTexts::tr("%n not a number (nan or inf)", nullptr,
                                  clampedCount(analysis.nonFiniteValues));
    return SessionTexts::tr("%n values left out: %1", nullptr, clampedCount(total))
        .arg(kinds.join(QStringLiteral("; ")));
}

QString savedText(const QDateTime &savedAt)
{
    return SessionTexts::tr("saved %1").arg(dateTimeText(savedAt));
}
