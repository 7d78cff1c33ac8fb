#include "Quorvel/pe_fields.h"

#include <stdexcept>

namespace {

void RequireField(const std::string& bytes, uint64_t offset, uint64_t width)
{
    if (offset > bytes.size() || bytes.size() - offset < width)
        throw std::runtime_error("not a pe image");
}

}

uint32_t ReadU32At(const std::string& bytes, uint64_t offset)
{
    return static_cast<uint32_t>(ReadU16At(bytes, offset)) | static_cast<uint32_t>(ReadU16At(bytes, offset + 2)) << 16;
}

uint16_t ReadU16At(const std::string& bytes, uint64_t offset)
{
    RequireField(bytes, offset, 2);
    size_t at = static_cast<size_t>(offset);
    return static_cast<uint16_t>(static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8);
}

void WriteU16At(std::string& bytes, uint64_t offset, uint16_t value)
{
    RequireField(bytes, offset, 2);
    bytes[static_cast<size_t>(offset)] = static_cast<char>(value & 0xFF);
    bytes[static_cast<size_t>(offset) + 1] = static_cast<char>(value >> 8);
}

void WriteU32At(std::string& bytes, uint64_t offset, uint32_t value)
{
    WriteU16At(bytes, offset, static_cast<uint16_t>(value & 0xFFFF));
    WriteU16At(bytes, offset + 2, static_cast<uint16_t>(value >> 16));
}
