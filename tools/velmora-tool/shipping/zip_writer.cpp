#include "tools/velmora-tool/shipping/zip_writer.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <vector>

#include <zlib.h>

namespace {

const uint16_t DosDate1980 = (0 << 9) | (1 << 5) | 1; // 1980-01-01
const uint16_t VersionStored = 10;                   // stored entries only
const uint16_t VersionZip64 = 45;
const uint16_t Utf8Names = 1 << 11;
const uint16_t MadeOnUnix = 3 << 8;
const uint32_t RegularFileMode = 0100644;
const uint64_t Max32 = 0xFFFFFFFF;
const uint64_t Max16 = 0xFFFF;
const uint16_t Zip64ExtraId = 0x0001;

void PutU16(std::string& out, uint64_t value)
{
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void PutU32(std::string& out, uint64_t value)
{
    PutU16(out, value & 0xFFFF);
    PutU16(out, (value >> 16) & 0xFFFF);
}

void PutU64(std::string& out, uint64_t value)
{
    PutU32(out, value & 0xFFFFFFFF);
    PutU32(out, value >> 32);
}

// A 32-bit field, or the mark that the zip64 extra field holds the value.
uint64_t Field32(uint64_t value)
{
    return value >= Max32 ? Max32 : value;
}

struct Entry {
    std::string name;
    uint32_t crc = 0;
    uint64_t size = 0;
    uint64_t offset = 0;

    // The zip64 extension, only where a value needs it: readers then see
    // what a plain zip would have been for every other entry.
    bool LargeSize() const { return size >= Max32; }
    bool LargeOffset() const { return offset >= Max32; }
    uint16_t Version() const { return LargeSize() || LargeOffset() ? VersionZip64 : VersionStored; }
};

// The zip64 extra field with these values, or nothing without any.
std::string Zip64Extra(const std::vector<uint64_t>& values)
{
    std::string extra;
    if (values.empty())
        return extra;
    PutU16(extra, Zip64ExtraId);
    PutU16(extra, 8 * values.size());
    for (uint64_t value : values)
        PutU64(extra, value);
    return extra;
}

// The fields that the local and the central header share, from "version
// needed" to the extra field's length.
std::string CommonFields(const Entry& entry, size_t extraLength)
{
    std::string fields;
    PutU16(fields, entry.Version());
    PutU16(fields, Utf8Names);
    PutU16(fields, 0); // stored
    PutU16(fields, 0); // 00:00
    PutU16(fields, DosDate1980);
    PutU32(fields, entry.crc);
    PutU32(fields, Field32(entry.size));
    PutU32(fields, Field32(entry.size));
    PutU16(fields, entry.name.size());
    PutU16(fields, extraLength);
    return fields;
}

std::string LocalHeader(const Entry& entry)
{
    // A local zip64 field holds both sizes, as the format demands.
    std::string extra = Zip64Extra(entry.LargeSize() ? std::vector<uint64_t> {entry.size, entry.size}
                                                     : std::vector<uint64_t> {});
    std::string header;
    PutU32(header, 0x04034B50);
    return header + CommonFields(entry, extra.size()) + entry.name + extra;
}

std::string CentralHeader(const Entry& entry)
{
    std::vector<uint64_t> large;
    if (entry.LargeSize())
        large = {entry.size, entry.size};
    if (entry.LargeOffset())
        large.push_back(entry.offset);
    std::string extra = Zip64Extra(large);
    std::string header;
    PutU32(header, 0x02014B50);
    // Made on Unix: readers then take the names as the bytes they are
    // (UTF-8, as the flag says), where an MS-DOS origin makes some of them
    // convert from an OEM code page.
    PutU16(header, MadeOnUnix | entry.Version());
    header += CommonFields(entry, extra.size());
    PutU16(header, 0); // comment
    PutU16(header, 0); // disk
    PutU16(header, 0); // internal attributes
    PutU32(header, RegularFileMode << 16); // external attributes: -rw-r--r--
    PutU32(header, Field32(entry.offset));
    return header + entry.name + extra;
}

// The end records: the zip64 ones first when the entries, the central
// directory's size or its place pass what the plain record holds.
std::string EndRecords(uint64_t entries, uint64_t centralSize, uint64_t centralOffset)
{
    std::string end;
    if (entries >= Max16 || centralSize >= Max32 || centralOffset >= Max32) {
        uint64_t zip64End = centralOffset + centralSize;
        PutU32(end, 0x06064B50);
        PutU64(end, 44); // the record's size after this field
        PutU16(end, MadeOnUnix | VersionZip64);
        PutU16(end, VersionZip64);
        PutU32(end, 0); // this disk
        PutU32(end, 0); // the central directory's disk
        PutU64(end, entries);
        PutU64(end, entries);
        PutU64(end, centralSize);
        PutU64(end, centralOffset);
        PutU32(end, 0x07064B50);
        PutU32(end, 0); // the zip64 end record's disk
        PutU64(end, zip64End);
        PutU32(end, 1); // disks in all
    }
    PutU32(end, 0x06054B50);
    PutU16(end, 0);
    PutU16(end, 0);
    PutU16(end, entries >= Max16 ? Max16 : entries);
    PutU16(end, entries >= Max16 ? Max16 : entries);
    PutU32(end, Field32(centralSize));
    PutU32(end, Field32(centralOffset));
    PutU16(end, 0);
    return end;
}

// The archive being written, named in the messages of failed writes.
struct ZipOutput {
    std::ofstream out;
    std::string path;

    void Write(const char* bytes, size_t count)
    {
        errno = 0;
        if (!out.write(bytes, static_cast<std::streamsize>(count)))
            Fail();
    }
    void Write(const std::string& bytes) { Write(bytes.data(), bytes.size()); }
    [[noreturn]] void Fail() const
    {
        throw std::runtime_error("cannot write " + path + ": " + std::strerror(errno ? errno : EIO));
    }
};

// Streams the file in blocks, to the checksum and, when out is given, on.
uint64_t Pass(const std::string& path, uint32_t& crc, ZipOutput* out, const std::function<void()>& between)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    std::vector<char> block(1 << 20);
    uint64_t total = 0;
    uLong sum = crc32(0, nullptr, 0);
    while (in) {
        between();
        in.read(block.data(), static_cast<std::streamsize>(block.size()));
        size_t got = static_cast<size_t>(in.gcount());
        sum = crc32(sum, reinterpret_cast<const Bytef*>(block.data()), static_cast<uInt>(got));
        if (out)
            out->Write(block.data(), got);
        total += got;
    }
    if (in.bad())
        throw std::runtime_error("cannot read " + path);
    crc = static_cast<uint32_t>(sum);
    return total;
}

}

