// The engine and the board's firmware, driven directly: no pty, no clock.

#include "boardmodel.h"
#include "enginemodel.h"

#include <QtTest>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

Q_DECLARE_METATYPE(EngineConfig)

namespace {

constexpr float kNaNf = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

// A steady engine with a clean signal, for checks of the waveform's shape.
EngineConfig steadyEngine(double rpm)
{
    EngineConfig config;
    config.idleRpm = rpm;
    config.rpmWander = 0.0;
    config.noise = 0.0;
    return config;
}

// Time of the deepest point of one cylinder's pressure within [from, from + span).
double timeOfDeepest(const EngineModel &engine, int cylinder, double from, double span)
{
    constexpr double step = 1e-5;
    double best = from;
    double lowest = engine.cleanPressure(cylinder, from);
    for (double t = from; t < from + span; t += step) {
        const double p = engine.cleanPressure(cylinder, t);
        if (p < lowest) {
            lowest = p;
            best = t;
        }
    }
    return best;
}

double meanAbsoluteStep(const std::vector<float> &values)
{
    double sum = 0.0;
    for (std::size_t i = 1; i < values.size(); ++i)
        sum += std::fabs(values[i] - values[i - 1]);
    return sum / static_cast<double>(values.size() - 1);
}

} // namespace

class TestSimModels : public QObject
{
    Q_OBJECT

private slots:
    void cylinderMeansAreAsConfigured_data();
    void cylinderMeansAreAsConfigured();
    void dipDepthIsTheSwing_data();
    void dipDepthIsTheSwing();
    void dipLastsAThirdOfTheCycle();
    void dipsOncePerEngineCycle_data();
    void dipsOncePerEngineCycle();
    void firingOrderShowsInThePhase_data();
    void firingOrderShowsInThePhase();
    void idleWandersSlowlyAroundIdle();
    void cyclesFollowTheSpeed();
    void noiseIsZeroMeanWithConfiguredSpread();
    void sameSeedSameReadings();

    void cycleTimeFollowsInnerLoopCount_data();
    void cycleTimeFollowsInnerLoopCount();
    void settingsAreGuarded_data();
    void settingsAreGuarded();
    void frameAveragesTheInnerLoopSamples_data();
    void frameAveragesTheInnerLoopSamples();
    void innerLoopOverAWholeCycleAveragesThePulseAway();
    void lowPassFollowsItsRecursion_data();
    void lowPassFollowsItsRecursion();
    void lowCoefficientSmooths();
};

void TestSimModels::cylinderMeansAreAsConfigured_data()
{
    // Every row is an engine a user would tune: cylinders 1 to 4 kPa apart.
    QTest::addColumn<EngineConfig>("config");

    QTest::newRow("defaults") << EngineConfig();

    EngineConfig deep;
    deep.meanPressure = -32.0;
    deep.offsets = {-2.0, 0.0, 1.5, 0.5};
    deep.swing = 9.0;
    deep.seed = 99;
    QTest::newRow("deeper, other offsets") << deep;

    EngineConfig noisy;
    noisy.meanPressure = -18.0;
    noisy.offsets = {0.75, 0.75, -0.75, -0.75};
    noisy.noise = 1.0;
    noisy.idleRpm = 850.0;
    QTest::newRow("noisy, slower") << noisy;
}

void TestSimModels::cylinderMeansAreAsConfigured()
{
    QFETCH(EngineConfig, config);
    EngineModel engine(config);

    // A minute at an odd sampling step, so that no phase of the cycle is
    // favoured: hundreds of cycles.
    std::array<double, kCylinderCount> sum{};
    int count = 0;
    for (double t = 0.0; t < 60.0; t += 0.00071) {
        const auto p = engine.pressures(t);
        for (std::size_t c = 0; c < 4; ++c)
            sum[c] += p[c];
        ++count;
    }
    double overall = 0.0;
    for (std::size_t c = 0; c < 4; ++c) {
        const double mean = sum[c] / count;
        const double expected = config.meanPressure + config.offsets[c];
        QVERIFY2(std::fabs(mean - expected) < 0.1,
                 qPrintable(QStringLiteral("cylinder %1: mean %2, configured %3")
                                .arg(c + 1)
                                .arg(mean)
                                .arg(expected)));
        overall += mean / 4.0;
    }
    // The offsets add up to zero: the engine as a whole sits at the mean.
    QVERIFY2(std::fabs(overall - config.meanPressure) < 0.1, qPrintable(QString::number(overall)));
    const auto [lowest, highest] = std::minmax_element(sum.begin(), sum.end());
    const double imbalance = (*highest - *lowest) / count;
    QVERIFY2(imbalance >= 1.0 && imbalance <= 4.0, qPrintable(QString::number(imbalance)));
}

