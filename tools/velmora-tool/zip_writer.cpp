#include "tools/velmora-tool/zip_writer.h"

#include <cstdint>
#include <fstream>
#include <limits>
#include <stdexcept>
#include <vector>

#include <zlib.h>

namespace {

const uint16_t DosDate1980 = (0 << 9) | (1 << 5) | 1; // 1980-01-01
const uint16_t VersionNeeded = 10;                   // stored entries only
const uint16_t Utf8Names = 1 << 11;

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

void Write(std::ofstream& out, const char* bytes, size_t count)
{
    if (!out.write(bytes, static_cast<std::streamsize>(count)))
        throw std::runtime_error("cannot write the zip file");
}

void Write(std::ofstream& out, const std::string& bytes)
{
    Write(out, bytes.data(), bytes.size());
}

// Streams the file in blocks, to the checksum and, when out is given, on.
uint64_t Pass(const std::string& path, uint32_t& crc, std::ofstream* out)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    std::vector<char> block(1 << 20);
    uint64_t total = 0;
    uLong sum = crc32(0, nullptr, 0);
    while (in) {
        in.read(block.data(), static_cast<std::streamsize>(block.size()));
        size_t got = static_cast<size_t>(in.gcount());
        sum = crc32(sum, reinterpret_cast<const Bytef*>(block.data()), static_cast<uInt>(got));
        if (out)
            Write(*out, block.data(), got);
        total += got;
    }
    if (in.bad())
        throw std::runtime_error("cannot read " + path);
    crc = static_cast<uint32_t>(sum);
    return total;
}

uint32_t Checked32(uint64_t value)
{
    if (value >= std::numeric_limits<uint32_t>::max())
        throw std::runtime_error("zip: 4 GiB or more needs zip64, which is not written");
    return static_cast<uint32_t>(value);
}

}

void WriteStoredZip(const std::string& folder, const std::vector<std::string>& relativeNames, const std::string& top,
    const std::string& zipPath)
{
    std::ofstream out(zipPath, std::ios::binary | std::ios::trunc);
    if (!out)
        throw std::runtime_error("cannot create " + zipPath);
    std::vector<Entry> entries;
    uint64_t offset = 0;
    if (relativeNames.size() >= 0xFFFF)
        throw std::runtime_error("zip: 65535 files or more need zip64, which is not written");
    for (const std::string& relative : relativeNames) {
        std::string path = folder + "/" + relative;
        Entry entry;
        entry.name = top + "/" + relative;
        entry.size = Checked32(Pass(path, entry.crc, nullptr));
        entry.offset = Checked32(offset);
        std::string header;
        PutU32(header, 0x04034B50);
        header += CommonFields(entry) + entry.name;
        Write(out, header);
        uint32_t again = 0;
        if (Pass(path, again, &out) != entry.size || again != entry.crc)
            throw std::runtime_error(path + " changed while it was zipped");
        offset += header.size() + entry.size;
        entries.push_back(entry);
    }
    std::string central;
    for (const Entry& entry : entries) {
        PutU32(central, 0x02014B50);
        PutU16(central, VersionNeeded); // made by: MS-DOS attributes
        central += CommonFields(entry);
        PutU16(central, 0); // comment
        PutU16(central, 0); // disk
        PutU16(central, 0); // internal attributes
        PutU32(central, 0); // external attributes
        PutU32(central, entry.offset);
        central += entry.name;
    }
    std::string end;
    PutU32(end, 0x06054B50);
    PutU16(end, 0);
    PutU16(end, 0);
    PutU16(end, static_cast<uint16_t>(entries.size()));
    PutU16(end, static_cast<uint16_t>(entries.size()));
    PutU32(end, Checked32(central.size()));
    PutU32(end, Checked32(offset));
    PutU16(end, 0);
    Write(out, central);
    Write(out, end);
    out.close();
    if (!out)
        throw std::runtime_error("cannot write the zip file");
}
