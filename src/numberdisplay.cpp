#include "numberdisplay.h"

#include <QLCDNumber>
#include <QString>

void showNumber(QLCDNumber *display, double value)
{
    // A display given a number too wide for it keeps its digits as they
    // were and only takes the value, so the dashes are put there first.
    if (display->checkOverflow(value))
        display->display(QString(display->digitCount(), QLatin1Char('-')));
    display->display(value);
}
