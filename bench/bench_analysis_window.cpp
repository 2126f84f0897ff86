// Opening and drawing a one-hour session in aspirello-analisi's window:
// 360 000 readings at a 10 ms poll period from the simulated engine, written
// with the gauge's own log-line function, opened in the window (read,
// analysed, reduced per pixel column) and painted; then zoomed in, zoomed out
// step by step with the wheel and shown whole again, each with its repaint.
// Prints medians against the 2 s budget for opening and drawing.
#include "analysiswindow.h"
#include "measurementlog.h"
#include "onehourlog.h"
#include "sessionchart.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QWheelEvent>
#include <QtCharts/QChartView>

#include <algorithm>
#include <cstdio>
#include <vector>


namespace {

constexpr double kBudgetMs = 2000.0;
constexpr int kRuns = 3;

double elapsedMs(const QElapsedTimer &clock)
{
    return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

// Lets the chart re-reduce (it does so on the next turn of the event loop)
// and paints the whole window, as the screen would.
void settleAndPaint(QWidget &window)
{
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    (void)window.grab();
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    const OneHourLogFile oneHour;
    if (oneHour.path.isEmpty())
        return 1;
    const QString &path = oneHour.path;
    const double megabytes = oneHour.megabytes;

    std::vector<double> openMs, drawMs, zoomInMs, wheelMs, wholeMs;
    int drawnPoints = 0;
    for (int run = 0; run < kRuns; ++run) {
        AnalysisWindow window(oneHour.folder.filePath(QStringLiteral("calibration.json")));
        window.resize(1400, 1000);
        window.show();
        settleAndPaint(window);

        QElapsedTimer clock;
        clock.start();
        if (!window.openLogs({path}))
            return 1;
        openMs.push_back(elapsedMs(clock));
        settleAndPaint(window);
        drawMs.push_back(elapsedMs(clock));

        auto *view = window.findChild<QChartView *>(QStringLiteral("chartPressures"));
        auto *chart = static_cast<SessionChart *>(view->chart());
        drawnPoints = 0;
        for (int c = 0; c < chart->curveCount(); ++c)
            drawnPoints += chart->drawnPointCount(c);

        clock.restart();
        chart->setVisibleRange(1800.0, 1810.0);
        settleAndPaint(window);
        zoomInMs.push_back(elapsedMs(clock));

        // Ten wheel notches out, each painted before the next.
        std::vector<double> notches;
        for (int notch = 0; notch < 10; ++notch) {
            clock.restart();
            const QPointF at(view->width() / 2.0, view->height() / 2.0);
            QWheelEvent wheel(at, view->mapToGlobal(at.toPoint()), QPoint(), QPoint(0, -240),
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(view->viewport(), &wheel);
            settleAndPaint(window);
            notches.push_back(elapsedMs(clock));
        }
        wheelMs.push_back(*std::max_element(notches.begin(), notches.end()));

        clock.restart();
        chart->showAll();
        settleAndPaint(window);
        wholeMs.push_back(elapsedMs(clock));
    }

    std::printf("aspirello-analisi window, one-hour log (%d readings, %.1f MB), median of %d runs\n",
                kOneHourReadings, megabytes, kRuns);
    std::printf("  open (read, analyse, reduce):  %7.1f ms\n", median(openMs));
    std::printf("  open and first paint:          %7.1f ms  = %.3f of the %.0f ms budget (%d points "
                "drawn "
                "for 8 curves)\n",
                median(drawMs), median(drawMs) / kBudgetMs, kBudgetMs, drawnPoints);
    std::printf("  zoom to 10 s and repaint:      %7.1f ms\n", median(zoomInMs));
    std::printf("  slowest wheel notch out:       %7.1f ms\n", median(wheelMs));
    std::printf("  whole session again:           %7.1f ms\n", median(wholeMs));
    return 0;
}
