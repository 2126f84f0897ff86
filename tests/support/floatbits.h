#ifndef FLOATBITS_H
#define FLOATBITS_H

#include <cstdint>
#include <cstring>

// The bit pattern of a single-precision value and back, for exact checks
// of NaN payloads, signed zeros and denormals.
inline std::uint32_t bitsOf(float value)
{
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

inline float floatFromBits(std::uint32_t bits)
{
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

#endif // FLOATBITS_H
