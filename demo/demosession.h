#ifndef DEMOSESSION_H
#define DEMOSESSION_H

#include <QString>

class MainWindow;

// What the demo does to the window, as a user would do it, so that the
// end-to-end tests drive the very same steps.

// Adds the board's port to the window's port list, under its short name, and
// selects it: the system's port enumeration never lists a pseudo-terminal.
void offerBoardPort(MainWindow &window, const QString &portName);

// Puts the poll period in milliseconds into the window's period box.
void choosePollPeriod(MainWindow &window, int periodMs);

// Offers the board's port and presses "Aprila"; true if the port opened.
bool connectBoard(MainWindow &window, const QString &portName);

// Presses "Aprila" on the port chosen, ticks "Ricevi dati in:" and presses
// "Ricevi": the port opens and polling runs at the form's period. False if
// the port did not open.
bool openAndPollContinuously(MainWindow &window);

// Frames the window has accepted so far: one log line each.
int acceptedFrames(const MainWindow &window);

#endif // DEMOSESSION_H
