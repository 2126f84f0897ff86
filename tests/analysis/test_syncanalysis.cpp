#include "sessionanalysis.h"
#include "statistics.h"
#include "syncanalysis.h"
#include "units.h"

#include <QtTest>

#include <cmath>
#include <limits>

Q_DECLARE_METATYPE(Unit)
using Deviations = std::array<double, kCylinderCount>;
Q_DECLARE_METATYPE(Deviations)

namespace {

constexpr float qnan = std::numeric_limits<float>::quiet_NaN();
constexpr float inf = std::numeric_limits<float>::infinity();

// A session from per-cylinder series of the averages; the raw readings
// are the same series unless given.
Session sessionOf(const std::array<std::vector<float>, kCylinderCount> &averages,
                  const std::array<std::vector<float>, kCylinderCount> &raw = {})
{
    Session session;
    for (std::size_t c = 0; c < kCylinderCount; ++c) {
        session.columns[c] = raw[c].empty() ? averages[c] : raw[c];
        session.columns[Average1 + c] = averages[c];
    }
    return session;
}

std::vector<bool> bools(const QString &pattern)
{
    std::vector<bool> result;
    for (const QChar ch : pattern)
        result.push_back(ch == QLatin1Char('1'));
    return result;
}

QString stretchesText(const std::vector<Stretch> &stretches)
{
    QStringList parts;
    for (const Stretch &s : stretches)
        parts << QStringLiteral("%1+%2").arg(s.first).arg(s.length);
    return parts.join(QLatin1Char(' '));
}

SeriesStatistics withDeviation(double sd)
{
    SeriesStatistics s;
    s.count = 10;
    s.standardDeviation = sd;
    return s;
}

// Cylinder 1 is the reference at 10 kPa throughout; the others move about it.
const std::array<std::vector<float>, kCylinderCount> kHandSeries{{
    {10, 10, 10, 10, 10},
    {10.5f, 11.2f, 10, 9.0f, 10.9f}, // out at 1 (+1.2); exactly on the limit at 3
    {10, 10, 8.9f, 10, 10},          // out at 2 (-1.1)
    {10, qnan, 10, 10, 10},          // unknown at 1
}};

} // namespace

class TestSyncAnalysis : public QObject
{
    Q_OBJECT

private slots:
    void seriesStatistics_data();
    void seriesStatistics();
    void pulsationStandout_data();
    void pulsationStandout();
    void bandStretches_data();
    void bandStretches();
    void syncOnHandSeries();
    void endingOutOfSyncNamesEachCylinder();
    void sourceAndReference();
    void pairs();
    void everyReference_data();
    void everyReference();
    void toleranceEdges_data();
    void toleranceEdges();
    void pairToleranceEdges_data();
    void pairToleranceEdges();
    void units_data();
    void units();
    void unitNamesAndRoundTrips();
};

void TestSyncAnalysis::seriesStatistics_data()
{
    QTest::addColumn<std::vector<float>>("values");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("nonFinite");
    QTest::addColumn<double>("mean");
    QTest::addColumn<double>("minimum");
    QTest::addColumn<double>("maximum");
    QTest::addColumn<double>("deviation");
    QTest::newRow("one to four") << std::vector<float>{1, 2, 3, 4} << 4 << 0 << 2.5 << 1.0 << 4.0
                                 << std::sqrt(1.25);
    QTest::newRow("vacuum") << std::vector<float>{-31, -25, -19} << 3 << 0 << -25.0 << -31.0 << -19.0
                            << std::sqrt(24.0);
    QTest::newRow("non-finite left out")
        << std::vector<float>{qnan, 2, inf, 4, -inf} << 2 << 3 << 3.0 << 2.0 << 4.0 << 1.0;
    QTest::newRow("constant far from zero")
        << std::vector<float>{1e6f, 1e6f, 1e6f} << 3 << 0 << 1e6 << 1e6 << 1e6 << 0.0;
    QTest::newRow("nothing finite") << std::vector<float>{qnan} << 0 << 1 << 0.0 << 0.0 << 0.0 << 0.0;
}

