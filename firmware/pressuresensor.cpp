#include "pressuresensor.h"

namespace board {

namespace {

// From the sensors' data sheets (typical transfer functions).
const SensorType kSensorTypes[kSensorKinds] = {
    {"MPX4115A", 0.009f, -0.095f},
    {"MPX4250AP", 0.004f, -0.04f},
};

} // namespace

const SensorType &sensorType(SensorKind kind)
{
    return kSensorTypes[kind < kSensorKinds ? kind : Mpx4115a];
}

float absoluteKpaFromCount(const SensorType &sensor, float count)
{
    return (count / kAdcSteps - sensor.offset) / sensor.slopePerKpa;
}

float supplyFractionAt(const SensorType &sensor, float absoluteKpa)
{
    return sensor.slopePerKpa * absoluteKpa + sensor.offset;
}

float kpaPerCount(const SensorType &sensor)
{
    return 1.0f / (kAdcSteps * sensor.slopePerKpa);
}

bool isPlausibleAtmosphere(float absoluteKpa)
{
    // Written so that a NaN is not plausible.
    return absoluteKpa >= kLowestAtmosphereKpa && absoluteKpa <= kHighestAtmosphereKpa;
}

Atmosphere chooseAtmosphere(float mean, float lowest, float highest, float lastGood)
{
    if (highest - lowest <= kSteadyAtmosphereSpanKpa && isPlausibleAtmosphere(mean))
        return {mean, true};
    if (isPlausibleAtmosphere(lastGood))
        return {lastGood, false};
    return {kStandardAtmosphereKpa, false};
}

bool atmosphereWorthKeeping(float kept, float measured)
{
    if (!isPlausibleAtmosphere(kept))
        return true;
    const float moved = measured - kept;
    return moved > kAtmosphereKeepStepKpa || moved < -kAtmosphereKeepStepKpa;
}

} // namespace board
