#include "sessioncurves.h"

#include "cylindercolours.h"

#include <QCoreApplication>

QVector<ChartCurve> pressureCurves(const Session &session, Unit unit)
{
    QVector<ChartCurve> curves;
    for (int c = 0; c < kCylinderCount; ++c) {
        ChartCurve raw;
        raw.name = QCoreApplication::translate("SessionGraph", "Cylinder %1 readings").arg(c + 1);
        raw.colour = cylinderRawColour(c);
        raw.width = 1.0;
        raw.inLegend = false;
        raw.values = &session.raw(c);
        raw.scale = fromKPa(1.0, unit);
        curves.append(std::move(raw));
    }
    // The averages after the readings, so that they are drawn on top.
    for (int c = 0; c < kCylinderCount; ++c) {
        ChartCurve average;
        average.name = QCoreApplication::translate("SessionGraph", "Cylinder %1").arg(c + 1);
        average.colour = cylinderColour(c);
        average.width = 2.0;
        average.values = &session.average(c);
        average.scale = fromKPa(1.0, unit);
        curves.append(std::move(average));
    }
    return curves;
}

QVector<ChartCurve> differenceCurves(const SyncResult &sync, Unit unit)
{
    QVector<ChartCurve> curves;
    const int reference = sync.settings.referenceCylinder;
    for (int c = 0; c < kCylinderCount; ++c) {
        ChartCurve curve;
        curve.name = c + 1 == reference
            ? QCoreApplication::translate("SessionGraph", "Cylinder %1 (reference)").arg(c + 1)
            : QCoreApplication::translate("SessionGraph", "Cylinder %1").arg(c + 1);
        curve.colour = cylinderColour(c);
        curve.width = c + 1 == reference ? 1.0 : 1.5;
        curve.values = &sync.differences[std::size_t(c)];
        curve.scale = fromKPa(1.0, unit);
        curves.append(std::move(curve));
    }
    return curves;
}

double readingStep(std::optional<double> pollPeriodSeconds)
{
    return (pollPeriodSeconds && *pollPeriodSeconds > 0.0) ? *pollPeriodSeconds : 1.0;
}

QString xAxisTitle(std::optional<double> pollPeriodSeconds)
{
    return (pollPeriodSeconds && *pollPeriodSeconds > 0.0)
        ? QCoreApplication::translate("SessionGraph", "Time (s)")
        : QCoreApplication::translate("SessionGraph", "Reading");
}

QString pressureAxisTitle(Unit unit)
{
    return QCoreApplication::translate("SessionGraph", "Pressure (%1)").arg(unitSymbol(unit));
}

QString differenceAxisTitle(Unit unit)
{
    return QCoreApplication::translate("SessionGraph", "Difference (%1)").arg(unitSymbol(unit));
}

QString toleranceBandName()
{
    return QCoreApplication::translate("SessionGraph", "Tolerance");
}

void showSessionInCharts(SessionChart &pressures, SessionChart &differences, const Session &session,
                         const SyncResult &sync, std::optional<double> pollPeriodSeconds, Unit unit,
                         bool keepRange)
{
    // The two charts follow each other's range: setting the first redraws
    // the second, whose curves may refer to an analysis already replaced.
    pressures.forgetCurves();
    differences.forgetCurves();
    const double step = readingStep(pollPeriodSeconds);
    pressures.setAxisTitles(xAxisTitle(pollPeriodSeconds), pressureAxisTitle(unit));
    pressures.setValueDecimals(unitDecimals(unit));
    pressures.setCurves(pressureCurves(session, unit), step, keepRange);

    differences.setAxisTitles(xAxisTitle(pollPeriodSeconds), differenceAxisTitle(unit));
    differences.setValueDecimals(unitDecimals(unit));
    const double tolerance = fromKPa(sync.settings.toleranceKPa, unit);
    differences.setCurves(differenceCurves(sync, unit), step, keepRange);
    differences.setBand(-tolerance, tolerance, toleranceBandName());
    std::vector<std::pair<std::size_t, std::size_t>> inSync;
    for (const Stretch &stretch : sync.band.stretches)
        inSync.emplace_back(stretch.first, stretch.length);
    differences.setMarkedStretches(std::move(inSync),
                                   QCoreApplication::translate("SessionGraph", "All four in sync"));
}
