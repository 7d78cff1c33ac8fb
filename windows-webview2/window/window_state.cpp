#include "window/window_state.h"

#include <algorithm>

namespace {

// WS_CAPTION | WS_THICKFRAME, and the edge extended styles.
const uint32_t FramedStyles = 0x00C40000;
const uint32_t EdgeExStyles = 0x00020301;
// WS_MAXIMIZE | WS_MINIMIZE: window state, which the placement restores.
const uint32_t StateStyles = 0x21000000;

}

void WindowState::SetFullscreen(bool on)
{
    if (on == isFullscreen)
        return;
    isFullscreen = on;
    if (on) {
        savedStyle = window.Style();
        savedExStyle = window.ExStyle();
        savedPlacement = window.Placement();
        window.SetStyles(savedStyle & ~FramedStyles, savedExStyle & ~EdgeExStyles);
        window.Place(window.MonitorRect());
    } else {
        window.SetStyles(savedStyle & ~StateStyles, savedExStyle);
        window.RestorePlacement(savedPlacement);
    }
    window.MarkFullscreen(on);
}

void WindowState::SetFullscreenFrom(const WindowPlacement& windowed)
{
    SetFullscreen(true);
    savedPlacement = windowed;
}

void WindowState::SetWindowSize(int32_t width, int32_t height)
{
    if (isFullscreen || width < 1 || height < 1)
        return;
    width = std::max(width, minimumWidth);
    height = std::max(height, minimumHeight);
    OuterSize outer = window.OuterSizeForClient(window.ScaleForDpi(width), window.ScaleForDpi(height), window.Style(),
        window.ExStyle());
    window.Resize(outer.width, outer.height);
}

void WindowState::SetWindowPosition(int32_t x, int32_t y)
{
    if (isFullscreen)
        return;
    window.Move(window.ScaleForDpi(x), window.ScaleForDpi(y));
}

void WindowState::SetMinimumClientSize(int32_t width, int32_t height)
{
    minimumWidth = std::max(0, width);
    minimumHeight = std::max(0, height);
}

OuterSize WindowState::MinimumFrameSize()
{
    if (minimumWidth == 0 && minimumHeight == 0)
        return {0, 0};
    uint32_t style = isFullscreen ? savedStyle : window.Style();
    uint32_t exStyle = isFullscreen ? savedExStyle : window.ExStyle();
    OuterSize outer = window.OuterSizeForClient(window.ScaleForDpi(std::max(1, minimumWidth)),
        window.ScaleForDpi(std::max(1, minimumHeight)), style, exStyle);
    return {minimumWidth ? outer.width : 0, minimumHeight ? outer.height : 0};
}

void WindowState::StartFullscreen()
{
    WindowRect frame = window.Rect();
    WindowRect monitor = window.MonitorRect();
    int32_t left = monitor.left + (monitor.Width() - frame.Width()) / 2;
    int32_t top = monitor.top + (monitor.Height() - frame.Height()) / 2;
    window.Place({left, top, left + frame.Width(), top + frame.Height()});
    SetFullscreen(true);
}

void WindowState::ApplyDpiChange(const WindowRect& suggested)
{
    window.Place(isFullscreen ? window.MonitorRect() : suggested);
}

WindowPlacement WindowState::WindowedPlacement()
{
    return isFullscreen ? savedPlacement : window.Placement();
}
