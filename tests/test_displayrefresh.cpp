// The window's displays take every frame's values at once; their painting
// follows at its pace, and nothing stays unpainted once frames stop. Paints
// are counted with an application-wide event filter.
#include "displayrefresh.h"
#include "mainwindow.h"

#include <QElapsedTimer>
#include <QImage>
#include <QLCDNumber>
#include <QScreen>
#include <QProgressBar>
#include <QSpinBox>
#include <QtTest>

#include <algorithm>
#include <map>

namespace {

const char *const kBarNames[] = {"BA", "BB", "BC", "BAD", "BAM", "BBM", "BCM", "BDM"};
const char *const kDigitNames[] = {"A",  "B",  "C",  "D",  "Tardu", "AD",  "BD",  "CD", "DD",
                                   "AM", "BM", "CM", "DM", "AMD",   "BMD", "CMD", "DMD"};

// Counts the paint events every widget receives.
class PaintCounter : public QObject
{
public:
    std::map<const QObject *, int> paints;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints[watched];
        return false;
    }
};

// Frame n: with the reference at cylinder 1 and averages over one frame,
// every bar and every number display shows a new value at each frame (the
// reference's own differences stay 0 but are set again). With steadyBars,
// only the fractions change and the bars keep their values.
MeasurementFrame frameNumber(int n, bool steadyBars = false)
{
    MeasurementFrame frame;
    for (int i = 0; i < 4; ++i) {
        frame.readings[static_cast<std::size_t>(i)] = steadyBars
            ? -20.1f - 0.001f * static_cast<float>((n % 80) + 10 * i)
            : -5.25f - static_cast<float>((n % 10) * (i + 1));
    }
    frame.cycleTime = static_cast<float>(n % 900);
    return frame;
}

struct Rig
{
    MainWindow window;
    PaintCounter counter;
    std::vector<QProgressBar *> bars;
    std::vector<QLCDNumber *> digits;

    bool setUp()
    {
        for (const char *name : kBarNames)
            bars.push_back(window.findChild<QProgressBar *>(QLatin1String(name)));
        for (const char *name : kDigitNames)
            digits.push_back(window.findChild<QLCDNumber *>(QLatin1String(name)));
        auto *media = window.findChild<QSpinBox *>(QStringLiteral("Media"));
        if (!media || std::count(bars.begin(), bars.end(), nullptr) != 0
            || std::count(digits.begin(), digits.end(), nullptr) != 0)
            return false;
        media->setValue(1);
        qApp->installEventFilter(&counter);
        window.show();
        return QTest::qWaitForWindowExposed(&window);
    }

    ~Rig() { qApp->removeEventFilter(&counter); }

    int paints(const QWidget *widget) { return counter.paints[widget]; }

    std::map<const QWidget *, int> snapshot()
    {
        std::map<const QWidget *, int> counts;
        for (QWidget *bar : bars)
            counts[bar] = paints(bar);
        for (QWidget *display : digits)
            counts[display] = paints(display);
        return counts;
    }

    // The names of the displays not painted since the snapshot.
    QStringList unpaintedSince(const std::map<const QWidget *, int> &before, bool includeBars = true)
    {
        QStringList names;
        for (const auto &[widget, count] : before) {
            const bool isBar = qobject_cast<const QProgressBar *>(widget) != nullptr;
            if ((includeBars || !isBar) && paints(widget) <= count)
                names << widget->objectName();
        }
        return names;
    }

    // Whether the displays show frame n as the pipeline computes it.
    bool shows(const MeasurementFrame &frame)
    {
        for (std::size_t i = 0; i < 4; ++i) {
            const float reading = frame.readings[i];
            if (digits[i]->value() != double(reading) || digits[9 + i]->value() != double(reading)
                || bars[i]->value() != static_cast<int>(reading)
                || bars[4 + i]->value() != static_cast<int>(reading)
                || digits[5 + i]->value() != double(reading - frame.readings[0]))
                return false;
        }
        return digits[4]->value() == double(frame.cycleTime);
    }
};

} // namespace

class TestDisplayRefresh : public QObject
{
    Q_OBJECT

private slots:
    void frameAfterAPausePaintsAtOnce_data();
    void frameAfterAPausePaintsAtOnce();
    void burstThenSilence_data();
    void burstThenSilence();
    void barsLookAsPaintedPlainly();
};

void TestDisplayRefresh::frameAfterAPausePaintsAtOnce_data()
{
    QTest::addColumn<int>("pauseMs");
    QTest::addColumn<int>("burst");

    // Waits are lower bounds: a loaded machine only lengthens them.
    QTest::newRow("polls 100 ms apart") << 100 << 0;
    QTest::newRow("single polls") << 600 << 0;
    QTest::newRow("quiet spell after a burst") << 400 << 40;
}