void TestSyncAnalysis::seriesStatistics()
{
    QFETCH(std::vector<float>, values);
    const SeriesStatistics s = ::seriesStatistics(values);
    QTEST(static_cast<int>(s.count), "count");
    QTEST(static_cast<int>(s.nonFinite), "nonFinite");
    QTEST(s.mean, "mean");
    QTEST(s.minimum, "minimum");
    QTEST(s.maximum, "maximum");
    QFETCH(double, deviation);
    QVERIFY2(std::fabs(s.standardDeviation - deviation) < 1e-9,
             qPrintable(QString::number(s.standardDeviation)));
}

void TestSyncAnalysis::pulsationStandout_data()
{
    QTest::addColumn<Deviations>("deviations");
    QTest::addColumn<int>("standout"); // 0: none
    QTest::newRow("one larger") << Deviations{0.5, 0.5, 0.5, 1.2} << 4;
    QTest::newRow("one smaller") << Deviations{1.0, 0.4, 1.0, 1.1} << 2;
    QTest::newRow("too little larger") << Deviations{0.5, 0.5, 0.5, 0.7} << 0;
    QTest::newRow("ratio but only noise") << Deviations{0.1, 0.3, 0.1, 0.1} << 0;
    QTest::newRow("two against two") << Deviations{1.0, 1.0, 2.0, 2.0} << 0;
    QTest::newRow("all alike") << Deviations{2.0, 2.1, 1.9, 2.0} << 0;
    QTest::newRow("one spread") << Deviations{0.8, 1.0, 3.5, 1.2} << 3;
}

void TestSyncAnalysis::pulsationStandout()
{
    QFETCH(Deviations, deviations);
    QFETCH(int, standout);
    std::array<SeriesStatistics, kCylinderCount> statistics;
    for (std::size_t c = 0; c < kCylinderCount; ++c)
        statistics[c] = withDeviation(deviations[c]);
    QCOMPARE(standoutPulsation(statistics).value_or(0), standout);
    if (standout)
        QVERIFY(pulsationNote(standout).contains(QStringLiteral("leak")));
}

void TestSyncAnalysis::bandStretches_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("stretches");
    QTest::addColumn<QString>("longest");
    QTest::addColumn<int>("inBand");
    QTest::addColumn<QString>("ending");
    QTest::newRow("three stretches") << "011011101"
                                     << "1+2 4+3 8+1"
                                     << "4+3" << 6 << "8+1";
    QTest::newRow("equal: the earliest") << "11011"
                                         << "0+2 3+2"
                                         << "0+2" << 4 << "3+2";
    QTest::newRow("ends out") << "1110"
                              << "0+3"
                              << "0+3" << 3 << "";
    QTest::newRow("never") << "000"
                           << ""
                           << "" << 0 << "";
    QTest::newRow("always") << "1111"
                            << "0+4"
                            << "0+4" << 4 << "0+4";
    QTest::newRow("empty") << ""
                           << ""
                           << "" << 0 << "";
}

void TestSyncAnalysis::bandStretches()
{
    QFETCH(QString, pattern);
    const BandStretches band = ::bandStretches(bools(pattern));
    QTEST(stretchesText(band.stretches), "stretches");
    QTEST(band.longest ? stretchesText({*band.longest}) : QString(), "longest");
    QTEST(static_cast<int>(band.readingsInBand), "inBand");
    QFETCH(QString, ending);
    QCOMPARE(band.endsInBand, !ending.isEmpty());
    QCOMPARE(band.finalStretch ? stretchesText({*band.finalStretch}) : QString(), ending);
}

