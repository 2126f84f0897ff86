#ifndef ANALYSIS_ENGINESPEED_H
#define ANALYSIS_ENGINESPEED_H

#include "measure/readings.h"

#include <QString>

#include <deque>
#include <optional>

// Engine speed from the intake pulses the board's readings carry. A
// four-stroke engine draws through each intake once every two crankshaft
// turns, so each cylinder's pressure pulses at rpm / 120 times a second.
// The pulse rate is the strongest line of the four readings' spectra,
// computed on the readings' own times (the polls are not evenly spaced), in
// the span of idle and fast-idle speeds that the poll rate can resolve.
// When the board smooths the pulses away (a long inner loop, a low-pass
// coefficient far below 1) no line stands out, and the speed is not guessed.
class EngineSpeedEstimator
{
public:
    // Speeds looked for, rpm.
    static constexpr double kLowestRpm = 500.0;
    static constexpr double kHighestRpm = 3000.0;
    // Readings of this many seconds make one estimate, one every kEverySeconds.
    static constexpr double kWindowSeconds = 2.0;
    static constexpr double kEverySeconds = 0.5;
    // The estimate shown is damped with this time constant.
    static constexpr double kDampingSeconds = 0.5;
    // The pulse line must carry this many times the spectrum's median power.
    static constexpr double kLineContrast = 12.0;
    // An idle that moves by more than this share during a session is named.
    static constexpr double kDriftShare = 0.10;

    enum class State {
        Measured,
        TooFewReadings, // not yet kWindowSeconds of readings, or too sparse
        PollTooSlow,    // the polls are too far apart for the lowest speed looked for
        TooSmoothed,    // no pulse stands out: the board smooths too much
    };

    void reset();
    // One frame's raw readings (kPa) at a time in seconds, from any steady clock.
    void addSample(double seconds, const CylinderValues &raw);

    State state() const { return currentState; }
    // The damped speed, while measured.
    std::optional<double> rpm() const;
    // The latest estimate, undamped.
    std::optional<double> lastEstimateRpm() const { return lastEstimate; }
    // The lowest and highest damped speed of the session, and whether they
    // differ by more than kDriftShare of the lowest.
    std::optional<double> lowestRpm() const { return lowest; }
    std::optional<double> highestRpm() const { return highest; }
    bool idleDrifts() const;

    // One estimate from a span of readings, on its own: the strongest pulse
    // rate and whether it stands out. Pure; used by addSample.
    struct Spectrum
    {
        State state = State::TooFewReadings;
        double rpm = 0.0;
        double contrast = 0.0; // the line's power over the median power
    };
    static Spectrum estimate(const std::deque<double> &times,
                             const std::deque<CylinderValues> &readings);

private:
    std::deque<double> times;
    std::deque<CylinderValues> readings;
    double nextEstimateAt = 0.0;
    State currentState = State::TooFewReadings;
    std::optional<double> lastEstimate;
    std::optional<double> damped;
    double dampedAt = 0.0;
    std::optional<double> lowest;
    std::optional<double> highest;
};

// The speed is written to the nearest kShownRpmStep: finer than the idle's
// own wander, coarse enough to read while it wanders.
constexpr long kShownRpmStep = 10;

// "1100 rpm"; or why there is none: "not yet measured", "the polls are too
// far apart", "cannot be measured: the board smooths the pulses away; set a
// short inner-loop count and a low-pass coefficient near 1". Translated.
QString engineSpeedText(const EngineSpeedEstimator &speed);
// "Idle speed drifted from 1050 to 1200 rpm (14 %) during the session", or
// empty when it did not drift.
QString idleDriftText(const EngineSpeedEstimator &speed);

#endif // ANALYSIS_ENGINESPEED_H
