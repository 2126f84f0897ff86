#ifndef PRESSURESENSOR_H
#define PRESSURESENSOR_H

// The board's pressure sensors and its 10-bit converter. The sensors are
// ratiometric: their output is a fraction of their supply Vs, and with the
// converter's reference at the same supply (AVcc) a count stands for the
// same fraction whatever the supply is.

#include <stdint.h>

namespace board {

// One count of the converter is 1/1024 of its reference; the ideal
// converter rounds (its first step is at half a count).
constexpr uint16_t kAdcSteps = 1024;

// A sensor's published transfer function, Vout = Vs * (slope * P + offset),
// P absolute in kPa.
struct SensorType
{
    const char *name;
    float slopePerKpa;
    float offset;
};

enum SensorKind : uint8_t {
    Mpx4115a,  // 15..115 kPa absolute, the default: 0.11 kPa per count
    Mpx4250ap, // 20..250 kPa absolute, for those who have one: 0.24 kPa per count
    kSensorKinds
};

const SensorType &sensorType(SensorKind kind);

// Absolute pressure in kPa for a converter reading (a mean of counts).
float absoluteKpaFromCount(const SensorType &sensor, float count);
// The sensor's output as a fraction of its supply at an absolute pressure.
float supplyFractionAt(const SensorType &sensor, float absoluteKpa);
// kPa per converter count.
float kpaPerCount(const SensorType &sensor);

// The atmosphere each sensor's readings are taken relative to, measured at
// power-on with the engine off. A measurement is taken only when it is
// steady (its samples span at most kSteadyAtmosphereSpanKpa: a running
// engine pulses far more) and plausible (altitude and weather keep the air
// between kLowestAtmosphereKpa and kHighestAtmosphereKpa); otherwise the
// last good one kept from an earlier power-on serves, or the standard one.
constexpr float kLowestAtmosphereKpa = 60.0f;
constexpr float kHighestAtmosphereKpa = 110.0f;
constexpr float kStandardAtmosphereKpa = 101.3f;
constexpr float kSteadyAtmosphereSpanKpa = 1.5f;

bool isPlausibleAtmosphere(float absoluteKpa);

struct Atmosphere
{
    float kpa;
    bool measured; // false: the last good one or the standard one
};

// From the power-on samples of one sensor (mean, lowest, highest, kPa
// absolute); lastGood is the one kept from before, or NaN for none.
Atmosphere chooseAtmosphere(float mean, float lowest, float highest, float lastGood);

// Whether a measured atmosphere replaces the one kept in the EEPROM: only
// when none is kept or it moved by more than kAtmosphereKeepStepKpa, so
// that the noise of each power-on does not wear the EEPROM out.
constexpr float kAtmosphereKeepStepKpa = 0.5f;
bool atmosphereWorthKeeping(float kept, float measured);

} // namespace board

#endif // PRESSURESENSOR_H