void TestSyncAnalysis::syncOnHandSeries()
{
    const SyncResult sync = analyseSync(sessionOf(kHandSeries), SyncSettings());
    QCOMPARE(stretchesText(sync.band.stretches), QStringLiteral("0+1 3+2"));
    QCOMPARE(sync.band.longest->length, std::size_t(2));
    QVERIFY(sync.band.endsInBand);
    QVERIFY(sync.finalDeviations.empty());
    QCOMPARE(sync.differences[1][1], 11.2f - 10.0f);
    QCOMPARE(sync.differences[2][2], 8.9f - 10.0f);
    QVERIFY(std::isnan(sync.differences[3][1]));
    QCOMPARE(sync.differences[0], std::vector<float>(5, 0.0f));

    QCOMPARE(endingVerdict(sync, 6.2, Unit::KPa),
             QStringLiteral("In sync: all four cylinders within ±1.00 kPa of cylinder 1 for the "
                            "last 12.4 s."));
    QCOMPARE(endingVerdict(sync, std::nullopt, Unit::KPa),
             QStringLiteral("In sync: all four cylinders within ±1.00 kPa of cylinder 1 for the "
                            "last 2 readings."));
    QCOMPARE(endingVerdict(sync, 6.2, Unit::KPa, QLocale(QLocale::Italian)),
             QStringLiteral("In sync: all four cylinders within ±1,00 kPa of cylinder 1 for the "
                            "last 12,4 s."));

    // A narrower band: only the first reading and the last two's cylinder 2 drift matter.
    SyncSettings narrow;
    narrow.toleranceKPa = 0.6;
    QCOMPARE(stretchesText(analyseSync(sessionOf(kHandSeries), narrow).band.stretches),
             QStringLiteral("0+1"));
}

void TestSyncAnalysis::endingOutOfSyncNamesEachCylinder()
{
    std::array<std::vector<float>, kCylinderCount> series = kHandSeries;
    series[0].push_back(10);
    series[1].push_back(10.2f);
    series[2].push_back(7.9f);  // 2.1 below
    series[3].push_back(11.5f); // 1.5 above
    const SyncResult sync = analyseSync(sessionOf(series), SyncSettings());
    QVERIFY(!sync.band.endsInBand);
    QCOMPARE(sync.finalDeviations.size(), std::size_t(2));
    QCOMPARE(sync.finalDeviations[0].cylinder, 3);
    QCOMPARE(endingVerdict(sync, std::nullopt, Unit::KPa),
             QStringLiteral("Not in sync at the end (reference cylinder 1, tolerance ±1.00 kPa): "
                            "cylinder 3 has 2.10 kPa more vacuum than the reference; cylinder 4 "
                            "has 1.50 kPa less vacuum than the reference."));
    QCOMPARE(endingVerdict(sync, std::nullopt, Unit::CmHg),
             QStringLiteral("Not in sync at the end (reference cylinder 1, tolerance ±0.75 cmHg): "
                            "cylinder 3 has 1.58 cmHg more vacuum than the reference; cylinder 4 "
                            "has 1.13 cmHg less vacuum than the reference."));
    // The longest stretch stays the earlier one.
    QCOMPARE(stretchesText({*sync.band.longest}), QStringLiteral("3+2"));

    // A cylinder without a valid reading at the end comes last.
    series[1].back() = qnan;
    const SyncResult unknown = analyseSync(sessionOf(series), SyncSettings());
    QCOMPARE(unknown.finalDeviations.size(), std::size_t(3));
    QCOMPARE(unknown.finalDeviations[0].cylinder, 3);
    QCOMPARE(unknown.finalDeviations[1].cylinder, 4);
    QCOMPARE(unknown.finalDeviations[2].cylinder, 2);
    QVERIFY(endingVerdict(unknown, std::nullopt, Unit::KPa)
                .endsWith(QLatin1String("; cylinder 2 has no valid reading at the end.")));
    // Without the reference's reading, the reference is named, not the others.
    series[0].back() = qnan;
    QCOMPARE(endingVerdict(analyseSync(sessionOf(series), SyncSettings()), std::nullopt, Unit::KPa),
             QStringLiteral("Not in sync at the end (reference cylinder 1, tolerance ±1.00 kPa): "
                            "the reference, cylinder 1, has no valid reading at the end."));
}

void TestSyncAnalysis::sourceAndReference()
{
    // Raw readings pulsating 4 kPa either way, averages steady and equal.
    const std::array<std::vector<float>, kCylinderCount> steady{
        {{-25, -25, -25}, {-25, -25, -25}, {-25, -25, -25}, {-25, -25, -25}}};
    const std::array<std::vector<float>, kCylinderCount> pulsing{
        {{-21, -29, -25}, {-29, -21, -25}, {-25, -25, -25}, {-21, -29, -25}}};
    const Session session = sessionOf(steady, pulsing);
    QCOMPARE(analyseSync(session, SyncSettings()).band.readingsInBand, std::size_t(3));
    SyncSettings raw;
    raw.source = SyncSource::Raw;
    raw.referenceCylinder = 3;
    const SyncResult onRaw = analyseSync(session, raw);
    QCOMPARE(stretchesText(onRaw.band.stretches), QStringLiteral("2+1"));
    QCOMPARE(onRaw.differences[0][0], 4.0f);
    QCOMPARE(onRaw.differences[2][0], 0.0f);
    SyncSettings outOfRange;
    outOfRange.referenceCylinder = 7;
    QCOMPARE(analyseSync(session, outOfRange).settings.referenceCylinder, 1);
    QCOMPARE(endingVerdict(analyseSync(Session(), SyncSettings()), std::nullopt, Unit::KPa),
             QStringLiteral("No readings."));
}

