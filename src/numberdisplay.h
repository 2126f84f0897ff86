#ifndef NUMBERDISPLAY_H
#define NUMBERDISPLAY_H

class QLCDNumber;

// Shows value on a seven-segment display. A value that does not fit the
// display's digits shows a dash on every digit, rather than leaving the last
// number that fitted on screen, until a value that fits comes. Either way
// the display holds the value it was given (QLCDNumber::value()).
void showNumber(QLCDNumber *display, double value);

#endif // NUMBERDISPLAY_H
