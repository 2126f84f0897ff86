// The engine speed estimate against the simulated engine, whose speed is
// known at every instant: idle speeds from 800 to 2000 rpm (each wandering
// +-50 rpm as an idle does), polled every 10 or 20 ms with a little jitter,
// the board set to pass the pulses (inner-loop count 1, low-pass 1) and at
// its defaults (10 and 0.5). Every estimate of a minute is compared with the
// engine's mean speed over the readings it used, and the damped speed shown
// with the engine's speed at that instant.
#include "boardmodel.h"
#include "enginespeed.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <cmath>
#include <cstdio>

namespace {

struct Accuracy
{
    double meanError = 0; // share
    double worstError = 0;
    double worstShownError = 0; // the damped speed shown against the engine's at that instant
    int estimates = 0;
    int unmeasured = 0;
};

Accuracy measure(double rpm, double periodMs, int innerLoopCount, float coefficient)
{
    EngineConfig config;
    config.idleRpm = rpm;
    config.seed = std::uint64_t(rpm) + std::uint64_t(periodMs);
    BoardModel board(config);
    board.applySettings(float(innerLoopCount), coefficient);
    EngineSpeedEstimator speed;
    Accuracy accuracy;
    double sum = 0;
    std::optional<double> previous;
    const int frames = int(60000.0 / periodMs);
    for (int i = 0; i < frames; ++i) {
        const double t = (i * periodMs + 1.5 * std::sin(i * 2.3)) / 1000.0;
        speed.addSample(t, board.takeFrame(t * 1000.0).readings);
        const std::optional<double> estimate = speed.lastEstimateRpm();
        if (t < EngineSpeedEstimator::kWindowSeconds + 0.5 || estimate == previous)
            continue;
        previous = estimate;
        if (!estimate) {
            ++accuracy.unmeasured;
            continue;
        }
        const EngineModel &engine = board.engine();
        const double start = t - EngineSpeedEstimator::kWindowSeconds;
        const double truth = (engine.cycles(t) - engine.cycles(start)) / (t - start) * 120.0;
        const double error = std::fabs(*estimate - truth) / truth;
        sum += error;
        const double now = engine.rpm(t);
        accuracy.worstShownError =
            std::max(accuracy.worstShownError, std::fabs(*speed.rpm() - now) / now);
        accuracy.worstError = std::max(accuracy.worstError, error);
        ++accuracy.estimates;
    }
    accuracy.meanError = accuracy.estimates ? sum / accuracy.estimates : 0;
    return accuracy;
}

} // namespace

int main()
{
    std::printf("engine speed from the intake pulses, against the simulated engine (60 s each):\n");
    std::printf("  %-6s %-6s %-22s %-12s %-12s %-12s %s\n", "rpm", "poll", "board (loop, low-pass)",
                "mean error", "worst error", "worst shown", "estimates (none)");
    for (const double rpm : {800.0, 1000.0, 1200.0, 1500.0, 1800.0, 2000.0}) {
        for (const double period : {10.0, 20.0}) {
            for (const auto &[loop, coefficient] : {std::pair<int, float>{1, 1.0f}, {10, 0.5f}}) {
                const Accuracy a = measure(rpm, period, loop, coefficient);
                std::printf("  %-6.0f %2.0f ms  %4d, %-15.1f %6.2f %%     %6.2f %%     %6.2f %%     "
                            "%d (%d)\n",
                            rpm, period, loop, double(coefficient), 100 * a.meanError,
                            100 * a.worstError, 100 * a.worstShownError, a.estimates, a.unmeasured);
            }
        }
    }
    std::fflush(stdout);
    return 0;
}
