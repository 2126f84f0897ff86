#ifndef ENGINEMODEL_H
#define ENGINEMODEL_H

#include "measure/readings.h"

#include <array>
#include <cstdint>
#include <random>

// What the simulated engine looks like. Pressures are in kPa relative to the
// atmosphere: negative is vacuum.
struct EngineConfig
{
    double idleRpm = 1100.0;
    // Amplitude of the slow idle wander, in rpm either side of idleRpm.
    double rpmWander = 50.0;
    // Mean over a whole engine cycle, before the per-cylinder offsets.
    double meanPressure = -25.0;
    // Depth of the intake dip, from the level between dips to its bottom.
    double swing = 6.0;
    // Added to each cylinder's mean (index 0..3 = cylinders 1..4): the
    // imbalance a user tunes away. The defaults spread over 2.5 kPa and add
    // up to zero, so the engine's overall mean stays meanPressure.
    std::array<double, kCylinderCount> offsets{1.2, -1.3, 0.4, -0.3};
    // Standard deviation of the sensor noise on every sample.
    double noise = 0.15;
    std::uint64_t seed = 1;
};

// An idling four-stroke, four-cylinder engine seen through one pressure
// sensor per intake. Each intake dips once per engine cycle (two crankshaft
// turns), for a third of the cycle; the cylinders follow the firing order
// 1-3-4-2, a quarter cycle apart. No event loop, no clock of its own: the
// caller says what time it is. Deterministic for a seed and a sequence of
// calls (the noise is drawn call by call).
class EngineModel
{
public:
    explicit EngineModel(const EngineConfig &config = EngineConfig());

    const EngineConfig &config() const { return engineConfig; }

    // Engine speed at the given model time.
    double rpm(double seconds) const;

    // Engine cycles completed since time 0, fractional: the integral of
    // rpm / 120 over time.
    double cycles(double seconds) const;

    // Noise-free pressure of one cylinder (index 0..3).
    double cleanPressure(int cylinder, double seconds) const;

    // The four intake pressures as the sensors read them, noise included.
    std::array<double, kCylinderCount> pressures(double seconds);

    // Where in the engine cycle each cylinder's intake dip starts, as a
    // fraction of the cycle (index 0..3 = cylinders 1..4).
    static constexpr std::array<double, kCylinderCount> kDipStart{0.0, 0.75, 0.25, 0.5};
    // Share of the cycle the dip lasts.
    static constexpr double kDipLength = 1.0 / 3.0;

private:
    double gaussian();

    EngineConfig engineConfig;
    std::mt19937_64 generator;
    // Phases of the two slow waves that make up the idle wander.
    double wanderPhase1 = 0.0;
    double wanderPhase2 = 0.0;
};

#endif // ENGINEMODEL_H
