#include "numberdisplay.h"

#include <QEvent>
#include <QVarLengthArray>

#include <algorithm>
#include <cmath>

namespace {

// The number as QLCDNumber writes it in decimal mode: "%g" at the most
// significant digits that fit, an exponent written " e" for "e+"; empty
// when even one digit does not fit.
QString digitsOf(double value, int digitCount)
{
    QString text;
    int precision = digitCount;
    do {
        text = QString::asprintf("%*.*g", digitCount, precision, value);
        const int e = text.indexOf(QLatin1Char('e'));
        if (e > 0 && text[e + 1] == QLatin1Char('+')) {
            text[e] = QLatin1Char(' ');
            text[e + 1] = QLatin1Char('e');
        }
    } while (precision-- && text.size() > digitCount);
    return text.size() > digitCount ? QString() : text;
}

// The text spread over the digit cells as QLCDNumber does with a small
// decimal point: a point lights the cell before it (or takes a blank cell
// of its own after another point), and the cells are filled from the right.
QString withSmallPoints(const QString &text, int digitCount)
{
    QVarLengthArray<QChar, 32> cells(digitCount);
    QVarLengthArray<bool, 32> points(digitCount);
    int last = -1;
    bool lastWasPoint = true;
    for (const QChar c : text) {
        if (c == QLatin1Char('.')) {
            if (lastWasPoint) {
                if (last == digitCount - 1)
                    break;
                cells[++last] = QLatin1Char(' ');
            }
            points[last] = true;
            lastWasPoint = true;
        } else {
            if (last == digitCount - 1)
                break;
            cells[++last] = c;
            points[last] = false;
            lastWasPoint = false;
        }
    }
    QString shown(digitCount - 1 - last, QLatin1Char(' '));
    shown.reserve(2 * digitCount);
    for (int cell = 0; cell <= last; ++cell) {
        shown += cells[cell];
        if (points[cell])
            shown += QLatin1Char('.');
    }
    return shown;
}

// Whether two shown texts have the same digits, their points aside.
bool sameDigits(const QString &one, const QString &other)
{
    int i = 0;
    int j = 0;
    for (;;) {
        while (i < one.size() && one[i] == QLatin1Char('.'))
            ++i;
        while (j < other.size() && other[j] == QLatin1Char('.'))
            ++j;
        if (i == one.size() || j == other.size())
            return i == one.size() && j == other.size();
        if (one[i++] != other[j++])
            return false;
    }
}

// Whether shown is outOfRangeDashes(digitCount), without building that
// text: this is asked at every frame of every display.
bool isOutOfRangeDashes(const QString &shown, int digitCount)
{
    return shown.size() == digitCount
        && std::all_of(shown.cbegin(), shown.cend(), [](QChar c) { return c == QLatin1Char('-'); });
}

} // namespace

QString outOfRangeDashes(int digitCount)
{
    return QString(digitCount, QLatin1Char('-'));
}

QString shownNumber(double value, int digitCount, bool smallDecimalPoint)
{
    if (!std::isfinite(value))
        return outOfRangeDashes(digitCount);
    const QString text = digitsOf(value, digitCount);
    if (text.isEmpty())
        return outOfRangeDashes(digitCount);
    if (smallDecimalPoint)
        return withSmallPoints(text, digitCount);
    return text.rightJustified(digitCount, QLatin1Char(' '));
}

QString shownNumber(const QLCDNumber &display, double value)
{
    return shownNumber(value, display.digitCount(), display.smallDecimalPoint());
}

void showNumber(QLCDNumber *display, double value, const QString &shownBefore, const QString &shown)
{
    // QLCDNumber spells such a value out; NonNumberDashes paints over it.
    if (!std::isfinite(value)) {
        display->display(value);
        return;
    }
    // A display given a number too wide for it keeps its digits as they
    // were and only takes the value, so the dashes are put there first.
    if (isOutOfRangeDashes(shown, display->digitCount())) {
        display->display(shown);
        display->display(value);
        return;
    }
    // QLCDNumber repaints only when its digits change, not when only the
    // point moves (-2.5 after -25 would keep the point of -25): the digits
    // are blanked first.
    if (display->smallDecimalPoint() && shown != shownBefore && sameDigits(shown, shownBefore))
        display->display(QString());
    display->display(value);
}

void NonNumberDashes::watch(QLCDNumber *display)
{
    display->removeEventFilter(this);
    display->installEventFilter(this);
}

bool NonNumberDashes::eventFilter(QObject *watched, QEvent *event)
{
    auto *display = static_cast<QLCDNumber *>(watched);
    switch (event->type()) {
    case QEvent::Paint: {
        const double value = display->value();
        if (std::isfinite(value))
            return false;
        // The display paints its own dashes, given them for this paint only,
        // and then holds the value again.
        display->display(outOfRangeDashes(display->digitCount()));
        static_cast<QObject *>(display)->event(event);
        display->display(value);
        return true;
    }
    // A display told something new while it paints asks to be painted once
    // more, later: after the dashes above, it need not be.
    case QEvent::UpdateLater:
        return !std::isfinite(display->value());
    default:
        return false;
    }
}
