#include "boardwire.h"

#include <string.h>

namespace board {

void putFloat(uint8_t *bytes, float value)
{
    uint32_t bits;
    memcpy(&bits, &value, sizeof bits);
    for (uint8_t i = 0; i < kValueSize; ++i)
        bytes[i] = static_cast<uint8_t>(bits >> (8 * i));
}

float readFloat(const uint8_t *bytes)
{
    uint32_t bits = 0;
    for (uint8_t i = 0; i < kValueSize; ++i)
        bits |= static_cast<uint32_t>(bytes[i]) << (8 * i);
    float value;
    memcpy(&value, &bits, sizeof value);
    return value;
}

void encodeFrame(const float readings[kCylinders], float cycleTimeMs, uint8_t frame[kFrameSize])
{
    for (uint8_t c = 0; c < kCylinders; ++c)
        putFloat(frame + c * kValueSize, readings[c]);
    putFloat(frame + kCylinders * kValueSize, cycleTimeMs);
}

CommandReader::Command CommandReader::take(uint8_t byte, uint32_t nowUs)
{
    if (state != SettingsValues)
        return takeFresh(byte, nowUs);
    if (nowUs - settingsStartUs > kSettingsTimeoutUs) {
        // Too late to belong to the command: drop it and read the byte anew.
        state = Idle;
        return takeFresh(byte, nowUs);
    }
    values[valuesTaken++] = byte;
    if (valuesTaken < kSettingsValueBytes)
        return None;
    state = Idle;
    return SettingsCommand;
}

CommandReader::Command CommandReader::takeFresh(uint8_t byte, uint32_t nowUs)
{
    if (byte == kPollMark) {
        if (state == PollMarkSeen) {
            state = Idle;
            return Poll;
        }
        state = PollMarkSeen;
    } else if (byte == kSettingsMark) {
        if (state == SettingsMarkSeen) {
            state = SettingsValues;
            valuesTaken = 0;
            settingsStartUs = nowUs;
        } else {
            state = SettingsMarkSeen;
        }
    } else {
        state = Idle;
    }
    return None;
}

} // namespace board
