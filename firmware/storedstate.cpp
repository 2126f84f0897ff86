#include "storedstate.h"

#include "boardwire.h"
#include "pressuresensor.h"

#include <string.h>

namespace board {

namespace {

constexpr uint8_t kMark = 0xa5;
constexpr uint8_t kVersion = 1;
constexpr uint8_t kCountAt = 2;
constexpr uint8_t kCoefficientAt = 4;
constexpr uint8_t kAtmosphereAt = 8;
constexpr uint8_t kCrcAt = kAtmosphereAt + 4 * kCylinders;
static_assert(kCrcAt + 2 == kStoredRecordSize, "the record's fields fill it");

float notANumber()
{
    const uint32_t quietNaN = 0x7fc00000UL;
    float value;
    memcpy(&value, &quietNaN, sizeof value);
    return value;
}

} // namespace

StoredState defaultStoredState()
{
    StoredState state;
    for (uint8_t c = 0; c < kCylinders; ++c)
        state.atmosphere[c] = notANumber();
    return state;
}

uint16_t crc16(const uint8_t *bytes, uint8_t size)
{
    uint16_t crc = 0xffff;
    for (uint8_t i = 0; i < size; ++i) {
        crc ^= static_cast<uint16_t>(bytes[i]) << 8;
        for (uint8_t bit = 0; bit < 8; ++bit)
            crc = (crc & 0x8000) ? static_cast<uint16_t>((crc << 1) ^ 0x1021)
                                 : static_cast<uint16_t>(crc << 1);
    }
    return crc;
}

void encodeStoredState(const StoredState &state, uint8_t record[kStoredRecordSize])
{
    record[0] = kMark;
    record[1] = kVersion;
    record[kCountAt] = static_cast<uint8_t>(state.settings.innerLoopCount);
    record[kCountAt + 1] = static_cast<uint8_t>(state.settings.innerLoopCount >> 8);
    putFloat(record + kCoefficientAt, state.settings.lowPassCoefficient);
    for (uint8_t c = 0; c < kCylinders; ++c)
        putFloat(record + kAtmosphereAt + kValueSize * c, state.atmosphere[c]);
    const uint16_t crc = crc16(record, kCrcAt);
    record[kCrcAt] = static_cast<uint8_t>(crc);
    record[kCrcAt + 1] = static_cast<uint8_t>(crc >> 8);
}

StoredState decodeStoredState(const uint8_t record[kStoredRecordSize])
{
    const StoredState defaults = defaultStoredState();
    const uint16_t crc = static_cast<uint16_t>(record[kCrcAt] | record[kCrcAt + 1] << 8);
    if (record[0] != kMark || record[1] != kVersion || crc16(record, kCrcAt) != crc)
        return defaults;

    StoredState state = defaults;
    state.settings.innerLoopCount =
        static_cast<uint16_t>(record[kCountAt] | record[kCountAt + 1] << 8);
    state.settings.lowPassCoefficient = readFloat(record + kCoefficientAt);
    const Settings &s = state.settings;
    // Only values the settings command could have left: anything else is
    // damage the CRC happened not to see.
    if (s.innerLoopCount < kMinInnerLoopCount || s.innerLoopCount > kMaxInnerLoopCount
        || !(s.lowPassCoefficient >= 0.0f && s.lowPassCoefficient <= 1.0f))
        return defaults;
    for (uint8_t c = 0; c < kCylinders; ++c) {
        const float kpa = readFloat(record + kAtmosphereAt + kValueSize * c);
        if (isPlausibleAtmosphere(kpa))
            state.atmosphere[c] = kpa;
    }
    return state;
}

} // namespace board
