#ifndef BOARDMODEL_H
#define BOARDMODEL_H

#include "deviceprotocol.h"
#include "enginemodel.h"

// The board's firmware: per frame, an inner loop that reads the four sensors
// innerLoopCount times and averages the readings, then a first-order
// low-pass y += a * (x - y) over successive frames. No event loop and no
// clock: the caller gives the model time of each frame.
class BoardModel
{
public:
    static constexpr int kDefaultInnerLoopCount = 10;
    static constexpr float kDefaultLowPassCoefficient = 0.5f;
    // Model duration of one pass of the inner loop (one read of the sensors).
    static constexpr double kSampleMs = 1.5;
    // Largest inner-loop count taken; the form offers up to 1000.
    static constexpr int kMaxInnerLoopCount = 1000;

    explicit BoardModel(const EngineConfig &config = EngineConfig());

    // Runs the inner loop starting at elapsedMs of model time (one sample
    // every kSampleMs) and returns the frame the board would send. The
    // first frame initialises the filter.
    MeasurementFrame takeFrame(double elapsedMs);

    // The settings command's two values, as received. Each is taken on its
    // own: a value that is not finite is ignored and the setting kept; the
    // count is rounded to the nearest integer and clamped to
    // 1..kMaxInnerLoopCount, the coefficient clamped to 0..1 (0 freezes the
    // output at the first frame, 1 is no smoothing).
    void applySettings(float innerLoopCount, float lowPassCoefficient);

    int innerLoopCount() const { return loopCount; }
    float lowPassCoefficient() const { return coefficient; }
    // What the board reports as its cycle time: the inner loop's duration.
    float cycleTimeMs() const;

    EngineModel &engine() { return engineModel; }
    const EngineModel &engine() const { return engineModel; }

private:
    EngineModel engineModel;
    int loopCount = kDefaultInnerLoopCount;
    float coefficient = kDefaultLowPassCoefficient;
    bool filterPrimed = false;
    std::array<double, 4> filtered{};
};

#endif // BOARDMODEL_H
