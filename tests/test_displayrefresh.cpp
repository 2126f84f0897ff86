// Painting of the displays is held back within a refresh interval, never
// their values, and nothing stays unpainted once the interval ends.
#include "displayrefresh.h"

#include <QLCDNumber>
#include <QtTest>

namespace {

constexpr int kIntervalMs = 60;
// Long enough that a loaded machine cannot let it run out mid-test.
constexpr int kLongIntervalMs = 1500;

// A display that counts its paints, and can be made slow to paint.
class CountingDisplay : public QLCDNumber
{
public:
    int paints = 0;
    int paintDelayMs = 0;

    using QLCDNumber::QLCDNumber;

protected:
    void paintEvent(QPaintEvent *event) override
    {
        ++paints;
        if (paintDelayMs > 0) {
            QElapsedTimer delay;
            delay.start();
            while (delay.elapsed() < paintDelayMs) {
            }
        }
        QLCDNumber::paintEvent(event);
    }
};

// Frames are shown on displays inside a window, as in the gauge.
void showFrame(DisplayRefresh &refresh, CountingDisplay &display, double value)
{
    refresh.aboutToChange(&display);
    display.display(value);
    refresh.frameShown();
}

} // namespace

class TestDisplayRefresh : public QObject
{
    Q_OBJECT

private slots:
    void firstFramePaintsAtOnce();
    void framesWithinAnIntervalPaintOnceAtItsEnd();
    void quietIntervalLetsTheNextFramePaintAtOnce();
    void frameAfterTheIntervalPaintsWhatWasHeldAtOnce();
    void slowPaintingLengthensTheInterval_data();
    void slowPaintingLengthensTheInterval();
};

void TestDisplayRefresh::firstFramePaintsAtOnce()
{
    QWidget window;
    auto &display = *new CountingDisplay(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    DisplayRefresh refresh(kIntervalMs);
    const int before = display.paints;

    showFrame(refresh, display, 1.5);
    QVERIFY(display.updatesEnabled());
    QTRY_VERIFY(display.paints > before);
}

void TestDisplayRefresh::framesWithinAnIntervalPaintOnceAtItsEnd()
{
    QWidget window;
    auto &display = *new CountingDisplay(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    DisplayRefresh refresh(kLongIntervalMs);
    showFrame(refresh, display, 1.0);
    QCoreApplication::processEvents();
    const int afterFirst = display.paints;

    // Values follow every frame at once; painting waits.
    for (int i = 2; i <= 10; ++i) {
        showFrame(refresh, display, i);
        QCOMPARE(display.value(), double(i));
        QCoreApplication::processEvents();
    }
    QVERIFY(!display.updatesEnabled());
    QCOMPARE(display.paints, afterFirst);

    QTRY_VERIFY(display.updatesEnabled());
    QTRY_COMPARE(display.paints, afterFirst + 1);
    QCOMPARE(display.value(), 10.0);
}

void TestDisplayRefresh::quietIntervalLetsTheNextFramePaintAtOnce()
{
    QWidget window;
    auto &display = *new CountingDisplay(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    DisplayRefresh refresh(kIntervalMs);
    showFrame(refresh, display, 1.0);
    showFrame(refresh, display, 2.0); // held
    QTRY_VERIFY(display.updatesEnabled());
    // One interval with no frame at all, then a frame is not held.
    QTest::qWait(10 * kIntervalMs);
    showFrame(refresh, display, 3.0);
    QVERIFY(display.updatesEnabled());
}

void TestDisplayRefresh::frameAfterTheIntervalPaintsWhatWasHeldAtOnce()
{
    QWidget window;
    auto &first = *new CountingDisplay(&window);
    auto &second = *new CountingDisplay(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    DisplayRefresh refresh(kIntervalMs);

    showFrame(refresh, first, 1.0);
    QCoreApplication::processEvents();
    showFrame(refresh, first, 2.0);
    showFrame(refresh, second, 2.0);
    QVERIFY(!first.updatesEnabled());
    QVERIFY(!second.updatesEnabled());
    const int firstPaints = first.paints;
    const int secondPaints = second.paints;

    // The interval runs out with no event handled: the next frame paints
    // both held displays before it returns, not at some later moment.
    QThread::msleep(2 * kIntervalMs);
    showFrame(refresh, first, 3.0);
    QVERIFY(first.updatesEnabled());
    QVERIFY(second.updatesEnabled());
    QCOMPARE(first.paints, firstPaints + 1);
    QCOMPARE(second.paints, secondPaints + 1);
}

void TestDisplayRefresh::slowPaintingLengthensTheInterval_data()
{
    QTest::addColumn<int>("paintDelayMs");
    QTest::addColumn<int>("leastIntervalMs");
    QTest::addColumn<int>("mostIntervalMs");

    // Painting may take a few per cent of the time: 6 ms of painting wants
    // at least 200 ms between refreshes; past the longest interval the
    // displays still refresh twice a second.
    QTest::newRow("6 ms") << 6 << 200 << DisplayRefresh::kLongestIntervalMs;
    QTest::newRow("40 ms") << 40 << DisplayRefresh::kLongestIntervalMs
                           << DisplayRefresh::kLongestIntervalMs;
}

void TestDisplayRefresh::slowPaintingLengthensTheInterval()
{
    QFETCH(int, paintDelayMs);
    QFETCH(int, leastIntervalMs);
    QFETCH(int, mostIntervalMs);

    QWidget window;
    auto &display = *new CountingDisplay(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    DisplayRefresh refresh(kIntervalMs);
    QCOMPARE(refresh.intervalMs(), kIntervalMs);
    display.paintDelayMs = paintDelayMs;
    showFrame(refresh, display, 1.0);
    showFrame(refresh, display, 2.0); // held until the interval ends
    const int paintsBefore = display.paints;
    QTRY_VERIFY(display.paints > paintsBefore);
    QTRY_VERIFY(refresh.intervalMs() != kIntervalMs);
    QVERIFY2(refresh.intervalMs() >= leastIntervalMs, qPrintable(QString::number(refresh.intervalMs())));
    QVERIFY(refresh.intervalMs() <= mostIntervalMs);
}

QTEST_MAIN(TestDisplayRefresh)
#include "test_displayrefresh.moc"
