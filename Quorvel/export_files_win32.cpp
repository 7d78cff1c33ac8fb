#include "export_files_win32.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <sys/stat.h>

#include "text_win32.h"

namespace {

uint64_t StatSize(const std::wstring& path)
{
    struct _stat64 status {};
    return _wstat64(path.c_str(), &status) == 0 && status.st_size > 0 ? static_cast<uint64_t>(status.st_size) : 0;
}

std::string ReadUpTo(const std::string& path, uint64_t maxBytes)
{
    std::wstring widePath = Utf8ToWide(path);
    FILE* file = nullptr;
    // "S" hints sequential access to the cache manager.
    if (_wfopen_s(&file, widePath.c_str(), L"rbS") != 0 || !file)
        return {};
    std::string bytes;
    uint64_t size = std::min(StatSize(widePath), maxBytes);
    if (size <= bytes.max_size()) {
        bytes.resize(static_cast<size_t>(size));
        bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file));
    }
    std::fclose(file);
    return bytes;
}

}

std::string ExportFilesWin32::ReadWholeFile(const std::string& path)
{
    return ReadUpTo(path, UINT64_MAX);
}

std::string ExportFilesWin32::ReadFileStart(const std::string& path, size_t maxBytes)
{
    return ReadUpTo(path, maxBytes);
}

uint64_t ExportFilesWin32::FileSize(const std::string& path)
{
    return StatSize(Utf8ToWide(path));
}

std::vector<std::string> ExportFilesWin32::ListExecutables(const std::string& folderPath)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAW found {};
    HANDLE search = FindFirstFileW(Utf8ToWide(folderPath + "*.exe").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do
        names.push_back(WideToUtf8(found.cFileName));
    while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}
