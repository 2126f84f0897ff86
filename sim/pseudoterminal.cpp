#include "pseudoterminal.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace {

// The line has one set of terminal settings, the slave's: set through the
// master they would land there too. Raw, at 9600 baud, which the program
// does not use, so that the speed it chooses shows. (The data bits cannot
// be shown so: Linux keeps a pseudo-terminal at eight whatever is asked.)
bool makeProgramEndRaw(int slave)
{
    termios settings{};
    if (tcgetattr(slave, &settings) != 0)
        return false;
    cfmakeraw(&settings);
    cfsetispeed(&settings, B9600);
    cfsetospeed(&settings, B9600);
    settings.c_cflag |= CLOCAL | CREAD;
    return tcsetattr(slave, TCSANOW, &settings) == 0;
}

} // namespace

QString systemErrorText(const char *what)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what),
                                        QString::fromLocal8Bit(std::strerror(errno)));
}

bool PseudoTerminal::open()
{
    close();
    lastError.clear();
    int master = -1;
    int slave = -1;
    if (openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) {
        lastError = systemErrorText("openpty");
        return false;
    }
    char name[256] = {};
    const bool ready = makeProgramEndRaw(slave)
        && fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK) == 0
        && fcntl(master, F_SETFD, FD_CLOEXEC) == 0 && fcntl(slave, F_SETFD, FD_CLOEXEC) == 0
        && ttyname_r(slave, name, sizeof name) == 0;
    if (!ready) {
        lastError = systemErrorText("pseudo-terminal setup");
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
