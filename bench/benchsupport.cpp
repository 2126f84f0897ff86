#include "benchsupport.h"

#include "demosession.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdio>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

BoardProcess::BoardProcess(const QStringList &arguments)
{
    board.start(QStringLiteral(BOARD_EXECUTABLE), arguments);
    if (board.waitForReadyRead(10000))
        boardPort = QString::fromLocal8Bit(board.readLine()).trimmed();
    else
        std::fprintf(stderr, "the simulated board did not start\n");
}

void BoardProcess::finish(unsigned long long &polls, unsigned long long &frames)
{
    board.closeWriteChannel();
    board.waitForFinished(10000);
    polls = frames = 0;
    std::sscanf(board.readAll().constData(), "polls %llu frames %llu", &polls, &frames);
}

double processCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval &t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void silenceDebugLines()
{
    if (qEnvironmentVariableIsSet("BENCH_KEEP_STDERR"))
        return;
    const int devNull = ::open("/dev/null", O_WRONLY);
    if (devNull >= 0) {
        ::dup2(devNull, STDERR_FILENO);
        ::close(devNull);
    }
}

void runAfterWarmUp(const MainWindow &window, int warmUpMs, int seconds,
                    const std::function<void()> &atWarmUp)
{
    QTimer::singleShot(warmUpMs, atWarmUp);
    QTimer stopAfterNextFrame;
    int framesAtDeadline = -1;
    QObject::connect(&stopAfterNextFrame, &QTimer::timeout, [&] {
        if (framesAtDeadline < 0)
            framesAtDeadline = acceptedFrames(window);
        else if (acceptedFrames(window) > framesAtDeadline)
            QCoreApplication::quit();
    });
    QTimer::singleShot(warmUpMs + seconds * 1000, [&] { stopAfterNextFrame.start(1); });
    QCoreApplication::exec();
}
