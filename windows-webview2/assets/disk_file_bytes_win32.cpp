#include "assets/disk_file_bytes_win32.h"

#include <algorithm>
#include <stdexcept>

#include "common/paths_win32.h"

OpenedDiskFile::OpenedDiskFile(const std::string& path)
{
    handle = CreateFileW(PlatformPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
        FILE_FLAG_RANDOM_ACCESS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot open " + path);
    LARGE_INTEGER length {};
    if (!GetFileSizeEx(handle, &length)) {
        CloseHandle(handle);
        throw std::runtime_error("cannot size " + path);
    }
    size = static_cast<uint64_t>(length.QuadPart);
}

OpenedDiskFile::~OpenedDiskFile()
{
    CloseHandle(handle);
}

bool OpenedDiskFile::ReadAt(uint64_t offset, void* into, size_t count) const
{
    auto* bytes = static_cast<uint8_t*>(into);
    while (count > 0) {
        // On a handle opened without overlapped I/O, the offset in OVERLAPPED
        // makes the read positional and synchronous.
        OVERLAPPED at = {};
        at.Offset = static_cast<DWORD>(offset);
        at.OffsetHigh = static_cast<DWORD>(offset >> 32);
        DWORD wanted = static_cast<DWORD>(std::min<size_t>(count, 1u << 30));
        DWORD got = 0;
        if (!ReadFile(handle, bytes, wanted, &got, &at) || got == 0)
            return false;
        bytes += got;
        offset += got;
        count -= got;
    }
    return true;
}

DiskFileBytes::DiskFileBytes(std::shared_ptr<const OpenedDiskFile> opened, uint64_t rangeOffset, uint64_t rangeLength)
    : file(std::move(opened)), offset(rangeOffset), length(rangeLength)
{
    // The file may have changed size since it was examined.
    if (offset > file->Size() || length > file->Size() - offset)
        throw std::runtime_error("range past the end of the file");
}

bool DiskFileBytes::ReadAt(uint64_t at, void* into, size_t count) const
{
    if (at > length || count > length - at)
        return false;
    return file->ReadAt(offset + at, into, count);
}
