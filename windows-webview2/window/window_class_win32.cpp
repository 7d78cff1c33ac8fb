#include "window/window_class_win32.h"

#include "window/dpi_win32.h"

const wchar_t* const MainWindowClassName = L"WindowsVelmora";

namespace {

IWindowEvents* windowEvents = nullptr;

// Alt, F10, Alt+Space and Alt+letter arrive with only a character code in
// lParam; swallowing them keeps the keyboard from opening the window menu
// while a game is being played.
bool IsKeyboardMenuCommand(WPARAM wParam, LPARAM lParam)
{
    return (wParam & 0xFFF0) == SC_KEYMENU && static_cast<LONG_PTR>(lParam) <= 0xFFFF;
}

}

void SetWindowEvents(IWindowEvents* events)
{
    windowEvents = events;
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DESTROY:
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

bool RegisterAppWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure, HICON icon, int colour)
{
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = icon;
    windowClass.hIconSm = icon;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    // The system reads a colour index plus one as that system colour.
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<UINT_PTR>(colour + 1));
    windowClass.lpszClassName = name;
    return RegisterClassExW(&windowClass) != 0;
}

bool RegisterMainWindowClass(HINSTANCE instance, HICON icon)
{
    return RegisterAppWindowClass(instance, MainWindowClassName, MainWindowProc, icon, COLOR_WINDOW);
}

HWND CreateMainWindow(HINSTANCE instance, const AppConfig& config, const std::wstring& title)
{
    DWORD style = MainWindowStyle(config.resizable);
    OuterSize outer = OuterSizeForClient(ScaleForDpi(config.width), ScaleForDpi(config.height), style, 0);
    return CreateWindowExW(0, MainWindowClassName, title.c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT, outer.width,
        outer.height, nullptr, nullptr, instance, nullptr);
}
