#include "columnreduction.h"
#include "sessionchart.h"

#include <QtTest>

#include <cmath>
#include <limits>
#include <random>

namespace {

const double notANumber = std::numeric_limits<double>::quiet_NaN();
const double infinity = std::numeric_limits<double>::infinity();

// The index of a reduced point (x = index * step), checked to be a whole one.
std::size_t indexOf(const QPointF &point, double step)
{
    const double position = point.x() / step;
    const double whole = std::round(position);
    if (std::abs(position - whole) > 1e-6 || whole < 0.0)
        return std::numeric_limits<std::size_t>::max();
    return std::size_t(whole);
}

bool contains(const QVector<QPointF> &points, std::size_t index, double value, double step)
{
    for (const QPointF &point : points) {
        if (indexOf(point, step) == index && point.y() == value)
            return true;
    }
    return false;
}

} // namespace

class TestAnalysisGraph : public QObject
{
    Q_OBJECT
private slots:
    void reducesByHand_data();
    void reducesByHand();
    void keepsEveryColumnsExtremes_data();
    void keepsEveryColumnsExtremes();
    void columnsCoverTheRange();
    void roundsAxes_data();
    void roundsAxes();
    void chartReReducesOnZoom();
    void chartStaysWithinTheSession();
};

void TestAnalysisGraph::reducesByHand_data()
{
    QTest::addColumn<std::vector<double>>("values");
    QTest::addColumn<double>("xMin");
    QTest::addColumn<double>("xMax");
    QTest::addColumn<int>("columns");
    QTest::addColumn<QVector<QPointF>>("expected");

    const std::vector<double> twelve = {3, 1, 4, 1, 5, 9, 2, 6, 5, 3, 5, 8};
    // First, lowest (its first occurrence), highest, last.
    QTest::newRow("one column") << twelve << 0.0 << 11.0 << 1
                                << QVector<QPointF>{{0, 3}, {1, 1}, {5, 9}, {11, 8}};
    // Few readings per column: all of them, in order.
    QTest::newRow("whole when short") << std::vector<double>({2, -1, 7}) << 0.0 << 2.0 << 1
                                      << QVector<QPointF>{{0, 2}, {1, -1}, {2, 7}};
    // Readings that cannot be drawn are left out, also as extremes.
    QTest::newRow("not finite left out")
        << std::vector<double>({notANumber, 4, infinity, 1, -infinity, 6, 2, 3, 5, notANumber}) << 0.0
        << 9.0 << 1 << QVector<QPointF>{{1, 4}, {3, 1}, {5, 6}, {8, 5}};
    QTest::newRow("nothing drawable")
        << std::vector<double>(6, notANumber) << 0.0 << 5.0 << 1 << QVector<QPointF>{};
    // Zoomed in: readings 4 to 6 are visible, one more on each side is kept.
    QTest::newRow("visible part") << twelve << 4.0 << 6.0 << 10
                                  << QVector<QPointF>{{3, 1}, {4, 5}, {5, 9}, {6, 2}, {7, 6}};
    QTest::newRow("left of the session") << twelve << -20.0 << -10.0 << 10 << QVector<QPointF>{};
    QTest::newRow("no columns") << twelve << 0.0 << 11.0 << 0 << QVector<QPointF>{};
}

void TestAnalysisGraph::reducesByHand()
{
    QFETCH(std::vector<double>, values);
    QFETCH(double, xMin);
    QFETCH(double, xMax);
    QFETCH(int, columns);
    QFETCH(QVector<QPointF>, expected);
    QCOMPARE(reduceToColumns(values, 1.0, xMin, xMax, columns), expected);
    // Stored floats shown in another unit: the same readings, scaled.
    const std::vector<float> stored(values.begin(), values.end());
    QVector<QPointF> scaled = expected;
    for (QPointF &point : scaled)
        point.setY(point.y() * 0.75);
    QCOMPARE(reduceToColumns(stored, 0.75, 1.0, xMin, xMax, columns), scaled);
}

void TestAnalysisGraph::keepsEveryColumnsExtremes_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<double>("step");
    QTest::addColumn<double>("xMin");
    QTest::addColumn<double>("xMax");
    QTest::addColumn<int>("columns");

    QTest::newRow("one hour, whole, 1000 columns") << 360000 << 1.0 << 0.0 << 359999.0 << 1000;
    QTest::newRow("one hour in seconds, zoomed") << 360000 << 0.01 << 1234.5 << 1300.25 << 777;
    QTest::newRow("columns not dividing evenly") << 10007 << 1.0 << 0.0 << 10006.0 << 333;
    QTest::newRow("just over four per column") << 4001 << 0.5 << 0.0 << 2000.0 << 1000;
}

void TestAnalysisGraph::keepsEveryColumnsExtremes()
{
    QFETCH(int, count);
    QFETCH(double, step);
    QFETCH(double, xMin);
    QFETCH(double, xMax);
    QFETCH(int, columns);

    std::mt19937 random(12345u + unsigned(count));
    std::normal_distribution<double> noise(-30.0, 8.0);
    std::vector<double> values(static_cast<std::size_t>(count));
    for (std::size_t i = 0; i < values.size(); ++i)
        values[i] = (i % 997 == 5) ? notANumber : noise(random);

    const QVector<QPointF> points = reduceToColumns(values, step, xMin, xMax, columns);
    const IndexRange range = visibleIndexRange(values.size(), step, xMin, xMax);
    const std::vector<std::size_t> bounds = columnBoundaries(range, columns);
    QVERIFY(points.size() <= 4 * columns);

    // Every point is a reading of the series, in reading order.
    std::size_t previous = 0;
    for (int p = 0; p < points.size(); ++p) {
        const std::size_t index = indexOf(points[p], step);
        QVERIFY(index >= range.first && index < range.last);
        QCOMPARE(points[p].y(), values[index]);
        if (p > 0)
            QVERIFY(index > previous);
        previous = index;
    }
    // Every column's lowest and highest reading is among them.
    for (std::size_t c = 0; c + 1 < bounds.size(); ++c) {
        std::size_t lowest = bounds[c], highest = bounds[c];
        while (std::isnan(values[lowest]))
            lowest = highest = lowest + 1;
        for (std::size_t i = lowest; i < bounds[c + 1]; ++i) {
            if (values[i] < values[lowest])
                lowest = i;
            if (values[i] > values[highest])
                highest = i;
        }
        QVERIFY2(contains(points, lowest, values[lowest], step), qPrintable(QString::number(c)));
        QVERIFY2(contains(points, highest, values[highest], step), qPrintable(QString::number(c)));
    }
}

