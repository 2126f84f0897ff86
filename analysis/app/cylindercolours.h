#ifndef CYLINDERCOLOURS_H
#define CYLINDERCOLOURS_H

#include <QColor>

// The one colour of each cylinder (index 0 to 3 for cylinders 1 to 4), used by
// every graph, table and report so that a cylinder is recognised at a glance.
// The four hues stay distinct for the common forms of colour blindness.
QColor cylinderColour(int cylinderIndex);

// The lighter shade of the same hue, for the raw readings drawn beneath the
// averages.
QColor cylinderRawColour(int cylinderIndex);

// The live verdict's colours: a difference within the tolerance, and one
// outside it.
QColor withinToleranceColour();
QColor outsideToleranceColour();

#endif // CYLINDERCOLOURS_H
