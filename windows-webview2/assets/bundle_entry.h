#pragma once

#include <cstdint>
#include <string_view>

// One file of a bundle's directory, in 40 bytes: the name is a pointer and
// a 32-bit length (a directory record gives no longer one), so that the
// directory and its name index fit 48 bytes an entry.
struct BundleEntry {
    // The name's bytes in the mapped image, or in the reader's own copy when
    // it reads a stream; valid while the bundle and its image are.
    const char* nameData = nullptr;
    uint32_t nameLength = 0;
    uint32_t compression = 0;
    uint64_t offset = 0; // relative to the blob data
    uint64_t size = 0;
    uint64_t extra = 0;

    std::string_view Name() const { return {nameData, nameLength}; }
};
