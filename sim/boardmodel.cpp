#include "boardmodel.h"

#include "boardwire.h"

// The board's frame and the gauge's are the same bytes.
static_assert(board::kFrameSize == kFrameSize, "one frame size");
static_assert(board::kCylinders == kCylinderCount, "one cylinder count");
static_assert(board::kBaudRate == kBaudRate, "one line speed");
static_assert(board::kMinInnerLoopCount == kMinInnerLoopCount
                  && board::kMaxInnerLoopCount == kMaxInnerLoopCount,
              "the form offers the inner-loop counts the board takes");
static_assert(board::kDefaultInnerLoopCount == kDefaultInnerLoopCount
                  && board::kDefaultLowPassCoefficient == kDefaultLowPassCoefficient,
              "the form starts with the board's own settings");

BoardModel::BoardModel(const EngineConfig &config)
    : engineModel(config)
{
}

MeasurementFrame BoardModel::takeFrame(double elapsedMs)
{
    board::InnerLoop<double> loop;
    do {
        const double ms = elapsedMs + loop.setsTaken() * kSampleMs;
        const auto sample = engineModel.pressures(ms / 1000.0);
        for (std::uint8_t c = 0; c < board::kCylinders; ++c)
            loop.addSample(c, sample[c]);
    } while (!loop.endSampleSet(settings.innerLoopCount));

    float means[board::kCylinders];
    for (std::uint8_t c = 0; c < board::kCylinders; ++c)
        means[c] = loop.mean(c);
    filter.step(means, settings.lowPassCoefficient);

    MeasurementFrame frame;
    for (std::uint8_t c = 0; c < board::kCylinders; ++c)
        frame.readings[c] = filter.output(c);
    frame.cycleTime = cycleTimeMs();
    return frame;
}

void BoardModel::applySettings(float innerLoopCount, float lowPassCoefficient)
{
    settings = board::applySettingsCommand(settings, innerLoopCount, lowPassCoefficient);
}

float BoardModel::cycleTimeMs() const
{
    return static_cast<float>(settings.innerLoopCount * kSampleMs);
}
