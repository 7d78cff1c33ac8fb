#include "common/mapped_file.h"

#include <windows.h>

#include <stdexcept>

#include "common/paths_win32.h"

MappedFile::MappedFile(const std::string& path)
{
    HANDLE opened = CreateFileW(PlatformPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot open " + path);
    file = opened;
    try {
        LARGE_INTEGER length {};
        if (!GetFileSizeEx(opened, &length))
            throw std::runtime_error("cannot size " + path);
        size = static_cast<uint64_t>(length.QuadPart);
        if (size == 0)
            return;
        mapping = CreateFileMappingW(opened, nullptr, PAGE_READONLY, 0, 0, nullptr);
        if (!mapping)
            throw std::runtime_error("cannot map " + path);
        data = static_cast<const uint8_t*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0));
        if (!data)
            throw std::runtime_error("cannot view " + path);
    } catch (...) {
        if (mapping)
            CloseHandle(mapping);
        CloseHandle(opened);
        throw;
    }
}

MappedFile::~MappedFile()
{
    if (data)
        UnmapViewOfFile(data);
    if (mapping)
        CloseHandle(mapping);
    if (file)
        CloseHandle(file);
}
