#include "syncanalysis.h"

#include "session.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// The texts of this file, under one translation context.
struct SyncAnalysisTexts
{
    Q_DECLARE_TR_FUNCTIONS(SyncAnalysis)
};

int clampedReference(int cylinder)
{
    return cylinder >= 1 && cylinder <= kCylinderCount ? cylinder : kDefaultReferenceCylinder;
}

const std::vector<float> &series(const Session &session, SyncSource source, int cylinderIndex)
{
    return source == SyncSource::Raw ? session.raw(cylinderIndex) : session.average(cylinderIndex);
}

bool withinBand(double difference, double tolerance)
{
    // Comparisons with nan are false: an unknown value is never in the band.
    return std::fabs(difference) <= tolerance;
}

} // namespace

BandStretches bandStretches(const std::vector<bool> &inBand)
{
    BandStretches result;
    std::size_t i = 0;
    const std::size_t n = inBand.size();
    while (i < n) {
        if (!inBand[i]) {
            ++i;
            continue;
        }
        Stretch stretch;
        stretch.first = i;
        while (i < n && inBand[i])
            ++i;
        stretch.length = i - stretch.first;
        result.readingsInBand += stretch.length;
        if (!result.longest || stretch.length > result.longest->length)
            result.longest = stretch;
        result.stretches.push_back(stretch);
    }
    if (n > 0 && inBand[n - 1]) {
        result.endsInBand = true;
        result.finalStretch = result.stretches.back();
    }
    return result;
}

SyncResult analyseSync(const Session &session, const SyncSettings &settings)
{
    SyncResult result;
    result.settings = settings;
    result.settings.referenceCylinder = clampedReference(settings.referenceCylinder);
    const std::size_t n = session.readingCount();
    const int reference = result.settings.referenceCylinder - 1;
    const std::vector<float> &referenceSeries = series(session, settings.source, reference);
    const double tolerance = settings.toleranceKPa;

    std::vector<bool> inBand(n, true);
    for (int c = 0; c < kCylinderCount; ++c) {
        const std::vector<float> &values = series(session, settings.source, c);
        std::vector<float> &differences = result.differences[static_cast<std::size_t>(c)];
        differences.resize(n);
        for (std::size_t i = 0; i < n; ++i) {
            const float own = values[i];
            const float ref = referenceSeries[i];
            float difference;
            if (!std::isfinite(own) || !std::isfinite(ref))
                difference = std::numeric_limits<float>::quiet_NaN();
            else
                difference = c == reference
                    ? 0.0f
                    : static_cast<float>(static_cast<double>(own) - static_cast<double>(ref));
            differences[i] = difference;
            if (!withinBand(static_cast<double>(difference), tolerance))
                inBand[i] = false;
        }
    }
    result.band = bandStretches(inBand);

    if (n > 0) {
        for (std::size_t c = 0; c < kCylinderCount; ++c)
            result.finalDifferencesKPa[c] = static_cast<double>(result.differences[c][n - 1]);
        if (!result.band.endsInBand) {
            for (std::size_t c = 0; c < kCylinderCount; ++c) {
                const double difference = result.finalDifferencesKPa[c];
                if (!withinBand(difference, tolerance))
                    result.finalDeviations.push_back({static_cast<int>(c) + 1, difference});
            }
            // The farthest first; nan (an unknown value) last.
            std::stable_sort(result.finalDeviations.begin(), result.finalDeviations.end(),
                             [](const CylinderDeviation &a, const CylinderDeviation &b) {
                                 const double x = std::fabs(a.differenceKPa);
                                 const double y = std::fabs(b.differenceKPa);
                                 if (std::isnan(y))
                                     return !std::isnan(x);
                                 return x > y;
                             });
        }
    }
    return result;
}

PairSyncResult analysePairs(const Session &session, const SyncSettings &settings)
{
    PairSyncResult result;
    const int reference = clampedReference(settings.referenceCylinder);
    result.referencePair = reference <= 2 ? 0 : 1;
    const std::size_t n = session.readingCount();
    const auto pairMean = [&](int pair, std::size_t i) {
        const double a = series(session, settings.source, 2 * pair)[i];
        const double b = series(session, settings.source, 2 * pair + 1)[i];
        return (a + b) / 2.0;
    };
    result.difference.resize(n);
    std::vector<bool> inBand(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double difference = pairMean(1 - result.referencePair, i)
            - pairMean(result.referencePair, i);
        const float stored = std::isfinite(difference) ? static_cast<float>(difference)
                                                       : std::numeric_limits<float>::quiet_NaN();
        result.difference[i] = stored;
        inBand[i] = withinBand(difference, settings.toleranceKPa);
    }
    result.band = bandStretches(inBand);
    if (n > 0)
        result.finalDifferenceKPa = static_cast<double>(result.difference[n - 1]);
    return result;
}

