#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A PE file laid out as a linker would: headers, then sections in address
// order, each at the next file and section alignment. Directories point at
// the sections given for them.
struct PeBuilder {
    struct Section {
        std::string name;
        std::string bytes;
        uint32_t characteristics = 0x40000040; // initialised data, readable
    };

    bool pe32Plus = true;
    uint32_t checksum = 0;
    std::vector<Section> sections;
    int resourceSection = -1;
    int relocationSection = -1;
    std::string overlay;
    uint32_t certificateSize = 0;

    static constexpr uint32_t FileAlignment = 0x200;
    static constexpr uint32_t SectionAlignment = 0x1000;

    static uint32_t Align(uint32_t value, uint32_t alignment) { return (value + alignment - 1) / alignment * alignment; }

    // The address the n-th section will have.
    uint32_t AddressOf(size_t n) const
    {
        uint32_t address = SectionAlignment;
        for (size_t k = 0; k < n; ++k)
            address += Align(static_cast<uint32_t>(sections[k].bytes.size()), SectionAlignment);
        return address;
    }

    std::string Build() const
    {
        const uint32_t peOffset = 0x80;
        const uint32_t optionalSize = pe32Plus ? 240 : 224;
        const uint32_t headersSize = FileAlignment;
        std::string pe(headersSize, '\0');
        auto put = [&pe](size_t at, uint32_t value, int width) {
            for (int i = 0; i < width; ++i)
                pe[at + static_cast<size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
        };
        pe[0] = 'M';
        pe[1] = 'Z';
        put(0x3C, peOffset, 4);
        pe.replace(peOffset, 4, std::string("PE\0\0", 4));
        put(peOffset + 4, pe32Plus ? 0x8664 : 0x14C, 2);
        put(peOffset + 6, static_cast<uint32_t>(sections.size()), 2);
        put(peOffset + 20, optionalSize, 2);
        size_t optional = peOffset + 24;
        put(optional, pe32Plus ? 0x20B : 0x10B, 2);
        put(optional + 32, SectionAlignment, 4);
        put(optional + 36, FileAlignment, 4);
        put(optional + 60, headersSize, 4);
        put(optional + 64, checksum, 4);
        size_t directories = optional + (pe32Plus ? 112 : 96);
        put(directories - 4, 16, 4);
        uint32_t initialised = 0;
        uint32_t raw = headersSize;
        size_t header = optional + optionalSize;
        for (size_t k = 0; k < sections.size(); ++k, header += 40) {
            const Section& section = sections[k];
            uint32_t size = static_cast<uint32_t>(section.bytes.size());
            uint32_t rawSize = Align(size, FileAlignment);
            pe.replace(header, section.name.size(), section.name);
            put(header + 8, size, 4);
            put(header + 12, AddressOf(k), 4);
            put(header + 16, rawSize, 4);
            put(header + 20, raw, 4);
            put(header + 36, section.characteristics, 4);
            if (section.characteristics & 0x40)
                initialised += rawSize;
            std::string data = section.bytes;
            data.resize(rawSize, '\0');
            pe += data;
            raw += rawSize;
            if (static_cast<int>(k) == resourceSection) {
                put(directories + 16, AddressOf(k), 4);
                put(directories + 20, size, 4);
            }
            if (static_cast<int>(k) == relocationSection) {
                put(directories + 40, AddressOf(k), 4);
                put(directories + 44, size, 4);
            }
        }
        put(optional + 8, initialised, 4);
        put(optional + 56, AddressOf(sections.size()), 4);
        if (certificateSize) {
            put(directories + 32, raw, 4);
            put(directories + 36, certificateSize, 4);
        }
        return pe + overlay;
    }
};

// Code, read-only data, resources and optionally relocations, as the linker
// lays out the host; resources(address) gives the resource section's bytes.
inline PeBuilder HostLayout(const std::function<std::string(uint32_t)>& resources, bool relocations)
{
    PeBuilder builder;
    builder.sections.push_back({".text", std::string(0x321, '\xC3'), 0x60000020});
    builder.sections.push_back({".rdata", std::string(0x100, 'r')});
    builder.sections.push_back({".rsrc", ""});
    builder.resourceSection = 2;
    builder.sections[2].bytes = resources(builder.AddressOf(2));
    if (relocations) {
        builder.sections.push_back({".reloc", std::string(0x2A4, 'x'), 0x42000040});
        builder.relocationSection = 3;
    }
    return builder;
}

// A minimal PE32 file: headers of 0x200 bytes and one section whose raw
// data ends the image, followed by overlayBytes extra bytes.
inline std::string MinimalPe(uint32_t rawSize, size_t overlayBytes = 0)
{
    PeBuilder builder;
    builder.pe32Plus = false;
    builder.sections.push_back({".text", std::string(rawSize, '\0'), 0x60000020});
    builder.overlay = std::string(overlayBytes, '\0');
    return builder.Build();
}
