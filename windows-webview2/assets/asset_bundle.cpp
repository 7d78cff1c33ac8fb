#include "assets/asset_bundle.h"

#include <cstring>
#include <stdexcept>

namespace {

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

void AssetBundle::AttachStream(std::istream& source, uint64_t length)
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
        stream->read(static_cast<char*>(buffer), static_cast<std::streamsize>(count));
        if (static_cast<uint64_t>(stream->gcount()) != count)
            throw std::runtime_error("file read error");
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
    if (readMode == ReadMode::Stream && offset < limit) {
        stream->clear();
        if (!stream->seekg(static_cast<std::streamoff>(offset), std::ios::beg))
            throw std::runtime_error("file read error");
    }
    position = offset;
}

void AssetBundle::Skip(uint64_t count)
{
    if (readMode == ReadMode::Stream && !stream->seekg(static_cast<std::streamoff>(count), std::ios::cur))
        throw std::runtime_error("file read error");
    position += count;
}

void AssetBundle::Parse()
{
    chunks.clear();
    directory.clear();
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
        uint32_t nameLength = ReadU32();
        if (PassesEnd(position, nameLength, limit))
            throw std::range_error("bundle read error");
        entry.name.resize(nameLength);
        ReadBytes(entry.name.data(), nameLength);
        directory.emplace(entry.name, entry); // the first entry of a name wins
    }
}

const BundleEntry* AssetBundle::Find(const std::string& name) const
{
    auto it = directory.find(name);
    return it == directory.end() ? nullptr : &it->second;
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
}
