// The reading pipeline: one accepted frame onto every display, the running
// averages and the log.
#include "mainwindow.h"

#include "displayrefresh.h"
#include "form/mainwindowform.h"

#include <QComboBox>
#include <QLCDNumber>
#include <QProgressBar>

namespace {

void showOnDisplay(DisplayRefresh &refresh, QLCDNumber *display, float value)
{
    refresh.show(display, static_cast<double>(value));
}

void showOnDisplays(DisplayRefresh &refresh, const std::array<QLCDNumber *, kCylinderCount> &displays,
                    const CylinderValues &values)
{
    for (std::size_t i = 0; i < displays.size(); ++i)
        showOnDisplay(refresh, displays[i], values[i]);
}

// A value beyond the bar's range pegs it at that end; a value that is not
// finite leaves the bar as it is, and such a bar need not be held back for
// repainting either.
void showOnBars(DisplayRefresh &refresh, const std::array<QProgressBar *, kCylinderCount> &bars,
                const CylinderValues &values)
{
    for (std::size_t i = 0; i < bars.size(); ++i) {
        QProgressBar *bar = bars[i];
        const std::optional<int> value = barValue(values[i], bar->minimum(), bar->maximum());
        if (!value || *value == bar->value())
            continue;
        refresh.aboutToChange(bar);
        bar->setValue(*value);
    }
}

} // namespace

void MainWindow::runReadingPipeline(const MeasurementFrame &frame)
{
    const CylinderValues &readings = frame.readings;
    showOnDisplays(*displayRefresh, {form->A, form->B, form->C, form->D}, readings);
    showOnBars(*displayRefresh, {form->BA, form->BB, form->BC, form->BAD}, readings);
    showOnDisplay(*displayRefresh, form->Tardu, frame.cycleTime);

    const int reference = form->Scegli->currentIndex();
    showOnDisplays(*displayRefresh, {form->AD, form->BD, form->CD, form->DD},
                   differencesFromReference(readings, reference));

    for (std::size_t i = 0; i < cylinderAverages.size(); ++i)
        cylinderAverages[i].push(readings[i]);
    const CylinderValues averages = RunningAverage::means(cylinderAverages);

    showOnBars(*displayRefresh, {form->BAM, form->BBM, form->BCM, form->BDM}, averages);
    showOnDisplays(*displayRefresh, {form->AM, form->BM, form->CM, form->DM}, averages);
    showOnDisplays(*displayRefresh, {form->AMD, form->BMD, form->CMD, form->DMD},
                   differencesFromReference(averages, reference));

    displayRefresh->frameShown();

    appendLogLine(readings[0], readings[1], readings[2], readings[3], averages[0], averages[1],
                  averages[2], averages[3]);
}

void MainWindow::on_Media_valueChanged(int arg1)
{
    averageLength = arg1;
    for (RunningAverage &average : cylinderAverages)
        average.setCapacity(averageLength);
}
