#include "window/main_window_win32.h"

#include "window/workspace_coordinates.h"

#include "common/text_win32.h"
#include "window/dpi_win32.h"
#include "window/window_class_win32.h"
#include "window/workspace_coordinates.h"

namespace {

WindowRect FromRect(const RECT& rect)
{
    return {rect.left, rect.top, rect.right, rect.bottom};
}

}

NativeWindow MainWindowWin32::Handle()
{
    return window;
}

WindowRect MainWindowWin32::ClientRect()
{
    RECT rect {};
    GetClientRect(window, &rect);
    return FromRect(rect);
}

WindowRect MainWindowWin32::Rect()
{
    RECT rect {};
    GetWindowRect(window, &rect);
    return FromRect(rect);
}

namespace {

MonitorAreas AreasOf(HMONITOR monitor)
{
    MONITORINFO info {};
    info.cbSize = sizeof(info);
    GetMonitorInfoW(monitor, &info);
    return {FromRect(info.rcMonitor), FromRect(info.rcWork)};
}

RECT ToRect(const WindowRect& rect)
{
    return RECT {rect.left, rect.top, rect.right, rect.bottom};
}

}

WindowRect MainWindowWin32::MonitorRect()
{
    return AreasOf(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST)).monitor;
}

uint32_t MainWindowWin32::Style()
{
    return static_cast<uint32_t>(GetWindowLongW(window, GWL_STYLE));
}

uint32_t MainWindowWin32::ExStyle()
{
    return static_cast<uint32_t>(GetWindowLongW(window, GWL_EXSTYLE));
}

void MainWindowWin32::SetStyles(uint32_t style, uint32_t exStyle)
{
    SetWindowLongW(window, GWL_STYLE, static_cast<LONG>(style));
    SetWindowLongW(window, GWL_EXSTYLE, static_cast<LONG>(exStyle));
}

void MainWindowWin32::Place(const WindowRect& rect)
{
    SetWindowPos(window, nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
        SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void MainWindowWin32::Resize(int32_t width, int32_t height)
{
    SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindowWin32::Move(int32_t x, int32_t y)
{
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

OuterSize MainWindowWin32::OuterSizeForClient(int32_t width, int32_t height, uint32_t style, uint32_t exStyle)
{
    return OuterSizeForWindowDpi(window, width, height, style, exStyle);
}

int32_t MainWindowWin32::ScaleForDpi(int32_t value)
{
    return ScaleForWindowDpi(window, value);
}

void MainWindowWin32::MarkFullscreen(bool on)
{
    if (!taskbarList) {
        Microsoft::WRL::ComPtr<ITaskbarList2> created;
        if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&created))))
            return;
        if (FAILED(created->HrInit()))
            return;
        taskbarList = created;
    }
    taskbarList->MarkFullscreenWindow(window, on);
}

void MainWindowWin32::SetTitle(const std::string& title)
{
    SetWindowTextW(window, Utf8ToWide(title).c_str());
}

void MainWindowWin32::Show()
{
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
}

void MainWindowWin32::ShowMaximized()
{
    ShowWindow(window, SW_SHOWMAXIMIZED);
    UpdateWindow(window);
}

// The launcher's wish reaches a program through its start-up information.
bool MainWindowWin32::LaunchedMinimized()
{
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    GetStartupInfoW(&startup);
    if (!(startup.dwFlags & STARTF_USESHOWWINDOW))
        return false;
    WORD command = startup.wShowWindow;
    return command == SW_SHOWMINIMIZED || command == SW_MINIMIZE || command == SW_SHOWMINNOACTIVE;
}

void MainWindowWin32::ShowMinimized()
{
    ShowWindow(window, SW_SHOWMINNOACTIVE);
}

void MainWindowWin32::StartCloseTimer(uint32_t milliseconds)
{
    SetTimer(window, CloseTimerId, milliseconds, nullptr);
}

void MainWindowWin32::StopCloseTimer()
{
    KillTimer(window, CloseTimerId);
}

// Posted: closing destroys the window, which must not happen inside the
// runtime's callback that asked for it.
void MainWindowWin32::Close()
{
    PostMessageW(window, WM_CLOSE, 0, 0);
}

WindowPlacement MainWindowWin32::Placement()
{
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    GetWindowPlacement(window, &placement);
    MonitorAreas areas = AreasOf(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST));
    return {placement.showCmd == SW_SHOWMAXIMIZED, WorkspaceToScreen(FromRect(placement.rcNormalPosition), areas)};
}

void MainWindowWin32::RestorePlacement(const WindowPlacement& saved)
{
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    GetWindowPlacement(window, &placement);
    placement.flags = 0;
    RECT normalOnScreen = ToRect(saved.normal);
    MonitorAreas areas = AreasOf(MonitorFromRect(&normalOnScreen, MONITOR_DEFAULTTONEAREST));
    placement.rcNormalPosition = ToRect(ScreenToWorkspace(saved.normal, areas));
    if (!IsWindowVisible(window))
        placement.showCmd = SW_HIDE;
    else
        placement.showCmd = saved.maximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
    // The restored styles take effect with the frame change of the move
    // back to the normal place; the placement then settles the exact place
    // and maximises a maximised window.
    WindowRect normal = saved.normal;
    SetWindowPos(window, nullptr, normal.left, normal.top, normal.Width(), normal.Height(),
        SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    SetWindowPlacement(window, &placement);
}

void MainWindowWin32::PostWork()
{
    PostMessageW(window, PostedWorkMessage, 0, 0);
}
