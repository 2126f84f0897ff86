#ifndef NUMBERDISPLAY_H
#define NUMBERDISPLAY_H

#include <QLCDNumber>
#include <QObject>
#include <QString>

// What a seven-segment display in decimal mode with digitCount digits shows
// for value, one character per digit cell; with a small decimal point, a
// cell whose point is lit is followed by '.'. A value the display cannot
// show, too wide for its digits or not a number at all (NaN, an infinity),
// shows a dash on every digit. Two values look alike on the display exactly
// when their texts are equal.
QString shownNumber(double value, int digitCount, bool smallDecimalPoint);

// The same for the settings of display.
QString shownNumber(const QLCDNumber &display, double value);

// The dashes a display shows for a value it cannot show.
QString outOfRangeDashes(int digitCount);

// Puts value on display, which then holds it (QLCDNumber::value()) and shows
// shown, the text shownNumber gives for it; shownBefore is what it showed
// until now. Of values the display cannot show it keeps the dashes on screen;
// a value that is not a number is drawn with them by NonNumberDashes.
void showNumber(QLCDNumber *display, double value, const QString &shownBefore, const QString &shown);

// Shows the out-of-range dashes on each display it watches whose value is
// not a number or an infinity: QLCDNumber would spell such a value out in
// segments ("inf" looks like an F, "nan" like an A). The display paints the
// dashes itself, so that they look exactly as those of a value too wide for
// its digits, and it still holds the value it was given.
class NonNumberDashes : public QObject
{
public:
    // From now on, shows the dashes on display when its value is not finite.
    void watch(QLCDNumber *display);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

#endif // NUMBERDISPLAY_H
