#include "sessionchart.h"

#include "columnreduction.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QWheelEvent>
#include <QtCharts/QAreaSeries>
#include <QtCharts/QLegendMarker>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>

#include <algorithm>
#include <cmath>
#include <limits>


namespace {

// The narrowest stretch a zoom may show, in readings.
constexpr double minimumVisibleReadings = 4.0;

QPointF mousePosition(const QMouseEvent *event)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    return event->position();
#else
    return event->localPos();
#endif
}

} // namespace

NiceAxis niceAxis(double low, double high)
{
    NiceAxis axis;
    if (!std::isfinite(low) || !std::isfinite(high) || !(low < high))
        return axis;
    // A step of 1, 2 or 5 times a power of ten giving about six ticks.
    const double rough = (high - low) / 5.0;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    double step = power;
    for (double multiple : {1.0, 2.0, 5.0, 10.0}) {
        step = multiple * power;
        if (rough <= step)
            break;
    }
    if (!(step > 0.0) || !std::isfinite(step))
        return axis; // a range too narrow for a double's powers of ten
    axis.low = std::floor(low / step) * step;
    axis.high = std::ceil(high / step) * step;
    const double ticks = std::round((axis.high - axis.low) / step) + 1.0;
    axis.ticks = std::isfinite(ticks) ? int(std::clamp(ticks, 2.0, 12.0)) : 5;
    return axis;
}

SessionChart::SessionChart(QGraphicsItem *parent)
    : QChart(parent)
    , axisXValue(new QValueAxis(this))
    , axisYValue(new QValueAxis(this))
{
    setAnimationOptions(QChart::NoAnimation);
    // Axis numbers with the user's decimal separator, like every other number.
    setLocalizeNumbers(true);
    legend()->setAlignment(Qt::AlignBottom);
    addAxis(axisXValue, Qt::AlignBottom);
    addAxis(axisYValue, Qt::AlignLeft);
    axisXValue->setLabelFormat(QStringLiteral("%.0f"));
    axisYValue->setLabelFormat(QStringLiteral("%.2f"));
    axisXValue->setRange(0.0, 1.0);
    axisYValue->setRange(-1.0, 1.0);
    connect(axisXValue, &QValueAxis::rangeChanged, this, [this](qreal xMin, qreal xMax) {
        if (settingRange)
            return;
        scheduleRefresh();
        emit visibleRangeChanged(xMin, xMax);
    });
    connect(this, &QChart::plotAreaChanged, this, [this] { scheduleRefresh(); });
}

void SessionChart::setCurves(QVector<ChartCurve> curves, double xStep, bool keepRange)
{
    const std::size_t oldLength = longestCurve();
    const double oldStep = step;
    curveData = std::move(curves);
    curveLength = 0;
    for (const ChartCurve &curve : qAsConst(curveData))
        curveLength = std::max(curveLength, curve.values ? curve.values->size() : std::size_t(0));
    step = (xStep > 0.0 && std::isfinite(xStep)) ? xStep : 1.0;

    while (lines.size() > curveData.size()) {
        QLineSeries *line = lines.takeLast();
        removeSeries(line);
        delete line;
    }
    while (lines.size() < curveData.size()) {
        auto *line = new QLineSeries(this);
        addSeries(line);
        line->attachAxis(axisXValue);
        line->attachAxis(axisYValue);
        lines.append(line);
    }
    for (int i = 0; i < curveData.size(); ++i) {
        QPen pen(curveData[i].colour);
        pen.setWidthF(curveData[i].width);
        lines[i]->setPen(pen);
        lines[i]->setName(curveData[i].name);
        const auto markers = legend()->markers(lines[i]);
        for (QLegendMarker *marker : markers)
            marker->setVisible(curveData[i].inLegend);
    }

    if (band) { // the band spans the session: redraw it for the new length
        const QString name = band->name();
        setBand(bandLow, bandHigh, name);
    }
    if (keepRange && oldLength == longestCurve() && oldStep == step)
        refresh();
    else
        showAll();
}

void SessionChart::forgetCurves()
{
    for (ChartCurve &curve : curveData)
        curve.values = nullptr;
}