QString durationText(std::size_t readings, std::optional<double> pollPeriodSeconds,
                     const QLocale &locale)
{
    if (pollPeriodSeconds && *pollPeriodSeconds > 0.0) {
        const double seconds = static_cast<double>(readings) * *pollPeriodSeconds;
        return SyncAnalysisTexts::tr("%1 s").arg(locale.toString(seconds, 'f', 1));
    }
    const int shown = static_cast<int>(std::min<std::size_t>(readings, 0x7fffffff));
    return SyncAnalysisTexts::tr("%n readings", nullptr, shown);
}

QString pairsName()
{
    return SyncAnalysisTexts::tr("Pairs (cylinders 1+2 against 3+4)");
}

namespace {

// "cylinder 3 has 2.10 kPa more vacuum than the reference": pressures below
// the reference's are more vacuum.
QString deviationClause(const CylinderDeviation &deviation, Unit unit, const QLocale &locale)
{
    if (std::isnan(deviation.differenceKPa))
        return SyncAnalysisTexts::tr("cylinder %1 has no valid reading at the end")
            .arg(deviation.cylinder);
    const QString amount = formatValue(std::fabs(deviation.differenceKPa), unit, locale);
    return deviation.differenceKPa < 0
        ? SyncAnalysisTexts::tr("cylinder %1 has %2 more vacuum than the reference")
              .arg(deviation.cylinder)
              .arg(amount)
        : SyncAnalysisTexts::tr("cylinder %1 has %2 less vacuum than the reference")
              .arg(deviation.cylinder)
              .arg(amount);
}

} // namespace

QString endingVerdict(const SyncResult &sync, std::optional<double> pollPeriodSeconds, Unit unit,
                      const QLocale &locale)
{
    if (sync.differences[0].empty())
        return SyncAnalysisTexts::tr("No readings.");
    const QString tolerance = formatValue(sync.settings.toleranceKPa, unit, locale);
    if (sync.band.endsInBand && sync.band.finalStretch)
        return SyncAnalysisTexts::tr("In sync: all four cylinders within ±%1 of cylinder %2 for "
                                     "the last %3.")
            .arg(tolerance)
            .arg(sync.settings.referenceCylinder)
            .arg(durationText(sync.band.finalStretch->length, pollPeriodSeconds, locale));
    QStringList clauses;
    const int reference = sync.settings.referenceCylinder;
    if (std::isnan(sync.finalDifferencesKPa[static_cast<std::size_t>(reference - 1)])) {
        // Without the reference's own reading nothing can be compared.
        clauses << SyncAnalysisTexts::tr("the reference, cylinder %1, has no valid reading at the "
                                         "end")
                       .arg(reference);
    } else {
        for (const CylinderDeviation &deviation : sync.finalDeviations)
            clauses << deviationClause(deviation, unit, locale);
    }
    return SyncAnalysisTexts::tr("Not in sync at the end (reference cylinder %1, tolerance ±%2): "
                                 "%3.")
        .arg(sync.settings.referenceCylinder)
        .arg(tolerance, clauses.join(QStringLiteral("; ")));
}

QString pairVerdict(const PairSyncResult &pairs, double toleranceKPa,
                    std::optional<double> pollPeriodSeconds, Unit unit, const QLocale &locale)
{
    if (pairs.difference.empty())
        return SyncAnalysisTexts::tr("%1: no readings.").arg(pairsName());
    const QString tolerance = formatValue(toleranceKPa, unit, locale);
    if (pairs.band.endsInBand && pairs.band.finalStretch)
        return SyncAnalysisTexts::tr("%1: in sync, their means within ±%2 of each other for the "
                                     "last %3.")
            .arg(pairsName(), tolerance,
                 durationText(pairs.band.finalStretch->length, pollPeriodSeconds, locale));
    const QString other = pairs.referencePair == 0 ? QStringLiteral("3+4") : QStringLiteral("1+2");
    const QString reference = pairs.referencePair == 0 ? QStringLiteral("1+2")
                                                       : QStringLiteral("3+4");
    const double difference = pairs.finalDifferenceKPa;
    if (std::isnan(difference))
        return SyncAnalysisTexts::tr("%1: not in sync at the end, a cylinder has no valid reading.")
            .arg(pairsName());
    const QString amount = formatValue(std::fabs(difference), unit, locale);
    return difference < 0
        ? SyncAnalysisTexts::tr("%1: not in sync at the end, cylinders %2 have %3 more vacuum "
                                "than cylinders %4.")
              .arg(pairsName(), other, amount, reference)
        : SyncAnalysisTexts::tr("%1: not in sync at the end, cylinders %2 have %3 less vacuum "
                                "than cylinders %4.")
              .arg(pairsName(), other, amount, reference);
}
