// aspirello-analisi's live tuning window under a real X server (Xvfb,
// started here), polling the simulated board in a process of its own every
// 10 ms (100 frames a second), replies paced at 38400 baud, readings from the
// simulated engine, at the shortest damping so that the bars move. An
// application-wide event filter counts the paint events of the bars and the
// waveform.
#include "benchsupport.h"
#include "livebars.h"
#include "livewaveform.h"
#include "livewindow.h"
#include "paintcounter.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <map>

namespace {

constexpr int kPollPeriodMs = 10;
constexpr int kWarmUpMs = 5000; // the engine speed needs three seconds of readings
constexpr double kRepaintTarget = 30.0;
constexpr double kCpuAim = 0.10;

} // namespace

int main(int argc, char *argv[])
{
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 30;
    if (seconds < 1) {
        std::fprintf(stderr, "usage: bench_live [SECONDS]\n");
        return 2;
    }
    VirtualDisplay display;
    if (!display.start()) {
        std::fprintf(stderr, "bench_live: could not start Xvfb (scripts/install-deps.sh bench)\n");
        return 1;
    }
    QApplication application(argc, argv);
    BoardProcess board({QStringLiteral("--readings"), QStringLiteral("engine")});
    if (board.port().isEmpty())
        return 1;
    QTemporaryDir scratch;
    LiveWindow window(scratch.path(), scratch.filePath(QStringLiteral("presets.ini")));
    LiveSettings settings;
    settings.dampingSeconds = kShortestDampingSeconds;
    window.setLiveSettings(settings);
    window.setPollPeriodMs(kPollPeriodMs);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window, 10000) || !window.connectBoard(board.port())) {
        std::fprintf(stderr, "bench_live: no window or no port\n");
        return 1;
    }
    const QWidget *bars = window.findChild<LiveBars *>(QStringLiteral("liveBars"));
    const QWidget *waveform = window.findChild<LiveWaveform *>(QStringLiteral("liveWaveform"));

    PaintCounter counter;
    application.installEventFilter(&counter);
    long barsBefore = 0, waveformBefore = 0;
    double cpuBefore = 0, serverBefore = 0;
    QElapsedTimer wall;
    QTimer::singleShot(kWarmUpMs, [&] {
        barsBefore = counter.paints[bars];
        waveformBefore = counter.paints[waveform];
        cpuBefore = processCpuSeconds();
        serverBefore = otherCpuSeconds(display.pid);
        wall.start();
    });
    QTimer::singleShot(kWarmUpMs + seconds * 1000, &application, &QApplication::quit);
    application.exec();
    const double elapsed = double(wall.elapsed()) / 1000.0;
    const double cpu = processCpuSeconds() - cpuBefore;
    const double serverCpu = otherCpuSeconds(display.pid) - serverBefore;
    const double barRate = double(counter.paints[bars] - barsBefore) / elapsed;
    const double waveRate = double(counter.paints[waveform] - waveformBefore) / elapsed;
    application.removeEventFilter(&counter);

    // The last replies are still taken before the count: until every poll
    // is answered, or for two seconds when one is lost (the count shows it).
    window.board().stopPolling();
    static_cast<void>(QTest::qWaitFor(
        [&] { return window.board().framesAccepted() >= window.board().pollsSent(); }, 2000));
    const quint64 polls = window.board().pollsSent();
    const quint64 accepted = window.board().framesAccepted();
    const quint64 discards = window.board().discards();
    const QString speed = window.analysis().engineSpeed().rpm()
        ? QStringLiteral("%1 rpm").arg(*window.analysis().engineSpeed().rpm(), 0, 'f', 0)
        : QStringLiteral("not measured");
    window.disconnectBoard();
    unsigned long long boardPolls = 0, boardFrames = 0;
    board.finish(boardPolls, boardFrames);

    std::printf("live window under Xvfb (%s), polling every %d ms, replies paced at %d baud,\n"
                "  the simulated engine, damping %.1f s; over %.1f s after a %d s warm-up:\n",
                qPrintable(QGuiApplication::platformName()), kPollPeriodMs, int(kBaudRate),
                kShortestDampingSeconds, elapsed, kWarmUpMs / 1000);
    std::printf("  bars repainted:     %.1f/s (target >= %.0f)\n", barRate, kRepaintTarget);
    std::printf("  waveform repainted: %.1f/s\n", waveRate);
    std::printf("  polls sent / frames sent by the board / accepted / discarded: %llu / %llu / "
                "%llu / %llu (target: none lost)\n",
                static_cast<unsigned long long>(polls), boardFrames,
                static_cast<unsigned long long>(accepted), static_cast<unsigned long long>(discards));
    std::printf("  ticks that waited for a reply on its way: %llu\n",
                static_cast<unsigned long long>(window.board().ticksWaited()));
    std::printf("  processor time:     %.1f %% of one core (target <= %.0f %%); the X server %.1f "
                "%% more\n",
                100.0 * cpu / elapsed, 100.0 * kCpuAim, 100.0 * serverCpu / elapsed);
    std::printf("  engine speed at the end: %s\n", qPrintable(speed));
    std::fflush(stdout);
    return 0;
}
