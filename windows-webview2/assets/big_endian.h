#pragma once

#include <cstdint>

// The bundle's numbers, most significant byte first.
inline uint32_t U32At(const uint8_t* bytes)
{
    return static_cast<uint32_t>(bytes[0]) << 24 | static_cast<uint32_t>(bytes[1]) << 16 |
           static_cast<uint32_t>(bytes[2]) << 8 | bytes[3];
}

inline uint64_t U64At(const uint8_t* bytes)
{
    return static_cast<uint64_t>(U32At(bytes)) << 32 | U32At(bytes + 4);
}
