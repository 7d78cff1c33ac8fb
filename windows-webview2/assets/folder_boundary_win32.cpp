#include "assets/folder_boundary_win32.h"

#include <vector>

#include "common/paths_win32.h"

namespace {

// The handle's file named by its volume's serial number and its path on
// that volume: the form some systems give when the full final path is
// refused (Wine past MAX_PATH).
std::wstring VolumePathOf(HANDLE handle)
{
    BY_HANDLE_FILE_INFORMATION information = {};
    if (!GetFileInformationByHandle(handle, &information))
        return {};
    std::vector<char> buffer(sizeof(FILE_NAME_INFO) + 32768 * sizeof(wchar_t));
    auto* name = reinterpret_cast<FILE_NAME_INFO*>(buffer.data());
    if (!GetFileInformationByHandleEx(handle, FileNameInfo, name, static_cast<DWORD>(buffer.size())))
        return {};
    std::wstring path = L"volume ";
    for (int shift = 28; shift >= 0; shift -= 4)
        path += L"0123456789abcdef"[information.dwVolumeSerialNumber >> shift & 0xF];
    return path + L":" + std::wstring(name->FileName, name->FileNameLength / sizeof(wchar_t));
}

// "" when the system cannot name the handle's file.
std::wstring FinalPathOf(HANDLE handle)
{
    DWORD needed = GetFinalPathNameByHandleW(handle, nullptr, 0, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (needed == 0)
        return VolumePathOf(handle);
    std::wstring path(needed, L'\0');
    DWORD written = GetFinalPathNameByHandleW(handle, path.data(), needed, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (written == 0 || written >= needed)
        return VolumePathOf(handle);
    path.resize(written);
    return path;
}

// The folder named by one of the two functions above, ending with "\\".
std::wstring FolderName(const std::string& folder, std::wstring (*nameOf)(HANDLE))
{
    HANDLE opened = OpenForQuery(folder);
    if (opened == INVALID_HANDLE_VALUE)
        return {};
    std::wstring path = nameOf(opened);
    CloseHandle(opened);
    if (!path.empty() && path.back() != L'\\')
        path += L'\\';
    return path;
}

bool IsVolumeForm(const std::wstring& path)
{
    return path.compare(0, 7, L"volume ") == 0;
}

}

// Folders open only with backup semantics; attributes need no read access.
HANDLE OpenForQuery(const std::string& path)
{
    return CreateFileW(PlatformPath(path).c_str(), FILE_READ_ATTRIBUTES,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
        nullptr);
}

bool LiesInsideFolder(HANDLE file, const std::string& folder)
{
    std::wstring path = FinalPathOf(file);
    // Both named the same way: the folder as the file could be named.
    std::wstring inside = FolderName(folder, IsVolumeForm(path) ? VolumePathOf : FinalPathOf);
    if (inside.empty() || path.size() <= inside.size())
        return false;
    // File names compare as the file system does: without regard to case.
    int length = static_cast<int>(inside.size());
    return CompareStringOrdinal(path.c_str(), length, inside.c_str(), length, TRUE) == CSTR_EQUAL;
}
