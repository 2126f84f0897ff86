// The gauge's painting under a real X server: a virtual one (Xvfb) started
// here, the window on the xcb platform, polling the simulated board in a
// process of its own every 10 ms, replies paced at 38400 baud. An
// application-wide event filter counts the paint events of each bar and
// number display, and the pixels every paint event of the window covers.
// Once with readings that move every bar at every frame, once with steady
// readings.
#include "benchsupport.h"
#include "demosession.h"
#include "mainwindow.h"
#include "mmapthreshold.h"
#include "paintcounter.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLCDNumber>
#include <QPaintEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <unistd.h>

extern char **environ;

namespace {

constexpr int kPollPeriodMs = 10;
constexpr int kWarmUpMs = 3000;
constexpr double kBarsTarget = 30.0;                  // repaints a second, at least
constexpr double kBarsStretch = 50.0;                 // repaints a second, within the same aim
constexpr double kDigitsLow = 4.0, kDigitsHigh = 5.0; // repaints a second
constexpr double kCpuAimChanging = 0.12;              // share of one core
constexpr double kCpuAimSteady = 0.02;

const char *const kBarNames[] = {"BA", "BB", "BC", "BAD", "BAM", "BBM", "BCM", "BDM"};
const char *const kDigitNames[] = {"A",  "B",  "C",  "D",  "Tardu", "AD",  "BD",  "CD", "DD",
                                   "AM", "BM", "CM", "DM", "AMD",   "BMD", "CMD", "DMD"};

struct Figures
{
    double seconds = 0;
    double lowestBars = 0, highestBars = 0;
    double lowestDigits = 0, highestDigits = 0;
    int digitsUnchanged = 0; // displays repainted less than once a second
    double pixels = 0;       // painted a second
    long long polls = 0, accepted = 0;
    double cpu = 0, serverCpu = 0;
};

bool run(const char *readings, int seconds, pid_t server, Figures &figures)
{
    BoardProcess board({QStringLiteral("--readings"), QString::fromLatin1(readings)});
    const QString port = board.port();
    if (port.isEmpty())
        return false;

    MainWindow window;
    window.findChild<QSpinBox *>(QStringLiteral("spin_ms_timer"))->setValue(kPollPeriodMs);
    offerBoardPort(window, port);
    std::vector<const QWidget *> bars, digits;
    for (const char *name : kBarNames)
        bars.push_back(window.findChild<QProgressBar *>(QLatin1String(name)));
    for (const char *name : kDigitNames)
        digits.push_back(window.findChild<QLCDNumber *>(QLatin1String(name)));
    window.show();
    if (!QTest::qWaitForWindowExposed(&window, 10000) || !openAndPollContinuously(window)) {
        std::fprintf(stderr, "bench_display: no window or no port\n");
        return false;
    }

    PaintCounter counter;
    qApp->installEventFilter(&counter);
    std::map<const QObject *, long> paintsBefore;
    double cpuBefore = 0, serverBefore = 0, pixelsBefore = 0;
    QElapsedTimer wall;
    runAfterWarmUp(window, kWarmUpMs, seconds, [&] {
        paintsBefore = counter.paints;
        pixelsBefore = counter.pixels;
        cpuBefore = processCpuSeconds();
        serverBefore = otherCpuSeconds(server);
        wall.start();
    });

    figures.seconds = static_cast<double>(wall.elapsed()) / 1000.0;
    figures.cpu = processCpuSeconds() - cpuBefore;
    figures.serverCpu = otherCpuSeconds(server) - serverBefore;
    figures.pixels = (counter.pixels - pixelsBefore) / figures.seconds;
    qApp->removeEventFilter(&counter);
    window.findChild<QPushButton *>(QStringLiteral("push_serial_connect"))->click();

    // The lowest rate is of the displays whose shown value changes with the
    // readings: one that never changes is not repainted, or only when a
    // frame is lost and the next reply read shifted; those are counted
    // apart.
    const auto rates = [&](const std::vector<const QWidget *> &widgets, double &lowest,
                           double &highest, int &unchanged) {
        lowest = 0;
        highest = 0;
        unchanged = 0;
        for (const QWidget *widget : widgets) {
            const double rate = static_cast<double>(counter.paints[widget] - paintsBefore[widget])
                / figures.seconds;
            if (rate < 1.0) {
                ++unchanged;
                continue;
            }
            lowest = lowest == 0 ? rate : std::min(lowest, rate);
            highest = std::max(highest, rate);
        }
    };
    int barsUnchanged = 0;
    rates(bars, figures.lowestBars, figures.highestBars, barsUnchanged);
    rates(digits, figures.lowestDigits, figures.highestDigits, figures.digitsUnchanged);

    unsigned long long polls = 0, sent = 0;
    board.finish(polls, sent);
    figures.polls = static_cast<long long>(polls);
    figures.accepted = acceptedFrames(window);
    return true;
}

void report(const char *title, const Figures &f, double cpuAim, bool barsMove)
{
    std::printf("%s, over %.1f s after a %d s warm-up:\n", title, f.seconds, kWarmUpMs / 1000);
    if (barsMove)
        std::printf("  bars repainted:    %.1f/s the lowest of the eight (highest %.1f; target >= "
                    "%.0f, stretch %.0f)\n",
                    f.lowestBars, f.highestBars, kBarsTarget, kBarsStretch);
    else
        std::printf("  bars repainted:    %.1f/s the highest of the eight (nothing moves)\n",
                    f.highestBars);
    std::printf("  digits repainted:  %.1f/s the lowest of the %d whose shown value changes "
                "(highest %.1f; target %.0f-%.0f); %d under once a second\n",
                f.lowestDigits, 17 - f.digitsUnchanged, f.highestDigits, kDigitsLow, kDigitsHigh,
                f.digitsUnchanged);
    std::printf("  pixels painted:    %.2f million a second\n", f.pixels / 1e6);
    std::printf("  frames discarded:  %lld of %lld polls (target 0)\n", f.polls - f.accepted,
                f.polls);
    std::printf("  processor time:    %.1f %% of one core (target <= %.0f %%); the X server %.1f %% "
                "more\n",
                100.0 * f.cpu / f.seconds, 100.0 * cpuAim, 100.0 * f.serverCpu / f.seconds);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char *argv[])
{
    // As the program does, before any window, so that the figures are the
    // program's: the log grows in place by mremap, not copied inside the heap.
    fixMmapThreshold();
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 30;
    if (seconds < 1) {
        std::fprintf(stderr, "usage: bench_display [SECONDS]\n");
        return 2;
    }
    VirtualDisplay display;
    if (!display.start()) {
        std::fprintf(stderr, "bench_display: could not start Xvfb (scripts/install-deps.sh bench)\n");
        return 1;
    }
    QApplication application(argc, argv);
    std::printf("painting under Xvfb (%s): the window polls the simulated board every %d ms,\n"
                "  replies paced at %d baud, %d s per run\n",
                qPrintable(QGuiApplication::platformName()), kPollPeriodMs, int(kBaudRate), seconds);
    std::fflush(stdout);
    silenceDebugLines();

    Figures changing, steady;
    if (!run("changing", seconds, display.pid, changing))
        return 1;
    report("readings moving every bar at every frame", changing, kCpuAimChanging, true);
    if (!run("steady", seconds, display.pid, steady))
        return 1;
    report("steady readings", steady, kCpuAimSteady, false);
    return 0;
}