void TestSyncAnalysis::pairs()
{
    const std::array<std::vector<float>, kCylinderCount> series{
        {{10, 10, 10}, {10, 11, 10}, {10, 12, 12}, {11, 12, 12}}};
    const Session session = sessionOf(series);
    // (c3 + c4)/2 - (c1 + c2)/2 per reading: 0.5, 1.5, 2.0.
    const PairSyncResult fromOne = analysePairs(session, SyncSettings());
    QCOMPARE(fromOne.referencePair, 0);
    QCOMPARE(fromOne.difference, (std::vector<float>{0.5f, 1.5f, 2.0f}));
    QCOMPARE(stretchesText(fromOne.band.stretches), QStringLiteral("0+1"));
    QCOMPARE(pairVerdict(fromOne, 1.0, std::nullopt, Unit::KPa),
             QStringLiteral("Pairs (cylinders 1+2 against 3+4): not in sync at the end, cylinders "
                            "3+4 have 2.00 kPa less vacuum than cylinders 1+2."));
    SyncSettings fromFour;
    fromFour.referenceCylinder = 4;
    const PairSyncResult reversed = analysePairs(session, fromFour);
    QCOMPARE(reversed.referencePair, 1);
    QCOMPARE(pairVerdict(reversed, 1.0, std::nullopt, Unit::KPa),
             QStringLiteral("Pairs (cylinders 1+2 against 3+4): not in sync at the end, cylinders "
                            "1+2 have 2.00 kPa more vacuum than cylinders 3+4."));
    fromFour.toleranceKPa = 2.0;
    QCOMPARE(pairVerdict(analysePairs(session, fromFour), 2.0, 0.5, Unit::KPa),
             QStringLiteral("Pairs (cylinders 1+2 against 3+4): in sync, their means within "
                            "±2.00 kPa of each other for the last 1.5 s."));

    // The whole analysis carries both through.
    AnalysisSettings settings;
    settings.pollPeriodSeconds = 0.5;
    const SessionAnalysis analysis = analyseSession(session, settings);
    QCOMPARE(analysis.readingCount, std::size_t(3));
    QCOMPARE(analysis.pairs.difference, fromOne.difference);
    QCOMPARE(sessionLengthText(analysis), QStringLiteral("1.5 s"));
    QCOMPARE(analysis.statistics[3].mean, 35.0 / 3.0);
}

