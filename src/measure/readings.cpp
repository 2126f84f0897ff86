#include "measure/readings.h"

#include <cmath>
#include <limits>

CylinderValues differencesFromReference(const CylinderValues &values, int referenceIndex)
{
    CylinderValues differences{0.0f, 0.0f, 0.0f, 0.0f};
    if (referenceIndex < 0 || referenceIndex >= static_cast<int>(values.size()))
        return differences;
    const float reference = values[static_cast<std::size_t>(referenceIndex)];
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (static_cast<int>(i) != referenceIndex)
            differences[i] = values[i] - reference;
    }
    return differences;
}

std::optional<int> barValue(float value, int lowest, int highest)
{
    if (!std::isfinite(value))
        return std::nullopt;
    // Compared in double, which holds every float and every int exactly;
    // only a value within the range is converted.
    const double truncated = static_cast<double>(std::trunc(value));
    if (truncated <= lowest)
        return lowest;
    if (truncated >= highest)
        return highest;
    return static_cast<int>(truncated);
}

float toSinglePrecision(double value)
{
    constexpr double largest = std::numeric_limits<float>::max();
    if (std::isfinite(value) && std::fabs(value) > largest) {
        const float rounded = static_cast<float>(std::copysign(largest, value));
        // Values that still round to FLT_MAX rather than to infinity.
        const double halfUlp = std::ldexp(1.0, 103);
        if (std::fabs(value) < largest + halfUlp)
            return rounded;
        return std::copysign(std::numeric_limits<float>::infinity(), static_cast<float>(rounded));
    }
    return static_cast<float>(value);
}
