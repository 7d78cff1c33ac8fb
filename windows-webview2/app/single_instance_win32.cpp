#include "app/single_instance_win32.h"

#include "app/instance_name.h"
#include "common/text_win32.h"
#include "window/window_class_win32.h"

namespace {

struct Search {
    HANDLE mark;
    HWND found;
};

BOOL CALLBACK FindMarkedWindow(HWND window, LPARAM lParam)
{
    auto* search = reinterpret_cast<Search*>(lParam);
    if (GetPropW(window, InstanceProperty) != search->mark)
        return TRUE;
    search->found = window;
    return FALSE;
}

HANDLE MarkOf(const std::string& executablePath)
{
    return reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(InstanceHash(executablePath)));
}

}

bool HandOverToRunningCopy(const std::string& executablePath)
{
    // Held, never closed: the lock ends with this process.
    HANDLE lock = CreateMutexW(nullptr, FALSE, Utf8ToWide(InstanceLockName(executablePath)).c_str());
    if (!lock || GetLastError() != ERROR_ALREADY_EXISTS)
        return false;
    CloseHandle(lock);
    // A copy still starting has no window yet; it shows itself soon.
    Search search {MarkOf(executablePath), nullptr};
    EnumWindows(FindMarkedWindow, reinterpret_cast<LPARAM>(&search));
    if (!search.found)
        return true;
    if (IsIconic(search.found))
        ShowWindow(search.found, SW_RESTORE);
    SetForegroundWindow(search.found);
    return true;
}

void MarkRunningCopy(HWND window, const std::string& executablePath)
{
    SetPropW(window, InstanceProperty, MarkOf(executablePath));
}