// The same last readings judged against each reference cylinder: the
// differences, which cylinders are out of the band (the farthest first, more
// or less vacuum), and the pairs (1+2 against 3+4, the reference's pair as
// the reference).
void TestSyncAnalysis::everyReference_data()
{
    QTest::addColumn<int>("reference");
    QTest::addColumn<Deviations>("differences");
    QTest::addColumn<QString>("verdict");
    QTest::addColumn<int>("referencePair");
    QTest::addColumn<QString>("pairs");
    // Last readings -30, -31.5, -29.25, -30.5: pair means -30.75 and -29.875.
    const QString lead = QStringLiteral("Not in sync at the end (reference cylinder %1, tolerance "
                                        "±0.80 kPa): ");
    const QString pairLead = QStringLiteral("Pairs (cylinders 1+2 against 3+4): not in sync at the "
                                            "end, ");
    QTest::newRow("cylinder 1") << 1 << Deviations{0, -1.5, 0.75, -0.5}
                                << lead.arg(1)
            + "cylinder 2 has 1.50 kPa more vacuum than the reference."
                                << 0
                                << pairLead
            + "cylinders 3+4 have 0.88 kPa less vacuum than cylinders 1+2.";
    QTest::newRow("cylinder 2") << 2 << Deviations{1.5, 0, 2.25, 1.0}
                                << lead.arg(2)
            + "cylinder 3 has 2.25 kPa less vacuum than the reference; cylinder 1 has 1.50 kPa "
              "less vacuum than the reference; cylinder 4 has 1.00 kPa less vacuum than the "
              "reference." << 0
                                << pairLead
            + "cylinders 3+4 have 0.88 kPa less vacuum than cylinders 1+2.";
    QTest::newRow("cylinder 3") << 3 << Deviations{-0.75, -2.25, 0, -1.25}
                                << lead.arg(3)
            + "cylinder 2 has 2.25 kPa more vacuum than the reference; cylinder 4 has 1.25 kPa "
              "more vacuum than the reference."
                                << 1
                                << pairLead
            + "cylinders 1+2 have 0.88 kPa more vacuum than cylinders 3+4.";
    QTest::newRow("cylinder 4") << 4 << Deviations{0.5, -1.0, 1.25, 0}
                                << lead.arg(4)
            + "cylinder 3 has 1.25 kPa less vacuum than the reference; cylinder 2 has 1.00 kPa "
              "more vacuum than the reference."
                                << 1
                                << pairLead
            + "cylinders 1+2 have 0.88 kPa more vacuum than cylinders 3+4.";
}

void TestSyncAnalysis::everyReference()
{
    QFETCH(int, reference);
    QFETCH(Deviations, differences);
    QFETCH(int, referencePair);
    // In sync at first, apart at the last reading.
    const std::array<std::vector<float>, kCylinderCount> series{
        {{-30, -30}, {-30, -31.5f}, {-30, -29.25f}, {-30, -30.5f}}};
    SyncSettings settings;
    settings.referenceCylinder = reference;
    settings.toleranceKPa = 0.8;
    const SyncResult sync = analyseSync(sessionOf(series), settings);
    QCOMPARE(sync.settings.referenceCylinder, reference);
    for (std::size_t c = 0; c < kCylinderCount; ++c) {
        QCOMPARE(sync.finalDifferencesKPa[c], differences[c]);
        QCOMPARE(sync.differences[c][0], 0.0f);
    }
    QCOMPARE(stretchesText(sync.band.stretches), QStringLiteral("0+1"));
    QVERIFY(!sync.band.endsInBand);
    QTEST(endingVerdict(sync, std::nullopt, Unit::KPa), "verdict");

    const PairSyncResult pairs = analysePairs(sessionOf(series), settings);
    QCOMPARE(pairs.referencePair, referencePair);
    const double pairDifference = (-29.25 - 30.5) / 2 - (-30 - 31.5) / 2; // 3+4 against 1+2
    QCOMPARE(double(pairs.difference[1]), referencePair == 0 ? pairDifference : -pairDifference);
    QCOMPARE(pairs.difference[0], 0.0f);
    QCOMPARE(stretchesText(pairs.band.stretches), QStringLiteral("0+1"));
    QTEST(pairVerdict(pairs, settings.toleranceKPa, std::nullopt, Unit::KPa), "pairs");
}

// One cylinder's last reading a given distance from the reference's, for
// every reference and every other cylinder: on the band's edge is in it.
void TestSyncAnalysis::toleranceEdges_data()
{
    QTest::addColumn<float>("offset");
    QTest::addColumn<double>("tolerance");
    QTest::addColumn<bool>("inBand");
    QTest::newRow("exactly at +tolerance") << 1.0f << 1.0 << true;
    QTest::newRow("exactly at -tolerance") << -1.0f << 1.0 << true;
    QTest::newRow("just inside above") << 0.99f << 1.0 << true;
    QTest::newRow("just outside above") << 1.01f << 1.0 << false;
    QTest::newRow("just inside below") << -0.99f << 1.0 << true;
    QTest::newRow("just outside below") << -1.01f << 1.0 << false;
    QTest::newRow("narrow band, on the edge") << 0.25f << 0.25 << true;
    QTest::newRow("narrow band, beyond") << -0.5f << 0.25 << false;
    QTest::newRow("nan is never in the band") << qnan << 100.0 << false;
}

