#ifndef PSEUDOTERMINAL_H
#define PSEUDOTERMINAL_H

#include <QString>

// What was being done on the line, and why the system call just made for it
// failed (errno).
QString systemErrorText(const char *what);

// The line of a simulated board: a pseudo-terminal raw from the start, so
// that nothing is echoed or translated before the program sets up its end,
// at 9600 baud, so that the speed the program chooses shows (a
// pseudo-terminal carries bytes at no speed: the boards pace their replies
// themselves). The board's (master) end is non-blocking. Both
// close on exec. The board keeps its own slave descriptor open, so the line stays up
// while the program closes and reopens the port; close() hangs it up.
class PseudoTerminal
{
public:
    PseudoTerminal() = default;
    ~PseudoTerminal() { close(); }
    PseudoTerminal(const PseudoTerminal &) = delete;
    PseudoTerminal &operator=(const PseudoTerminal &) = delete;

    // Opens a new one in place of any held; false, with errorString(), if
    // none could be had.
    bool open();
    void close();

    bool isOpen() const { return masterFd >= 0; }
    int master() const { return masterFd; }
    int slave() const { return slaveFd; }
    QString path() const { return devicePath; } // the slave device, such as /dev/pts/3
    QString errorString() const { return lastError; }

private:
    int masterFd = -1;
    int slaveFd = -1;
    QString devicePath;
    QString lastError;
};

#endif // PSEUDOTERMINAL_H
