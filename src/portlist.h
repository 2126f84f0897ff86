#ifndef PORTLIST_H
#define PORTLIST_H

#include <QStringList>

class QComboBox;

// The serial ports offered in the window's list. The system's ports are
// looked up afresh each time the list is opened, so that a board plugged in
// after start-up is offered without a restart.

// The list after a fresh look at the system's ports: the ports present now,
// in the system's order, then every entry shown that the last look did not
// find (one added by another part of the program, such as the demo's own
// port, which the system never lists), in its order, each name once.
QStringList refreshedPortList(const QStringList &shown, const QStringList &listedBefore,
                              const QStringList &listedNow);

// Fills box with the system's ports now and again before each time its list
// opens, keeping the entry chosen while it is still offered (else the first
// is chosen).
void keepPortListFresh(QComboBox *box);

#endif // PORTLIST_H
