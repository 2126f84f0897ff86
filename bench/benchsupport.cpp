#include "benchsupport.h"

#include "demosession.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdio>
#include <fcntl.h>
#include <sys/resource.h>
#include <QFile>

#include <signal.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

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

bool VirtualDisplay::start()
{
    int fds[2];
    if (::pipe(fds) != 0)
        return false;
    const std::string fd = std::to_string(fds[1]);
    const char *argv[] = {"Xvfb",         "-displayfd", fd.c_str(), "-screen", "0",
                          "1400x1000x24", "-nolisten",  "tcp",      nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const int spawned =
        posix_spawnp(&pid, "Xvfb", &actions, nullptr, const_cast<char *const *>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    if (spawned != 0) {
        pid = -1;
        ::close(fds[0]);
        return false;
    }
    // The server writes its display number once it accepts clients.
    std::string number;
    char c = 0;
    while (::read(fds[0], &c, 1) == 1 && c != '\n')
        number += c;
    ::close(fds[0]);
    if (number.empty())
        return false;
    ::setenv("DISPLAY", (":" + number).c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    return true;
}

VirtualDisplay::~VirtualDisplay()
{
    if (pid > 0) {
        ::kill(pid, SIGTERM);
        ::waitpid(pid, nullptr, 0);
    }
}

// Processor time of another process (the X server), from /proc.
double otherCpuSeconds(pid_t pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (pid <= 0 || !stat.open(QIODevice::ReadOnly))
        return 0.0;
    const QByteArray text = stat.readAll();
    // Fields after the command name, which ends with the last ')'.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13)
        return 0.0;
    return (fields[11].toDouble() + fields[12].toDouble())
        / static_cast<double>(sysconf(_SC_CLK_TCK));
}
