#include "measure/runningaverage.h"

#include <QtTest>

#include <cmath>
#include <cstring>
#include <limits>

Q_DECLARE_METATYPE(QList<float>)

// QCOMPARE on floats is fuzzy; as doubles, one float ulp already differs.
#define COMPARE_EXACT(actual, expected) QCOMPARE(double(actual), double(expected))

namespace {

RunningAverage withCapacity(int capacity)
{
    RunningAverage average;
    average.setCapacity(capacity);
    return average;
}

} // namespace

class TestRunningAverage : public QObject
{
    Q_OBJECT

private slots:
    void startsEmptyWithCapacityTen();
    void keepsNewestFirst_data();
    void keepsNewestFirst();
    void meanAfterEachPush_data();
    void meanAfterEachPush();
    void setCapacityEmpties_data();
    void setCapacityEmpties();
    void capacityBelowOneKeepsNothing_data();
    void capacityBelowOneKeepsNothing();
    void fullWindowOfTenThousandSummedInDouble();
    void evictedHugeReadingLeavesNoTrace();
    void sumRoundedToSingleBeforeDividing();
    void nonFiniteReadingStaysUntilEvicted();
    void meansSideBySideAsEachAlone_data();
    void meansSideBySideAsEachAlone();
};

void TestRunningAverage::startsEmptyWithCapacityTen()
{
    RunningAverage average;
    QCOMPARE(average.capacityLimit(), 10);
    QVERIFY(average.storedValues().isEmpty());
    for (int i = 1; i <= 11; ++i)
        average.push(float(i));
    QCOMPARE(average.storedValues(), (QList<float>{11, 10, 9, 8, 7, 6, 5, 4, 3, 2}));
    COMPARE_EXACT(average.mean(), 6.5f);
}

void TestRunningAverage::keepsNewestFirst_data()
{
    QTest::addColumn<int>("capacity");
    QTest::addColumn<QList<float>>("pushed");
    QTest::addColumn<QList<float>>("stored");
    QTest::addColumn<float>("mean");

    QTest::newRow("capacity 3, one evicted")
        << 3 << QList<float>{1, 2, 3, 4} << QList<float>{4, 3, 2} << 3.0f;
    QTest::newRow("capacity 3, several evicted")
        << 3 << QList<float>{1, 2, 3, 4, 5, 6, 7} << QList<float>{7, 6, 5} << 6.0f;
    QTest::newRow("not yet full") << 5 << QList<float>{-20, -22} << QList<float>{-22, -20} << -21.0f;
    QTest::newRow("exactly full") << 4 << QList<float>{1, 2, 4, 8} << QList<float>{8, 4, 2, 1}
                                  << 3.75f;
    QTest::newRow("capacity 1") << 1 << QList<float>{5, -7, 9.5f} << QList<float>{9.5f} << 9.5f;
}

void TestRunningAverage::keepsNewestFirst()
{
    QFETCH(int, capacity);
    QFETCH(QList<float>, pushed);
    QFETCH(QList<float>, stored);
    QFETCH(float, mean);

    RunningAverage average = withCapacity(capacity);
    for (const float value : pushed)
        average.push(value);
    QCOMPARE(average.storedValues(), stored);
    COMPARE_EXACT(average.mean(), mean);
    QCOMPARE(average.capacityLimit(), capacity);
}

void TestRunningAverage::meanAfterEachPush_data()
{
    QTest::addColumn<int>("capacity");
    QTest::addColumn<QList<float>>("pushed");
    QTest::addColumn<QList<float>>("means");

    QTest::newRow("window of 2") << 2 << QList<float>{-20, -22, -24} << QList<float>{-20, -21, -23};
    QTest::newRow("window of 1 follows the reading")
        << 1 << QList<float>{-20.5f, 3.25f, -0.0f, 7} << QList<float>{-20.5f, 3.25f, 0, 7};
    QTest::newRow("window of 3") << 3 << QList<float>{3, 6, 9, 0, 0, 0}
                                 << QList<float>{3, 4.5f, 6, 5, 3, 0};
}

