#include "livebars.h"

#include "cylindercolours.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

// The band's light green, opaque: a translucent fill across the whole plot
// some thirty times a second costs more than all the rest of the painting.
const QColor kBand(0xd2, 0xea, 0xd5);

// Sub-steps of the scale for a half-range of value (in the unit shown).
double tickStep(double range)
{
    const double raw = range / 4.0;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double factor : {1.0, 2.0, 2.5, 5.0, 10.0}) {
        if (factor * power >= raw)
            return factor * power;
    }
    return 10.0 * power;
}

} // namespace

double roundedRangeKPa(double atLeastKPa, Unit unit)
{
    const double wanted = fromKPa(std::max(atLeastKPa, 1e-6), unit);
    const double power = std::pow(10.0, std::floor(std::log10(wanted)));
    for (const double factor : {1.0, 2.0, 5.0, 10.0}) {
        if (factor * power >= wanted * (1.0 - 1e-9))
            return toKPa(factor * power, unit);
    }
    return toKPa(10.0 * power, unit);
}

LiveBars::LiveBars(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(false);
}

double LiveBars::automaticRange() const
{
    double largest = 2.0 * tolerance;
    for (const LiveBar &bar : shown) {
        if (std::isfinite(bar.differenceKPa))
            largest = std::max(largest, 1.1 * std::fabs(bar.differenceKPa));
    }
    return roundedRangeKPa(largest, unit);
}

void LiveBars::setBars(const std::vector<LiveBar> &bars, double toleranceKPa)
{
    bool same = bars.size() == shown.size() && toleranceKPa == tolerance;
    for (std::size_t i = 0; same && i < bars.size(); ++i) {
        // What the eye can tell apart: the value as written.
        same = bars[i].label == shown[i].label
            && formatNumber(bars[i].differenceKPa, unit) == formatNumber(shown[i].differenceKPa, unit)
            && bars[i].withinBand == shown[i].withinBand;
    }
    if (same)
        return;
    shown = bars;
    tolerance = toleranceKPa;
    shownRange = fixedRange ? *fixedRange : automaticRange();
    update();
}

void LiveBars::setUnit(Unit newUnit)
{
    unit = newUnit;
    shownRange = fixedRange ? *fixedRange : automaticRange();
    update();
}

void LiveBars::setFixedRange(std::optional<double> rangeKPa)
{
    fixedRange = rangeKPa;
    shownRange = fixedRange ? *fixedRange : automaticRange();
    update();
}

void LiveBars::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QFontMetrics metrics(font());
    const int scaleWidth = metrics.horizontalAdvance(QStringLiteral("-000.00 mmHg")) + 8;
    const int labelHeight = metrics.height() + 6;
    const QRect plot(scaleWidth, labelHeight, width() - scaleWidth - 8, height() - 2 * labelHeight);
    if (plot.width() < 10 || plot.height() < 10)
        return;
    const double range = std::max(shownRange, 1e-9);
    const auto yOf = [&](double kPa) {
        const double clamped = std::clamp(kPa, -range, range);
        return plot.center().y() - clamped / range * (plot.height() / 2.0);
    };

    // The tolerance band, across every bar.
    const double bandTop = yOf(tolerance), bandBottom = yOf(-tolerance);
    painter.fillRect(QRectF(plot.left(), bandTop, plot.width(), bandBottom - bandTop), kBand);
    painter.setPen(QPen(withinToleranceColour(), 1, Qt::DashLine));
    painter.drawLine(QPointF(plot.left(), bandTop), QPointF(plot.right(), bandTop));
    painter.drawLine(QPointF(plot.left(), bandBottom), QPointF(plot.right(), bandBottom));

    // The scale, in the unit shown.
    const double rangeInUnit = fromKPa(range, unit);
    const double step = tickStep(rangeInUnit);
    painter.setPen(palette().color(QPalette::Text));
    for (double v = -std::floor(rangeInUnit / step) * step; v <= rangeInUnit * (1 + 1e-9);
         v += step) {
        const double y = yOf(toKPa(v, unit));
        painter.drawLine(QPointF(plot.left() - 4, y), QPointF(plot.left(), y));
        const QString text = std::fabs(v) < step * 1e-6
            ? QStringLiteral("0")
            : formatNumber(toKPa(v, unit), unit, QLocale());
        painter.drawText(QRectF(0, y - labelHeight / 2.0, scaleWidth - 6, labelHeight),
                         Qt::AlignRight | Qt::AlignVCenter, text);
    }
    painter.drawText(QRect(0, 0, scaleWidth, labelHeight), Qt::AlignLeft | Qt::AlignVCenter,
                     unitSymbol(unit));
    painter.drawLine(QPointF(plot.left(), plot.top()), QPointF(plot.left(), plot.bottom()));
    painter.setPen(QPen(palette().color(QPalette::Text), 2));
    painter.drawLine(QPointF(plot.left(), yOf(0)), QPointF(plot.right(), yOf(0)));

    if (shown.empty())
        return;
    const double slot = double(plot.width()) / double(shown.size());
    const double barWidth = std::min(slot * 0.55, 160.0);
    QFont bold = font();
    bold.setBold(true);
    for (std::size_t i = 0; i < shown.size(); ++i) {
        const LiveBar &bar = shown[i];
        const double centre = plot.left() + slot * (double(i) + 0.5);
        const QRectF labelRect(centre - slot / 2, plot.bottom() + 2, slot, labelHeight);
        painter.setFont(bold);
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(labelRect, Qt::AlignCenter,
                         bar.isReference ? tr("%1 (reference)").arg(bar.label) : bar.label);
        painter.setFont(font());
        if (bar.isReference) {
            painter.setPen(QPen(palette().color(QPalette::Text), 4));
            painter.drawLine(QPointF(centre - barWidth / 2, yOf(0)),
                             QPointF(centre + barWidth / 2, yOf(0)));
            continue;
        }
        if (!std::isfinite(bar.differenceKPa)) {
            painter.drawText(QRectF(centre - slot / 2, plot.top(), slot, labelHeight),
                             Qt::AlignCenter, QStringLiteral("—"));
            continue;
        }
        const double top = yOf(std::max(bar.differenceKPa, 0.0));
        const double bottom = yOf(std::min(bar.differenceKPa, 0.0));
        const QColor colour = bar.withinBand ? withinToleranceColour() : outsideToleranceColour();
        painter.fillRect(QRectF(centre - barWidth / 2, top, barWidth, std::max(bottom - top, 2.0)),
                         colour);
        // A value beyond the scale: an arrow at that end.
        if (std::fabs(bar.differenceKPa) > range) {
            const double tip = bar.differenceKPa > 0 ? plot.top() : plot.bottom();
            const double base = bar.differenceKPa > 0 ? plot.top() + 14 : plot.bottom() - 14;
            QPainterPath arrow;
            arrow.moveTo(centre, tip);
            arrow.lineTo(centre - barWidth / 2, base);
            arrow.lineTo(centre + barWidth / 2, base);
            arrow.closeSubpath();
            painter.fillPath(arrow, colour.darker(140));
        }
        const double textY = bar.differenceKPa >= 0 ? top - labelHeight : bottom;
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(QRectF(centre - slot / 2,
                                std::clamp(textY, double(plot.top()),
                                           double(plot.bottom() - labelHeight)),
                                slot, labelHeight),
                         Qt::AlignCenter, formatValue(bar.differenceKPa, unit, QLocale()));
    }
}
