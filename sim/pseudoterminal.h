#ifndef PSEUDOTERMINAL_H
#define PSEUDOTERMINAL_H

#include <QString>

// A pseudo-terminal for a simulated board: both ends raw from the start,
// so that nothing is echoed or translated before the program sets up its
// end; the board's (master) end non-blocking at 38400 baud and eight data
// bits, the program's (slave) end at 9600 baud and seven data bits, so that
// the line settings the program chooses show. Both close on exec.
struct PseudoTerminal
{
    int master = -1;
    int slave = -1;
    QString path;  // the slave device, such as /dev/pts/3
    QString error; // why none could be had
};

// Opens one; on failure master and slave stay -1 and error says why.
PseudoTerminal openBoardPseudoTerminal();

#endif // PSEUDOTERMINAL_H
