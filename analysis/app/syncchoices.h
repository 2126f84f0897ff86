#ifndef SYNCCHOICES_H
#define SYNCCHOICES_H

#include "syncanalysis.h"
#include "units.h"

#include <QString>

class QComboBox;
class QDoubleSpinBox;
class QWidget;

// The choices both windows offer for a verdict, made and read alike in
// each: the unit values are shown in, the reference cylinder and the
// tolerance. The tolerance is kept in kPa and shown in the unit chosen.
struct SyncChoices
{
    QComboBox *unit = nullptr;           // "comboUnit": every unit, by name
    QComboBox *reference = nullptr;      // "comboReference": cylinders 1 to kCylinderCount
    QDoubleSpinBox *tolerance = nullptr; // "spinTolerance", with "± " before it
    double toleranceKPa = kDefaultToleranceKPa;

    // Each makes its box in parent; cylinderCaption names a cylinder by its
    // number ("Cylinder %1").
    QComboBox *makeUnitBox(QWidget *parent);
    QComboBox *makeReferenceBox(QWidget *parent, const QString &cylinderCaption);
    QDoubleSpinBox *makeToleranceBox(QWidget *parent);

    Unit chosenUnit() const;
    // A unit that is not offered leaves the choice as it was.
    void chooseUnit(Unit chosen);
    int chosenReference() const;
    // Brought within 1..kCylinderCount.
    void chooseReference(int cylinder);

    // Shows toleranceKPa in the unit chosen: the box's decimals, range
    // (0.01 kPa, or the last decimal shown where that is more, to 100 kPa)
    // and step (0.1 kPa) follow the unit.
    void showTolerance();
    // Keeps kPa as the tolerance and puts it in the box, in the unit chosen.
    void setToleranceKPa(double kPa);
    // Takes the value in the box, in the unit chosen, as the tolerance.
    void takeShownTolerance();
};

#endif // SYNCCHOICES_H