void WriteStoredZip(const std::string& folder, const std::vector<std::string>& relativeNames, const std::string& top,
    const std::string& zipPath, const std::function<void()>& between)
{
    ZipOutput zip {std::ofstream(zipPath, std::ios::binary | std::ios::trunc), zipPath};
    if (!zip.out)
        throw std::runtime_error("cannot create " + zipPath + ": " + std::strerror(errno ? errno : EIO));
    std::vector<Entry> entries;
    uint64_t offset = 0;
    for (const std::string& relative : relativeNames) {
        std::string path = folder + "/" + relative;
        Entry entry;
        entry.name = top + "/" + relative;
        entry.size = Pass(path, entry.crc, nullptr, between);
        entry.offset = offset;
        std::string header = LocalHeader(entry);
        zip.Write(header);
        uint32_t again = 0;
        if (Pass(path, again, &zip, between) != entry.size || again != entry.crc)
            throw std::runtime_error(path + " changed while it was zipped");
        offset += header.size() + entry.size;
        entries.push_back(std::move(entry));
    }
    uint64_t centralSize = 0;
    for (const Entry& entry : entries) {
        std::string header = CentralHeader(entry);
        zip.Write(header);
        centralSize += header.size();
    }
    zip.Write(EndRecords(entries.size(), centralSize, offset));
    errno = 0;
    zip.out.close();
    if (!zip.out)
        zip.Fail();
}
