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

// A copy that is still starting marks its window within moments; one that
// shows a start-up error never does, and its box is already in view.
const int FindAttempts = 30;
const DWORD FindInterval = 100;

HWND FindRunningWindow(HANDLE mark)
{
    Search search {mark, nullptr};
    for (int attempt = 0; attempt < FindAttempts; ++attempt) {
        EnumWindows(FindMarkedWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found)
            break;
        Sleep(FindInterval);
    }
    return search.found;
}

}

bool HandOverToRunningCopy(const std::string& executablePath)
{
    // Held, never closed: the lock ends with this process.
    HANDLE lock = CreateMutexW(nullptr, FALSE, Utf8ToWide(InstanceLockName(executablePath)).c_str());
    if (!lock || GetLastError() != ERROR_ALREADY_EXISTS)
        return false;
    CloseHandle(lock);
    HWND found = FindRunningWindow(MarkOf(executablePath));
    if (!found)
        return true;
    // Posted, never sent: a copy that hangs must not hang this start too.
    if (IsIconic(found))
        ShowWindowAsync(found, SW_RESTORE);
    SetForegroundWindow(found);
    return true;
}

void MarkRunningCopy(HWND window, const std::string& executablePath)
{
    SetPropW(window, InstanceProperty, MarkOf(executablePath));
}
