#ifndef SLAVELINE_H
#define SLAVELINE_H

// The program's side of the simulated board's line, with plain POSIX calls
// so that the board is checked against the kernel rather than against
// QSerialPort. The board lives in the same thread: every wait here keeps
// the event loop turning.

#include <QByteArray>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QList>
#include <QString>

#include <cerrno>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

class SlaveLine
{
public:
    enum class Mode { Raw, AsFound };

    explicit SlaveLine(const QString &path, Mode mode = Mode::Raw)
    {
        fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0 && mode == Mode::Raw) {
            termios settings{};
            tcgetattr(fd, &settings);
            cfmakeraw(&settings);
            tcsetattr(fd, TCSANOW, &settings);
        }
    }
    ~SlaveLine()
    {
        if (fd >= 0)
            ::close(fd);
    }
    SlaveLine(const SlaveLine &) = delete;
    SlaveLine &operator=(const SlaveLine &) = delete;

    bool isOpen() const { return fd >= 0; }

    bool write(const QByteArray &bytes)
    {
        return ::write(fd, bytes.constData(), static_cast<size_t>(bytes.size())) == bytes.size();
    }

    // Each read as it came, until total bytes have arrived or the time is up.
    QList<QByteArray> readChunks(int total, int timeoutMs = 5000)
    {
        QList<QByteArray> chunks;
        int got = 0;
        QDeadlineTimer deadline(timeoutMs);
        while (got < total && !deadline.hasExpired()) {
            const QByteArray chunk = readAvailable();
            if (chunk.isEmpty()) {
                if (hungUp)
                    break;
                continue;
            }
            chunks.append(chunk);
            got += chunk.size();
        }
        return chunks;
    }

    QByteArray read(int total, int timeoutMs = 5000)
    {
        QByteArray bytes;
        for (const QByteArray &chunk : readChunks(total, timeoutMs))
            bytes += chunk;
        return bytes;
    }

    // True once the line reports a hang-up or a read error, as after the
    // board has been unplugged.
    bool waitForHangUp(int timeoutMs = 5000)
    {
        QDeadlineTimer deadline(timeoutMs);
        while (!hungUp && !deadline.hasExpired())
            readAvailable();
        return hungUp;
    }

private:
    // Lets the board run, then reads what is there (waiting at most 1 ms).
    QByteArray readAvailable()
    {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 1) <= 0)
            return {};
        char buffer[256];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0)
            return QByteArray(buffer, static_cast<int>(n));
        if (n == 0 || (errno != EAGAIN && errno != EINTR) || (p.revents & (POLLHUP | POLLERR)))
            hungUp = true;
        return {};
    }

    int fd = -1;
    bool hungUp = false;
};

#endif // SLAVELINE_H
