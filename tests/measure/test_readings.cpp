#include "measure/readings.h"

#include <QtTest>

#include <climits>
#include <cmath>
#include <limits>

Q_DECLARE_METATYPE(CylinderValues)
Q_DECLARE_METATYPE(std::optional<int>)

namespace {

constexpr float qnan = std::numeric_limits<float>::quiet_NaN();
constexpr float inf = std::numeric_limits<float>::infinity();

QByteArray describe(const CylinderValues &values)
{
    return QByteArray::number(double(values[0])) + ", " + QByteArray::number(double(values[1])) + ", "
        + QByteArray::number(double(values[2])) + ", " + QByteArray::number(double(values[3]));
}

// Exactly, with NaN matching NaN.
bool sameValue(float a, float b)
{
    return (std::isnan(a) && std::isnan(b)) || a == b;
}

bool sameValues(const CylinderValues &a, const CylinderValues &b)
{
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (!sameValue(a[i], b[i]))
            return false;
    }
    return true;
}

} // namespace

class TestReadings : public QObject
{
    Q_OBJECT

private slots:
    void differencesFromReference_data();
    void differencesFromReference();
    void barValue_data();
    void barValue();
};

void TestReadings::differencesFromReference_data()
{
    QTest::addColumn<CylinderValues>("values");
    QTest::addColumn<int>("reference");
    QTest::addColumn<CylinderValues>("expected");

    const CylinderValues idle{-20, -22, -19, -21};
    QTest::newRow("cylinder 1") << idle << 0 << CylinderValues{0, -2, 1, -1};
    QTest::newRow("cylinder 2") << idle << 1 << CylinderValues{2, 0, 3, 1};
    QTest::newRow("cylinder 3") << idle << 2 << CylinderValues{-1, -3, 0, -2};
    QTest::newRow("cylinder 4") << idle << 3 << CylinderValues{1, -1, 2, 0};
    QTest::newRow("typed item at 4") << idle << 4 << CylinderValues{0, 0, 0, 0};
    QTest::newRow("no current item") << idle << -1 << CylinderValues{0, 0, 0, 0};
    QTest::newRow("far index") << idle << 1000 << CylinderValues{0, 0, 0, 0};

    // Single-precision subtraction: 101.3f - 100 is 1.30000305f, not 1.3f.
    QTest::newRow("single precision") << CylinderValues{101.3f, 100, 99.5f, -3.25f} << 1
                                      << CylinderValues{1.30000305f, 0, -0.5f, -103.25f};

    QTest::newRow("NaN reference keeps its own 0")
        << CylinderValues{-20, qnan, -19, -21} << 1 << CylinderValues{qnan, 0, qnan, qnan};
    QTest::newRow("NaN elsewhere only in its own difference")
        << CylinderValues{-20, qnan, -19, -21} << 0 << CylinderValues{0, qnan, 1, -1};
    QTest::newRow("infinite reference")
        << CylinderValues{-20, -22, inf, -21} << 2 << CylinderValues{-inf, -inf, 0, -inf};
    QTest::newRow("infinite reading")
        << CylinderValues{-20, -inf, -19, -21} << 3 << CylinderValues{1, -inf, 2, 0};
    QTest::newRow("NaN with no reference")
        << CylinderValues{qnan, qnan, inf, -inf} << 4 << CylinderValues{0, 0, 0, 0};
}

void TestReadings::differencesFromReference()
{
    QFETCH(CylinderValues, values);
    QFETCH(int, reference);
    QFETCH(CylinderValues, expected);

    const CylinderValues actual = ::differencesFromReference(values, reference);
    QVERIFY2(sameValues(actual, expected),
             "got " + describe(actual) + ", expected " + describe(expected));
}

void TestReadings::barValue_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<std::optional<int>>("expected");

    const std::optional<int> none;
    QTest::newRow("-24.9") << -24.9f << std::optional<int>(-24);
    QTest::newRow("-0.5") << -0.5f << std::optional<int>(0);
    QTest::newRow("0.9") << 0.9f << std::optional<int>(0);
    QTest::newRow("-50.7") << -50.7f << std::optional<int>(-50);
    QTest::newRow("-50.9") << -50.9f << std::optional<int>(-50);
    QTest::newRow("-51 pegs") << -51.0f << std::optional<int>(-50);
    QTest::newRow("-60 pegs") << -60.0f << std::optional<int>(-50);
    QTest::newRow("1.9") << 1.9f << std::optional<int>(1);
    QTest::newRow("2.0 pegs") << 2.0f << std::optional<int>(1);
    QTest::newRow("3 pegs") << 3.0f << std::optional<int>(1);
    QTest::newRow("-0") << -0.0f << std::optional<int>(0);
    QTest::newRow("smallest denormal")
        << std::numeric_limits<float>::denorm_min() << std::optional<int>(0);
    QTest::newRow("largest float below 2^31") << 2147483520.0f << std::optional<int>(1);
    QTest::newRow("-2^31") << -2147483648.0f << std::optional<int>(-50);
    QTest::newRow("2^31") << 2147483648.0f << std::optional<int>(1);
    QTest::newRow("next float below -2^31") << -2147483904.0f << std::optional<int>(-50);
    QTest::newRow("3e9") << 3e9f << std::optional<int>(1);
    QTest::newRow("-3e9") << -3e9f << std::optional<int>(-50);
    QTest::newRow("largest float") << std::numeric_limits<float>::max() << std::optional<int>(1);
    QTest::newRow("lowest float") << std::numeric_limits<float>::lowest() << std::optional<int>(-50);
    QTest::newRow("NaN") << qnan << none;
    QTest::newRow("negative NaN") << -qnan << none;
    QTest::newRow("+inf") << inf << none;
    QTest::newRow("-inf") << -inf << none;
}

void TestReadings::barValue()
{
    QFETCH(float, value);
    QFETCH(std::optional<int>, expected);

    // The form's bars: -50 to 1 kPa.
    const std::optional<int> actual = ::barValue(value, -50, 1);
    QCOMPARE(actual.has_value(), expected.has_value());
    if (expected)
        QCOMPARE(*actual, *expected);
}

QTEST_GUILESS_MAIN(TestReadings)
#include "test_readings.moc"
