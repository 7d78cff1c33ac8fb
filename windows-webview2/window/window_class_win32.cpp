#include "window/window_class_win32.h"

#include <algorithm>

#include "window/dpi_win32.h"

const wchar_t* const MainWindowClassName = L"WindowsVelmora";
const wchar_t* const InstanceProperty = L"Velmora.Instance";

namespace {

IWindowEvents* windowEvents = nullptr;

// Alt, F10, Alt+Space and Alt+letter arrive with only a character code in
// lParam; swallowing them keeps the keyboard from opening the window menu
// while a game is being played.
bool IsKeyboardMenuCommand(WPARAM wParam, LPARAM lParam)
{
    return (wParam & 0xFFF0) == SC_KEYMENU && static_cast<LONG_PTR>(lParam) <= 0xFFFF;
}

// The page may be asked to save first; a refused close leaves the window.
LRESULT OnClose(HWND window)
{
    if (windowEvents && !windowEvents->OnCloseRequested())
        return 0;
    DestroyWindow(window);
    return 0;
}

// The session ends once this returns: the page that asked to save before
// closing gets its answer time here, with the window's messages running.
void OnSessionEnding(HWND window)
{
    if (!windowEvents || windowEvents->OnSessionEnding())
        return;
    // What Windows shows for this program while the page saves.
    wchar_t title[256] = {};
    GetWindowTextW(window, title, 256);
    ShutdownBlockReasonCreate(window, title);
    MSG msg;
    while (windowEvents && windowEvents->IsAwaitingPageClose()) {
        if (GetMessageW(&msg, nullptr, 0, 0) <= 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (IsWindow(window))
        ShutdownBlockReasonDestroy(window);
}

void OnGetMinMaxInfo(LPARAM lParam)
{
    if (!windowEvents)
        return;
    OuterSize minimum = windowEvents->MinimumFrameSize();
    auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
    info->ptMinTrackSize.x = std::max<LONG>(info->ptMinTrackSize.x, minimum.width);
    info->ptMinTrackSize.y = std::max<LONG>(info->ptMinTrackSize.y, minimum.height);
}

void OnDpiChanged(HWND window, LPARAM lParam)
{
    const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
    if (windowEvents) {
        windowEvents->OnDpiChanged({suggested.left, suggested.top, suggested.right, suggested.bottom});
        return;
    }
    SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
        suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

}

void SetWindowEvents(IWindowEvents* events)
{
    windowEvents = events;
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CLOSE:
        return OnClose(window);
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        if (wParam)
            OnSessionEnding(window);
        return 0;
    case WM_TIMER:
        if (wParam == CloseTimerId && windowEvents)
            windowEvents->OnCloseTimeout();
        return 0;
    case WM_GETMINMAXINFO:
        OnGetMinMaxInfo(lParam);
        return 0;
    case WM_DPICHANGED:
        OnDpiChanged(window, lParam);
        return 0;
    case WM_DESTROY:
        // Properties must be gone before the window is.
        RemovePropW(window, InstanceProperty);
        if (windowEvents)
            windowEvents->OnWindowDestroying();
        PostQuitMessage(0);
        return 0;
    case WM_ACTIVATE: {
        // The default gives the focus to the frame; it belongs in the content.
        LRESULT result = DefWindowProcW(window, message, wParam, lParam);
        if (windowEvents && LOWORD(wParam) != WA_INACTIVE && HIWORD(wParam) == 0)
            windowEvents->OnWindowActivated();
        return result;
    }
    case WM_SETFOCUS:
        if (windowEvents)
            windowEvents->OnWindowActivated();
        return 0;
    case WM_MOVE:
    case WM_MOVING:
        if (windowEvents)
            windowEvents->OnWindowMoved();
        return 0;
    case WM_SIZE:
        if (windowEvents)
            windowEvents->OnWindowSized(wParam == SIZE_MINIMIZED);
        return 0;
    case PostedWorkMessage:
        if (windowEvents)
            windowEvents->OnPostedWork();
        return 0;
    case WM_SYSCOMMAND:
        if (IsKeyboardMenuCommand(wParam, lParam))
            return 0;
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

DWORD MainWindowStyle(bool resizable)
{
    return resizable ? WS_OVERLAPPEDWINDOW : (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
}

namespace {

WNDCLASSEXW AppWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure, HICON icon, HBRUSH background)
{
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = icon;
    windowClass.hIconSm = icon;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = name;
    return windowClass;
}

// The system reads a colour index plus one as that system colour.
HBRUSH SystemColourBrush(int colour)
{
    return reinterpret_cast<HBRUSH>(static_cast<UINT_PTR>(colour + 1));
}

}

bool RegisterAppWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure, HICON icon, int colour)
{
    WNDCLASSEXW windowClass = AppWindowClass(instance, name, procedure, icon, SystemColourBrush(colour));
    return RegisterClassExW(&windowClass) != 0;
}

// The brush lives as long as the class, which is the whole run.
bool RegisterMainWindowClass(HINSTANCE instance, HICON icon, const std::optional<uint32_t>& background)
{
    HBRUSH brush = background ? CreateSolidBrush(RGB(*background >> 16 & 0xFF, *background >> 8 & 0xFF, *background & 0xFF))
                              : nullptr;
    WNDCLASSEXW windowClass = AppWindowClass(instance, MainWindowClassName, MainWindowProc, icon,
        brush ? brush : SystemColourBrush(COLOR_WINDOW));
    return RegisterClassExW(&windowClass) != 0;
}

HWND CreateMainWindow(HINSTANCE instance, const AppConfig& config, const std::wstring& title)
{
    DWORD style = MainWindowStyle(config.resizable);
    int32_t width = std::max(config.width, config.minWidth);
    int32_t height = std::max(config.height, config.minHeight);
    OuterSize outer = OuterSizeForClient(ScaleForDpi(width), ScaleForDpi(height), style, 0);
    return CreateWindowExW(0, MainWindowClassName, title.c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT, outer.width,
        outer.height, nullptr, nullptr, instance, nullptr);
}
