#include "Quorvel/pe_image.h"

#include <algorithm>
#include <stdexcept>

#include "Quorvel/pe_fields.h"

uint64_t PeImageEnd(const std::string& head)
{
    if (head.compare(0, 2, "MZ") != 0)
        throw std::runtime_error("not a pe image");
    uint64_t pe = ReadU32At(head, 0x3C);
    if (ReadU32At(head, pe) != 0x00004550)
        throw std::runtime_error("not a pe image");
    uint64_t coff = pe + 4;
    uint32_t sectionCount = ReadU16At(head, coff + 2);
    uint32_t optionalSize = ReadU16At(head, coff + 16);
    uint64_t optional = coff + 20;
    // SizeOfHeaders sits at the same offset in PE32 and PE32+.
    uint64_t end = ReadU32At(head, optional + 60);
    uint64_t section = optional + optionalSize;
    for (uint32_t i = 0; i < sectionCount; ++i, section += 40) {
        uint64_t rawSize = ReadU32At(head, section + 16);
        uint64_t rawOffset = ReadU32At(head, section + 20);
        if (rawSize > 0)
            end = std::max(end, rawOffset + rawSize);
    }
    return end;
}
