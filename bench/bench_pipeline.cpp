// Cost of the reading pipeline per accepted frame: all 25 displays and bars,
// four running averages and one log line, at a short and the longest
// averaging window. Prints medians as a share of their budgets.
#include "mainwindow.h"
#include "mmapthreshold.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSpinBox>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

constexpr double kPollPeriodUs = 1000.0 * kShortestPollMs; // the fastest poll period

// What one frame may cost, by "Media".
double targetUs(int averageLength)
{
    return averageLength == kDefaultAverageLength ? 20.0 : 80.0;
}

MeasurementFrame syntheticFrame(int index)
{
    MeasurementFrame frame;
    for (int cylinder = 0; cylinder < kCylinderCount; ++cylinder) {
        const double phase = 0.37 * index + 1.57 * cylinder;
        frame.readings[static_cast<std::size_t>(cylinder)] =
            static_cast<float>(-25.0 + 2.0 * cylinder + 3.0 * std::sin(phase));
    }
    frame.cycleTime = 15.0f;
    return frame;
}

double medianMicroseconds(MainWindow &window, int averageLength, int frames)
{
    window.findChild<QSpinBox *>(QStringLiteral("Media"))->setValue(averageLength);
    // Fill the averages first so that every timed frame sums a full window.
    for (int i = 0; i < averageLength; ++i)
        window.runReadingPipeline(syntheticFrame(i));

    std::vector<double> costs;
    costs.reserve(static_cast<std::size_t>(frames));
    QElapsedTimer clock;
    for (int i = 0; i < frames; ++i) {
        const MeasurementFrame frame = syntheticFrame(i);
        clock.start();
        window.runReadingPipeline(frame);
        costs.push_back(static_cast<double>(clock.nsecsElapsed()) / 1000.0);
        if (i % 50 == 0)
            QCoreApplication::processEvents(); // let the displays repaint now and then
    }
    std::nth_element(costs.begin(), costs.begin() + frames / 2, costs.end());
    return costs[static_cast<std::size_t>(frames / 2)];
}

} // namespace

int main(int argc, char *argv[])
{
    // As the program does, before any window, so that the figures are the
    // program's: the log grows in place by mremap, not copied inside the heap.
    fixMmapThreshold();
    QApplication application(argc, argv);
    MainWindow window;
    window.show();
    QCoreApplication::processEvents();

    std::printf("reading pipeline, median cost per frame (budget: one %.0f us poll period)\n",
                kPollPeriodUs);
    for (const int averageLength : {kDefaultAverageLength, kLongestAverage}) {
        const double us = medianMicroseconds(window, averageLength, 2000);
        std::printf("  Media %5d: %8.1f us  = %.4f of the poll period, %.2f of the %.0f us target\n",
                    averageLength, us, us / kPollPeriodUs, us / targetUs(averageLength),
                    targetUs(averageLength));
    }
    return 0;
}
