#include "assets/disk_files_win32.h"

#include <windows.h>

#include "assets/folder_boundary_win32.h"

namespace {

DiskEntry ExamineOpened(HANDLE file, const std::string& folder)
{
    DiskEntry entry;
    BY_HANDLE_FILE_INFORMATION data = {};
    // A device or a pipe would never end or never answer: as good as missing.
    if (GetFileType(file) != FILE_TYPE_DISK || !GetFileInformationByHandle(file, &data))
        return entry;
    if (!LiesInsideFolder(file, folder))
        return entry;
    entry.exists = true;
    entry.isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    entry.size = static_cast<uint64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
    return entry;
}

}

DiskEntry DiskFilesWin32::Examine(const std::string& folder, const std::string& path) const
{
    HANDLE file = OpenForQuery(path);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    DiskEntry entry = ExamineOpened(file, folder);
    CloseHandle(file);
    return entry;
}
