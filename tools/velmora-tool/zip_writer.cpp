#include "tools/velmora-tool/zip_writer.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <stdexcept>
#include <vector>

#include <zlib.h>

namespace {

const uint16_t DosDate1980 = (0 << 9) | (1 << 5) | 1; // 1980-01-01
const uint16_t VersionNeeded = 10;                   // stored entries only
const uint16_t Utf8Names = 1 << 11;
const uint16_t MadeByUnix = (3 << 8) | 20;
const uint32_t RegularFileMode = 0100644;

void PutU16(std::string& out, uint16_t value)
{
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8);
}

void PutU32(std::string& out, uint32_t value)
{
    PutU16(out, static_cast<uint16_t>(value & 0xFFFF));
    PutU16(out, static_cast<uint16_t>(value >> 16));
}

struct Entry {
    std::string name;
    uint32_t crc = 0;
    uint32_t size = 0;
    uint32_t offset = 0;
};

// The fields that the local and the central header share, from "version
// needed" to the extra field's length.
std::string CommonFields(const Entry& entry)
{
    std::string fields;
    PutU16(fields, VersionNeeded);
    PutU16(fields, Utf8Names);
    PutU16(fields, 0); // stored
    PutU16(fields, 0); // 00:00
    PutU16(fields, DosDate1980);
    PutU32(fields, entry.crc);
    PutU32(fields, entry.size);
    PutU32(fields, entry.size);
    PutU16(fields, static_cast<uint16_t>(entry.name.size()));
    PutU16(fields, 0);
    return fields;
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

const uint64_t Limit32 = std::numeric_limits<uint32_t>::max();
const size_t MostEntries = 0xFFFF;
// The fixed parts of a local and a central header, and of the end record.
const uint64_t EntryOverhead = 30 + 46;
const uint64_t EndRecord = 22;

}

void CheckZipFits(const std::vector<uint64_t>& fileSizes, uint64_t nameBytes)
{
    if (fileSizes.size() >= MostEntries)
        throw std::runtime_error("cannot zip " + std::to_string(fileSizes.size())
            + " files: 65,535 or more need the zip64 extension, which is not written");
    uint64_t total = EndRecord + 2 * nameBytes;
    for (uint64_t size : fileSizes) {
        if (size >= Limit32)
            throw std::runtime_error("cannot zip a file of 4 GiB or more: that needs the zip64 extension, which is not "
                                     "written");
        total += size + EntryOverhead;
    }
    if (total >= Limit32)
        throw std::runtime_error("cannot zip the export: 4 GiB or more in all needs the zip64 extension, which is not "
                                 "written");
}

void WriteStoredZip(const std::string& folder, const std::vector<std::string>& relativeNames, const std::string& top,
    const std::string& zipPath, const std::function<void()>& between)
{
    ZipOutput zip {std::ofstream(zipPath, std::ios::binary | std::ios::trunc), zipPath};
    if (!zip.out)
        throw std::runtime_error("cannot create " + zipPath + ": " + std::strerror(errno ? errno : EIO));
    std::vector<uint64_t> sizes;
    uint64_t nameBytes = 0;
    for (const std::string& relative : relativeNames) {
        sizes.push_back(std::filesystem::file_size(folder + "/" + relative));
        nameBytes += top.size() + 1 + relative.size();
    }
    CheckZipFits(sizes, nameBytes);
    std::vector<Entry> entries;
    uint64_t offset = 0;
    for (const std::string& relative : relativeNames) {
        std::string path = folder + "/" + relative;
        Entry entry;
        entry.name = top + "/" + relative;
        entry.size = static_cast<uint32_t>(Pass(path, entry.crc, nullptr, between));
        entry.offset = static_cast<uint32_t>(offset);
        std::string header;
        PutU32(header, 0x04034B50);
        header += CommonFields(entry) + entry.name;
        zip.Write(header);
        uint32_t again = 0;
        if (Pass(path, again, &zip, between) != entry.size || again != entry.crc)
            throw std::runtime_error(path + " changed while it was zipped");
        offset += header.size() + entry.size;
        entries.push_back(entry);
    }
    std::string central;
    for (const Entry& entry : entries) {
        PutU32(central, 0x02014B50);
        // Made by Unix: readers then take the names as the bytes they are
        // (UTF-8, as the flag says), where an MS-DOS origin makes some of
        // them convert from an OEM code page.
        PutU16(central, MadeByUnix);
        central += CommonFields(entry);
        PutU16(central, 0); // comment
        PutU16(central, 0); // disk
        PutU16(central, 0); // internal attributes
        PutU32(central, RegularFileMode << 16); // external attributes: -rw-r--r--
        PutU32(central, entry.offset);
        central += entry.name;
    }
    std::string end;
    PutU32(end, 0x06054B50);
    PutU16(end, 0);
    PutU16(end, 0);
    PutU16(end, static_cast<uint16_t>(entries.size()));
    PutU16(end, static_cast<uint16_t>(entries.size()));
    PutU32(end, static_cast<uint32_t>(central.size()));
    PutU32(end, static_cast<uint32_t>(offset));
    PutU16(end, 0);
    zip.Write(central);
    zip.Write(end);
    errno = 0;
    zip.out.close();
    if (!zip.out)
        zip.Fail();
}
