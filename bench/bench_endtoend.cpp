// The gauge against the simulated board in a process of its own, paced at
// 38400 baud, polled every 10 ms with the longest running average: polls
// sent, frames accepted and lost, processor time and memory growth.
#include "benchsupport.h"
#include "demosession.h"
#include "mainwindow.h"
#include "mmapthreshold.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

constexpr int kPollPeriodMs = 10;
constexpr int kAverageLength = kLongestAverage;
constexpr double kCpuTarget = 0.05; // share of one core
constexpr int kWarmUpMs = 5000;


long residentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLong() * sysconf(_SC_PAGESIZE) : 0;
}

} // namespace

int main(int argc, char *argv[])
{
    // As the program does, before any window, so that the figures are the
    // program's: the log grows in place by mremap, not copied inside the heap.
    fixMmapThreshold();
    QApplication application(argc, argv);
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 60;
    if (seconds < 1) {
        std::fprintf(stderr, "usage: bench_endtoend [SECONDS]\n");
        return 2;
    }

    BoardProcess board;
    const QString port = board.port();
    if (port.isEmpty())
        return 1;

    MainWindow window;
    window.findChild<QSpinBox *>(QStringLiteral("Media"))->setValue(kAverageLength);
    window.findChild<QSpinBox *>(QStringLiteral("spin_ms_timer"))->setValue(kPollPeriodMs);
    offerBoardPort(window, port);
    window.show();
    QCoreApplication::processEvents();

    std::printf("end to end: %d s (after a warm-up) against the simulated board on %s, paced at "
                "%d baud,\n"
                "  polled every %d ms, Media %d\n",
                seconds, qPrintable(port), int(kBaudRate), kPollPeriodMs, kAverageLength);
    std::fflush(stdout);
    silenceDebugLines();

    if (!openAndPollContinuously(window)) {
        std::printf("  could not open the board's port\n");
        return 1;
    }

    // Processor time and memory are measured after a warm-up, once the
    // window's first paints and the toolkit's caches are behind us.
    long residentBefore = 0;
    double cpuBefore = 0.0;
    int framesBefore = 0;
    long logBytesBefore = 0;
    QElapsedTimer wall;
    runAfterWarmUp(window, kWarmUpMs, seconds, [&] {
        residentBefore = residentBytes();
        cpuBefore = processCpuSeconds();
        framesBefore = acceptedFrames(window);
        logBytesBefore = window.measurementLog().size() * static_cast<long>(sizeof(QChar));
        wall.start();
    });
    window.findChild<QPushButton *>(QStringLiteral("push_serial_connect"))->click();

    const double cpu = processCpuSeconds() - cpuBefore;
    const double elapsed = static_cast<double>(wall.elapsed()) / 1000.0;
    const long residentGrowth = residentBytes() - residentBefore;
    const int accepted = acceptedFrames(window);
    const int measured = accepted - framesBefore;
    const QString &log = window.measurementLog();
    const double lineBytes = accepted > 0 ? static_cast<double>(log.size()) * sizeof(QChar) / accepted
                                          : 0.0;

    // Let the board tell what it received.
    unsigned long long polls = 0;
    unsigned long long sent = 0;
    board.finish(polls, sent);

    const double expectedPolls = (elapsed * 1000.0 + kWarmUpMs) / kPollPeriodMs;
    std::printf("  polls sent:      %llu (%.0f expected from the period, %.3f of it)\n", polls,
                expectedPolls, static_cast<double>(polls) / expectedPolls);
    std::printf("  frames accepted: %d of %llu sent by the board\n", accepted, sent);
    std::printf("  frames lost:     %lld (target 0)\n",
                static_cast<long long>(polls) - static_cast<long long>(accepted));
    std::printf("  after a %d s warm-up, over %d frames:\n", kWarmUpMs / 1000, measured);
    std::printf("  processor time:  %.3f s in %.1f s = %.2f %% of one core, %.2f of the %.0f %% "
                "target\n",
                cpu, elapsed, 100.0 * cpu / elapsed, cpu / elapsed / kCpuTarget, 100.0 * kCpuTarget);
    std::printf("  memory growth:   %ld bytes resident = %.0f bytes per frame; one log line "
                "holds %.0f bytes, ratio %.2f\n",
                residentGrowth, measured > 0 ? static_cast<double>(residentGrowth) / measured : 0.0,
                lineBytes,
                measured > 0 && lineBytes > 0 ? residentGrowth / measured / lineBytes : 0.0);
    const long logGrowth = log.size() * static_cast<long>(sizeof(QChar)) - logBytesBefore;
    std::printf("  of which the log: %ld bytes; everything else: %ld bytes over the run\n", logGrowth,
                residentGrowth - logGrowth);
    return 0;
}
