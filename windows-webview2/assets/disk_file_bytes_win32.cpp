#include "assets/disk_file_bytes_win32.h"

#include <stdexcept>

#include "common/paths_win32.h"
#include "common/positional_read_win32.h"

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
    return ReadAtOffset(handle, offset, into, count);
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