void TestSimModels::dipDepthIsTheSwing_data()
{
    QTest::addColumn<double>("swing");
    QTest::newRow("3 kPa") << 3.0;
    QTest::newRow("6 kPa") << 6.0;
    QTest::newRow("10 kPa") << 10.0;
}

void TestSimModels::dipDepthIsTheSwing()
{
    QFETCH(double, swing);
    EngineConfig config = steadyEngine(1100.0);
    config.swing = swing;
    const EngineModel engine(config);

    for (int c = 0; c < 4; ++c) {
        double lowest = 0.0;
        double highest = -1e9;
        for (double t = 0.0; t < 0.5; t += 0.00002) {
            const double p = engine.cleanPressure(c, t);
            lowest = std::min(lowest, p);
            highest = std::max(highest, p);
        }
        QVERIFY2(std::fabs((highest - lowest) - swing) < 0.01 * swing,
                 qPrintable(QStringLiteral("cylinder %1: %2 kPa").arg(c + 1).arg(highest - lowest)));
    }
}

void TestSimModels::dipLastsAThirdOfTheCycle()
{
    const EngineConfig config = steadyEngine(1100.0);
    const EngineModel engine(config);

    for (int c = 0; c < 4; ++c) {
        double plateau = -1e9;
        for (double t = 0.0; t < 0.2; t += 0.0001)
            plateau = std::max(plateau, engine.cleanPressure(c, t));
        int inDip = 0;
        int total = 0;
        // A whole number of cycles: 11 cycles of 120/1100 s.
        for (double t = 0.0; t < 1.2; t += 0.00001, ++total) {
            if (engine.cleanPressure(c, t) < plateau - 0.001 * config.swing)
                ++inDip;
        }
        const double share = static_cast<double>(inDip) / total;
        QVERIFY2(share > 0.30 && share < 0.34,
                 qPrintable(QStringLiteral("cylinder %1: %2").arg(c + 1).arg(share)));
    }
}

void TestSimModels::dipsOncePerEngineCycle_data()
{
    QTest::addColumn<double>("rpm");
    QTest::newRow("900") << 900.0;
    QTest::newRow("1100") << 1100.0;
    QTest::newRow("1500") << 1500.0;
}

void TestSimModels::dipsOncePerEngineCycle()
{
    QFETCH(double, rpm);
    const EngineConfig config = steadyEngine(rpm);
    const EngineModel engine(config);

    // Count entries into the dip over ten seconds.
    const double plateau = config.meanPressure + config.offsets[0] + config.swing / 6.0;
    int dips = 0;
    bool wasInDip = engine.cleanPressure(0, 0.0) < plateau - 0.5;
    for (double t = 0.0; t < 10.0; t += 0.0002) {
        const bool inDip = engine.cleanPressure(0, t) < plateau - 0.5;
        if (inDip && !wasInDip)
            ++dips;
        wasInDip = inDip;
    }
    const double expected = rpm / 120.0 * 10.0;
    QVERIFY2(std::fabs(dips - expected) <= 1.0,
             qPrintable(QStringLiteral("%1 dips, %2 expected").arg(dips).arg(expected)));
}