void TestDisplayRefresh::frameAfterAPausePaintsAtOnce()
{
    QFETCH(int, pauseMs);
    QFETCH(int, burst);

    Rig rig;
    QVERIFY(rig.setUp());
    int n = 0;
    for (int round = 0; round < 4; ++round) {
        for (int i = 0; i < burst; ++i)
            rig.window.runReadingPipeline(frameNumber(++n));
        QTest::qWait(pauseMs);

        // Every display is painted before the frame's slot returns, when no
        // reply is on its way yet.
        const auto before = rig.snapshot();
        const MeasurementFrame frame = frameNumber(++n);
        rig.window.runReadingPipeline(frame);
        QVERIFY(rig.shows(frame));
        const QStringList unpainted = rig.unpaintedSince(before);
        QVERIFY2(unpainted.isEmpty(),
                 qPrintable(QStringLiteral("round %1: %2 not painted")
                                .arg(round)
                                .arg(unpainted.join(QLatin1Char(' ')))));
    }
}

void TestDisplayRefresh::burstThenSilence_data()
{
    QTest::addColumn<int>("frames");
    QTest::addColumn<bool>("steadyBars");

    QTest::newRow("two frames") << 2 << false;
    QTest::newRow("a long burst") << 200 << false;
    QTest::newRow("steady bars") << 100 << true;
}

void TestDisplayRefresh::burstThenSilence()
{
    QFETCH(int, frames);
    QFETCH(bool, steadyBars);

    Rig rig;
    QVERIFY(rig.setUp());
    // The first frame sets the bars that then stay where they are.
    rig.window.runReadingPipeline(frameNumber(0, steadyBars));
    QTest::qWait(DisplayRefresh::kSlowFramesMs + 20);
    const auto beforeBurst = rig.snapshot();

    // Frames back to back, as from a board polled faster than any pace.
    // The longest gap between two frames is measured so that a machine
    // that stalls the test cannot make the bounds below fail.
    QElapsedTimer burst;
    burst.start();
    QElapsedTimer gap;
    int slowGaps = 0;
    std::map<const QWidget *, int> beforeLast;
    MeasurementFrame last;
    for (int n = 1; n <= frames; ++n) {
        if (n == frames)
            beforeLast = rig.snapshot();
        if (gap.isValid() && gap.elapsed() >= DisplayRefresh::kSlowFramesMs / 2)
            ++slowGaps;
        gap.start();
        last = frameNumber(n, steadyBars);
        rig.window.runReadingPipeline(last);
        // Values are never held back.
        QVERIFY(rig.shows(last));
    }
    const qint64 burstMs = burst.elapsed();

    // Painting kept its pace: at most once per pace, once more at the
    // start, and once more for every stall of the test itself.
    const auto paceBound = [&](int paceMs) {
        return 1 + static_cast<int>(burstMs / paceMs) + slowGaps;
    };
    for (QProgressBar *bar : rig.bars)
        QVERIFY2(rig.paints(bar) - beforeBurst.at(bar) <= paceBound(DisplayRefresh::kBarsPaceMs),
                 qPrintable(bar->objectName()));
    for (QLCDNumber *display : rig.digits)
        QVERIFY2(rig.paints(display) - beforeBurst.at(display)
                     <= paceBound(DisplayRefresh::kDigitsPaceMs),
                 qPrintable(display->objectName()));

    // Silence: every display whose value the last frame changed is painted.
    QTRY_VERIFY2(rig.unpaintedSince(beforeLast, !steadyBars).isEmpty(),
                 qPrintable(rig.unpaintedSince(beforeLast, !steadyBars).join(QLatin1Char(' '))));
    QVERIFY(rig.shows(last));
    // Bars whose value never changed were never repainted.
    if (steadyBars) {
        QTest::qWait(DisplayRefresh::kDigitsPaceMs);
        for (QProgressBar *bar : rig.bars)
            QCOMPARE(rig.paints(bar), beforeBurst.at(bar));
    }
}

// Bars painted over their backdrop show exactly what bars painted with the
// window behind them show, however far they moved.
void TestDisplayRefresh::barsLookAsPaintedPlainly()
{
    Rig paced;
    QVERIFY(paced.setUp());
    Rig plain;
    QVERIFY(plain.setUp());
    plain.window.move(paced.window.pos());

    const MeasurementFrame frames[] = {frameNumber(9), frameNumber(1), frameNumber(5)};
    for (const MeasurementFrame &frame : frames) {
        const auto before = paced.snapshot();
        paced.window.runReadingPipeline(frame);
        QTRY_VERIFY(paced.unpaintedSince(before).isEmpty());
        // The same values set straight on the other window's bars, which
        // repaint at once, the window behind them first.
        for (std::size_t i = 0; i < 8; ++i) {
            const int value = static_cast<int>(frame.readings[i % 4]);
            plain.bars[i]->setValue(value);
            QCOMPARE(paced.bars[i]->value(), value);
        }
        QCoreApplication::processEvents();

        const QImage pacedShot = paced.window.screen()->grabWindow(paced.window.winId()).toImage();
        const QImage plainShot = plain.window.screen()->grabWindow(plain.window.winId()).toImage();
        QVERIFY(!pacedShot.isNull() && !plainShot.isNull());
        for (std::size_t i = 0; i < 8; ++i) {
            const QRect rect(paced.bars[i]->mapTo(&paced.window, QPoint(0, 0)),
                             paced.bars[i]->size());
            QVERIFY2(pacedShot.copy(rect) == plainShot.copy(rect),
                     qPrintable(paced.bars[i]->objectName()));
        }
    }
}

QTEST_MAIN(TestDisplayRefresh)
#include "test_displayrefresh.moc"
