#include "assets/asset_bundle.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <utility>

#include "assets/big_endian.h"
#include "assets/name_hash.h"

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
    return U32At(bytes);
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
    Clear();
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
    // Entries read before a fault stay usable, so they are indexed either way.
    std::vector<uint64_t> hashes;
    bool ordered = true;
    try {
        ReadEntries(count, hashes, ordered);
    } catch (...) {
        IndexDirectory(fdir, hashes, ordered);
        throw;
    }
    IndexDirectory(fdir, hashes, ordered);
}

// The name index is made in the order the entries were read, so that the
// first of a repeated name is the one found; a directory in strict name
// order, as the packer writes it, is kept as it is.
void AssetBundle::IndexDirectory(const BundleChunkInfo& fdir, const std::vector<uint64_t>& hashes, bool ordered)
{
    if (readMode == ReadMode::Memory)
        nameIndex.Build(memoryBase + fdir.dataOffset, fdir.dataSize, directory, hashes);
    if (!ordered)
        SortDirectory();
}

namespace {

// The fields of an entry's fixed part, without its name's bytes.
BundleEntry EntryAt(const uint8_t* fixed)
{
    BundleEntry entry;
    entry.offset = U64At(fixed + 8);
    entry.size = U64At(fixed + 16);
    entry.extra = U64At(fixed + 24);
    entry.compression = fixed[32];
    entry.nameLength = U32At(fixed + 33);
    return entry;
}

}

