#include "assets/bundle_writer.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string_view>
#include <system_error>

#include "assets/asset_bundle.h"
#include "common/path_below.h"

namespace fs = std::filesystem;

namespace {

const uint32_t HeaderSize = 16;
const size_t CopyBlock = 1 << 20;
// An entry's reserved words, offset, size, extra, compression and name length.
const uint64_t EntryFixedBytes = 37;

void StoreBigEndian(uint8_t* at, uint64_t value, int bytes)
{
    for (int i = bytes - 1; i >= 0; --i, value >>= 8)
        at[i] = static_cast<uint8_t>(value);
}

// A failed write, with the system's reason (a full disk, a size limit).
struct WriteFailure : std::system_error {
    WriteFailure() : std::system_error(errno ? errno : EIO, std::generic_category()) {}
};

void Write(std::ofstream& out, const void* bytes, size_t count)
{
    errno = 0;
    if (!out.write(static_cast<const char*>(bytes), static_cast<std::streamsize>(count)))
        throw WriteFailure();
}

void Write(std::ofstream& out, const std::string& bytes)
{
    Write(out, bytes.data(), bytes.size());
}

void WriteChunkHeader(std::ofstream& out, uint32_t tag, uint64_t size)
{
    uint8_t header[12];
    StoreBigEndian(header, tag, 4);
    StoreBigEndian(header + 4, size, 8);
    Write(out, header, sizeof header);
}

// One directory entry: reserved words, offset, size, extra, compression, name.
void WriteDirectoryEntry(std::ofstream& out, const BundleSource& source, uint64_t offset)
{
    uint8_t fixed[EntryFixedBytes] = {};
    StoreBigEndian(fixed + 8, offset, 8);
    StoreBigEndian(fixed + 16, source.size, 8);
    StoreBigEndian(fixed + 33, source.name.size(), 4);
    Write(out, fixed, sizeof fixed);
    Write(out, source.name);
}

// Closes a file on every way out.
struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// Streams one file through a fixed buffer; its size must not have changed
// since it was collected, or the directory would lie.
void CopyFile(std::ofstream& out, const BundleSource& source, std::vector<char>& buffer, uint64_t& done,
    uint64_t total, const PackProgress& progress)
{
    // Unbuffered: blocks go straight between the file and the buffer. A C
    // file, since a stream's locale costs more than a small file's bytes.
    std::unique_ptr<std::FILE, FileCloser> in(std::fopen(source.diskPath.c_str(), "rb"));
    if (!in)
        throw std::runtime_error("cannot read " + source.diskPath);
    std::setvbuf(in.get(), nullptr, _IONBF, 0);
    uint64_t left = source.size;
    while (left > 0) {
        size_t block = static_cast<size_t>(std::min<uint64_t>(left, buffer.size()));
        if (std::fread(buffer.data(), 1, block, in.get()) != block)
            throw std::runtime_error(source.diskPath + " changed while packing");
        Write(out, buffer.data(), block);
        left -= block;
        done += block;
        if (progress)
            progress(done, total);
    }
    // A file that grew would be packed cut short.
    if (std::fgetc(in.get()) != EOF)
        throw std::runtime_error(source.diskPath + " changed while packing");
}

}

std::vector<BundleSource> CollectBundleSources(const std::string& folder, const std::string& excluded)
{
    std::vector<BundleSource> sources;
    // Only a file of the bundle's own name can be the bundle, so only such a
    // file is compared with it, by identity (whatever the path's spelling).
    std::string skipName = fs::path(excluded).filename().string();
    // The walk's paths begin with the folder as given; the rest is the name.
    const char separator = static_cast<char>(fs::path::preferred_separator);
    std::string root = fs::path(folder).string();
    size_t nameFrom = root.size() + (root.empty() || root.back() == separator ? 0 : 1);
    fs::path realFolder = fs::canonical(folder);
    for (const fs::directory_entry& item : fs::recursive_directory_iterator(folder)) {
        // A link is packed only when it stays inside the folder, as the
        // export has it.
        if (item.is_symlink()) {
            std::error_code broken;
            fs::path real = fs::canonical(item.path(), broken);
            if (broken || !IsPathBelow(realFolder, real))
                throw std::runtime_error("link out of the folder, or to nothing: " + item.path().string());
        }
        if (!item.is_regular_file())
            continue;
        std::string path = item.path().string();
        std::string_view fileName = std::string_view(path).substr(path.find_last_of(separator) + 1);
        std::error_code unrelated;
        if (fileName == skipName && fs::equivalent(item.path(), excluded, unrelated))
            continue;
        std::string name = path.compare(0, root.size(), root) == 0 ? path.substr(nameFrom)
                                                                   : item.path().lexically_relative(folder).string();
        std::replace(name.begin(), name.end(), separator, '/');
        sources.push_back({std::move(name), std::move(path), item.file_size()});
    }
    std::sort(sources.begin(), sources.end(),
        [](const BundleSource& a, const BundleSource& b) { return a.name < b.name; });
    return sources;
}

const BundleSource* FindSource(const std::vector<BundleSource>& sorted, const std::string& name)
{
    auto found = std::lower_bound(sorted.begin(), sorted.end(), name,
        [](const BundleSource& file, const std::string& wanted) { return file.name < wanted; });
    return found != sorted.end() && found->name == name ? &*found : nullptr;
}

namespace {

void WriteBundleFile(const std::vector<BundleSource>& sources, const std::string& output, const PackProgress& progress)
{
    uint64_t total = 0;
    for (const BundleSource& source : sources)
        total += source.size;

    std::ofstream out(output, std::ios::binary | std::ios::trunc);
    if (!out)
        throw std::runtime_error("cannot create " + output);
    uint8_t header[HeaderSize] = {};
    StoreBigEndian(header, BundleMagicTag, 4);
    StoreBigEndian(header + 8, HeaderSize, 4);
    Write(out, header, sizeof header);
    WriteChunkHeader(out, BundleBlobTag, total);

    std::vector<char> buffer(CopyBlock);
    uint64_t done = 0;
    for (const BundleSource& source : sources)
        CopyFile(out, source, buffer, done, total, progress);

    // Written entry by entry, so that memory does not grow with the folder.
    uint64_t fdirSize = 4;
    for (const BundleSource& source : sources)
        fdirSize += EntryFixedBytes + source.name.size();
    WriteChunkHeader(out, BundleDirectoryTag, fdirSize);
    uint8_t count[4];
    StoreBigEndian(count, sources.size(), 4);
    Write(out, count, sizeof count);
    uint64_t offset = 0;
    for (const BundleSource& source : sources) {
        WriteDirectoryEntry(out, source, offset);
        offset += source.size;
    }
    errno = 0;
    out.close();
    if (!out)
        throw WriteFailure();
}

}

uint64_t BundleSize(const std::vector<BundleSource>& sources)
{
    uint64_t size = HeaderSize + 2 * 12 + 4;
    for (const BundleSource& source : sources)
        size += source.size + EntryFixedBytes + source.name.size();
    return size;
}

void WriteBundle(const std::vector<BundleSource>& sources, const std::string& output, const PackProgress& progress)
{
    try {
        WriteBundleFile(sources, output, progress);
    } catch (const WriteFailure& failure) {
        throw std::runtime_error("cannot write " + output + ": " + failure.code().message());
    }
}