void SessionChart::setAxisTitles(const QString &xTitle, const QString &yTitle)
{
    axisXValue->setTitleText(xTitle);
    axisYValue->setTitleText(yTitle);
}

void SessionChart::setValueDecimals(int decimals)
{
    yDecimals = std::clamp(decimals, 0, 6);
    axisYValue->setLabelFormat(QStringLiteral("%.%1f").arg(yDecimals));
}

void SessionChart::setBand(double low, double high, const QString &name)
{
    clearBand();
    if (!(low <= high) || !std::isfinite(low) || !std::isfinite(high))
        return;
    bandLow = low;
    bandHigh = high;
    const double end = std::max(sessionEnd(), step);
    auto *upper = new QLineSeries;
    auto *lower = new QLineSeries;
    upper->append(0.0, high);
    upper->append(end, high);
    lower->append(0.0, low);
    lower->append(end, low);
    band = new QAreaSeries(upper, lower);
    upper->setParent(band); // deleted with the band
    lower->setParent(band);
    band->setName(name);
    QColor fill(0x4c, 0xaf, 0x50, 60);
    band->setBrush(fill);
    QPen edge(QColor(0x38, 0x8e, 0x3c, 160));
    edge.setStyle(Qt::DashLine);
    band->setPen(edge);
    // Beneath the curves: the series drawn first lies lowest.
    const QList<QAbstractSeries *> current = series();
    for (QAbstractSeries *s : current)
        removeSeries(s);
    addSeries(band);
    band->attachAxis(axisXValue);
    band->attachAxis(axisYValue);
    const auto bandMarkers = legend()->markers(band);
    for (QLegendMarker *marker : bandMarkers)
        marker->setVisible(false); // the title names the band
    for (QAbstractSeries *s : current) {
        addSeries(s);
        s->attachAxis(axisXValue);
        s->attachAxis(axisYValue);
    }
    for (int i = 0; i < curveData.size() && i < lines.size(); ++i) {
        const auto markers = legend()->markers(lines[i]);
        for (QLegendMarker *marker : markers)
            marker->setVisible(curveData[i].inLegend);
    }
    scheduleRefresh();
}

void SessionChart::clearBand()
{
    if (!band)
        return;
    removeSeries(band);
    delete band;
    band = nullptr;
}

void SessionChart::setMarkedStretches(std::vector<std::pair<std::size_t, std::size_t>> stretches,
                                      const QString &name)
{
    marked = std::move(stretches);
    if (marked.empty()) {
        if (strip) {
            removeSeries(strip);
            delete strip;
            strip = nullptr;
            stripTop = stripBottom = nullptr;
        }
        return;
    }
    if (!strip) {
        stripTop = new QLineSeries;
        stripBottom = new QLineSeries;
        strip = new QAreaSeries(stripTop, stripBottom);
        stripTop->setParent(strip);
        stripBottom->setParent(strip);
        strip->setBrush(QColor(0x2e, 0x7d, 0x32, 170));
        strip->setPen(Qt::NoPen);
        addSeries(strip);
        strip->attachAxis(axisXValue);
        strip->attachAxis(axisYValue);
    }
    strip->setName(name);
    scheduleRefresh();
}

int SessionChart::markedPointCount() const
{
    return stripTop ? stripTop->count() : 0;
}

void SessionChart::drawStrip(double xMin, double xMax, int columns, double yLow, double yHigh)
{
    if (!strip)
        return;
    // Stretches closer than a column to each other are drawn as one, so
    // that the strip never has more corners than the plot has columns.
    const double gap = (xMax - xMin) / std::max(1, columns);
    QVector<QPointF> top;
    double start = 0.0, end = 0.0;
    bool open = false;
    const auto close = [&] {
        top << QPointF(start, yLow) << QPointF(start, yHigh) << QPointF(end, yHigh)
            << QPointF(end, yLow);
    };
    for (const auto &[first, length] : marked) {
        double from = double(first) * step;
        double to = double(first + length - (length > 0 ? 1 : 0)) * step;
        if (to < xMin || from > xMax || length == 0)
            continue;
        from = std::max(from, xMin);
        to = std::min(std::max(to, from + gap / 2), xMax);
        if (open && from - end <= gap) {
            end = std::max(end, to);
            continue;
        }
        if (open)
            close();
        start = from;
        end = to;
        open = true;
    }
    if (open)
        close();
    stripTop->replace(top);
    stripBottom->replace(QVector<QPointF>{QPointF(xMin, yLow), QPointF(xMax, yLow)});
}

