#ifndef BOARDWIRE_H
#define BOARDWIRE_H

// The bytes on the board's serial line, as the board sees them: the
// commands it reads ("@@", the poll; "$$" and two single-precision values,
// the settings) and the frame it answers each poll with (four pressures in
// kPa and the cycle time in ms). Every number on the line is an IEEE 754
// single-precision value, least significant byte first.

#include "boardsettings.h"

#include <stdint.h>

namespace board {

constexpr uint8_t kValueSize = 4;
constexpr uint8_t kFrameSize = (kCylinders + 1) * kValueSize;
constexpr uint8_t kPollMark = '@';
constexpr uint8_t kSettingsMark = '$';
// The two values of a settings command.
constexpr uint8_t kSettingsValueBytes = 2 * kValueSize;
// The line's speed, 8N1, in bits per second.
constexpr uint32_t kBaudRate = 38400;
// One byte on the line: start bit, eight data bits, stop bit.
constexpr uint8_t kBitsPerByte = 10;

// A settings command whose values have not all come this long after its
// mark is dropped: at kBaudRate they take 2.1 ms, so only a lost byte makes
// it late, and dropping it keeps that loss from swallowing the polls after.
constexpr uint32_t kSettingsTimeoutUs = 20000;

void putFloat(uint8_t *bytes, float value);
float readFloat(const uint8_t *bytes);

// The frame: readings of cylinders 1 to 4, then the cycle time.
void encodeFrame(const float readings[kCylinders], float cycleTimeMs, uint8_t frame[kFrameSize]);

// Reads the line byte by byte and never loses its footing: any byte that
// does not begin or continue a command is skipped, and a poll anywhere in
// the stream is recognised. Time is any microsecond count that wraps at 2^32.
class CommandReader
{
public:
    enum Command : uint8_t { None, Poll, SettingsCommand };

    // Takes the next byte, received at nowUs; says which command it ended.
    Command take(uint8_t byte, uint32_t nowUs);

    // The values of the last settings command, as they came.
    float innerLoopCount() const { return readFloat(values); }
    float lowPassCoefficient() const { return readFloat(values + kValueSize); }

private:
    enum State : uint8_t { Idle, PollMarkSeen, SettingsMarkSeen, SettingsValues };

    Command takeFresh(uint8_t byte, uint32_t nowUs);

    State state = Idle;
    uint8_t values[kSettingsValueBytes] = {};
    uint8_t valuesTaken = 0;
    uint32_t settingsStartUs = 0;
};

} // namespace board

#endif // BOARDWIRE_H
