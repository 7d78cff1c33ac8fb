#include "window/placement_store_win32.h"

#include <windows.h>

#include <vector>

#include "common/file_reading.h"
#include "common/paths_win32.h"

namespace {

BOOL CALLBACK AddWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM lParam)
{
    MONITORINFO info {};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(monitor, &info))
        reinterpret_cast<std::vector<WindowRect>*>(lParam)->push_back(
            {info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom});
    return TRUE;
}

std::vector<WindowRect> WorkAreas()
{
    std::vector<WindowRect> areas;
    EnumDisplayMonitors(nullptr, nullptr, AddWorkArea, reinterpret_cast<LPARAM>(&areas));
    return areas;
}

std::string PlacementPath(const std::string& userDataFolder)
{
    return userDataFolder + "\\" + SavedPlacementFile;
}

bool WriteNewFile(const std::wstring& path, const std::string& bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool whole = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)
        && written == bytes.size();
    CloseHandle(file);
    return whole;
}

}

std::optional<SavedPlacement> LoadReachablePlacement(const std::string& userDataFolder)
{
    std::optional<SavedPlacement> saved = ParseSavedPlacement(ReadWholeFile(PlacementPath(userDataFolder)));
    if (!saved || !IsReachable(saved->normal, WorkAreas()))
        return std::nullopt;
    return saved;
}

void StorePlacement(const std::string& userDataFolder, const SavedPlacement& placement)
{
    CreateDirectoryW(PlatformPath(userDataFolder).c_str(), nullptr);
    std::wstring target = PlatformPath(PlacementPath(userDataFolder));
    std::wstring partial = target + L".partial";
    if (!WriteNewFile(partial, SavedPlacementText(placement))
        || !MoveFileExW(partial.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        DeleteFileW(partial.c_str());
}
