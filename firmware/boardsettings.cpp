#include "boardsettings.h"

#include <string.h>

namespace board {

bool isFiniteValue(float value)
{
    uint32_t bits;
    memcpy(&bits, &value, sizeof bits);
    // IEEE 754 single precision: an all-ones exponent is an infinity or NaN.
    return (bits & 0x7f800000UL) != 0x7f800000UL;
}

Settings applySettingsCommand(Settings current, float innerLoopCount, float lowPassCoefficient)
{
    Settings next = current;
    if (isFiniteValue(innerLoopCount)) {
        // Compared while still a float, so the conversion is always in
        // range; below 1.5 rounds to 1 or less, clamped to 1. In 1.5..1000
        // adding a half and truncating rounds exactly.
        if (innerLoopCount >= static_cast<float>(kMaxInnerLoopCount))
            next.innerLoopCount = kMaxInnerLoopCount;
        else if (innerLoopCount < 1.5f)
            next.innerLoopCount = kMinInnerLoopCount;
        else
            next.innerLoopCount = static_cast<uint16_t>(innerLoopCount + 0.5f);
    }
    if (isFiniteValue(lowPassCoefficient)) {
        if (lowPassCoefficient < 0.0f)
            next.lowPassCoefficient = 0.0f;
        else if (lowPassCoefficient > 1.0f)
            next.lowPassCoefficient = 1.0f;
        else
            next.lowPassCoefficient = lowPassCoefficient;
    }
    return next;
}

void LowPassFilter::step(const float means[kCylinders], float coefficient)
{
    for (uint8_t c = 0; c < kCylinders; ++c)
        y[c] = primed ? y[c] + coefficient * (means[c] - y[c]) : means[c];
    primed = true;
}

} // namespace board
