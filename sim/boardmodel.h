#ifndef BOARDMODEL_H
#define BOARDMODEL_H

#include "boardsettings.h"
#include "deviceprotocol.h"
#include "enginemodel.h"

// The board's firmware: per frame, an inner loop that reads the four sensors
// innerLoopCount times and averages the readings, then a first-order
// low-pass y += a * (x - y) over successive frames, both as the real
// board's firmware does them (the shared board logic). No event loop and no
// clock: the caller gives the model time of each frame.
class BoardModel
{
public:
    static constexpr int kDefaultInnerLoopCount = board::kDefaultInnerLoopCount;
    static constexpr float kDefaultLowPassCoefficient = board::kDefaultLowPassCoefficient;
    // Model duration of one pass of the inner loop (one read of the sensors).
    static constexpr double kSampleMs = 1.5;
    // Largest inner-loop count taken; the form offers the same.
    static constexpr int kMaxInnerLoopCount = board::kMaxInnerLoopCount;

    explicit BoardModel(const EngineConfig &config = EngineConfig());

    // Runs the inner loop starting at elapsedMs of model time (one sample
    // every kSampleMs) and returns the frame the board would send. The
    // first frame initialises the filter.
    MeasurementFrame takeFrame(double elapsedMs);

    // The settings command's two values, as received, taken as the board
    // takes them (board::applySettingsCommand): a value that is not finite
    // is ignored, the count rounded and clamped to 1..kMaxInnerLoopCount,
    // the coefficient clamped to 0..1 (0 freezes the output at the first
    // frame, 1 is no smoothing).
    void applySettings(float innerLoopCount, float lowPassCoefficient);

    int innerLoopCount() const { return settings.innerLoopCount; }
    float lowPassCoefficient() const { return settings.lowPassCoefficient; }
    // What the board reports as its cycle time: the inner loop's duration.
    float cycleTimeMs() const;

    EngineModel &engine() { return engineModel; }
    const EngineModel &engine() const { return engineModel; }

private:
    EngineModel engineModel;
    board::Settings settings;
    board::LowPassFilter filter;
};

#endif // BOARDMODEL_H
