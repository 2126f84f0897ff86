#include "pseudoterminal.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace {

bool makeRaw(int fd, speed_t speed, tcflag_t dataBits)
{
    termios settings{};
    if (tcgetattr(fd, &settings) != 0)
        return false;
    cfmakeraw(&settings);
    cfsetispeed(&settings, speed);
    cfsetospeed(&settings, speed);
    settings.c_cflag = (settings.c_cflag & ~static_cast<tcflag_t>(CSIZE)) | dataBits | CLOCAL | CREAD;
    return tcsetattr(fd, TCSANOW, &settings) == 0;
}

QString systemError(const char *what)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what),
                                        QString::fromLocal8Bit(std::strerror(errno)));
}

} // namespace

PseudoTerminal openBoardPseudoTerminal()
{
    PseudoTerminal terminal;
    int master = -1;
    int slave = -1;
    if (openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) {
        terminal.error = systemError("openpty");
        return terminal;
    }
    char name[256] = {};
    const bool ready = makeRaw(slave, B9600, CS7) && makeRaw(master, B38400, CS8)
        && fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK) == 0
        && fcntl(master, F_SETFD, FD_CLOEXEC) == 0 && fcntl(slave, F_SETFD, FD_CLOEXEC) == 0
        && ttyname_r(slave, name, sizeof name) == 0;
    if (!ready) {
        terminal.error = systemError("pseudo-terminal setup");
        ::close(master);
        ::close(slave);
        return terminal;
    }
    terminal.master = master;
    terminal.slave = slave;
    terminal.path = QString::fromLocal8Bit(name);
    return terminal;
}
