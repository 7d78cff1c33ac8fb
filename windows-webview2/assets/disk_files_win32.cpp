#include "assets/disk_files_win32.h"

#include <windows.h>

#include "common/paths_win32.h"

DiskEntry DiskFilesWin32::Examine(const std::string& path) const
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    DiskEntry entry;
    if (!GetFileAttributesExW(PlatformPath(path).c_str(), GetFileExInfoStandard, &data))
        return entry;
    entry.exists = true;
    entry.isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    entry.size = static_cast<uint64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
    return entry;
}
