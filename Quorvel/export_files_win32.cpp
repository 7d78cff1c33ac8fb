#include "Quorvel/export_files_win32.h"

#include <windows.h>

#include "common/file_reading.h"
#include "common/paths_win32.h"

std::string ExportFilesWin32::ReadWholeFile(const std::string& path)
{
    return ::ReadWholeFile(path);
}

std::string ExportFilesWin32::ReadFileStart(const std::string& path, size_t maxBytes)
{
    return ::ReadFileStart(path, maxBytes);
}

uint64_t ExportFilesWin32::FileSize(const std::string& path)
{
    return ::FileSize(path);
}

std::vector<std::string> ExportFilesWin32::ListExecutables(const std::string& folderPath)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAW found {};
    HANDLE search = FindFirstFileW(PlatformPath(folderPath + "*.exe").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do
        names.push_back(WideToUtf8(found.cFileName));
    while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}
