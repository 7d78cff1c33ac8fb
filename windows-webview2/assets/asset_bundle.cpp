#include "assets/asset_bundle.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace {

// An entry's reserved words, offset, size, extra, compression and name length.
const uint64_t EntryFixedBytes = 37;

// first + count > bound, without wrapping past 2^64.
bool PassesEnd(uint64_t first, uint64_t count, uint64_t bound)
{
    return first > bound || count > bound - first;
}

}

void AssetBundle::AttachMemory(const uint8_t* base, uint64_t length)
{
    readMode = ReadMode::Memory;
    memoryBase = base;
    stream = nullptr;
    position = 0;
    limit = length;
}

void AssetBundle::AttachStream(IBundleStream& source, uint64_t length)
{
    readMode = ReadMode::Stream;
    stream = &source;
    memoryBase = nullptr;
    position = 0;
    limit = length;
}

void AssetBundle::ReadBytes(void* buffer, uint64_t count)
{
    if (PassesEnd(position, count, limit))
        throw std::range_error("bundle read error");
    if (readMode == ReadMode::Memory) {
        std::memcpy(buffer, memoryBase + position, static_cast<size_t>(count));
    } else if (readMode == ReadMode::Stream) {
        stream->Read(buffer, count);
    } else {
        throw std::runtime_error("invalid read mode");
    }
    position += count;
}

uint32_t AssetBundle::ReadU32()
{
    uint8_t bytes[4];
    ReadBytes(bytes, sizeof bytes);
    return static_cast<uint32_t>(bytes[0]) << 24 | static_cast<uint32_t>(bytes[1]) << 16 |
           static_cast<uint32_t>(bytes[2]) << 8 | bytes[3];
}

uint64_t AssetBundle::ReadU64()
{
    uint64_t high = ReadU32();
    return high << 32 | ReadU32();
}

uint8_t AssetBundle::ReadU8()
{
    uint8_t byte = 0;
    ReadBytes(&byte, 1);
    return byte;
}

void AssetBundle::MoveTo(uint64_t offset)
{
    // A place at or past the limit is never read from, so a stream need not
    // (and often cannot) seek there.
    if (readMode == ReadMode::Stream && offset < limit)
        stream->SeekTo(offset);
    position = offset;
}

void AssetBundle::Skip(uint64_t count)
{
    if (readMode == ReadMode::Stream)
        stream->SeekBy(count);
    position += count;
}

void AssetBundle::Parse()
{
    chunks.clear();
    directory.clear();
    streamedNames.clear();
    blobOffset = 0;
    blobSize = 0;

    if (ReadU32() != BundleMagicTag)
        throw std::runtime_error("bad format");
    if (ReadU32() != 0)
        throw std::runtime_error("unsupported version");
    uint32_t chunkArea = ReadU32();
    if (ReadU32() != 0)
        throw std::runtime_error("invalid flags");

    MoveTo(chunkArea);
    ReadChunks();

    auto blob = chunks.find(BundleBlobTag);
    if (blob == chunks.end())
        throw std::runtime_error("missing blob chunk");
    blobOffset = blob->second.dataOffset;
    blobSize = blob->second.dataSize;
    auto fdir = chunks.find(BundleDirectoryTag);
    if (fdir == chunks.end())
        throw std::runtime_error("missing fdir chunk");
    ReadDirectory(fdir->second);
}

void AssetBundle::ReadChunks()
{
    while (position < limit) {
        uint32_t tag = ReadU32();
        uint64_t size = ReadU64();
        uint64_t data = position;
        if (PassesEnd(data, size, limit))
            throw std::runtime_error("bad chunk");
        chunks.emplace(tag, BundleChunkInfo{tag, data, size}); // the first chunk of a tag wins
        Skip(size);
    }
}

void AssetBundle::ReadDirectory(const BundleChunkInfo& fdir)
{
    MoveTo(fdir.dataOffset);
    limit = fdir.dataOffset + fdir.dataSize;
    uint32_t count = ReadU32();
    // Entries read before a fault stay usable, so the index is made either way.
    try {
        ReadEntries(count);
    } catch (...) {
        IndexDirectory();
        throw;
    }
    IndexDirectory();
}

void AssetBundle::ReadEntries(uint32_t count)
{
    // Bounded by what the chunk can hold, so a damaged count reserves little.
    directory.reserve(std::min<uint64_t>(count, (limit - position) / EntryFixedBytes));
    for (uint32_t i = 0; i < count; ++i) {
        BundleEntry entry;
        uint32_t reserved1 = ReadU32();
        uint32_t reserved2 = ReadU32();
        if (reserved1 != 0 || reserved2 != 0)
            throw std::runtime_error("bad file entry");
        entry.offset = ReadU64();
        entry.size = ReadU64();
        entry.extra = ReadU64();
        if (PassesEnd(entry.offset, entry.size, blobSize))
            throw std::runtime_error("bad file entry");
        entry.compression = ReadU8();
        if (entry.compression != 0)
            throw std::runtime_error("bad file compression");
        entry.name = ReadName(ReadU32());
        directory.push_back(entry);
    }
}

std::string_view AssetBundle::ReadName(uint32_t length)
{
    if (PassesEnd(position, length, limit))
        throw std::range_error("bundle read error");
    if (readMode == ReadMode::Memory) {
        std::string_view name(reinterpret_cast<const char*>(memoryBase + position), length);
        position += length;
        return name;
    }
    std::string& name = streamedNames.emplace_back(length, '\0');
    ReadBytes(name.data(), length);
    return name;
}

// Sorted by name with the first entry of each name kept; a directory that is
// already in strict name order, as the packer writes it, is only checked.
void AssetBundle::IndexDirectory()
{
    auto byName = [](const BundleEntry& a, const BundleEntry& b) { return a.name < b.name; };
    auto notBefore = [](const BundleEntry& a, const BundleEntry& b) { return !(a.name < b.name); };
    if (std::adjacent_find(directory.begin(), directory.end(), notBefore) == directory.end())
        return;
    std::stable_sort(directory.begin(), directory.end(), byName);
    auto sameName = [](const BundleEntry& a, const BundleEntry& b) { return a.name == b.name; };
    directory.erase(std::unique(directory.begin(), directory.end(), sameName), directory.end());
}

const BundleEntry* AssetBundle::Find(std::string_view name) const
{
    auto it = std::lower_bound(directory.begin(), directory.end(), name,
        [](const BundleEntry& entry, std::string_view wanted) { return entry.name < wanted; });
    return it != directory.end() && it->name == name ? &*it : nullptr;
}

const uint8_t* AssetBundle::FileData(uint64_t offset) const
{
    if (readMode != ReadMode::Memory)
        throw std::runtime_error("wrong read mode");
    return memoryBase + blobOffset + offset;
}

void AssetBundle::Clear()
{
    chunks.clear();
    directory.clear();
    streamedNames.clear();
}
