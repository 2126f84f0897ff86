// Opening a one-hour session in aspirello-analisi: 360 000 readings at a
// 10 ms poll period, written line by line with the gauge's own log-line
// function from the simulated engine, then read back, analysed and reduced
// to one min/max pair per pixel column for all eight series. Prints the
// medians of several runs against the 2 s the whole opening (drawing
// included, which the window adds) may take.
#include "logreader.h"
#include "measurementlog.h"
#include "onehourlog.h"
#include "columnreduction.h"
#include "sessionanalysis.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr double kBudgetMs = 2000.0;
constexpr std::size_t kChartColumns = 1400;
constexpr int kRuns = 5;

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const OneHourLogFile oneHour;
    if (oneHour.path.isEmpty())
        return 1;
    const QString &path = oneHour.path;
    const double megabytes = oneHour.megabytes;

    std::vector<double> readMs, analyseMs, reduceMs, totalMs;
    std::size_t readings = 0;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer clock;
        clock.start();
        const ReadResult read = readLogFile(path, BadLinePolicy::Stop);
        const double afterRead = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        if (!read.ok()) {
            std::fprintf(stderr, "%s\n", qPrintable(read.errorText));
            return 1;
        }
        readings = read.session.readingCount();
        AnalysisSettings settings;
        settings.pollPeriodSeconds = kOneHourPollPeriod;
        const SessionAnalysis analysis = analyseSession(read.session, settings);
        const double afterAnalysis = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        // As the graph does: each series widened to double, then reduced to
        // the points that one pixel column can show.
        std::size_t points = 0;
        for (const std::vector<float> &column : read.session.columns) {
            const std::vector<double> values(column.begin(), column.end());
            points +=
                reduceToColumns(values, 1.0, 0.0, double(values.size()), int(kChartColumns)).size();
        }
        const double afterReduce = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        if (points == 0 || points > 8 * (4 * kChartColumns + 2) || analysis.readingCount != readings)
            return 1;
        readMs.push_back(afterRead);
        analyseMs.push_back(afterAnalysis - afterRead);
        reduceMs.push_back(afterReduce - afterAnalysis);
        totalMs.push_back(afterReduce);
    }

    std::printf("opening a one-hour log in aspirello-analisi (%zu readings, %.1f MB), median of %d "
                "runs\n",
                readings, megabytes, kRuns);
    std::printf("  read and parse:        %7.1f ms\n", median(readMs));
    std::printf("  analyse (sync, stats): %7.1f ms\n", median(analyseMs));
    std::printf("  min/max per column:    %7.1f ms  (8 series, %zu columns)\n", median(reduceMs),
                kChartColumns);
    std::printf("  total:                 %7.1f ms  = %.3f of the %.0f ms budget for opening and "
                "drawing\n",
                median(totalMs), median(totalMs) / kBudgetMs, kBudgetMs);
    return 0;
}
