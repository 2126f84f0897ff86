#include "enginespeed.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <complex>
#include <vector>

namespace {

struct EngineSpeedTexts
{
    Q_DECLARE_TR_FUNCTIONS(EngineSpeed)
};

constexpr double kTwoPi = 6.283185307179586;
// A four-stroke engine: one intake stroke per cylinder every two turns.
constexpr double kSecondsPerMinutePerCycle = 120.0;
// The highest pulse rate looked for lies below this share of the reading rate.
constexpr double kNyquistShare = 0.45;
// The frequency grid is this many times finer than the window resolves.
constexpr double kGridOversampling = 10.0;
constexpr std::size_t kFewestReadings = 16;

// Each reading less the straight line through the series, so that a
// pressure moving while a screw is turned does not look like a slow pulse.
// A value that is not finite counts as on the line.
std::vector<double> detrended(const std::vector<double> &t, const std::deque<CylinderValues> &rows,
                              std::size_t cylinder)
{
    double n = 0, st = 0, sx = 0, stt = 0, stx = 0;
    for (std::size_t i = 0; i < t.size(); ++i) {
        const double x = rows[i][cylinder];
        if (!std::isfinite(x))
            continue;
        n += 1;
        st += t[i];
        sx += x;
        stt += t[i] * t[i];
        stx += t[i] * x;
    }
    std::vector<double> result(t.size(), 0.0);
    if (n < 2)
        return result;
    const double denominator = n * stt - st * st;
    const double slope = denominator > 0 ? (n * stx - st * sx) / denominator : 0.0;
    const double intercept = (sx - slope * st) / n;
    for (std::size_t i = 0; i < t.size(); ++i) {
        const double x = rows[i][cylinder];
        if (std::isfinite(x))
            result[i] = x - (intercept + slope * t[i]);
    }
    return result;
}

} // namespace

void EngineSpeedEstimator::reset()
{
    *this = EngineSpeedEstimator();
}

EngineSpeedEstimator::Spectrum EngineSpeedEstimator::estimate(const std::deque<double> &sampleTimes,
                                                              const std::deque<CylinderValues> &rows)
{
    Spectrum result;
    const std::size_t n = sampleTimes.size();
    if (n < 2 || rows.size() != n)
        return result;
    const double span = sampleTimes.back() - sampleTimes.front();
    if (!(span > 0.0))
        return result;
    const double readingRate = double(n - 1) / span;
    const double lowest = kLowestRpm / kSecondsPerMinutePerCycle;
    const double highest =
        std::min(kHighestRpm / kSecondsPerMinutePerCycle, kNyquistShare * readingRate);
    if (highest <= lowest) {
        // Readings this sparse over most of a window will not get denser.
        if (span >= 0.9 * kWindowSeconds)
            result.state = State::PollTooSlow;
        return result;
    }
    if (n < kFewestReadings)
        return result;

    std::vector<double> t(n);
    for (std::size_t i = 0; i < n; ++i)
        t[i] = sampleTimes[i] - sampleTimes.front();
    std::array<std::vector<double>, kCylinderCount> x;
    for (std::size_t c = 0; c < x.size(); ++c)
        x[c] = detrended(t, rows, c);

    // The power of each cylinder at each frequency of the grid, summed over
    // the four: the cylinders pulse at one rate, a quarter cycle apart, so
    // their powers add where their values would cancel.
    const double step = 1.0 / (span * kGridOversampling);
    const std::size_t count = std::size_t((highest - lowest) / step) + 1;
    std::vector<std::array<std::complex<double>, kCylinderCount>> sums(count);
    for (std::size_t i = 0; i < n; ++i) {
        std::complex<double> phasor = std::polar(1.0, -kTwoPi * lowest * t[i]);
        const std::complex<double> rotation = std::polar(1.0, -kTwoPi * step * t[i]);
        for (std::size_t k = 0; k < count; ++k) {
            for (std::size_t c = 0; c < kCylinderCount; ++c)
                sums[k][c] += x[c][i] * phasor;
            phasor *= rotation;
        }
    }
    std::vector<double> power(count);
    for (std::size_t k = 0; k < count; ++k) {
        double p = 0;
        for (const std::complex<double> &s : sums[k])
            p += std::norm(s);
        power[k] = p;
    }
    const std::size_t peak =
        std::size_t(std::max_element(power.begin(), power.end()) - power.begin());
    std::vector<double> sorted = power;
    std::nth_element(sorted.begin(), sorted.begin() + long(count / 2), sorted.end());
    const double median = sorted[count / 2];
    result.contrast = median > 0 ? power[peak] / median : 0.0;

    // Between grid points: the top of the parabola through the peak and its neighbours.
    double offset = 0.0;
    if (peak > 0 && peak + 1 < count) {
        const double left = power[peak - 1], centre = power[peak], right = power[peak + 1];
        const double curvature = left - 2 * centre + right;
        if (curvature < 0)
            offset = std::clamp(0.5 * (left - right) / curvature, -0.5, 0.5);
    }
    result.rpm = (lowest + (double(peak) + offset) * step) * kSecondsPerMinutePerCycle;
    // A line at the edge of the span is the slope of something outside it.
    const bool atEdge = peak == 0 || peak + 1 == count;
    result.state = result.contrast >= kLineContrast && !atEdge ? State::Measured : State::TooSmoothed;
    return result;
}