void TestRunningAverage::meanAfterEachPush()
{
    QFETCH(int, capacity);
    QFETCH(QList<float>, pushed);
    QFETCH(QList<float>, means);

    RunningAverage average = withCapacity(capacity);
    for (int i = 0; i < pushed.size(); ++i) {
        average.push(pushed.at(i));
        COMPARE_EXACT(average.mean(), means.at(i));
    }
}

void TestRunningAverage::setCapacityEmpties_data()
{
    QTest::addColumn<int>("newCapacity");

    QTest::newRow("larger") << 20;
    QTest::newRow("smaller") << 3;
    QTest::newRow("same") << 10;
    QTest::newRow("one") << 1;
    QTest::newRow("largest the form allows") << 10000;
}

void TestRunningAverage::setCapacityEmpties()
{
    QFETCH(int, newCapacity);

    RunningAverage average;
    for (int i = 0; i < 15; ++i)
        average.push(-30.0f + float(i));

    average.setCapacity(newCapacity);
    QCOMPARE(average.capacityLimit(), newCapacity);
    QVERIFY(average.storedValues().isEmpty());

    // The first mean after a resize is that of the one new reading alone.
    average.push(-17.25f);
    QCOMPARE(average.storedValues(), QList<float>{-17.25f});
    COMPARE_EXACT(average.mean(), -17.25f);

    for (int i = 0; i < 4; ++i)
        average.push(float(i));
    const QList<float> expected = QList<float>{3, 2, 1, 0, -17.25f}.mid(0, qMin(5, newCapacity));
    QCOMPARE(average.storedValues(), expected);
}

void TestRunningAverage::capacityBelowOneKeepsNothing_data()
{
    QTest::addColumn<int>("capacity");

    QTest::newRow("zero") << 0;
    QTest::newRow("minus one") << -1;
    QTest::newRow("lowest int") << std::numeric_limits<int>::min();
}

void TestRunningAverage::capacityBelowOneKeepsNothing()
{
    QFETCH(int, capacity);

    RunningAverage average;
    average.push(1.0f);
    average.setCapacity(capacity);
    for (int i = 0; i < 100; ++i) {
        average.push(float(i));
        QVERIFY(average.storedValues().isEmpty());
    }
    QCOMPARE(average.capacityLimit(), capacity);

    // A later valid capacity works normally again.
    average.setCapacity(2);
    average.push(4.0f);
    average.push(6.0f);
    COMPARE_EXACT(average.mean(), 5.0f);
}

void TestRunningAverage::fullWindowOfTenThousandSummedInDouble()
{
    // 2^24 pushed last is summed first: a single-precision running sum would
    // stay at 2^24 and drop every 1.0 that follows.
    constexpr int count = 10000;
    RunningAverage average = withCapacity(count);
    for (int i = 0; i < count - 1; ++i)
        average.push(1.0f);
    average.push(16777216.0f);
    QCOMPARE(average.storedValues().size(), count);

    // The exact sum 2^24 + 9999 = 16787215 lies halfway between the floats
    // 16787214 and 16787216; rounding to even gives 16787216.
    COMPARE_EXACT(average.mean(), 16787216.0f / 10000.0f);

    // One more reading evicts a 1.0: 16787215 - 1 + 4 = 16787218, a float.
    average.push(4.0f);
    QCOMPARE(average.storedValues().size(), count);
    COMPARE_EXACT(average.mean(), 16787218.0f / 10000.0f);
}

void TestRunningAverage::evictedHugeReadingLeavesNoTrace()
{
    // A running total that subtracts evicted readings would be left with
    // nothing after adding and removing 1e30.
    RunningAverage average = withCapacity(4);
    average.push(1e30f);
    for (int i = 0; i < 4; ++i)
        average.push(1.5f);
    COMPARE_EXACT(average.mean(), 1.5f);
}

