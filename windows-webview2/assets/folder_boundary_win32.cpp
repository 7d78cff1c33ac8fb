#include "assets/folder_boundary_win32.h"

#include "common/paths_win32.h"

namespace {

// "" when the system cannot name the handle's file.
std::wstring FinalPathOf(HANDLE handle)
{
    DWORD needed = GetFinalPathNameByHandleW(handle, nullptr, 0, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (needed == 0)
        return {};
    std::wstring path(needed, L'\0');
    DWORD written = GetFinalPathNameByHandleW(handle, path.data(), needed, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (written == 0 || written >= needed)
        return {};
    path.resize(written);
    return path;
}

std::wstring FinalFolderPath(const std::string& folder)
{
    HANDLE opened = CreateFileW(PlatformPath(folder).c_str(), FILE_READ_ATTRIBUTES,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
        nullptr);
    if (opened == INVALID_HANDLE_VALUE)
        return {};
    std::wstring path = FinalPathOf(opened);
    CloseHandle(opened);
    if (!path.empty() && path.back() != L'\\')
        path += L'\\';
    return path;
}

}

bool LiesInsideFolder(HANDLE file, const std::string& folder)
{
    std::wstring inside = FinalFolderPath(folder);
    std::wstring path = FinalPathOf(file);
    if (inside.empty() || path.size() <= inside.size())
        return false;
    // File names compare as the file system does: without regard to case.
    int length = static_cast<int>(inside.size());
    return CompareStringOrdinal(path.c_str(), length, inside.c_str(), length, TRUE) == CSTR_EQUAL;
}
