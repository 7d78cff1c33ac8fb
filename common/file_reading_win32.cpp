#include "common/file_reading.h"

#include <algorithm>
#include <cstdio>
#include <sys/stat.h>

#include "common/paths_win32.h"

std::string ReadFileStart(const std::string& path, uint64_t maxBytes)
{
    FILE* file = nullptr;
    // "S" hints sequential access to the cache manager.
    if (_wfopen_s(&file, PlatformPath(path).c_str(), L"rbS") != 0 || !file)
        return {};
    std::string bytes;
    uint64_t size = std::min(FileSize(path), maxBytes);
    if (size <= bytes.max_size()) {
        bytes.resize(static_cast<size_t>(size));
        bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file));
    }
    std::fclose(file);
    return bytes;
}

uint64_t FileSize(const std::string& path)
{
    struct _stat64 status {};
    if (_wstat64(PlatformPath(path).c_str(), &status) != 0 || status.st_size <= 0)
        return 0;
    return static_cast<uint64_t>(status.st_size);
}
