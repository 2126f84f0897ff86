#include "livewaveform.h"

#include "cylindercolours.h"

#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

LiveWaveform::LiveWaveform(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void LiveWaveform::addFrame(double seconds, const CylinderValues &raw)
{
    if (!times.empty() && seconds < times.back())
        clear();
    times.push_back(seconds);
    readings.push_back(raw);
    while (!times.empty() && seconds - times.front() > kSpanSeconds) {
        times.pop_front();
        readings.pop_front();
    }
    changed = true;
}

void LiveWaveform::clear()
{
    times.clear();
    readings.clear();
    changed = true;
    update();
}

void LiveWaveform::refresh()
{
    if (changed)
        update();
}

void LiveWaveform::paintEvent(QPaintEvent *)
{
    changed = false;
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    const QFontMetrics metrics(font());
    const QRect plot = rect().adjusted(metrics.horizontalAdvance(QStringLiteral("-000")) + 8, 6, -6,
                                       -metrics.height() - 4);
    if (times.size() < 2 || plot.width() < 10 || plot.height() < 10)
        return;
    double low = 0, high = 0;
    bool any = false;
    for (const CylinderValues &row : readings) {
        for (const float v : row) {
            if (!std::isfinite(v))
                continue;
            low = any ? std::min(low, double(v)) : double(v);
            high = any ? std::max(high, double(v)) : double(v);
            any = true;
        }
    }
    if (!any)
        return;
    if (high - low < 1.0) {
        const double middle = (high + low) / 2;
        low = middle - 0.5;
        high = middle + 0.5;
    }
    const double end = times.back();
    const auto xOf = [&](double t) { return plot.right() - (end - t) / kSpanSeconds * plot.width(); };
    const auto yOf = [&](double v) {
        return plot.bottom() - (v - low) / (high - low) * plot.height();
    };

    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(plot);
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(QRect(0, plot.top(), plot.left() - 4, metrics.height()), Qt::AlignRight,
                     QString::number(high, 'f', 0));
    painter.drawText(QRect(0, plot.bottom() - metrics.height(), plot.left() - 4, metrics.height()),
                     Qt::AlignRight, QString::number(low, 'f', 0));
    painter.drawText(QRect(plot.left(), plot.bottom() + 2, plot.width(), metrics.height()),
                     Qt::AlignLeft, tr("−%1 s").arg(kSpanSeconds));
    painter.drawText(QRect(plot.left(), plot.bottom() + 2, plot.width(), metrics.height()),
                     Qt::AlignRight, tr("kPa, now"));

    // Plain polylines, broken where a reading is not finite: a few hundred
    // points a curve, repainted some thirty times a second.
    QPolygonF line;
    line.reserve(int(times.size()));
    for (std::size_t c = 0; c < kCylinderCount; ++c) {
        // One-pixel lines take the painter's quick path; wider ones are stroked.
        painter.setPen(QPen(cylinderColour(int(c)), 1));
        line.clear();
        for (std::size_t i = 0; i <= times.size(); ++i) {
            if (i < times.size() && std::isfinite(readings[i][c])) {
                line << QPointF(xOf(times[i]), yOf(double(readings[i][c])));
                continue;
            }
            if (line.size() > 1)
                painter.drawPolyline(line);
            line.clear();
        }
    }
}
