#pragma once

#include <cstdint>
#include <istream>
#include <map>
#include <string>

struct BundleChunkInfo {
    uint32_t tag = 0;
    uint64_t dataOffset = 0; // absolute offset of the chunk's first data byte
    uint64_t dataSize = 0;
};

struct BundleEntry {
    std::string name;
    uint32_t compression = 0;
    uint64_t offset = 0; // relative to the blob data
    uint64_t size = 0;
    uint64_t extra = 0;
};

// Reader of "assets.dat": header, chunks, and the directory of stored files.
// It parses a memory image in place (or a sequential stream) and never owns
// its source. Every fault throws; "bundle read error" is a std::range_error.
class AssetBundle {
public:
    enum class ReadMode : int32_t { None = 0, Memory = 1, Stream = 2 };

    void AttachMemory(const uint8_t* base, uint64_t length);
    void AttachStream(std::istream& stream, uint64_t length);
    void Parse();
    const BundleEntry* Find(const std::string& name) const;
    const uint8_t* FileData(uint64_t offset) const;
    void Clear();

    const std::map<std::string, BundleEntry>& Directory() const { return directory; }
    uint64_t BlobSize() const { return blobSize; }

private:
    uint32_t ReadU32();
    uint64_t ReadU64();
    uint8_t ReadU8();
    void ReadBytes(void* buffer, uint64_t count);
    void MoveTo(uint64_t offset);
    void Skip(uint64_t count);
    void ReadChunks();
    void ReadDirectory(const BundleChunkInfo& fdir);

    std::map<uint32_t, BundleChunkInfo> chunks;
    std::map<std::string, BundleEntry> directory;
    uint64_t blobOffset = 0;
    uint64_t blobSize = 0;
    ReadMode readMode = ReadMode::None;
    uint64_t position = 0;
    uint64_t limit = 0;
    std::istream* stream = nullptr;
    const uint8_t* memoryBase = nullptr;
};

// Tags as the big-endian reading of their four bytes.
constexpr uint32_t BundleTag(const char (&text)[5])
{
    return static_cast<uint32_t>(static_cast<uint8_t>(text[0])) << 24 |
           static_cast<uint32_t>(static_cast<uint8_t>(text[1])) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(text[2])) << 8 | static_cast<uint8_t>(text[3]);
}

// The file's magic and the two chunks the host reads.
inline constexpr uint32_t BundleMagicTag = BundleTag("q7ab");
inline constexpr uint32_t BundleBlobTag = BundleTag("blob");
inline constexpr uint32_t BundleDirectoryTag = BundleTag("fdir");