std::size_t SessionChart::longestCurve() const
{
    return curveLength;
}

double SessionChart::sessionEnd() const
{
    const std::size_t count = longestCurve();
    return count > 1 ? double(count - 1) * step : 0.0;
}

double SessionChart::visibleMin() const
{
    return axisXValue->min();
}
double SessionChart::visibleMax() const
{
    return axisXValue->max();
}

int SessionChart::drawnPointCount(int curve) const
{
    return (curve >= 0 && curve < lines.size()) ? lines[curve]->count() : 0;
}

void SessionChart::clampRange(double &xMin, double &xMax) const
{
    const double end = std::max(sessionEnd(), step);
    const double narrowest = std::min(end, minimumVisibleReadings * step);
    double width = std::clamp(xMax - xMin, narrowest, end);
    if (!std::isfinite(width))
        width = end;
    if (!std::isfinite(xMin))
        xMin = 0.0;
    xMin = std::clamp(xMin, 0.0, end - width);
    xMax = xMin + width;
}

void SessionChart::showAll()
{
    setVisibleRange(0.0, std::max(sessionEnd(), step));
}

void SessionChart::setVisibleRange(double xMin, double xMax)
{
    clampRange(xMin, xMax);
    setAxisRange(xMin, xMax);
    refresh();
}

void SessionChart::setAxisRange(double xMin, double xMax)
{
    // A fixed number of ticks while the range changes: the tick interval of
    // a narrow range would put countless ticks on a wide one. refresh() sets
    // the interval for the new range.
    axisXValue->setTickType(QValueAxis::TicksFixed);
    axisXValue->setRange(xMin, xMax);
}

void SessionChart::zoomAbout(double x, double factor)
{
    if (!(factor > 0.0) || !std::isfinite(factor) || !std::isfinite(x))
        return;
    const double xMin = axisXValue->min();
    const double xMax = axisXValue->max();
    const double newMin = x - (x - xMin) / factor;
    const double newMax = x + (xMax - x) / factor;
    setVisibleRange(newMin, newMax);
}

void SessionChart::panBy(double fraction)
{
    if (!std::isfinite(fraction))
        return;
    const double shift = (axisXValue->max() - axisXValue->min()) * fraction;
    setVisibleRange(axisXValue->min() + shift, axisXValue->max() + shift);
}

void SessionChart::scheduleRefresh()
{
    if (refreshPending)
        return;
    refreshPending = true;
    QTimer::singleShot(0, this, [this] {
        if (refreshPending)
            refresh();
    });
}

void SessionChart::refresh()
{
    refreshPending = false;
    double xMin = axisXValue->min();
    double xMax = axisXValue->max();
    const double oldMin = xMin, oldMax = xMax;
    clampRange(xMin, xMax);
    if (xMin != oldMin || xMax != oldMax) {
        // A zoom out past the session's ends (the right button) comes back
        // to the session.
        settingRange = true;
        setAxisRange(xMin, xMax);
        settingRange = false;
        emit visibleRangeChanged(xMin, xMax);
    }

    // Ticks on round numbers of readings or seconds, wherever the zoom is.
    const NiceAxis x = niceAxis(xMin, xMax);
    const double tickStep = x.ticks > 1 ? (x.high - x.low) / (x.ticks - 1) : 0.0;
    if (tickStep > 0.0) {
        axisXValue->setTickType(QValueAxis::TicksDynamic);
        axisXValue->setTickAnchor(0.0);
        axisXValue->setTickInterval(std::max(tickStep, step));
        const int decimals = tickStep >= 1.0 ? 0 : int(std::ceil(-std::log10(tickStep) - 1e-9));
        axisXValue->setLabelFormat(QStringLiteral("%.%1f").arg(std::clamp(decimals, 0, 6)));
    }

    const int columns = std::max(1, int(std::lround(std::clamp(plotArea().width(), 1.0, 20000.0))));
    double low = std::numeric_limits<double>::infinity();
    double high = -std::numeric_limits<double>::infinity();
    for (int i = 0; i < curveData.size(); ++i) {
        const ChartCurve &curve = curveData[i];
        const QVector<QPointF> points = curve.values
            ? reduceToColumns(*curve.values, curve.scale, step, xMin, xMax, columns)
            : QVector<QPointF>();
        for (const QPointF &point : points) {
            if (point.x() < xMin || point.x() > xMax)
                continue;
            low = std::min(low, point.y());
            high = std::max(high, point.y());
        }
        lines[i]->replace(points);
    }
    if (band) {
        low = std::min(low, bandLow);
        high = std::max(high, bandHigh);
    }
    if (!(low <= high)) {
        low = -1.0;
        high = 1.0;
    }
    double margin = (high - low) * 0.04;
    if (!(margin > 0.0))
        margin = std::max(1.0, std::abs(high) * 0.05);
    double bottom = low - margin;
    if (strip) // room for the strip beneath the curves
        bottom -= (high - low + 2 * margin) * 0.06;
    const NiceAxis y = niceAxis(bottom, high + margin);
    axisYValue->setRange(y.low, y.high);
    axisYValue->setTickCount(y.ticks);
    drawStrip(xMin, xMax, columns, y.low, y.low + (y.high - y.low) * 0.03);
}

