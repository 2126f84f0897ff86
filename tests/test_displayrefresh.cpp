// The window's displays take every frame's values at once; their painting
// follows at its pace, nothing stays unpainted once frames stop, and a
// display whose shown value does not change is not repainted. Paints are
// counted with an application-wide event filter.
#include "displayrefresh.h"
#include "mainwindow.h"
#include "numberdisplay.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QLCDNumber>
#include <QProgressBar>
#include <QScreen>
#include <QSpinBox>
#include <QStyle>
#include <QStyleFactory>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <memory>

namespace {

const char *const kBarNames[] = {"BA", "BB", "BC", "BAD", "BAM", "BBM", "BCM", "BDM"};
const char *const kDigitNames[] = {"A",  "B",  "C",  "D",  "Tardu", "AD",  "BD",  "CD", "DD",
                                   "AM", "BM", "CM", "DM", "AMD",   "BMD", "CMD", "DMD"};

// The reference cylinder is cylinder 1: its own differences are always 0.
const QStringList kAlwaysZero = {QStringLiteral("AD"), QStringLiteral("AMD")};

// Counts the paint events every widget receives, and the times it is hidden
// (as a bar is while its backdrop is taken).
class PaintCounter : public QObject
{
public:
    std::map<const QObject *, int> paints;
    std::map<const QObject *, int> hides;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints[watched];
        else if (event->type() == QEvent::Hide)
            ++hides[watched];
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

    // The names of the displays not painted since the snapshot, sorted;
    // the reference's own differences, which never change, left out unless
    // asked for.
    QStringList unpaintedSince(const std::map<const QWidget *, int> &before, bool includeBars = true,
                               bool includeZeros = false)
    {
        QStringList names;
        for (const auto &[widget, count] : before) {
            const bool isBar = qobject_cast<const QProgressBar *>(widget) != nullptr;
            if ((includeBars || !isBar)
                && (includeZeros || !kAlwaysZero.contains(widget->objectName()))
                && paints(widget) <= count)
                names << widget->objectName();
        }
        names.sort();
        return names;
    }

    // The names of the displays painted since the snapshot, sorted.
    QStringList paintedSince(const std::map<const QWidget *, int> &before)
    {
        QStringList names;
        for (const auto &[widget, count] : before) {
            if (paints(widget) > count)
                names << widget->objectName();
        }
        names.sort();
        return names;
    }

