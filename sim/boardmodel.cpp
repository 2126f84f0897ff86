#include "boardmodel.h"

#include <algorithm>
#include <cmath>

BoardModel::BoardModel(const EngineConfig &config)
    : engineModel(config)
{
}

MeasurementFrame BoardModel::takeFrame(double elapsedMs)
{
    std::array<double, 4> sum{};
    for (int i = 0; i < loopCount; ++i) {
        const auto sample = engineModel.pressures((elapsedMs + i * kSampleMs) / 1000.0);
        for (std::size_t c = 0; c < sum.size(); ++c)
            sum[c] += sample[c];
    }

    const double a = coefficient;
    for (std::size_t c = 0; c < sum.size(); ++c) {
        const double mean = sum[c] / loopCount;
        filtered[c] = filterPrimed ? filtered[c] + a * (mean - filtered[c]) : mean;
    }
    filterPrimed = true;

    MeasurementFrame frame;
    for (std::size_t c = 0; c < filtered.size(); ++c)
        frame.readings[c] = static_cast<float>(filtered[c]);
    frame.cycleTime = cycleTimeMs();
    return frame;
}

void BoardModel::applySettings(float innerLoopCount, float lowPassCoefficient)
{
    if (std::isfinite(innerLoopCount)) {
        // Clamped while still a float, so the conversion is always in range.
        const float clamped =
            std::clamp(std::round(innerLoopCount), 1.0f, static_cast<float>(kMaxInnerLoopCount));
        loopCount = static_cast<int>(clamped);
    }
    if (std::isfinite(lowPassCoefficient))
        coefficient = std::clamp(lowPassCoefficient, 0.0f, 1.0f);
}

float BoardModel::cycleTimeMs() const
{
    return static_cast<float>(loopCount * kSampleMs);
}
