#ifndef DEVICEPROTOCOL_H
#define DEVICEPROTOCOL_H

#include "measure/readings.h"

#include <QByteArray>

// The bytes spoken with the measuring board. Every number on the line is an
// IEEE 754 single-precision value, least significant byte first.

// One measurement frame: the four intake pressures in kPa and the board's
// cycle time in ms.
struct MeasurementFrame
{
    CylinderValues readings{};
    float cycleTime = 0.0f;
};

// The line's speed in both directions, in bits per second: eight data bits,
// no parity, one stop bit.
constexpr qint32 kBaudRate = 38400;

// The settings the board takes, as the form offers them: the inner-loop
// count (sample sets averaged per cycle) and the low-pass coefficient, with
// the values the board starts with.
constexpr int kMinInnerLoopCount = 1;
constexpr int kMaxInnerLoopCount = 1000;
constexpr int kDefaultInnerLoopCount = 10;
constexpr double kDefaultLowPassCoefficient = 0.5;

// How often the board is polled: the periods the gauge offers, in ms, and
// the one it starts with.
constexpr int kShortestPollMs = 10;
constexpr int kLongestPollMs = 50;
constexpr int kDefaultPollMs = 20;

// Where each value lies on the line. Every value takes kValueSize bytes.
constexpr int kValueSize = 4;

// A measurement frame: the readings of cylinders 1 to 4, then the cycle time.
constexpr int readingOffset(int cylinder)
{
    return kValueSize * cylinder;
}
constexpr int kCycleTimeOffset = readingOffset(kCylinderCount);
constexpr int kFrameSize = kCycleTimeOffset + kValueSize;

// The settings command: its two-byte mark, the inner-loop count, then the
// low-pass coefficient.
constexpr int kSettingsMarkSize = 2;
constexpr int kInnerLoopCountOffset = kSettingsMarkSize;
constexpr int kLowPassCoefficientOffset = kInnerLoopCountOffset + kValueSize;
constexpr int kSettingsCommandSize = kLowPassCoefficientOffset + kValueSize;

// What the bytes waiting on the port amount to.
enum class WaitingBytes {
    Incomplete, // fewer than a frame: leave them and wait for more
    Frame,      // exactly one frame
    TooMany,    // more than a frame: throw all of them away
};

WaitingBytes classifyWaitingBytes(qint64 count);

// The poll "@@": asks the board for one frame.
QByteArray pollCommand();

// The settings command: "$$", the inner-loop count and the low-pass
// coefficient, both as single precision.
QByteArray encodeSettingsCommand(int innerLoopCount, double lowPassCoefficient);

// Decodes exactly kFrameSize bytes, bit for bit, whatever the host's byte
// order. No value is checked.
MeasurementFrame decodeFrame(const char *bytes);

// The frame as the board sends it.
QByteArray encodeFrame(const MeasurementFrame &frame);

float readFloatLittleEndian(const char *bytes);
// Overwrites the kValueSize bytes at offset, which must lie within bytes.
void putFloatLittleEndian(QByteArray &bytes, int offset, float value);

#endif // DEVICEPROTOCOL_H
