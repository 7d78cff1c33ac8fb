#pragma once

#include <cstdint>
#include <string>

// Builds bundle images byte by byte, so tests can make every kind of fault.
struct BundleBytes {
    std::string bytes;

    BundleBytes& U32(uint32_t value)
    {
        for (int shift = 24; shift >= 0; shift -= 8)
            bytes += static_cast<char>(value >> shift & 0xFF);
        return *this;
    }
    BundleBytes& U64(uint64_t value) { return U32(static_cast<uint32_t>(value >> 32)).U32(static_cast<uint32_t>(value)); }
    BundleBytes& U8(uint8_t value) { bytes += static_cast<char>(value); return *this; }
    BundleBytes& Text(const std::string& text) { bytes += text; return *this; }
    BundleBytes& Header(uint32_t chunkArea = 16, uint32_t version = 0, uint32_t flags = 0)
    {
        return Text("q7ab").U32(version).U32(chunkArea).U32(flags);
    }
    BundleBytes& Chunk(const std::string& tag, const std::string& data) { return Text(tag).U64(data.size()).Text(data); }
};

// One directory entry: reserved words, offset, size, extra, compression, name.
inline std::string DirectoryEntry(const std::string& name, uint64_t offset, uint64_t size, uint32_t reserved = 0,
    uint8_t compression = 0)
{
    return BundleBytes().U32(reserved).U32(0).U64(offset).U64(size).U64(0).U8(compression).U32(
        static_cast<uint32_t>(name.size())).Text(name).bytes;
}

inline std::string Directory(uint32_t count, const std::string& entries)
{
    return BundleBytes().U32(count).Text(entries).bytes;
}
