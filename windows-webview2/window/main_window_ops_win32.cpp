#include "main_window_ops_win32.h"

#include "dpi_win32.h"
#include "text_win32.h"

namespace {

WindowRect FromRect(const RECT& rect)
{
    return {rect.left, rect.top, rect.right, rect.bottom};
}

}

NativeWindow Win32MainWindow::Handle()
{
    return window;
}

WindowRect Win32MainWindow::ClientRect()
{
    RECT rect {};
    GetClientRect(window, &rect);
    return FromRect(rect);
}

WindowRect Win32MainWindow::Rect()
{
    RECT rect {};
    GetWindowRect(window, &rect);
    return FromRect(rect);
}

WindowRect Win32MainWindow::MonitorRect()
{
    MONITORINFO info {};
    info.cbSize = sizeof(info);
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info);
    return FromRect(info.rcMonitor);
}

uint32_t Win32MainWindow::Style()
{
    return static_cast<uint32_t>(GetWindowLongW(window, GWL_STYLE));
}

uint32_t Win32MainWindow::ExStyle()
{
    return static_cast<uint32_t>(GetWindowLongW(window, GWL_EXSTYLE));
}

void Win32MainWindow::SetStyles(uint32_t style, uint32_t exStyle)
{
    SetWindowLongW(window, GWL_STYLE, static_cast<LONG>(style));
    SetWindowLongW(window, GWL_EXSTYLE, static_cast<LONG>(exStyle));
}

void Win32MainWindow::Place(const WindowRect& rect)
{
    SetWindowPos(window, nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
        SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void Win32MainWindow::Resize(int32_t width, int32_t height)
{
    SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32MainWindow::Move(int32_t x, int32_t y)
{
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

OuterSize Win32MainWindow::OuterSizeForClient(int32_t width, int32_t height, uint32_t style, uint32_t exStyle)
{
    return ::OuterSizeForClient(width, height, style, exStyle);
}

int32_t Win32MainWindow::ScaleForDpi(int32_t value)
{
    return ::ScaleForDpi(value);
}

void Win32MainWindow::MarkFullscreen(bool on)
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

void Win32MainWindow::SetTitle(const std::string& title)
{
    SetWindowTextW(window, Utf8ToWide(title).c_str());
}

void Win32MainWindow::Show()
{
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
}

void Win32MainWindow::Close()
{
    SendMessageW(window, WM_CLOSE, 0, 0);
}
