#include "sessionanalysis.h"

SessionAnalysis analyseSession(const Session &session, const AnalysisSettings &settings)
{
    SessionAnalysis analysis;
    analysis.settings = settings;
    analysis.fileName = session.fileName;
    analysis.recordedAt = session.recordedAt;
    analysis.readingCount = session.readingCount();
    analysis.skippedLines = session.skippedLines;
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