void TestSyncAnalysis::toleranceEdges()
{
    QFETCH(float, offset);
    QFETCH(double, tolerance);
    QFETCH(bool, inBand);
    for (int reference = 1; reference <= kCylinderCount; ++reference) {
        for (int moved = 1; moved <= kCylinderCount; ++moved) {
            if (moved == reference)
                continue;
            std::array<std::vector<float>, kCylinderCount> series{
                {{-20, -20}, {-20, -20}, {-20, -20}, {-20, -20}}};
            series[std::size_t(moved - 1)][1] = -20.0f + offset;
            SyncSettings settings;
            settings.referenceCylinder = reference;
            settings.toleranceKPa = tolerance;
            const SyncResult sync = analyseSync(sessionOf(series), settings);
            const QByteArray where =
                QStringLiteral("reference %1, cylinder %2").arg(reference).arg(moved).toLatin1();
            QVERIFY2(sync.band.endsInBand == inBand, where.constData());
            QCOMPARE(sync.band.readingsInBand, std::size_t(inBand ? 2 : 1));
            QCOMPARE(sync.finalDeviations.size(), std::size_t(inBand ? 0 : 1));
            if (!inBand) {
                QCOMPARE(sync.finalDeviations[0].cylinder, moved);
                const QString verdict = endingVerdict(sync, std::nullopt, Unit::KPa);
                const QString named = std::isnan(offset)
                    ? QStringLiteral("cylinder %1 has no valid reading at the end").arg(moved)
                    : QStringLiteral("cylinder %1 has %2 kPa %3 vacuum than the reference")
                          .arg(moved)
                          .arg(std::fabs(offset), 0, 'f', 2)
                          .arg(offset < 0 ? "more" : "less");
                QVERIFY2(verdict.contains(named), qPrintable(verdict));
            }
            // Moving the reference instead mirrors the difference.
            std::array<std::vector<float>, kCylinderCount> mirrored{
                {{-20, -20}, {-20, -20}, {-20, -20}, {-20, -20}}};
            mirrored[std::size_t(reference - 1)][1] = -20.0f - offset;
            QVERIFY2(analyseSync(sessionOf(mirrored), settings).band.endsInBand == inBand,
                     where.constData());
        }
    }
}

// The pairs' means a given distance apart at the last reading, whichever
// pair holds the reference.
void TestSyncAnalysis::pairToleranceEdges_data()
{
    QTest::addColumn<float>("offset"); // added to both of cylinders 3 and 4
    QTest::addColumn<bool>("inBand");
    QTest::newRow("exactly at the band") << 0.5f << true;
    QTest::newRow("exactly at the band, below") << -0.5f << true;
    QTest::newRow("just outside") << 0.51f << false;
    QTest::newRow("just outside, below") << -0.51f << false;
    QTest::newRow("just inside") << 0.49f << true;
    QTest::newRow("no valid reading") << qnan << false;
}

void TestSyncAnalysis::pairToleranceEdges()
{
    QFETCH(float, offset);
    QFETCH(bool, inBand);
    // Cylinders 1 and 2 differ by 3 kPa: the pairs compare means, not cylinders.
    const std::array<std::vector<float>, kCylinderCount> series{
        {{-20, -18.5f}, {-20, -21.5f}, {-20, -20.0f + offset}, {-20, -20.0f + offset}}};
    for (int reference = 1; reference <= kCylinderCount; ++reference) {
        SyncSettings settings;
        settings.referenceCylinder = reference;
        settings.toleranceKPa = 0.5;
        const PairSyncResult pairs = analysePairs(sessionOf(series), settings);
        QCOMPARE(pairs.referencePair, reference <= 2 ? 0 : 1);
        QCOMPARE(pairs.band.endsInBand, inBand);
        if (std::isnan(offset)) {
            QVERIFY(std::isnan(pairs.finalDifferenceKPa));
            QCOMPARE(pairVerdict(pairs, 0.5, std::nullopt, Unit::KPa),
                     QStringLiteral("Pairs (cylinders 1+2 against 3+4): not in sync at the end, a "
                                    "cylinder has no valid reading."));
            continue;
        }
        const double expected = double(-20.0f + offset) + 20.0;
        QVERIFY(std::fabs(pairs.finalDifferenceKPa - (reference <= 2 ? expected : -expected)) < 1e-6);
        QCOMPARE(
            pairVerdict(pairs, 0.5, std::nullopt, Unit::KPa).contains(QLatin1String(": in sync")),
            inBand);
        // The cylinders themselves are never all in the band.
        QVERIFY(!analyseSync(sessionOf(series), settings).band.endsInBand);
    }
}

