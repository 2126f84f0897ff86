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

constexpr int kFrameSize = 20;
constexpr int kSettingsCommandSize = 10;

// What the bytes waiting on the port amount to.
enum class WaitingBytes
{
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
void appendFloatLittleEndian(QByteArray &bytes, float value);

#endif // DEVICEPROTOCOL_H
