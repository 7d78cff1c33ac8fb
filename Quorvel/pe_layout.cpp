#include "Quorvel/pe_layout.h"

#include <stdexcept>

namespace {

void Require(bool condition)
{
    if (!condition)
        throw std::runtime_error("not a pe image");
}

bool IsPowerOfTwo(uint32_t value)
{
    return value != 0 && (value & (value - 1)) == 0;
}

}

uint32_t AlignUp(uint64_t value, uint32_t alignment)
{
    uint64_t aligned = (value + alignment - 1) & ~static_cast<uint64_t>(alignment - 1);
    if (aligned > 0xFFFFFFFFu)
        throw std::runtime_error("resources too large");
    return static_cast<uint32_t>(aligned);
}

PeLayout ReadPeLayout(const std::string& image)
{
    Require(image.compare(0, 2, "MZ") == 0);
    uint64_t pe = ReadU32At(image, 0x3C);
    Require(ReadU32At(image, pe) == 0x00004550);
    uint64_t coff = pe + 4;
    uint16_t sectionCount = ReadU16At(image, coff + 2);
    uint16_t optionalSize = ReadU16At(image, coff + 16);
    PeLayout layout;
    layout.optionalOffset = static_cast<size_t>(coff + 20);
    uint16_t magic = ReadU16At(image, layout.optionalOffset);
    Require(magic == 0x10B || magic == 0x20B);
    uint64_t directoryCountField = layout.optionalOffset + (magic == 0x10B ? 92 : 108);
    layout.sectionAlignment = ReadU32At(image, layout.optionalOffset + 32);
    layout.fileAlignment = ReadU32At(image, layout.optionalOffset + 36);
    Require(IsPowerOfTwo(layout.sectionAlignment) && IsPowerOfTwo(layout.fileAlignment));
    layout.checksum = ReadU32At(image, layout.optionalOffset + PeChecksumField);
    uint32_t directoryCount = ReadU32At(image, directoryCountField);
    layout.directoryOffset = static_cast<size_t>(directoryCountField + 4);
    Require(directoryCount <= 16 && layout.directoryOffset + 8 * directoryCount <= layout.optionalOffset + optionalSize);
    for (uint32_t i = 0; i < directoryCount; ++i) {
        size_t at = layout.directoryOffset + 8 * i;
        layout.directories.push_back({ReadU32At(image, at), ReadU32At(image, at + 4)});
    }
    size_t header = layout.optionalOffset + optionalSize;
    for (uint16_t i = 0; i < sectionCount; ++i, header += 40) {
        PeSection section;
        section.headerOffset = header;
        section.virtualSize = ReadU32At(image, header + 8);
        section.virtualAddress = ReadU32At(image, header + 12);
        section.rawSize = ReadU32At(image, header + 16);
        section.rawOffset = ReadU32At(image, header + 20);
        section.characteristics = ReadU32At(image, header + 36);
        Require(static_cast<uint64_t>(section.rawOffset) + section.rawSize <= image.size());
        layout.sections.push_back(section);
    }
    return layout;
}

size_t FileOffsetOf(const PeLayout& layout, uint32_t rva, uint32_t length)
{
    for (const PeSection& section : layout.sections) {
        if (rva < section.virtualAddress)
            continue;
        uint64_t into = rva - section.virtualAddress;
        if (into + length <= section.rawSize)
            return section.rawOffset + static_cast<size_t>(into);
    }
    throw std::runtime_error("bad resource address");
}

uint32_t PeChecksum(const std::string& image, size_t checksumOffset)
{
    // The checksum field itself counts as zero.
    auto byteAt = [&](size_t at) -> uint32_t {
        if (at >= image.size() || (at >= checksumOffset && at < checksumOffset + 4))
            return 0;
        return static_cast<unsigned char>(image[at]);
    };
    uint64_t sum = 0;
    for (size_t at = 0; at < image.size(); at += 2) {
        sum += byteAt(at) | byteAt(at + 1) << 8;
        sum = (sum & 0xFFFF) + (sum >> 16);
    }
    sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<uint32_t>(sum) + static_cast<uint32_t>(image.size());
}
