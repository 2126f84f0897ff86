#include "enginemodel.h"

#include <cmath>

namespace {

constexpr double kTwoPi = 6.283185307179586;

// The idle wander: two slow waves, weighted so that their sum stays within
// one amplitude.
constexpr double kWanderWeight1 = 0.6;
constexpr double kWanderWeight2 = 0.4;
constexpr double kWanderOmega1 = kTwoPi / 9.0; // rad/s
constexpr double kWanderOmega2 = kTwoPi / 3.7;

// Uniform in [0, 1) from the generator's raw output; the standard
// distributions give different numbers on different library versions.
double uniform(std::mt19937_64 &generator)
{
    return static_cast<double>(generator() >> 11) * 0x1.0p-53;
}

} // namespace

EngineModel::EngineModel(const EngineConfig &config)
    : engineConfig(config)
    , generator(config.seed)
{
    wanderPhase1 = kTwoPi * uniform(generator);
    wanderPhase2 = kTwoPi * uniform(generator);
}

double EngineModel::rpm(double seconds) const
{
    return engineConfig.idleRpm
        + engineConfig.rpmWander
        * (kWanderWeight1 * std::sin(kWanderOmega1 * seconds + wanderPhase1)
           + kWanderWeight2 * std::sin(kWanderOmega2 * seconds + wanderPhase2));
}

double EngineModel::cycles(double seconds) const
{
    // Integral of rpm(t) / 120 from 0: one cycle is two crankshaft turns.
    const double wander1 = kWanderWeight1 / kWanderOmega1
        * (std::cos(wanderPhase1) - std::cos(kWanderOmega1 * seconds + wanderPhase1));
    const double wander2 = kWanderWeight2 / kWanderOmega2
        * (std::cos(wanderPhase2) - std::cos(kWanderOmega2 * seconds + wanderPhase2));
    return (engineConfig.idleRpm * seconds + engineConfig.rpmWander * (wander1 + wander2)) / 120.0;
}

double EngineModel::cleanPressure(int cylinder, double seconds) const
{
    const double shifted = cycles(seconds) - kDipStart[static_cast<std::size_t>(cylinder)];
    const double phase = shifted - std::floor(shifted);
    double dip = 0.0;
    if (phase < kDipLength) {
        const double s = std::sin(kTwoPi / 2.0 * phase / kDipLength);
        dip = s * s;
    }
    // A sine-squared dip over a third of the cycle averages kDipLength / 2;
    // taking that off keeps the cycle mean where it was configured.
    return engineConfig.meanPressure + engineConfig.offsets[static_cast<std::size_t>(cylinder)]
        - engineConfig.swing * (dip - kDipLength / 2.0);
}

std::array<double, kCylinderCount> EngineModel::pressures(double seconds)
{
    std::array<double, kCylinderCount> values{};
    for (int cylinder = 0; cylinder < kCylinderCount; ++cylinder)
        values[static_cast<std::size_t>(cylinder)] = cleanPressure(cylinder, seconds)
            + engineConfig.noise * gaussian();
    return values;
}

double EngineModel::gaussian()
{
    // Sum of four uniforms, centred and scaled to unit variance: close
    // enough to a bell for sensor noise, and bounded.
    double sum = 0.0;
    for (int i = 0; i < 4; ++i)
        sum += uniform(generator);
    return (sum - 2.0) * std::sqrt(3.0);
}