void TestAnalysisGraph::columnsCoverTheRange()
{
    const std::vector<std::size_t> bounds = columnBoundaries(IndexRange{10, 1010}, 300);
    QCOMPARE(bounds.size(), std::size_t(301));
    QCOMPARE(bounds.front(), std::size_t(10));
    QCOMPARE(bounds.back(), std::size_t(1010));
    for (std::size_t c = 0; c + 1 < bounds.size(); ++c) {
        const std::size_t width = bounds[c + 1] - bounds[c];
        QVERIFY(width == 3 || width == 4);
    }
    // Fewer readings than columns: one column per reading.
    QCOMPARE(columnBoundaries(IndexRange{0, 3}, 300), (std::vector<std::size_t>{0, 1, 2, 3}));
}

void TestAnalysisGraph::roundsAxes_data()
{
    QTest::addColumn<double>("low");
    QTest::addColumn<double>("high");
    QTest::addColumn<double>("niceLow");
    QTest::addColumn<double>("niceHigh");
    QTest::addColumn<int>("ticks");
    QTest::newRow("pressures") << -41.27 << -18.61 << -45.0 << -15.0 << 7;
    QTest::newRow("small differences") << -0.13 << 0.42 << -0.2 << 0.6 << 5;
    QTest::newRow("one hour of readings") << 0.0 << 359999.0 << 0.0 << 400000.0 << 5;
    QTest::newRow("around zero") << -1.0 << 1.0 << -1.0 << 1.0 << 5;
    QTest::newRow("empty range") << 3.0 << 3.0 << -1.0 << 1.0 << 5;
    QTest::newRow("not finite") << -qInf() << 2.0 << -1.0 << 1.0 << 5;
    QTest::newRow("narrower than a double's powers of ten") << 0.0 << 4e-323 << -1.0 << 1.0 << 5;
}

void TestAnalysisGraph::roundsAxes()
{
    QFETCH(double, low);
    QFETCH(double, high);
    QFETCH(double, niceLow);
    QFETCH(double, niceHigh);
    QFETCH(int, ticks);
    const NiceAxis axis = niceAxis(low, high);
    QCOMPARE(axis.low, niceLow);
    QCOMPARE(axis.high, niceHigh);
    QCOMPARE(axis.ticks, ticks);
}

void TestAnalysisGraph::chartReReducesOnZoom()
{
    SessionChart *chart = new SessionChart;
    SessionChartView view(chart);
    view.resize(900, 500);
    std::vector<float> values(360000);
    for (std::size_t i = 0; i < values.size(); ++i)
        values[i] = float(std::sin(double(i) / 50.0) * 10.0 - 40.0);
    ChartCurve curve;
    curve.name = QStringLiteral("1");
    curve.values = &values;
    chart->setCurves({curve}, 0.01);
    view.show();
    QTRY_VERIFY(chart->plotArea().width() > 100.0);
    chart->refresh();

    const int columns = int(std::lround(chart->plotArea().width()));
    QCOMPARE(chart->visibleMin(), 0.0);
    QCOMPARE(chart->visibleMax(), 3599.99);
    QVERIFY(chart->drawnPointCount(0) > columns);
    QVERIFY(chart->drawnPointCount(0) <= 4 * columns);

    // Zoomed to a hundred readings: every one is drawn, and one more on
    // each side.
    chart->setVisibleRange(100.0, 101.0);
    QVERIFY(chart->drawnPointCount(0) >= 103 && chart->drawnPointCount(0) <= 104);
    // The wheel zooms out about the pointer and the graph follows.
    QWheelEvent wheel(QPointF(450, 250), view.mapToGlobal(QPoint(450, 250)), QPoint(),
                      QPoint(0, -120 * 10), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(view.viewport(), &wheel);
    QVERIFY(chart->visibleMax() - chart->visibleMin() > 5.0);
    QTRY_VERIFY(chart->drawnPointCount(0) > 500);
    // A double click shows the whole session again.
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(450, 250));
    QCOMPARE(chart->visibleMax(), 3599.99);
}

void TestAnalysisGraph::chartStaysWithinTheSession()
{
    SessionChart chart;
    chart.resize(600, 400);
    const std::vector<float> values{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    ChartCurve curve;
    curve.values = &values;
    chart.setCurves({curve}, 1.0);
    chart.setVisibleRange(-2.0, 1.0);
    QCOMPARE(chart.visibleMin(), 0.0);
    QCOMPARE(chart.visibleMax(), 4.0); // no narrower than four readings
    chart.panBy(10.0);
    QCOMPARE(chart.visibleMin(), 6.0);
    QCOMPARE(chart.visibleMax(), 10.0);
    chart.zoomAbout(5.0, 0.001);
    QCOMPARE(chart.visibleMin(), 0.0);
    QCOMPARE(chart.visibleMax(), 10.0);
}

QTEST_MAIN(TestAnalysisGraph)
#include "test_graph.moc"