    // How many bars were hidden since hidesBefore, and so had their
    // backdrop taken anew.
    int barsHiddenSince(const std::map<const QObject *, int> &hidesBefore)
    {
        int hidden = 0;
        for (QProgressBar *bar : bars) {
            const auto before = hidesBefore.find(bar);
            hidden += counter.hides[bar] > (before == hidesBefore.end() ? 0 : before->second);
        }
        return hidden;
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
    void unchangedShownValueIsNotRepainted_data();
    void unchangedShownValueIsNotRepainted();
    void barsLookAsPaintedPlainly_data();
    void barsLookAsPaintedPlainly();
    void shownNumberLooksAsTheDisplay_data();
    void shownNumberLooksAsTheDisplay();
    void nonNumbersShowTheDashes_data();
    void nonNumbersShowTheDashes();
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

        // Every display that changed is painted before the frame's slot
        // returns, when no reply is on its way yet; the reference's own
        // differences, 0 again, are not painted at all.
        const auto before = rig.snapshot();
        const MeasurementFrame frame = frameNumber(++n);
        rig.window.runReadingPipeline(frame);
        QVERIFY(rig.shows(frame));
        const QStringList unpainted = rig.unpaintedSince(before, true, true);
        QVERIFY2(unpainted == kAlwaysZero,
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
    // Every bar position of the burst once, so that the pictures of the
    // bars are drawn before it: drawing one is a paint of its own. Then the
    // first frame sets the bars that then stay where they are.
    // Each is let through to the screen before the next, since a bar that
    // is held and moved on before its pace is over never shows (nor draws)
    // the position it skipped.
    const auto barsReleased = [&rig] {
        return std::all_of(rig.bars.begin(), rig.bars.end(),
                           [](const QProgressBar *bar) { return bar->updatesEnabled(); });
    };
    for (int n = 1; n <= std::min(frames, 10); ++n) {
        rig.window.runReadingPipeline(frameNumber(n, steadyBars));
        QTRY_VERIFY(barsReleased());
    }
    QTest::qWait(DisplayRefresh::kSlowFramesMs + 20);
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

    // Silence: every display whose value the last frame changed is painted
    // (with steady bars, the differences between cylinders stay as they
    // were too).
    const auto unpainted = [&] {
        QStringList names = rig.unpaintedSince(beforeLast, !steadyBars);
        if (steadyBars)
            names.erase(std::remove_if(names.begin(), names.end(),
                                       [](const QString &name) { return name.endsWith('D'); }),
                        names.end());
        return names;
    };
    QTRY_VERIFY2(unpainted().isEmpty(), qPrintable(unpainted().join(QLatin1Char(' '))));
    QVERIFY(rig.shows(last));
    // Bars whose value never changed were never repainted: once no bar is
    // held, a repaint asked for is delivered with the events then waiting.
    if (steadyBars) {
        QTRY_VERIFY(barsReleased());
        for (int pass = 0; pass < 3; ++pass)
            QCoreApplication::processEvents();
        for (QProgressBar *bar : rig.bars)
            QCOMPARE(rig.paints(bar), beforeBurst.at(bar));
    }
}

namespace {

const float kInf = std::numeric_limits<float>::infinity();

MeasurementFrame frameOf(const std::array<float, 4> &readings, float cycleTime)
{
    MeasurementFrame frame;
    frame.readings = readings;
    frame.cycleTime = cycleTime;
    return frame;
}

// What a change does to a window: to the window itself, to its bars, or to
// the application.
using WindowChange = void (*)(QWidget &window, const std::vector<QProgressBar *> &bars);

} // namespace

Q_DECLARE_METATYPE(MeasurementFrame)
Q_DECLARE_METATYPE(WindowChange)

void TestDisplayRefresh::unchangedShownValueIsNotRepainted_data()
{
    QTest::addColumn<MeasurementFrame>("first");
    QTest::addColumn<MeasurementFrame>("second");
    QTest::addColumn<QStringList>("repainted");

    const MeasurementFrame plain = frameOf({-20.5f, -21.25f, -19.75f, -20.0f}, 15.0f);
    QTest::newRow("the same frame") << plain << plain << QStringList();
    // 123456.77 and 123456.78 both show as 123456.8 on eight digits, their
    // differences from the reference as -123477; 15.25 shows as 15 on the
    // three digits of "Tardu". The bars stay where they are.
    QTest::newRow("differing in digits not shown")
        << frameOf({-20.5f, 123456.77f, -19.75f, -20.25f}, 15.0f)
        << frameOf({-20.5f, 123456.78f, -19.75f, -20.25f}, 15.25f) << QStringList();
    QTest::newRow("a reading moves") << plain << frameOf({-20.5f, -22.25f, -19.75f, -20.0f}, 15.0f)
                                     << QStringList{"B", "BB", "BBM", "BD", "BM", "BMD"};
    QTest::newRow("a point moves") << frameOf({-20.5f, -2.5f, -19.75f, -20.0f}, 15.0f)
                                   << frameOf({-20.5f, -25.0f, -19.75f, -20.0f}, 15.0f)
                                   << QStringList{"B", "BB", "BBM", "BD", "BM", "BMD"};
    QTest::newRow("infinity again")
        << frameOf({-20.5f, kInf, -19.75f, -20.0f}, 15.0f)
        << frameOf({-20.5f, kInf, -19.75f, -20.0f}, 15.0f) << QStringList();
    QTest::newRow("too wide for Tardu again")
        << frameOf({-20.5f, -21.25f, -19.75f, -20.0f}, 1000.0f)
        << frameOf({-20.5f, -21.25f, -19.75f, -20.0f}, 2000.0f) << QStringList();
}

// Frames a pause apart, each painted before its slot returns: only the
// displays whose shown value changed are repainted, and every display
// holds the value it was given.
void TestDisplayRefresh::unchangedShownValueIsNotRepainted()
{
    QFETCH(MeasurementFrame, first);
    QFETCH(MeasurementFrame, second);
    QFETCH(QStringList, repainted);

    Rig rig;
    QVERIFY(rig.setUp());
    rig.window.runReadingPipeline(first);
    QTest::qWait(DisplayRefresh::kSlowFramesMs + 20);
    const auto before = rig.snapshot();
    rig.window.runReadingPipeline(second);
    // Whatever the frame asked for is painted by now; a display that keeps
    // asking to be painted again would be painted in these passes.
    for (int pass = 0; pass < 3; ++pass)
        QCoreApplication::processEvents();
    QCOMPARE(rig.paintedSince(before), repainted);
    for (std::size_t i = 0; i < 4; ++i) {
        const float reading = second.readings[i];
        const auto same = [](double shown, float given) {
            return std::isnan(given) ? std::isnan(shown) : shown == double(given);
        };
        QVERIFY(same(rig.digits[i]->value(), reading));
        QVERIFY(same(rig.digits[9 + i]->value(), reading));
        QVERIFY(same(rig.digits[5 + i]->value(), reading - second.readings[0]));
    }
    QCOMPARE(rig.digits[4]->value(), double(second.cycleTime));
}

void TestDisplayRefresh::barsLookAsPaintedPlainly_data()
{
    QTest::addColumn<WindowChange>("change");
    QTest::addColumn<bool>("backdropRetaken");

    QTest::newRow("as set up") << WindowChange([](QWidget &, const std::vector<QProgressBar *> &) {})
                               << false;
    // The group boxes behind the bars change colour; the bars' own palette
    // sets that colour for themselves, so only what lies behind them shows
    // the change.
    QTest::newRow("palette of the window")
        << WindowChange([](QWidget &window, const std::vector<QProgressBar *> &) {
               QPalette palette = window.palette();
               palette.setColor(QPalette::Window, QColor(214, 120, 40));
               window.setPalette(palette);
           })
        << true;
    QTest::newRow("palette of the bars")
        << WindowChange([](QWidget &, const std::vector<QProgressBar *> &bars) {
               for (QProgressBar *bar : bars) {
                   QPalette palette = bar->palette();
                   palette.setColor(QPalette::Highlight, QColor(30, 160, 60));
                   palette.setColor(QPalette::Base, QColor(250, 240, 200));
                   bar->setPalette(palette);
               }
           })
        << true;
    QTest::newRow("style") << WindowChange([](QWidget &, const std::vector<QProgressBar *> &) {
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Windows")));
    }) << true;
    QTest::newRow("size of the bars")
        << WindowChange([](QWidget &, const std::vector<QProgressBar *> &bars) {
               for (QProgressBar *bar : bars)
                   bar->resize(bar->width() - 30, bar->height() - 120);
           })
        << true;
    // A new range is no event to the bar: the pictures of the old range
    // are compared away at the next repaint.
    QTest::newRow("range of the bars")
        << WindowChange([](QWidget &, const std::vector<QProgressBar *> &bars) {
               for (QProgressBar *bar : bars)
                   bar->setRange(-60, 10);
           })
        << false;
    QTest::newRow("size of the window")
        << WindowChange([](QWidget &window, const std::vector<QProgressBar *> &) {
               window.resize(window.width() - 20, window.height() - 30);
           })
        << true;
    QTest::newRow("window moved") << WindowChange(
        [](QWidget &window, const std::vector<QProgressBar *> &) {
            window.move(window.pos() + QPoint(40, 30));
        }) << true;
}

// Bars painted from their pictures show exactly what bars painted by the
// style with the window behind them show, at several positions, before and
// after a change of what they or their backdrop look like; the backdrop
// is taken again after any such change, and only then.
void TestDisplayRefresh::barsLookAsPaintedPlainly()
{
    QFETCH(WindowChange, change);
    QFETCH(bool, backdropRetaken);

    const QString styleBefore = QApplication::style()->objectName();
    struct RestoreStyle
    {
        QString name;
        ~RestoreStyle() { QApplication::setStyle(QStyleFactory::create(name)); }
    } restoreStyle{styleBefore};

    Rig paced;
    QVERIFY(paced.setUp());
    Rig plain;
    QVERIFY(plain.setUp());
    plain.window.move(paced.window.pos());

    const auto compare = [&] {
        const QImage pacedShot = paced.window.screen()->grabWindow(paced.window.winId()).toImage();
        const QImage plainShot = plain.window.screen()->grabWindow(plain.window.winId()).toImage();
        QVERIFY(!pacedShot.isNull() && !plainShot.isNull());
        for (std::size_t i = 0; i < 8; ++i) {
            const QRect rect(paced.bars[i]->mapTo(&paced.window, QPoint(0, 0)),
                             paced.bars[i]->size());
            QVERIFY2(pacedShot.copy(rect) == plainShot.copy(rect),
                     qPrintable(paced.bars[i]->objectName()));
        }
    };
    const auto showAndCompare = [&](const MeasurementFrame &frame) {
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
        compare();
    };

    // Positions met for the first time, then again from their pictures.
    const MeasurementFrame frames[] = {frameNumber(9), frameNumber(1), frameNumber(5), frameNumber(9),
                                       frameNumber(1)};
    for (const MeasurementFrame &frame : frames) {
        showAndCompare(frame);
        if (QTest::currentTestFailed())
            return;
    }

    change(paced.window, paced.bars);
    change(plain.window, plain.bars);
    QCoreApplication::processEvents();
    // As the change leaves them, then at new positions.
    compare();
    if (QTest::currentTestFailed())
        return;
    const auto hidesBefore = paced.counter.hides;
    for (const MeasurementFrame &frame : {frameNumber(2), frameNumber(9), frameNumber(4)}) {
        showAndCompare(frame);
        if (QTest::currentTestFailed())
            return;
    }
    QCOMPARE(paced.barsHiddenSince(hidesBefore), backdropRetaken ? 8 : 0);
}

void TestDisplayRefresh::shownNumberLooksAsTheDisplay_data()
{
    QTest::addColumn<int>("digits");
    QTest::addColumn<bool>("smallPoint");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("shown");

    // The pressure displays: eight digits, small point.
    QTest::newRow("-20.5") << 8 << true << -20.5 << "    -20.5";
    QTest::newRow("-2.5") << 8 << true << -2.5 << "     -2.5";
    QTest::newRow("-25") << 8 << true << -25.0 << "     -25";
    QTest::newRow("0") << 8 << true << 0.0 << "       0";
    QTest::newRow("-0") << 8 << true << -0.0 << "       0";
    QTest::newRow("0.1 in single precision") << 8 << true << double(0.1f) << "      0.1";
    QTest::newRow("123456.77") << 8 << true << double(123456.77f) << " 123456.8";
    QTest::newRow("-123477.27") << 8 << true << double(-123477.27f) << " -123477";
    QTest::newRow("largest float") << 8 << true << double(3.40282347e38f) << "  3.4 e38";
    QTest::newRow("smallest subnormal") << 8 << true << 5e-324 << " 4.9e-324";
    QTest::newRow("+infinity") << 8 << true << double(kInf) << "--------";
    QTest::newRow("-infinity") << 8 << true << -double(kInf) << "--------";
    QTest::newRow("NaN") << 8 << true << std::nan("") << "--------";
    // "Tardu": three digits, the point in a cell of its own.
    QTest::newRow("Tardu 15") << 3 << false << 15.0 << " 15";
    QTest::newRow("Tardu 15.25") << 3 << false << 15.25 << " 15";
    QTest::newRow("Tardu 1.5") << 3 << false << 1.5 << "1.5";
    QTest::newRow("Tardu 999") << 3 << false << 999.0 << "999";
    QTest::newRow("Tardu 1000") << 3 << false << 1000.0 << "---";
    QTest::newRow("Tardu -100") << 3 << false << -100.0 << "---";
    QTest::newRow("Tardu -99") << 3 << false << -99.0 << "-99";
    QTest::newRow("Tardu +infinity") << 3 << false << double(kInf) << "---";
    QTest::newRow("Tardu NaN") << 3 << false << std::nan("") << "---";
}

// The text a value shows as is what QLCDNumber shows: a display given the
// value looks exactly as one given the text; a value it cannot show makes it
// overflow.
void TestDisplayRefresh::shownNumberLooksAsTheDisplay()
{
    QFETCH(int, digits);
    QFETCH(bool, smallPoint);
    QFETCH(double, value);
    QFETCH(QString, shown);

    const auto makeDisplay = [&] {
        auto display = std::make_unique<QLCDNumber>(digits);
        display->setSmallDecimalPoint(smallPoint);
        display->setSegmentStyle(QLCDNumber::Flat);
        display->resize(151, 41);
        return display;
    };
    // Taken as a display's text, a point after a digit lights the digit's
    // cell, as in the texts above.
    const QString expected = shown;
    QCOMPARE(shownNumber(value, digits, smallPoint), expected);

    const auto given = makeDisplay();
    QSignalSpy overflow(given.get(), &QLCDNumber::overflow);
    given->display(value);
    if (expected == outOfRangeDashes(digits) && std::isfinite(value)) {
        QCOMPARE(overflow.count(), 1);
        return;
    }
    if (!std::isfinite(value))
        return; // shown by NonNumberDashes, below
    QCOMPARE(overflow.count(), 0);
    const auto told = makeDisplay();
    told->display(expected);
    QVERIFY(given->grab().toImage() == told->grab().toImage());
}

void TestDisplayRefresh::nonNumbersShowTheDashes_data()
{
    QTest::addColumn<float>("value");
    QTest::newRow("+infinity") << kInf;
    QTest::newRow("-infinity") << -kInf;
    QTest::newRow("NaN") << std::numeric_limits<float>::quiet_NaN();
    QTest::newRow("negative NaN") << -std::numeric_limits<float>::quiet_NaN();
}

// A display given a value that is not a number looks exactly as one showing
// the dashes of a value too wide for it, whatever its digits and colours; it
// holds the value given, and the next number shows again.
void TestDisplayRefresh::nonNumbersShowTheDashes()
{
    QFETCH(float, value);
    Rig paced;
    QVERIFY(paced.setUp());
    Rig wide;
    QVERIFY(wide.setUp());
    wide.window.move(paced.window.pos());

    const auto looksAlike = [&] {
        const QImage pacedShot = paced.window.screen()->grabWindow(paced.window.winId()).toImage();
        const QImage wideShot = wide.window.screen()->grabWindow(wide.window.winId()).toImage();
        for (const QLCDNumber *display : {paced.digits[1], paced.digits[4], paced.digits[6]}) {
            const QRect rect(display->mapTo(&paced.window, QPoint(0, 0)), display->size());
            if (pacedShot.copy(rect) != wideShot.copy(rect))
                return false;
        }
        return true;
    };

    // Reading 2 and the cycle time: "B", "BD" and "Tardu". No finite value
    // is too wide for eight digits: those get the dashes as a text.
    paced.window.runReadingPipeline(frameOf({-20.f, value, -19.f, -21.f}, value));
    wide.window.runReadingPipeline(frameOf({-20.f, -22.f, -19.f, -21.f}, 1000.f));
    for (QLCDNumber *display : {wide.digits[1], wide.digits[6]})
        display->display(outOfRangeDashes(display->digitCount()));
    QTRY_VERIFY(looksAlike());
    QVERIFY(!std::isfinite(paced.digits[1]->value()));
    QVERIFY(!std::isfinite(paced.digits[4]->value()));
    QVERIFY(!std::isfinite(paced.digits[6]->value()));

    // In other colours, as the window's palette gives them.
    for (Rig *rig : {&paced, &wide}) {
        QPalette palette = rig->window.palette();
        palette.setColor(QPalette::WindowText, QColor(150, 20, 20));
        palette.setColor(QPalette::Window, QColor(20, 150, 20));
        rig->window.setPalette(palette);
    }
    QTRY_VERIFY(looksAlike());

    // The next number shows again, on both.
    QTest::qWait(DisplayRefresh::kSlowFramesMs + 20);
    paced.window.runReadingPipeline(frameOf({-20.f, -22.f, -19.f, -21.f}, 12.f));
    wide.window.runReadingPipeline(frameOf({-20.f, -22.f, -19.f, -21.f}, 12.f));
    QTRY_VERIFY(looksAlike());
}

QTEST_MAIN(TestDisplayRefresh)
#include "test_displayrefresh.moc"