void EngineSpeedEstimator::addSample(double seconds, const CylinderValues &raw)
{
    if (!times.empty() && seconds < times.back())
        reset();
    if (times.empty())
        nextEstimateAt = seconds + kWindowSeconds;
    times.push_back(seconds);
    readings.push_back(raw);
    while (times.size() > 1 && seconds - times.front() > kWindowSeconds) {
        times.pop_front();
        readings.pop_front();
    }
    if (seconds < nextEstimateAt)
        return;
    nextEstimateAt = seconds + kEverySeconds;

    const Spectrum spectrum = estimate(times, readings);
    currentState = spectrum.state;
    if (spectrum.state != State::Measured) {
        lastEstimate.reset();
        damped.reset();
        return;
    }
    lastEstimate = spectrum.rpm;
    if (!damped) {
        damped = spectrum.rpm;
    } else {
        const double share = 1.0 - std::exp(-(seconds - dampedAt) / kDampingSeconds);
        *damped += share * (spectrum.rpm - *damped);
    }
    dampedAt = seconds;
    lowest = lowest ? std::min(*lowest, *damped) : *damped;
    highest = highest ? std::max(*highest, *damped) : *damped;
}

std::optional<double> EngineSpeedEstimator::rpm() const
{
    return currentState == State::Measured ? damped : std::nullopt;
}

bool EngineSpeedEstimator::idleDrifts() const
{
    return lowest && highest && *highest - *lowest > kDriftShare * *lowest;
}

QString engineSpeedText(const EngineSpeedEstimator &speed)
{
    switch (speed.state()) {
    case EngineSpeedEstimator::State::Measured:
        return EngineSpeedTexts::tr("%1 rpm").arg(kShownRpmStep
                                                  * std::lround(*speed.rpm() / kShownRpmStep));
    case EngineSpeedEstimator::State::TooFewReadings:
        return EngineSpeedTexts::tr("not measured yet");
    case EngineSpeedEstimator::State::PollTooSlow:
        return EngineSpeedTexts::tr("cannot be measured: the readings come too far apart; poll "
                                    "faster or set a shorter inner-loop count on the board");
    case EngineSpeedEstimator::State::TooSmoothed:
        break;
    }
    return EngineSpeedTexts::tr("cannot be measured: the readings carry no intake pulses; set the "
                                "board so: a short inner-loop count and a low-pass coefficient "
                                "near 1");
}

QString idleDriftText(const EngineSpeedEstimator &speed)
{
    if (!speed.idleDrifts())
        return QString();
    const double low = *speed.lowestRpm();
    const double high = *speed.highestRpm();
    return EngineSpeedTexts::tr("Idle speed drifted from %1 to %2 rpm (%3 %) during the session: "
                                "synchronise at a steady idle")
        .arg(std::lround(low))
        .arg(std::lround(high))
        .arg(std::lround(100.0 * (high - low) / low));
}