void AssetBundle::ReadEntries(uint32_t count, std::vector<uint64_t>& hashes, bool& ordered)
{
    // Bounded by what the chunk can hold, so a damaged count reserves little.
    uint64_t most = std::min<uint64_t>(count, (limit - position) / EntryFixedBytes);
    directory.reserve(most);
    if (readMode == ReadMode::Memory)
        hashes.reserve(most);
    for (uint32_t i = 0; i < count; ++i) {
        // In memory with a whole entry's fixed part left, the fields are read
        // in one step; otherwise one by one, so that a short chunk fails
        // exactly where it ends.
        uint8_t fixed[EntryFixedBytes];
        const uint8_t* at = fixed;
        bool whole = readMode == ReadMode::Memory && !PassesEnd(position, EntryFixedBytes, limit);
        if (whole) {
            at = memoryBase + position;
            position += EntryFixedBytes;
        } else {
            ReadBytes(fixed, 8);
        }
        if (U32At(at) != 0 || U32At(at + 4) != 0)
            throw std::runtime_error("bad file entry");
        if (!whole)
            ReadBytes(fixed + 8, EntryFixedBytes - 8);
        BundleEntry entry = EntryAt(at);
        if (PassesEnd(entry.offset, entry.size, blobSize))
            throw std::runtime_error("bad file entry");
        if (entry.compression != 0)
            throw std::runtime_error("bad file compression");
        entry.nameData = ReadName(entry.nameLength).data();
        // Hashed and compared with the name before while both are in cache.
        if (readMode == ReadMode::Memory)
            hashes.push_back(NameHash(entry.Name()));
        ordered = ordered && (directory.empty() || directory.back().Name() < entry.Name());
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
    std::string& name = streamedNames.emplace_front(length, '\0');
    ReadBytes(name.data(), length);
    return name;
}

namespace {

// Sixteen bytes of a name from a place on, big-endian, padded with zeros:
// two such keys compare as the names' bytes there do, or tie.
struct NameKey {
    uint64_t high = 0;
    uint64_t low = 0;
    uint32_t index = 0;
};

// Eight bytes of a name from a place on, big-endian, zero-padded.
uint64_t EightBytesAt(std::string_view name, size_t from)
{
    if (from + 8 <= name.size()) {
        uint64_t bytes = 0;
        std::memcpy(&bytes, name.data() + from, 8);
        return __builtin_bswap64(bytes);
    }
    uint64_t bytes = 0;
    for (size_t i = 0; i < 8; ++i)
        bytes = bytes << 8 | (from + i < name.size() ? static_cast<uint8_t>(name[from + i]) : 0);
    return bytes;
}

NameKey KeyOf(std::string_view name, size_t from, uint32_t index)
{
    return {EightBytesAt(name, from), EightBytesAt(name, from + 8), index};
}

size_t SharedLength(std::string_view a, std::string_view b, size_t most)
{
    most = std::min({most, a.size(), b.size()});
    return std::mismatch(a.begin(), a.begin() + most, b.begin()).first - a.begin();
}

// The keys of every entry after the prefix all names share, taken in one
// sweep over the names: what the first and the last name share is the
// likely prefix, and the keys are made again only if some name shares less.
std::vector<NameKey> KeysAfterSharedPrefix(const std::vector<BundleEntry>& entries)
{
    std::string_view first = entries.front().Name();
    size_t likely = SharedLength(first, entries.back().Name(), first.size());
    size_t shared = likely;
    std::vector<NameKey> keys;
    keys.reserve(entries.size());
    for (uint32_t i = 0; i < entries.size(); ++i) {
        shared = SharedLength(first, entries[i].Name(), shared);
        keys.push_back(KeyOf(entries[i].Name(), likely, i));
    }
    if (shared != likely)
        for (NameKey& key : keys)
            key = KeyOf(entries[key.index].Name(), shared, key.index);
    return keys;
}

// The key's 128 bits in digits of 11, the least significant first: digit
// 0 is the low 11 bits of `low`, digit 11 the top 7 of `high`.
const int DigitBits = 11;
const int Digits = (128 + DigitBits - 1) / DigitBits;
const size_t DigitValues = size_t(1) << DigitBits;

uint32_t DigitOf(const NameKey& key, int digit)
{
    int shift = digit * DigitBits;
    unsigned __int128 bits = static_cast<unsigned __int128>(key.high) << 64 | key.low;
    return static_cast<uint32_t>(bits >> shift) & (DigitValues - 1);
}

// Sorts by key, least significant digit first, each pass stable, so keys
// that tie keep the order of their entries. The counts of every digit are
// taken in one read; a digit that every key shares costs no pass.
void RadixSort(std::vector<NameKey>& keys)
{
    std::vector<uint32_t> counts(Digits * DigitValues);
    for (const NameKey& key : keys)
        for (int digit = 0; digit < Digits; ++digit)
            ++counts[digit * DigitValues + DigitOf(key, digit)];
    std::vector<NameKey> spare(keys.size());
    for (int digit = 0; digit < Digits; ++digit) {
        uint32_t* places = &counts[digit * DigitValues];
        if (places[DigitOf(keys.front(), digit)] == keys.size())
            continue;
        uint32_t next = 0;
        for (size_t value = 0; value < DigitValues; ++value)
            next += std::exchange(places[value], next);
        for (const NameKey& key : keys)
            spare[places[DigitOf(key, digit)]++] = key;
        keys.swap(spare);
    }
}

}

// Sorted by name with the first entry of each name kept.
void AssetBundle::SortDirectory()
{
    // Small keys holding the bytes after the prefix all names share sort
    // without touching the names, mostly; the position breaks ties, so that
    // the first entry of a name comes first.
    std::vector<NameKey> keys = KeysAfterSharedPrefix(directory);
    RadixSort(keys);
    // Names that tie on their keys differ further on, if at all; the
    // position breaks a tie of whole names, so that the first comes first.
    auto sameKey = [](const NameKey& a, const NameKey& b) { return a.high == b.high && a.low == b.low; };
    for (auto run = keys.begin(); run != keys.end();) {
        auto end = std::find_if_not(run, keys.end(), [&](const NameKey& key) { return sameKey(key, *run); });
        if (end - run > 1)
            std::sort(run, end, [this](const NameKey& a, const NameKey& b) {
                int order = directory[a.index].Name().compare(directory[b.index].Name());
                return order < 0 || (order == 0 && a.index < b.index);
            });
        run = end;
    }
    std::vector<BundleEntry> sorted;
    sorted.reserve(keys.size());
    // The entries are read out of order: fetch a few ahead.
    const size_t Ahead = 8;
    for (size_t i = 0; i < keys.size(); ++i) {
        if (i + Ahead < keys.size())
            __builtin_prefetch(&directory[keys[i + Ahead].index]);
        const BundleEntry& entry = directory[keys[i].index];
        // Names whose keys differ are different names, so only a tie on the
        // keys reads the names: the image is not read out of order again.
        bool repeated = i > 0 && sameKey(keys[i], keys[i - 1]) && sorted.back().Name() == entry.Name();
        if (!repeated)
            sorted.push_back(entry);
    }
    directory = std::move(sorted);
}

std::optional<BundleEntry> AssetBundle::Find(std::string_view name) const
{
    if (nameIndex.Built()) {
        const uint8_t* bytes = nameIndex.Find(name, NameHash(name));
        if (!bytes)
            return std::nullopt;
        BundleEntry entry = EntryAt(bytes - EntryFixedBytes);
        entry.nameData = reinterpret_cast<const char*>(bytes);
        return entry;
    }
    // A streamed directory, or one of 4 GiB or more, is searched by name.
    auto it = std::lower_bound(directory.begin(), directory.end(), name,
        [](const BundleEntry& entry, std::string_view wanted) { return entry.Name() < wanted; });
    if (it == directory.end() || it->Name() != name)
        return std::nullopt;
    return *it;
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
    nameIndex.Clear();
    streamedNames.clear();
}
