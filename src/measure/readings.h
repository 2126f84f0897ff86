#ifndef READINGS_H
#define READINGS_H

#include <array>
#include <optional>

// The engine's cylinders: the board measures one intake pressure each.
constexpr int kCylinderCount = 4;

// One value per cylinder, index 0 to 3 for cylinders 1 to 4.
using CylinderValues = std::array<float, kCylinderCount>;

// Each value minus the reference cylinder's, in single precision. The
// reference's own difference is exactly 0; a reference index outside 0..3
// means no reference, and then every difference is 0.
CylinderValues differencesFromReference(const CylinderValues &values, int referenceIndex);

// The value a bar gauge with the range lowest to highest receives: truncated
// toward zero, and a value beyond either end rests on that end, as a needle
// on its stop. Nothing when the value is not finite: there is no value to
// show, and the bar keeps what it shows.
std::optional<int> barValue(float value, int lowest, int highest);

// Rounds to the nearest single-precision value. Beyond the float range the
// result is the infinity of that sign, as IEEE rounding gives, without an
// out-of-range conversion.
float toSinglePrecision(double value);

#endif // READINGS_H
