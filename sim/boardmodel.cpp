#include "boardmodel.h"

#include <algorithm>
#include <cmath>

BoardModel::BoardModel(const EngineConfig &config)
    : engine_(config)
{
}

MeasurementFrame BoardModel::takeFrame(double elapsedMs)
{
    std::array<double, 4> sum{};
    for (int i = 0; i < innerLoopCount_; ++i) {
        const auto sample = engine_.pressures((elapsedMs + i * kSampleMs) / 1000.0);
        for (std::size_t c = 0; c < sum.size(); ++c)
            sum[c] += sample[c];
    }

    const double a = coefficient_;
    for (std::size_t c = 0; c < sum.size(); ++c) {
        const double mean = sum[c] / innerLoopCount_;
        filtered_[c] = filterPrimed_ ? filtered_[c] + a * (mean - filtered_[c]) : mean;
    }
    filterPrimed_ = true;

    MeasurementFrame frame;
    for (std::size_t c = 0; c < filtered_.size(); ++c)
        frame.readings[c] = static_cast<float>(filtered_[c]);
    frame.cycleTime = cycleTimeMs();
    return frame;
}

void BoardModel::applySettings(float innerLoopCount, float lowPassCoefficient)
{
    if (std::isfinite(innerLoopCount)) {
        // Clamped while still a float, so the conversion is always in range.
        const float clamped = std::clamp(std::round(innerLoopCount), 1.0f,
                                         static_cast<float>(kMaxInnerLoopCount));
        innerLoopCount_ = static_cast<int>(clamped);
    }
    if (std::isfinite(lowPassCoefficient))
        coefficient_ = std::clamp(lowPassCoefficient, 0.0f, 1.0f);
}

float BoardModel::cycleTimeMs() const
{
    return static_cast<float>(innerLoopCount_ * kSampleMs);
}
