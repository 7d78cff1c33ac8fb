#include "common/file_reading.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

std::string ReadFileStart(const std::string& path, uint64_t maxBytes)
{
    // Sized first: opening a FIFO would wait for a writer.
    uint64_t size = std::min(FileSize(path), maxBytes);
    if (size == 0)
        return {};
    std::ifstream in(fs::u8path(path), std::ios::binary);
    std::string bytes(static_cast<size_t>(size), '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<size_t>(in.gcount()));
    return bytes;
}

uint64_t FileSize(const std::string& path)
{
    std::error_code error;
    if (!fs::is_regular_file(fs::u8path(path), error))
        return 0;
    uintmax_t size = fs::file_size(fs::u8path(path), error);
    return error ? 0 : size;
}