void TestSyncAnalysis::units_data()
{
    QTest::addColumn<double>("kPa");
    QTest::addColumn<Unit>("unit");
    QTest::addColumn<QString>("text");
    const double tenCmHg = 13.3322387415;
    QTest::newRow("kPa") << tenCmHg << Unit::KPa << "13.33 kPa";
    QTest::newRow("hPa") << tenCmHg << Unit::HPa << "133.3 hPa";
    QTest::newRow("mmHg") << tenCmHg << Unit::MmHg << "100.0 mmHg";
    QTest::newRow("cmHg") << tenCmHg << Unit::CmHg << "10.00 cmHg";
    QTest::newRow("inHg") << tenCmHg << Unit::InHg << "3.94 inHg";
    QTest::newRow("vacuum kPa") << -25.0 << Unit::KPa << "-25.00 kPa";
    QTest::newRow("vacuum hPa") << -25.0 << Unit::HPa << "-250.0 hPa";
    QTest::newRow("vacuum mmHg") << -25.0 << Unit::MmHg << "-187.5 mmHg";
    QTest::newRow("vacuum cmHg") << -25.0 << Unit::CmHg << "-18.75 cmHg";
    QTest::newRow("vacuum inHg") << -25.0 << Unit::InHg << "-7.38 inHg";
    QTest::newRow("tolerance in cmHg") << 1.0 << Unit::CmHg << "0.75 cmHg";
    QTest::newRow("no minus on zero") << -0.004 << Unit::KPa << "0.00 kPa";
    QTest::newRow("nan") << std::nan("") << Unit::CmHg << "nan cmHg";
    QTest::newRow("large, no grouping") << 123456.0 << Unit::HPa << "1234560.0 hPa";
}

void TestSyncAnalysis::units()
{
    QFETCH(double, kPa);
    QFETCH(Unit, unit);
    QFETCH(QString, text);
    QCOMPARE(formatValue(kPa, unit), text);
    if (std::isfinite(kPa)) {
        QVERIFY(std::fabs(toKPa(fromKPa(kPa, unit), unit) - kPa)
                < 1e-12 * std::max(1.0, std::fabs(kPa)));
        // The Italian locale changes only the decimal separator.
        QCOMPARE(formatValue(kPa, unit, QLocale(QLocale::Italian, QLocale::Italy)),
                 QString(text).replace(QLatin1Char('.'), QLatin1Char(',')));
    }
}

void TestSyncAnalysis::unitNamesAndRoundTrips()
{
    QCOMPARE(fromKPa(1.333, Unit::CmHg), 1.333 / 1.33322387415);
    QVERIFY(std::fabs(fromKPa(toKPa(1.0, Unit::InHg), Unit::MmHg) - 25.4) < 1e-12);
    QCOMPARE(fromKPa(1.0, Unit::HPa), 10.0);
    for (const Unit unit : kAllUnits) {
        QCOMPARE(parseUnit(unitSymbol(unit)), std::optional<Unit>(unit));
        QCOMPARE(parseUnit(unitSymbol(unit).toUpper()), std::optional<Unit>(unit));
        QVERIFY(unitDisplayName(unit).startsWith(unitSymbol(unit)));
    }
    QCOMPARE(parseUnit(QStringLiteral("mbar")), std::optional<Unit>(Unit::HPa));
    QCOMPARE(parseUnit(QStringLiteral("psi")), std::nullopt);
    QCOMPARE(durationText(300, std::nullopt), QStringLiteral("300 readings"));
    QCOMPARE(durationText(300, 0.02, QLocale(QLocale::Italian)), QStringLiteral("6,0 s"));
    QCOMPARE(durationText(1240, 0.01), QStringLiteral("12.4 s"));
}

QTEST_GUILESS_MAIN(TestSyncAnalysis)
#include "test_syncanalysis.moc"
