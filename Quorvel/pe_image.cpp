#include "Quorvel/pe_image.h"

#include <algorithm>
#include <stdexcept>

namespace {

uint32_t ReadLittleEndian(const std::string& bytes, uint64_t offset, int width)
{
    if (offset + static_cast<uint64_t>(width) > bytes.size())
        throw std::runtime_error("not a pe image");
    uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[static_cast<size_t>(offset) + static_cast<size_t>(i)]);
    return value;
}

}

uint64_t PeImageEnd(const std::string& head)
{
    if (head.compare(0, 2, "MZ") != 0)
        throw std::runtime_error("not a pe image");
    uint64_t pe = ReadLittleEndian(head, 0x3C, 4);
    if (ReadLittleEndian(head, pe, 4) != 0x00004550)
        throw std::runtime_error("not a pe image");
    uint64_t coff = pe + 4;
    uint32_t sectionCount = ReadLittleEndian(head, coff + 2, 2);
    uint32_t optionalSize = ReadLittleEndian(head, coff + 16, 2);
    uint64_t optional = coff + 20;
    // SizeOfHeaders sits at the same offset in PE32 and PE32+.
    uint64_t end = ReadLittleEndian(head, optional + 60, 4);
    uint64_t section = optional + optionalSize;
    for (uint32_t i = 0; i < sectionCount; ++i, section += 40) {
        uint64_t rawSize = ReadLittleEndian(head, section + 16, 4);
        uint64_t rawOffset = ReadLittleEndian(head, section + 20, 4);
        if (rawSize > 0)
            end = std::max(end, rawOffset + rawSize);
    }
    return end;
}
