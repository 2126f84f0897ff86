#include "pseudoterminal.h"

#include "boardwire.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace {

// baud is the rate as a number: cfsetspeed takes it so as well as a B
// constant (glibc, the BSDs).
bool makeRaw(int fd, speed_t baud, tcflag_t dataBits)
{
    termios settings{};
    if (tcgetattr(fd, &settings) != 0)
        return false;
    cfmakeraw(&settings);
    if (cfsetspeed(&settings, baud) != 0)
        return false;
    settings.c_cflag = (settings.c_cflag & ~static_cast<tcflag_t>(CSIZE)) | dataBits | CLOCAL | CREAD;
    return tcsetattr(fd, TCSANOW, &settings) == 0;
}

QString systemError(const char *what)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what),
                                        QString::fromLocal8Bit(std::strerror(errno)));
}

} // namespace

bool PseudoTerminal::open()
{
    close();
    lastError.clear();
    int master = -1;
    int slave = -1;
    if (openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) {
        lastError = systemError("openpty");
        return false;
    }
    char name[256] = {};
    const bool ready = makeRaw(slave, 9600, CS7) && makeRaw(master, board::kBaudRate, CS8)
        && fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK) == 0
        && fcntl(master, F_SETFD, FD_CLOEXEC) == 0 && fcntl(slave, F_SETFD, FD_CLOEXEC) == 0
        && ttyname_r(slave, name, sizeof name) == 0;
    if (!ready) {
        lastError = systemError("pseudo-terminal setup");
        ::close(master);
        ::close(slave);
        return false;
    }
    masterFd = master;
    slaveFd = slave;
    devicePath = QString::fromLocal8Bit(name);
    return true;
}

void PseudoTerminal::close()
{
    if (masterFd >= 0)
        ::close(masterFd);
    if (slaveFd >= 0)
        ::close(slaveFd);
    masterFd = -1;
    slaveFd = -1;
    devicePath.clear();
}
