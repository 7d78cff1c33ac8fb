#pragma once

#include <cstdint>
#include <string>

// Appends the low byteCount bytes of value, least significant first, as the
// binary formats written here (icon groups, version blocks) lay numbers out.
inline void AppendLittleEndian(std::string& out, uint32_t value, int byteCount)
{
    for (int i = 0; i < byteCount; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}
