#ifndef SESSIONCURVES_H
#define SESSIONCURVES_H

#include "sessionchart.h"

#include "session.h"
#include "syncanalysis.h"
#include "units.h"

#include <optional>

// The graph of the pressures: for each cylinder its raw readings (light) and
// its running averages (full colour), converted to the unit shown. The
// curves refer to the session's columns (and below to the analysis's series).
QVector<ChartCurve> pressureCurves(const Session &session, Unit unit);

// The graph of sync: each cylinder's difference from the reference cylinder
// (the reference's own is the zero line), converted to the unit shown.
QVector<ChartCurve> differenceCurves(const SyncResult &sync, Unit unit);

// Distance between two readings on the x axis: the poll period in seconds,
// or 1 when the axis counts readings.
double readingStep(std::optional<double> pollPeriodSeconds);
QString xAxisTitle(std::optional<double> pollPeriodSeconds);
QString pressureAxisTitle(Unit unit);
QString differenceAxisTitle(Unit unit);
QString toleranceBandName();

// Fills the two charts for a session: the pressures, and the differences with
// the tolerance band around zero. The charts refer to the session's columns
// and the analysis's differences, which must stay until the next call.
void showSessionInCharts(SessionChart &pressures, SessionChart &differences, const Session &session,
                         const SyncResult &sync, std::optional<double> pollPeriodSeconds, Unit unit,
                         bool keepRange = false);

#endif // SESSIONCURVES_H