void TestRunningAverage::sumRoundedToSingleBeforeDividing()
{
    // Twice the largest float overflows single precision once rounded, so
    // the mean is infinite; dividing in double first would give FLT_MAX.
    constexpr float largest = std::numeric_limits<float>::max();
    RunningAverage average = withCapacity(2);
    average.push(largest);
    average.push(largest);
    COMPARE_EXACT(average.mean(), std::numeric_limits<float>::infinity());

    average.setCapacity(2);
    average.push(-largest);
    average.push(-largest);
    COMPARE_EXACT(average.mean(), -std::numeric_limits<float>::infinity());

    // Large readings that stay in range after the division are not lost.
    average.setCapacity(2);
    average.push(largest);
    average.push(-largest);
    COMPARE_EXACT(average.mean(), 0.0f);
}

void TestRunningAverage::nonFiniteReadingStaysUntilEvicted()
{
    RunningAverage average = withCapacity(3);
    average.push(1.0f);
    average.push(std::numeric_limits<float>::quiet_NaN());
    QVERIFY(std::isnan(average.mean()));
    average.push(2.0f);
    QVERIFY(std::isnan(average.mean()));
    average.push(3.0f);
    QVERIFY(std::isnan(average.mean())); // 3, 2, NaN
    average.push(4.0f);
    COMPARE_EXACT(average.mean(), 3.0f); // 4, 3, 2

    average.push(std::numeric_limits<float>::infinity());
    COMPARE_EXACT(average.mean(), std::numeric_limits<float>::infinity());
    average.push(-std::numeric_limits<float>::infinity());
    QVERIFY(std::isnan(average.mean()));

    // Emptying by a resize also clears it.
    average.setCapacity(3);
    average.push(-8.0f);
    COMPARE_EXACT(average.mean(), -8.0f);
}

void TestRunningAverage::meansSideBySideAsEachAlone_data()
{
    QTest::addColumn<int>("capacity");
    QTest::addColumn<int>("pushes");
    QTest::addColumn<bool>("inStep");

    QTest::newRow("one reading") << 10 << 1 << true;
    QTest::newRow("filling") << 10 << 7 << true;
    QTest::newRow("just full") << 10 << 10 << true;
    QTest::newRow("wrapped") << 10 << 23 << true;
    QTest::newRow("a window of one") << 1 << 5 << true;
    QTest::newRow("ten thousand, wrapped") << 10000 << 13457 << true;
    QTest::newRow("out of step") << 10 << 23 << false;
}

// Readings that cancel (a small one, then a huge one and its opposite), so
// that any other order of summing, or a reading of another cylinder or
// slot, gives other bits.
void TestRunningAverage::meansSideBySideAsEachAlone()
{
    QFETCH(int, capacity);
    QFETCH(int, pushes);
    QFETCH(bool, inStep);

    std::array<RunningAverage, 4> averages;
    for (RunningAverage &average : averages)
        average.setCapacity(capacity);
    for (int k = 0; k < pushes; ++k) {
        for (int c = 0; c < 4; ++c) {
            const float small = static_cast<float>((k * 7919 + c * 104729) % 1000 - 500) / 64;
            const float huge = (k + c) % 2 == 0 ? 1e20f : -1e20f;
            averages[static_cast<std::size_t>(c)].push(k % 3 == 0 ? small : huge);
        }
    }
    if (!inStep)
        averages[2].push(0.5f);
    const CylinderValues means = RunningAverage::means(averages);
    for (std::size_t c = 0; c < 4; ++c) {
        const float alone = averages[c].mean();
        QVERIFY2(std::memcmp(&means[c], &alone, sizeof alone) == 0,
                 qPrintable(QStringLiteral("cylinder %1: %2, alone %3")
                                .arg(c + 1)
                                .arg(double(means[c]), 0, 'g', 9)
                                .arg(double(alone), 0, 'g', 9)));
    }
}

QTEST_GUILESS_MAIN(TestRunningAverage)
#include "test_runningaverage.moc"