void TestSimModels::firingOrderShowsInThePhase_data()
{
    // Firing order 1-3-4-2: each cylinder's dip follows the previous one's
    // by a quarter cycle, and cylinder 1 follows cylinder 2.
    QTest::addColumn<int>("leader");
    QTest::addColumn<int>("follower");
    QTest::newRow("3 after 1") << 1 << 3;
    QTest::newRow("4 after 3") << 3 << 4;
    QTest::newRow("2 after 4") << 4 << 2;
    QTest::newRow("1 after 2") << 2 << 1;
}

void TestSimModels::firingOrderShowsInThePhase()
{
    QFETCH(int, leader);
    QFETCH(int, follower);
    const EngineModel engine(steadyEngine(1200.0));
    const double cycle = 0.1; // 120 / 1200 s

    const double leaderTime = timeOfDeepest(engine, leader - 1, 0.5, cycle);
    double lag = timeOfDeepest(engine, follower - 1, leaderTime, cycle) - leaderTime;
    QVERIFY2(std::fabs(lag - cycle / 4.0) < 0.01 * cycle,
             qPrintable(QStringLiteral("lag %1 s").arg(lag)));
}

void TestSimModels::idleWandersSlowlyAroundIdle()
{
    for (const std::uint64_t seed : {1u, 2u, 12345u}) {
        EngineConfig config;
        config.seed = seed;
        const EngineModel engine(config);
        double lowest = 1e9;
        double highest = 0.0;
        double previous = engine.rpm(0.0);
        double steepest = 0.0;
        for (double t = 0.0; t < 120.0; t += 0.1) {
            const double rpm = engine.rpm(t);
            lowest = std::min(lowest, rpm);
            highest = std::max(highest, rpm);
            steepest = std::max(steepest, std::fabs(rpm - previous));
            previous = rpm;
        }
        QVERIFY2(lowest >= 1050.0 && highest <= 1150.0,
                 qPrintable(QStringLiteral("%1..%2").arg(lowest).arg(highest)));
        // It does wander, but never jumps.
        QVERIFY2(highest - lowest > 50.0,
                 qPrintable(QStringLiteral("%1..%2").arg(lowest).arg(highest)));
        QVERIFY2(steepest < 10.0, qPrintable(QString::number(steepest)));
    }
}

void TestSimModels::cyclesFollowTheSpeed()
{
    // The phase is the integral of rpm / 120: its slope must be the speed
    // at every moment, or the dips would drift away from the stated rpm.
    EngineConfig config;
    config.seed = 7;
    const EngineModel engine(config);
    QCOMPARE(engine.cycles(0.0), 0.0);
    const double h = 1e-3;
    for (double t = 0.5; t < 60.0; t += 1.37) {
        const double slope = (engine.cycles(t + h) - engine.cycles(t - h)) / (2 * h);
        QVERIFY2(std::fabs(slope - engine.rpm(t) / 120.0) < 1e-4,
                 qPrintable(
                     QStringLiteral("t %1: %2 vs %3").arg(t).arg(slope).arg(engine.rpm(t) / 120.0)));
    }
}

void TestSimModels::noiseIsZeroMeanWithConfiguredSpread()
{
    EngineConfig config;
    config.noise = 0.4;
    config.seed = 31;
    EngineModel engine(config);

    double sum = 0.0;
    double squares = 0.0;
    int count = 0;
    for (double t = 0.0; t < 20.0; t += 0.001) {
        const auto p = engine.pressures(t);
        for (int c = 0; c < 4; ++c) {
            const double noise = p[static_cast<std::size_t>(c)] - engine.cleanPressure(c, t);
            sum += noise;
            squares += noise * noise;
            ++count;
        }
    }
    const double mean = sum / count;
    const double spread = std::sqrt(squares / count - mean * mean);
    QVERIFY2(std::fabs(mean) < 0.01, qPrintable(QString::number(mean)));
    QVERIFY2(std::fabs(spread - config.noise) < 0.02, qPrintable(QString::number(spread)));
}

void TestSimModels::sameSeedSameReadings()
{
    EngineConfig config;
    config.seed = 42;
    EngineModel first(config);
    EngineModel second(config);
    config.seed = 43;
    EngineModel other(config);

    bool differs = false;
    for (double t = 0.0; t < 2.0; t += 0.0015) {
        const auto a = first.pressures(t);
        QCOMPARE(second.pressures(t), a);
        differs = differs || other.pressures(t) != a;
    }
    QVERIFY(differs);
}

