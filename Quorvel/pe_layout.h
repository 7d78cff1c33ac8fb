#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Quorvel/pe_fields.h"

struct PeSection {
    size_t headerOffset = 0; // where its 40-byte header sits in the file
    uint32_t virtualSize = 0;
    uint32_t virtualAddress = 0;
    uint32_t rawSize = 0;
    uint32_t rawOffset = 0;
    uint32_t characteristics = 0;
};

struct PeDataDirectory {
    uint32_t rva = 0;
    uint32_t size = 0;
};

// The parts of a PE32 or PE32+ file's headers that a resource rewrite reads
// and changes, with the file offsets of the fields it changes.
struct PeLayout {
    size_t optionalOffset = 0;
    uint32_t fileAlignment = 0;
    uint32_t sectionAlignment = 0;
    uint32_t checksum = 0;
    size_t directoryOffset = 0; // of data directory 0
    std::vector<PeDataDirectory> directories;
    std::vector<PeSection> sections;
};

inline constexpr size_t PeChecksumField = 64; // from the optional header
inline constexpr size_t PeSizeOfInitializedDataField = 8;
inline constexpr size_t PeSizeOfImageField = 56;
inline constexpr int PeCertificateDirectory = 4;
inline constexpr int PeResourceDirectory = 2;
inline constexpr int PeRelocationDirectory = 5;
inline constexpr int PeDebugDirectory = 6;

// Throws "not a pe image" for anything the headers do not describe
// consistently: a missing signature, an unknown optional header, tables
// past the end of the file, or alignments that are not powers of two.
PeLayout ReadPeLayout(const std::string& image);


// value rounded up to the power of two alignment; throws "resources too
// large" past 32 bits.
uint32_t AlignUp(uint64_t value, uint32_t alignment);

// The file offset of rva when a section's raw data holds length bytes
// there; throws "bad resource address" otherwise.
size_t FileOffsetOf(const PeLayout& layout, uint32_t rva, uint32_t length);

// The checksum of the image file as the loader's CheckSumMappedFile sums it.
uint32_t PeChecksum(const std::string& image, size_t checksumOffset);
