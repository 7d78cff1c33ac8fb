#include "Quorvel/resource_section_rewrite.h"

#include <algorithm>
#include <stdexcept>

namespace {

const PeDataDirectory& Directory(const PeLayout& layout, int index)
{
    static const PeDataDirectory none;
    return static_cast<size_t>(index) < layout.directories.size() ? layout.directories[static_cast<size_t>(index)] : none;
}

size_t ResourceSectionIndex(const PeLayout& layout)
{
    uint32_t rva = Directory(layout, PeResourceDirectory).rva;
    for (size_t k = 0; k < layout.sections.size(); ++k) {
        if (rva != 0 && layout.sections[k].virtualAddress == rva)
            return k;
    }
    throw std::runtime_error("executable has no resource section");
}

// Only the base relocation table may follow: nothing in the image refers to
// its own addresses, so it can move.
void CheckFollowers(const PeLayout& layout, size_t resource)
{
    const PeSection& section = layout.sections[resource];
    size_t followers = layout.sections.size() - resource - 1;
    if (followers > 1)
        throw std::runtime_error("sections follow the resource section");
    if (followers == 1) {
        const PeSection& next = layout.sections.back();
        const PeDataDirectory& relocations = Directory(layout, PeRelocationDirectory);
        if (relocations.rva != next.virtualAddress || next.rawOffset != section.rawOffset + section.rawSize ||
            next.virtualAddress < section.virtualAddress)
            throw std::runtime_error("sections follow the resource section");
    }
    for (size_t k = 0; k < resource; ++k) {
        const PeSection& earlier = layout.sections[k];
        // Its bytes are kept as they are, so they must end where the
        // resource section starts.
        if (earlier.virtualAddress >= section.virtualAddress ||
            static_cast<uint64_t>(earlier.rawOffset) + earlier.rawSize > section.rawOffset)
            throw std::runtime_error("sections follow the resource section");
    }
    for (size_t index = 0; index < layout.directories.size(); ++index) {
        int kind = static_cast<int>(index);
        const PeDataDirectory& entry = layout.directories[index];
        if (kind == PeResourceDirectory || kind == PeRelocationDirectory || entry.size == 0)
            continue;
        if (kind == PeCertificateDirectory)
            throw std::runtime_error("executable is signed");
        if (entry.rva >= section.virtualAddress)
            throw std::runtime_error("sections follow the resource section");
    }
}

// Debug records name file offsets; one at or after the resource section
// would point at moved bytes.
void CheckDebugRecords(const std::string& image, const PeLayout& layout, uint32_t resourceRaw)
{
    const PeDataDirectory& debug = Directory(layout, PeDebugDirectory);
    if (debug.size == 0)
        return;
    size_t at = FileOffsetOf(layout, debug.rva, debug.size);
    for (uint32_t k = 0; k + 28 <= debug.size; k += 28) {
        if (ReadU32At(image, at + k + 24) >= resourceRaw)
            throw std::runtime_error("debug data follows the resource section");
    }
}

uint64_t RawEnd(const PeLayout& layout)
{
    uint64_t end = 0;
    for (const PeSection& section : layout.sections) {
        if (section.rawSize > 0)
            end = std::max<uint64_t>(end, static_cast<uint64_t>(section.rawOffset) + section.rawSize);
    }
    return end;
}

}

std::string ReplaceResourceSection(const std::string& image, const ResourceTree& tree)
{
    PeLayout layout = ReadPeLayout(image);
    size_t resource = ResourceSectionIndex(layout);
    CheckFollowers(layout, resource);
    const PeSection section = layout.sections[resource];
    // The headers, the section table included, stay in front of it.
    if (section.rawOffset < layout.sections.back().headerOffset + 40)
        throw std::runtime_error("bad resource section");
    CheckDebugRecords(image, layout, section.rawOffset);
    if (image.size() > RawEnd(layout))
        throw std::runtime_error("executable has data after its last section");

    std::string content = BuildResourceSection(tree, section.virtualAddress);
    uint32_t rawSize = AlignUp(content.size(), layout.fileAlignment);
    std::string out = image.substr(0, section.rawOffset);
    out += content;
    out.resize(static_cast<size_t>(section.rawOffset) + rawSize, '\0');
    WriteU32At(out, section.headerOffset + 8, static_cast<uint32_t>(content.size()));
    WriteU32At(out, section.headerOffset + 16, rawSize);
    WriteU32At(out, layout.directoryOffset + 8 * PeResourceDirectory + 4, static_cast<uint32_t>(content.size()));

    uint64_t imageEnd = static_cast<uint64_t>(section.virtualAddress) + content.size();
    if (resource + 1 < layout.sections.size()) {
        const PeSection& next = layout.sections.back();
        uint32_t movedRva = AlignUp(imageEnd, layout.sectionAlignment);
        WriteU32At(out, next.headerOffset + 12, movedRva);
        WriteU32At(out, next.headerOffset + 20, static_cast<uint32_t>(out.size()));
        WriteU32At(out, layout.directoryOffset + 8 * PeRelocationDirectory, movedRva);
        out += image.substr(next.rawOffset, next.rawSize);
        imageEnd = static_cast<uint64_t>(movedRva) + std::max(next.virtualSize, next.rawSize);
    }
    WriteU32At(out, layout.optionalOffset + PeSizeOfImageField, AlignUp(imageEnd, layout.sectionAlignment));
    if (section.characteristics & 0x40) {
        size_t field = layout.optionalOffset + PeSizeOfInitializedDataField;
        uint64_t initialized = ReadU32At(out, field);
        initialized = initialized + rawSize >= section.rawSize ? initialized + rawSize - section.rawSize : 0;
        WriteU32At(out, field, static_cast<uint32_t>(std::min<uint64_t>(initialized, 0xFFFFFFFFu)));
    }
    if (layout.checksum != 0)
        WriteU32At(out, layout.optionalOffset + PeChecksumField, PeChecksum(out, layout.optionalOffset + PeChecksumField));
    return out;
}
