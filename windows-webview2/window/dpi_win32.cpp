#include "window/dpi_win32.h"

#include "window/dpi_scale.h"

namespace {

float SystemDpiFactor()
{
    static float factor = 0.0f;
    if (factor == 0.0f) {
        HDC screen = GetDC(nullptr);
        factor = static_cast<float>(GetDeviceCaps(screen, LOGPIXELSX)) / 96.0f;
        ReleaseDC(nullptr, screen);
    }
    return factor;
}

// Looked up at run time, so that the program still starts where Windows
// lacks them.
template <typename Function>
Function User32Function(const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using AdjustForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using SetThreadAwarenessFunction = DPI_AWARENESS_CONTEXT(WINAPI*)(DPI_AWARENESS_CONTEXT);

UINT WindowDpi(HWND window)
{
    static auto getDpiForWindow = User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
    UINT dpi = getDpiForWindow ? getDpiForWindow(window) : 0;
    return dpi ? dpi : static_cast<UINT>(SystemDpiFactor() * 96.0f + 0.5f);
}

}

int32_t ScaleForDpi(int32_t value)
{
    return ScaleByFactor(value, SystemDpiFactor());
}

OuterSize OuterSizeForClient(int32_t width, int32_t height, DWORD style, DWORD exStyle)
{
    RECT rect = {0, 0, width, height};
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

int32_t ScaleForWindowDpi(HWND window, int32_t value)
{
    return ScaleByFactor(value, static_cast<float>(WindowDpi(window)) / 96.0f);
}

OuterSize OuterSizeForWindowDpi(HWND window, int32_t width, int32_t height, DWORD style, DWORD exStyle)
{
    static auto adjustForDpi = User32Function<AdjustForDpiFunction>("AdjustWindowRectExForDpi");
    if (!adjustForDpi)
        return OuterSizeForClient(width, height, style, exStyle);
    RECT rect = {0, 0, width, height};
    adjustForDpi(&rect, style, FALSE, exStyle, WindowDpi(window));
    return {rect.right - rect.left, rect.bottom - rect.top};
}

bool UsePerMonitorDpi()
{
    auto setThreadAwareness = User32Function<SetThreadAwarenessFunction>("SetThreadDpiAwarenessContext");
    return setThreadAwareness && setThreadAwareness(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2) != nullptr;
}
