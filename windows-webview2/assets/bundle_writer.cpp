#include "assets/bundle_writer.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "assets/asset_bundle.h"

namespace fs = std::filesystem;

namespace {

const uint32_t HeaderSize = 16;
const size_t CopyBlock = 1 << 20;
// An entry's reserved words, offset, size, extra, compression and name length.
const uint64_t EntryFixedBytes = 37;

void PutU32(std::string& out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>(value >> shift & 0xFF);
}

void PutU64(std::string& out, uint64_t value)
{
    PutU32(out, static_cast<uint32_t>(value >> 32));
    PutU32(out, static_cast<uint32_t>(value));
}

std::string ChunkHeader(uint32_t tag, uint64_t size)
{
    std::string header;
    PutU32(header, tag);
    PutU64(header, size);
    return header;
}

// One directory entry: reserved words, offset, size, extra, compression, name.
std::string DirectoryEntry(const BundleSource& source, uint64_t offset)
{
    std::string entry;
    entry.reserve(EntryFixedBytes + source.name.size());
    PutU32(entry, 0);
    PutU32(entry, 0);
    PutU64(entry, offset);
    PutU64(entry, source.size);
    PutU64(entry, 0);
    entry += '\0';
    PutU32(entry, static_cast<uint32_t>(source.name.size()));
    entry += source.name;
    return entry;
}

void Write(std::ofstream& out, const std::string& bytes)
{
    if (!out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())))
        throw std::runtime_error("cannot write the bundle");
}

// Streams one file through a fixed buffer; its size must not have changed
// since it was collected, or the directory would lie.
void CopyFile(std::ofstream& out, const BundleSource& source, std::vector<char>& buffer, uint64_t& done,
    uint64_t total, const PackProgress& progress)
{
    // Unbuffered: blocks go straight between the file and the buffer.
    std::ifstream in;
    in.rdbuf()->pubsetbuf(nullptr, 0);
    in.open(source.diskPath, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + source.diskPath);
    uint64_t left = source.size;
    while (left > 0) {
        size_t block = static_cast<size_t>(std::min<uint64_t>(left, buffer.size()));
        if (!in.read(buffer.data(), static_cast<std::streamsize>(block)))
            throw std::runtime_error(source.diskPath + " changed while packing");
        if (!out.write(buffer.data(), static_cast<std::streamsize>(block)))
            throw std::runtime_error("cannot write the bundle");
        left -= block;
        done += block;
        if (progress)
            progress(done, total);
    }
}

}

std::vector<BundleSource> CollectBundleSources(const std::string& folder, const std::string& excluded)
{
    std::vector<BundleSource> sources;
    // Only a file of the bundle's own name can be the bundle, so only such a
    // file is compared with it, by identity (whatever the path's spelling).
    fs::path skipName = fs::path(excluded).filename();
    for (const fs::directory_entry& item : fs::recursive_directory_iterator(folder)) {
        if (!item.is_regular_file())
            continue;
        std::error_code unrelated;
        if (item.path().filename() == skipName && fs::equivalent(item.path(), excluded, unrelated))
            continue;
        std::string name = item.path().lexically_relative(folder).generic_string();
        sources.push_back({name, item.path().string(), item.file_size()});
    }
    std::sort(sources.begin(), sources.end(),
        [](const BundleSource& a, const BundleSource& b) { return a.name < b.name; });
    return sources;
}

void WriteBundle(const std::vector<BundleSource>& sources, const std::string& output, const PackProgress& progress)
{
    uint64_t total = 0;
    for (const BundleSource& source : sources)
        total += source.size;

    std::ofstream out(output, std::ios::binary | std::ios::trunc);
    if (!out)
        throw std::runtime_error("cannot create " + output);
    std::string header;
    PutU32(header, BundleMagicTag);
    PutU32(header, 0);
    PutU32(header, HeaderSize);
    PutU32(header, 0);
    Write(out, header);
    Write(out, ChunkHeader(BundleBlobTag, total));

    std::vector<char> buffer(CopyBlock);
    uint64_t done = 0;
    for (const BundleSource& source : sources)
        CopyFile(out, source, buffer, done, total, progress);

    // Written entry by entry, so that memory does not grow with the folder.
    uint64_t fdirSize = 4;
    for (const BundleSource& source : sources)
        fdirSize += EntryFixedBytes + source.name.size();
    Write(out, ChunkHeader(BundleDirectoryTag, fdirSize));
    std::string count;
    PutU32(count, static_cast<uint32_t>(sources.size()));
    Write(out, count);
    uint64_t offset = 0;
    for (const BundleSource& source : sources) {
        Write(out, DirectoryEntry(source, offset));
        offset += source.size;
    }
    out.close();
    if (!out)
        throw std::runtime_error("cannot write the bundle");
}
