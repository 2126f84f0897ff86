#ifndef BENCHSUPPORT_H
#define BENCHSUPPORT_H

#include <QProcess>
#include <QString>
#include <QStringList>

#include <functional>
#include <sys/types.h>

class MainWindow;

// The benchmarks' board (bench_board) in a process of its own, paced at
// the board's baud rate, telling at the end how many polls it received and frames it
// sent.
class BoardProcess
{
public:
    // Starts the board with these arguments (--readings KIND); port() is
    // empty when it did not start.
    explicit BoardProcess(const QStringList &arguments = {});

    const QString &port() const { return boardPort; }

    // Ends the board and reads its report.
    void finish(unsigned long long &polls, unsigned long long &frames);

private:
    QProcess board;
    QString boardPort;
};

// Processor time of this process so far, user and system, in seconds.
double processCpuSeconds();

// The program writes a debug line per frame: keep the cost of writing it,
// but not the text, out of the report (unless BENCH_KEEP_STDERR is set).
void silenceDebugLines();

// Runs the event loop for a warm-up, calls atWarmUp, runs for the measured
// seconds and returns right after the next frame is taken, while no poll
// waits for its reply, so that a count of lost frames is exact.
void runAfterWarmUp(const MainWindow &window, int warmUpMs, int seconds,
                    const std::function<void()> &atWarmUp);

// Xvfb on a display number it chooses itself, gone with this object; start()
// points DISPLAY and the platform at it.
struct VirtualDisplay
{
    pid_t pid = -1;
    bool start();
    ~VirtualDisplay();
};

// Processor time of another process (the X server), from /proc.
double otherCpuSeconds(pid_t pid);

#endif // BENCHSUPPORT_H
