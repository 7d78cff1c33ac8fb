#pragma once

#include <cstdint>
#include <string>

// A minimal PE32 file: headers of 0x200 bytes and one section whose raw
// data ends the image, followed by overlayBytes extra bytes.
inline std::string MinimalPe(uint32_t rawSize, size_t overlayBytes = 0)
{
    const uint32_t peOffset = 0x40, optionalSize = 224, headersSize = 0x200;
    std::string pe(headersSize + rawSize + overlayBytes, '\0');
    auto put = [&pe](size_t at, uint32_t value, int width) {
        for (int i = 0; i < width; ++i)
            pe[at + static_cast<size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    pe[0] = 'M';
    pe[1] = 'Z';
    put(0x3C, peOffset, 4);
    pe.replace(peOffset, 4, std::string("PE\0\0", 4));
    put(peOffset + 4, 0x14C, 2);
    put(peOffset + 6, 1, 2);
    put(peOffset + 20, optionalSize, 2);
    put(peOffset + 24, 0x10B, 2);
    put(peOffset + 24 + 60, headersSize, 4);
    size_t section = peOffset + 24 + optionalSize;
    pe.replace(section, 5, ".text");
    put(section + 16, rawSize, 4);
    put(section + 20, headersSize, 4);
    return pe;
}
