#pragma once

#include <cstdint>
#include <forward_list>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "assets/bundle_entry.h"
#include "assets/bundle_name_index.h"

struct BundleChunkInfo {
    uint32_t tag = 0;
    uint64_t dataOffset = 0; // absolute offset of the chunk's first data byte
    uint64_t dataSize = 0;
};

// A sequential source of bundle bytes; each call throws "file read error"
// when the bytes are not there.
class IBundleStream {
public:
    virtual ~IBundleStream() = default;
    virtual void Read(void* buffer, uint64_t count) = 0;
    virtual void SeekTo(uint64_t offset) = 0;
    virtual void SeekBy(uint64_t count) = 0;
};

// Reader of "assets.dat": header, chunks, and the directory of stored files.
// It parses a memory image in place (or a sequential stream) and never owns
// its source. Every fault throws; "bundle read error" is a std::range_error.
// The directory is one flat index sorted by name, whose names are views of
// the image: a bundle written in name order is indexed without sorting. A
// mapped directory is looked up by a hash of the names beside it.
class AssetBundle {
public:
    enum class ReadMode : int32_t { None = 0, Memory = 1, Stream = 2 };

    AssetBundle() = default;
    // A copy's names would view the original's; a move keeps them valid.
    AssetBundle(const AssetBundle&) = delete;
    AssetBundle& operator=(const AssetBundle&) = delete;
    AssetBundle(AssetBundle&&) = default;
    AssetBundle& operator=(AssetBundle&&) = default;

    void AttachMemory(const uint8_t* base, uint64_t length);
    void AttachStream(IBundleStream& stream, uint64_t length);
    void Parse();
    // A copy of the entry, read back from the image when the bundle is mapped.
    std::optional<BundleEntry> Find(std::string_view name) const;
    const uint8_t* FileData(uint64_t offset) const;
    void Clear();

    // In byte order of the names, the first entry of each name only.
    const std::vector<BundleEntry>& Directory() const { return directory; }
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
    void ReadEntries(uint32_t count, std::vector<uint64_t>& hashes, bool& ordered);
    void IndexDirectory(const BundleChunkInfo& fdir, const std::vector<uint64_t>& hashes, bool ordered);
    std::string_view ReadName(uint32_t length);
    void SortDirectory();

    std::map<uint32_t, BundleChunkInfo> chunks;
    std::vector<BundleEntry> directory;
    BundleNameIndex nameIndex;
    // Names read from a stream; a list never moves what it holds.
    std::forward_list<std::string> streamedNames;
    uint64_t blobOffset = 0;
    uint64_t blobSize = 0;
    ReadMode readMode = ReadMode::None;
    uint64_t position = 0;
    uint64_t limit = 0;
    IBundleStream* stream = nullptr;
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
