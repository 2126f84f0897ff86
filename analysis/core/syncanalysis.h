#ifndef ANALYSIS_SYNCANALYSIS_H
#define ANALYSIS_SYNCANALYSIS_H

#include <QLocale>
#include <QString>

#include <array>
#include <cstddef>
#include <optional>
#include <vector>

#include "measure/readings.h"
#include "units.h"

struct Session;

constexpr int kDefaultReferenceCylinder = 1;
constexpr double kDefaultToleranceKPa = 1.0;

// Which values the sync analysis compares. The raw readings pulsate through
// every intake stroke, several kPa deep, so the running averages (what the
// gauge shows for fine adjustment) are the default.
enum class SyncSource {
    Averages,
    Raw,
};

struct SyncSettings
{
    int referenceCylinder = kDefaultReferenceCylinder; // 1..4
    double toleranceKPa = kDefaultToleranceKPa;        // the band is +- this, limits included
    SyncSource source = SyncSource::Averages;
};

// A run of consecutive readings [first, first + length).
struct Stretch
{
    std::size_t first = 0;
    std::size_t length = 0;
    std::size_t end() const { return first + length; }
    bool operator==(const Stretch &other) const
    {
        return first == other.first && length == other.length;
    }
};

// Where a series of per-reading conditions held: every maximal stretch, the
// longest (the earliest of equals) and how the session ended.
struct BandStretches
{
    std::vector<Stretch> stretches;
    std::optional<Stretch> longest;
    std::size_t readingsInBand = 0;
    // The last reading was in the band; finalStretch is the stretch that ends there.
    bool endsInBand = false;
    std::optional<Stretch> finalStretch;
};

BandStretches bandStretches(const std::vector<bool> &inBand);

// A cylinder outside the band at the end of the session.
struct CylinderDeviation
{
    int cylinder = 0;           // 1..4
    double differenceKPa = 0.0; // cylinder minus reference: negative is more vacuum
};

struct SyncResult
{
    SyncSettings settings;
    // differences[c][i]: cylinder c+1 minus the reference at reading i, in kPa
    // (the reference's own series is all zero; nan when either value is not finite).
    std::array<std::vector<float>, kCylinderCount> differences;
    // Readings where all four differences lie within the band.
    BandStretches band;
    // The differences at the last reading.
    std::array<double, kCylinderCount> finalDifferencesKPa{};
    // When the session did not end in sync: each cylinder outside the band
    // at the last reading, the farthest first.
    std::vector<CylinderDeviation> finalDeviations;
};

// Fails only through an empty result: a reference outside 1..4 is taken as 1.
SyncResult analyseSync(const Session &session, const SyncSettings &settings);

// Pairs: the mean of cylinders 1+2 against the mean of 3+4, for engines whose
// linkages are set in pairs. The pair holding the reference cylinder is the
// reference pair.
struct PairSyncResult
{
    int referencePair = 0; // 0: cylinders 1+2, 1: cylinders 3+4
    // The other pair's mean minus the reference pair's, per reading, in kPa.
    std::vector<float> difference;
    BandStretches band;
    double finalDifferenceKPa = 0.0;
};

PairSyncResult analysePairs(const Session &session, const SyncSettings &settings);

// A number of readings as the user reads it: "12.4 s" with a poll period,
// "300 readings" without. Translated.
QString durationText(std::size_t readings, std::optional<double> pollPeriodSeconds,
                     const QLocale &locale = QLocale::c());

// "Pairs (cylinders 1+2 against 3+4)": what every output calls the pairs.
QString pairsName();

// The verdict on how the session ended, one sentence: "In sync: all four
// cylinders within ±1.00 kPa of cylinder 1 for the last 12.4 s." or "Not in
// sync at the end (reference cylinder 1, tolerance ±1.00 kPa): cylinder 3 has
// 2.10 kPa more vacuum than the reference; ..." (one clause per cylinder
// outside the band, the farthest first). A reading below the reference's is
// more vacuum. "No readings." for an empty session.
QString endingVerdict(const SyncResult &sync, std::optional<double> pollPeriodSeconds, Unit unit,
                      const QLocale &locale = QLocale::c());

// The same for the pairs, naming them: "Pairs (cylinders 1+2 against 3+4): in
// sync, ..." or "...: not in sync at the end, cylinders 3+4 have 1.20 kPa less
// vacuum than cylinders 1+2."
QString pairVerdict(const PairSyncResult &pairs, double toleranceKPa,
                    std::optional<double> pollPeriodSeconds, Unit unit,
                    const QLocale &locale = QLocale::c());

#endif // ANALYSIS_SYNCANALYSIS_H
