#include "syncchoices.h"

#include "measure/readings.h"

#include <QComboBox>
#include <QDoubleSpinBox>

#include <algorithm>
#include <cmath>

namespace {

// The tolerances offered, and the step of the arrows, in kPa.
constexpr double kSmallestToleranceKPa = 0.01;
constexpr double kLargestToleranceKPa = 100.0;
constexpr double kToleranceStepKPa = 0.1;

} // namespace

QComboBox *SyncChoices::makeUnitBox(QWidget *parent)
{
    unit = new QComboBox(parent);
    unit->setObjectName(QStringLiteral("comboUnit"));
    for (Unit u : kAllUnits)
        unit->addItem(unitDisplayName(u), int(u));
    return unit;
}

QComboBox *SyncChoices::makeReferenceBox(QWidget *parent, const QString &cylinderCaption)
{
    reference = new QComboBox(parent);
    reference->setObjectName(QStringLiteral("comboReference"));
    for (int c = 1; c <= kCylinderCount; ++c)
        reference->addItem(cylinderCaption.arg(c), c);
    return reference;
}

QDoubleSpinBox *SyncChoices::makeToleranceBox(QWidget *parent)
{
    tolerance = new QDoubleSpinBox(parent);
    tolerance->setObjectName(QStringLiteral("spinTolerance"));
    tolerance->setPrefix(QStringLiteral("± "));
    return tolerance;
}

Unit SyncChoices::chosenUnit() const
{
    return Unit(unit->currentData().toInt());
}

void SyncChoices::chooseUnit(Unit chosen)
{
    const int index = unit->findData(int(chosen));
    if (index >= 0)
        unit->setCurrentIndex(index);
}

int SyncChoices::chosenReference() const
{
    return reference->currentData().toInt();
}

void SyncChoices::chooseReference(int cylinder)
{
    reference->setCurrentIndex(std::clamp(cylinder, 1, kCylinderCount) - 1);
}

void SyncChoices::showTolerance()
{
    const Unit shown = chosenUnit();
    const int decimals = unitDecimals(shown);
    tolerance->setDecimals(decimals);
    // No smaller than the last decimal shown: the box rounds to it, and a
    // tolerance of 0 is none.
    const double smallest =
        std::max(fromKPa(kSmallestToleranceKPa, shown), std::pow(10.0, -decimals));
    tolerance->setRange(smallest, fromKPa(kLargestToleranceKPa, shown));
    tolerance->setSingleStep(fromKPa(kToleranceStepKPa, shown));
    tolerance->setValue(fromKPa(toleranceKPa, shown));
}

void SyncChoices::setToleranceKPa(double kPa)
{
    toleranceKPa = kPa;
    tolerance->setValue(fromKPa(toleranceKPa, chosenUnit()));
}

void SyncChoices::takeShownTolerance()
{
    toleranceKPa = toKPa(tolerance->value(), chosenUnit());
}