void TestSimModels::cycleTimeFollowsInnerLoopCount_data()
{
    QTest::addColumn<float>("count");
    QTest::addColumn<float>("cycleTime");
    QTest::newRow("1") << 1.0f << 1.5f;
    QTest::newRow("10") << 10.0f << 15.0f;
    QTest::newRow("40") << 40.0f << 60.0f;
    QTest::newRow("1000") << 1000.0f << 1500.0f;
}

void TestSimModels::cycleTimeFollowsInnerLoopCount()
{
    QFETCH(float, count);
    QFETCH(float, cycleTime);
    BoardModel board;
    QCOMPARE(board.takeFrame(0.0).cycleTime, 15.0f);
    board.applySettings(count, 0.5f);
    QCOMPARE(board.takeFrame(20.0).cycleTime, cycleTime);
    QCOMPARE(board.takeFrame(40.0).cycleTime, cycleTime);
}

void TestSimModels::settingsAreGuarded_data()
{
    QTest::addColumn<float>("count");
    QTest::addColumn<float>("coefficient");
    QTest::addColumn<int>("expectedCount");
    QTest::addColumn<float>("expectedCoefficient");

    // The board starts from 20 / 0.25 here, so that a kept value shows.
    QTest::newRow("plain") << 40.0f << 0.1f << 40 << 0.1f;
    QTest::newRow("count rounded") << 12.6f << 0.5f << 13 << 0.5f;
    QTest::newRow("count 0 clamped") << 0.0f << 0.5f << 1 << 0.5f;
    QTest::newRow("negative count clamped") << -5.0f << 0.5f << 1 << 0.5f;
    QTest::newRow("huge count clamped") << 1e30f << 0.5f << 1000 << 0.5f;
    QTest::newRow("NaN count kept") << kNaNf << 0.5f << 20 << 0.5f;
    QTest::newRow("infinite count kept") << kInf << 0.5f << 20 << 0.5f;
    QTest::newRow("coefficient above 1 clamped") << 10.0f << 2.0f << 10 << 1.0f;
    QTest::newRow("negative coefficient clamped") << 10.0f << -0.5f << 10 << 0.0f;
    QTest::newRow("NaN coefficient kept") << 10.0f << kNaNf << 10 << 0.25f;
    QTest::newRow("both NaN kept") << kNaNf << kNaNf << 20 << 0.25f;
}

void TestSimModels::settingsAreGuarded()
{
    QFETCH(float, count);
    QFETCH(float, coefficient);
    QFETCH(int, expectedCount);
    QFETCH(float, expectedCoefficient);

    BoardModel board;
    QCOMPARE(board.innerLoopCount(), 10);
    QCOMPARE(board.lowPassCoefficient(), 0.5f);
    board.applySettings(20.0f, 0.25f);
    board.applySettings(count, coefficient);
    QCOMPARE(board.innerLoopCount(), expectedCount);
    QCOMPARE(board.lowPassCoefficient(), expectedCoefficient);
    QCOMPARE(board.takeFrame(0.0).cycleTime, static_cast<float>(expectedCount * 1.5));
}

void TestSimModels::frameAveragesTheInnerLoopSamples_data()
{
    QTest::addColumn<int>("count");
    QTest::newRow("1") << 1;
    QTest::newRow("10") << 10;
    QTest::newRow("40") << 40;
}

void TestSimModels::frameAveragesTheInnerLoopSamples()
{
    QFETCH(int, count);
    EngineConfig config;
    config.noise = 0.0;
    BoardModel board(config);
    board.applySettings(static_cast<float>(count), 1.0f);
    const EngineModel engine(config);

    for (const double start : {0.0, 20.0, 37.5, 1000.0}) {
        const MeasurementFrame frame = board.takeFrame(start);
        for (int c = 0; c < 4; ++c) {
            double sum = 0.0;
            for (int i = 0; i < count; ++i)
                sum += engine.cleanPressure(c, (start + 1.5 * i) / 1000.0);
            QVERIFY2(std::fabs(frame.readings[static_cast<std::size_t>(c)] - sum / count) < 1e-4,
                     qPrintable(QStringLiteral("frame at %1 ms, cylinder %2").arg(start).arg(c + 1)));
        }
    }
}

