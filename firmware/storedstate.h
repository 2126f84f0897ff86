#ifndef STOREDSTATE_H
#define STOREDSTATE_H

// What the board keeps in its EEPROM across power cycles: its two settings
// and the last good atmosphere of each sensor, in one record with a mark, a
// version and a CRC-16, so that a blank (all 0xff) or damaged EEPROM is
// recognised and gives the defaults.

#include "boardsettings.h"

#include <stdint.h>

namespace board {

struct StoredState
{
    Settings settings;
    // kPa absolute; NaN where none is kept.
    float atmosphere[kCylinders];
};

// The defaults: 10 and 0.5, no atmosphere kept.
StoredState defaultStoredState();

// mark, version, count (2 bytes), coefficient, four atmospheres, CRC.
constexpr uint8_t kStoredRecordSize = 2 + 2 + 4 + 4 * kCylinders + 2;

void encodeStoredState(const StoredState &state, uint8_t record[kStoredRecordSize]);
// The state a record holds; the defaults for a record that is blank,
// damaged or holds values the board would never have written.
StoredState decodeStoredState(const uint8_t record[kStoredRecordSize]);

// CRC-16/CCITT-FALSE (polynomial 0x1021, start 0xffff).
uint16_t crc16(const uint8_t *bytes, uint8_t size);

} // namespace board

#endif // STOREDSTATE_H
