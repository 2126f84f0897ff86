#ifndef SESSIONCHART_H
#define SESSIONCHART_H

#include <QColor>
#include <QString>
#include <QVector>
#include <QtCharts/QAreaSeries>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>

#include <utility>
#include <vector>

// Qt 5 keeps the chart classes in a namespace of their own, Qt 6 does not.
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
QT_CHARTS_USE_NAMESPACE
#endif

// One curve of a session graph: a value per reading, drawn in one colour.
// The values are not copied (a long session's would take several times the
// memory of the log): the curve refers to a column of the session or a series
// of its analysis, which the chart's owner keeps until it sets new curves.
struct ChartCurve
{
    QString name;
    QColor colour;
    qreal width = 1.0;
    bool inLegend = true;
    const std::vector<float> *values = nullptr;
    double scale = 1.0; // from the stored kPa to the unit shown
};

// A y axis from low to high rounded outwards to a step of 1, 2 or 5 times a
// power of ten, with a tick on every step. -1..1 for an empty or bad range.
struct NiceAxis
{
    double low = -1.0;
    double high = 1.0;
    int ticks = 5;
};
NiceAxis niceAxis(double low, double high);

// A graph of a whole session over the reading number (or seconds). It never
// hands the chart every reading: after each change of the visible range or of
// the plot's size it reduces each curve to the readings one pixel column can
// show (first, lowest, highest, last), so that an hour of readings draws and
// zooms at once. The y axis follows the visible part of the curves.
class SessionChart : public QChart
{
    Q_OBJECT
public:
    explicit SessionChart(QGraphicsItem *parent = nullptr);

    // Replaces the curves; xStep is the distance between two readings on the x
    // axis (1 for reading numbers, the poll period in seconds otherwise).
    // Keeps the visible range when keepRange is set and the length is the
    // same, otherwise shows the whole session.
    void setCurves(QVector<ChartCurve> curves, double xStep, bool keepRange = false);
    // Forgets the curves' values at once, without redrawing: to be called
    // before what they refer to goes, when anything could redraw the chart
    // before its next curves are set. The lines drawn stay until then.
    void forgetCurves();
    void setAxisTitles(const QString &xTitle, const QString &yTitle);
    // Decimals of the y axis labels; the x axis shows whole readings or
    // tenths of a second.
    void setValueDecimals(int decimals);
    // A shaded band between low and high across the whole session (the
    // tolerance around the reference); cleared when low > high.
    void setBand(double low, double high, const QString &name);
    void clearBand();
    // Stretches of readings [first, first + length) marked by a strip along
    // the bottom of the plot (where all four were in sync); an empty list
    // removes the strip.
    void setMarkedStretches(std::vector<std::pair<std::size_t, std::size_t>> stretches,
                            const QString &name);
    // Corner points of the strip as drawn now (for tests).
    int markedPointCount() const;

    int curveCount() const { return int(curveData.size()); }
    double sessionEnd() const;
    double visibleMin() const;
    double visibleMax() const;
    // Points currently handed to the chart for curve i (after reduction).
    int drawnPointCount(int curve) const;

    void showAll();
    void setVisibleRange(double xMin, double xMax);
    // Zoom about x (factor > 1 zooms in) and shift by a fraction of the
    // visible width, both kept within the session.
    void zoomAbout(double x, double factor);
    void panBy(double fraction);

    // Re-reduces the curves for the current range and plot width now (the
    // chart does this by itself on the next turn of the event loop; a report
    // rendered without one calls it directly).
    void refresh();

signals:
    void visibleRangeChanged(double xMin, double xMax);

private:
    void scheduleRefresh();
    void setAxisRange(double xMin, double xMax);
    void clampRange(double &xMin, double &xMax) const;
    void drawStrip(double xMin, double xMax, int columns, double yLow, double yHigh);
    std::size_t longestCurve() const;

    QValueAxis *axisXValue;
    QValueAxis *axisYValue;
    QVector<ChartCurve> curveData;
    std::size_t curveLength = 0; // of the longest curve, as set (kept when forgotten)
    QVector<QLineSeries *> lines;
    QAreaSeries *band = nullptr;
    QAreaSeries *strip = nullptr;
    QLineSeries *stripTop = nullptr;
    QLineSeries *stripBottom = nullptr;
    std::vector<std::pair<std::size_t, std::size_t>> marked;
    double bandLow = 0.0;
    double bandHigh = 0.0;
    double step = 1.0;
    int yDecimals = 2;
    bool refreshPending = false;
    bool settingRange = false;
};

// The graph on screen: a drag zooms into a stretch, the wheel zooms about the
// pointer, the middle button (or Shift with the left) drags the graph
// sideways, the right button zooms out, a double click shows the whole
// session; +, -, the arrow keys and Home do the same from the keyboard.
class SessionChartView : public QChartView
{
    Q_OBJECT
public:
    explicit SessionChartView(SessionChart *chart, QWidget *parent = nullptr);
    SessionChart *sessionChart() const { return graph; }

protected:
    void wheelEvent(QWheelEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    double xAtViewPosition(const QPointF &position) const;

    SessionChart *graph;
    bool panning = false;
    QPointF panOrigin;
};

#endif // SESSIONCHART_H