void TestSimModels::innerLoopOverAWholeCycleAveragesThePulseAway()
{
    // 80 samples of 1.5 ms are one cycle at 1000 rpm: every frame shows
    // each cylinder's mean, wherever in the cycle it starts.
    EngineConfig config = steadyEngine(1000.0);
    BoardModel board(config);
    board.applySettings(80.0f, 1.0f);
    for (double start = 0.0; start < 500.0; start += 13.0) {
        const MeasurementFrame frame = board.takeFrame(start);
        for (std::size_t c = 0; c < 4; ++c)
            QVERIFY(std::fabs(frame.readings[c] - (config.meanPressure + config.offsets[c])) < 0.05);
    }
}

void TestSimModels::lowPassFollowsItsRecursion_data()
{
    QTest::addColumn<float>("coefficient");
    QTest::newRow("0 freezes") << 0.0f;
    QTest::newRow("0.05") << 0.05f;
    QTest::newRow("0.5") << 0.5f;
    QTest::newRow("1 passes") << 1.0f;
}

void TestSimModels::lowPassFollowsItsRecursion()
{
    QFETCH(float, coefficient);
    // Same seed, same times: the unfiltered board sees exactly the samples
    // the filtered one does.
    BoardModel raw;
    raw.applySettings(10.0f, 1.0f);
    BoardModel filtered;
    filtered.applySettings(10.0f, coefficient);

    std::array<double, kCylinderCount> y{};
    for (int k = 0; k < 200; ++k) {
        const MeasurementFrame x = raw.takeFrame(k * 20.0);
        const MeasurementFrame out = filtered.takeFrame(k * 20.0);
        for (std::size_t c = 0; c < 4; ++c) {
            // The first frame starts the filter from the reading itself.
            y[c] = k == 0 ? x.readings[c] : y[c] + coefficient * (x.readings[c] - y[c]);
            QVERIFY2(std::fabs(out.readings[c] - y[c]) < 1e-3,
                     qPrintable(QStringLiteral("frame %1, cylinder %2: %3 vs %4")
                                    .arg(k)
                                    .arg(c + 1)
                                    .arg(out.readings[c])
                                    .arg(y[c])));
        }
    }
}

void TestSimModels::lowCoefficientSmooths()
{
    BoardModel sharp;
    sharp.applySettings(10.0f, 1.0f);
    BoardModel smooth;
    smooth.applySettings(10.0f, 0.05f);

    std::array<std::vector<float>, kCylinderCount> sharpReadings;
    std::array<std::vector<float>, kCylinderCount> smoothReadings;
    for (int k = 0; k < 500; ++k) {
        const MeasurementFrame a = sharp.takeFrame(k * 20.0);
        const MeasurementFrame b = smooth.takeFrame(k * 20.0);
        for (std::size_t c = 0; c < 4; ++c) {
            sharpReadings[c].push_back(a.readings[c]);
            smoothReadings[c].push_back(b.readings[c]);
        }
    }
    for (std::size_t c = 0; c < 4; ++c) {
        const double sharpStep = meanAbsoluteStep(sharpReadings[c]);
        const double smoothStep = meanAbsoluteStep(smoothReadings[c]);
        // Unsmoothed, the pulse moves the reading by a kPa or more per frame.
        QVERIFY2(sharpStep > 0.5, qPrintable(QString::number(sharpStep)));
        QVERIFY2(
            smoothStep < 0.2 * sharpStep,
            qPrintable(
                QStringLiteral("cylinder %1: %2 vs %3").arg(c + 1).arg(smoothStep).arg(sharpStep)));
    }
}

QTEST_APPLESS_MAIN(TestSimModels)
#include "test_simmodels.moc"
