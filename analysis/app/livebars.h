#ifndef LIVEBARS_H
#define LIVEBARS_H

#include "liveanalysis.h"
#include "units.h"

#include <QWidget>

#include <optional>
#include <vector>

// The live tuning bars: one per comparison, each rising or falling from the
// zero line by its difference, the tolerance band drawn across all of them,
// a scale with numbers in the unit chosen, and each bar's value written on
// it. Green within the band, red outside. The scale follows the bars
// (automatic zoom, never narrower than twice the band) or is fixed.
class LiveBars : public QWidget
{
    Q_OBJECT
public:
    explicit LiveBars(QWidget *parent = nullptr);

    // Repaints only when something shown changed.
    void setBars(const std::vector<LiveBar> &bars, double toleranceKPa);
    void setUnit(Unit unit);
    // A fixed half-range in kPa (the scale runs from -range to +range), or
    // nothing for the automatic zoom.
    void setFixedRange(std::optional<double> rangeKPa);

    // The half-range shown, kPa.
    double rangeKPa() const { return shownRange; }
    const std::vector<LiveBar> &bars() const { return shown; }
    QSize sizeHint() const override { return QSize(640, 420); }
    QSize minimumSizeHint() const override { return QSize(240, 160); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    double automaticRange() const;

    std::vector<LiveBar> shown;
    double tolerance = 1.0;
    Unit unit = Unit::KPa;
    std::optional<double> fixedRange;
    double shownRange = 2.0;
};

// A half-range that reads well: 1, 2 or 5 times a power of ten, in the unit
// shown, at least the value asked for; returned in kPa.
double roundedRangeKPa(double atLeastKPa, Unit unit);

#endif // LIVEBARS_H
