#ifndef BOARDSETTINGS_H
#define BOARDSETTINGS_H

// What the measuring board does with its two settings, shared by the
// firmware on the ATmega328P and the simulated board on the desktop, so
// that the two cannot drift apart. Plain C++14 without the standard
// library: avr-g++ 5.4 has none.
//
// A cycle of the board is the mean of innerLoopCount sample sets (one
// sample of each of the four inputs); at its end each cylinder's output
// follows the new mean through a first-order low-pass, y += a * (mean - y).

#include <stdint.h>

namespace board {

constexpr uint8_t kCylinders = 4;

constexpr uint16_t kDefaultInnerLoopCount = 10;
constexpr float kDefaultLowPassCoefficient = 0.5f;
constexpr uint16_t kMinInnerLoopCount = 1;
constexpr uint16_t kMaxInnerLoopCount = 1000;

struct Settings
{
    uint16_t innerLoopCount = kDefaultInnerLoopCount;
    float lowPassCoefficient = kDefaultLowPassCoefficient;
};

// True unless value is an infinity or a NaN, read from its bits so that it
// does not depend on a maths library.
bool isFiniteValue(float value);

// The settings command's two values, as received, applied to current. Each
// is taken on its own: a value that is not finite leaves its setting as it
// was; the count is rounded to the nearest integer (halves away from zero)
// and clamped to kMinInnerLoopCount..kMaxInnerLoopCount; the coefficient is
// clamped to 0..1 (0 freezes the output, 1 is no smoothing).
Settings applySettingsCommand(Settings current, float innerLoopCount, float lowPassCoefficient);

// The inner loop: sums the sample sets of one cycle. Sum is wide enough for
// kMaxInnerLoopCount samples of one input (uint32_t for ADC counts on the
// board, double for the simulated board's kPa).
template <typename Sum>
class InnerLoop
{
public:
    void addSample(uint8_t input, Sum sample) { sums[input] += sample; }
    // Ends a sample set; true when it completes a cycle of count sets.
    bool endSampleSet(uint16_t count) { return ++taken >= count; }
    uint16_t setsTaken() const { return taken; }
    Sum sum(uint8_t input) const { return sums[input]; }
    // The cycle's mean of one input.
    float mean(uint8_t input) const
    {
        return static_cast<float>(static_cast<double>(sums[input]) / taken);
    }
    void restart()
    {
        for (uint8_t i = 0; i < kCylinders; ++i)
            sums[i] = 0;
        taken = 0;
    }

private:
    Sum sums[kCylinders] = {};
    uint16_t taken = 0;
};

// The low-pass over successive cycles, one state per cylinder. Its first
// cycle starts it at the mean itself, so that it does not rise from zero.
class LowPassFilter
{
public:
    void step(const float means[kCylinders], float coefficient);
    float output(uint8_t cylinder) const { return y[cylinder]; }
    bool started() const { return primed; }
    void restart() { primed = false; }

private:
    float y[kCylinders] = {};
    bool primed = false;
};

} // namespace board

#endif // BOARDSETTINGS_H