SessionChartView::SessionChartView(SessionChart *chart, QWidget *parent)
    : QChartView(chart, parent)
    , graph(chart)
{
    setRubberBand(QChartView::HorizontalRubberBand);
    setRenderHint(QPainter::Antialiasing, true);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(320, 200);
}

double SessionChartView::xAtViewPosition(const QPointF &position) const
{
    const QPointF inChart = graph->mapFromScene(mapToScene(position.toPoint()));
    const QRectF area = graph->plotArea();
    if (area.width() <= 0.0)
        return graph->visibleMin();
    const double fraction = std::clamp((inChart.x() - area.left()) / area.width(), 0.0, 1.0);
    return graph->visibleMin() + fraction * (graph->visibleMax() - graph->visibleMin());
}

void SessionChartView::wheelEvent(QWheelEvent *event)
{
    const int delta = event->angleDelta().y();
    if (delta == 0) {
        event->ignore();
        return;
    }
    const double factor = std::pow(1.2, double(delta) / 120.0);
    graph->zoomAbout(xAtViewPosition(event->position()), factor);
    event->accept();
}

void SessionChartView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::MiddleButton
        || (event->button() == Qt::LeftButton && (event->modifiers() & Qt::ShiftModifier))) {
        panning = true;
        panOrigin = mousePosition(event);
        setCursor(Qt::ClosedHandCursor);
        event->accept();
        return;
    }
    QChartView::mousePressEvent(event);
}

void SessionChartView::mouseMoveEvent(QMouseEvent *event)
{
    if (panning) {
        const QPointF position = mousePosition(event);
        const double width = graph->plotArea().width();
        if (width > 0.0)
            graph->panBy(-(position.x() - panOrigin.x()) / width);
        panOrigin = position;
        event->accept();
        return;
    }
    QChartView::mouseMoveEvent(event);
}

void SessionChartView::mouseReleaseEvent(QMouseEvent *event)
{
    if (panning) {
        panning = false;
        unsetCursor();
        event->accept();
        return;
    }
    QChartView::mouseReleaseEvent(event);
}

void SessionChartView::mouseDoubleClickEvent(QMouseEvent *event)
{
    graph->showAll();
    event->accept();
}

void SessionChartView::keyPressEvent(QKeyEvent *event)
{
    const double centre = (graph->visibleMin() + graph->visibleMax()) / 2.0;
    switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        graph->zoomAbout(centre, 2.0);
        break;
    case Qt::Key_Minus:
        graph->zoomAbout(centre, 0.5);
        break;
    case Qt::Key_Left:
        graph->panBy(-0.1);
        break;
    case Qt::Key_Right:
        graph->panBy(0.1);
        break;
    case Qt::Key_Home:
        graph->showAll();
        break;
    default:
        QChartView::keyPressEvent(event);
        return;
    }
    event->accept();
}
